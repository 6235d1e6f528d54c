// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/FileNames.h"

#include <QStringDecoder>
#include <QUrl>

namespace report {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at `at`, or 0 when none starts there.
qsizetype sequenceLength(const QByteArray& bytes, qsizetype at)
{
    for (qsizetype length = 1; length <= 4 && at + length <= bytes.size(); ++length) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(at, length));
        if (!decoder.hasError() && text.size() > 0 && !text.contains(QChar::ReplacementCharacter))
            return length;
    }
    return 0;
}

} // namespace

QString FileNameText(const QByteArray& bytes)
{
    QString text;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = sequenceLength(bytes, at);
        if (length == 0) {
            text += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
        } else {
            text += QString::fromUtf8(bytes.constData() + at, length);
            at += length;
        }
    }
    return text;
}

QByteArray FileNameBytes(const QString& text)
{
    QByteArray bytes;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at].unicode();
        const bool paired = QChar::isHighSurrogate(unit) && at + 1 < text.size() &&
                            QChar::isLowSurrogate(text[at + 1].unicode());
        if (paired) {
            bytes += text.mid(at, 2).toUtf8();
            ++at;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            bytes += char(unit - kEscapeBase);
        } else {
            bytes += QString(QChar(unit)).toUtf8();
        }
    }
    return bytes;
}

QString EnvironmentFileName(const char* name)
{
    return FileNameText(qgetenv(name));
}

QString LocalFileName(const QUrl& url)
{
    if (!url.isLocalFile())
        return QString();
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return url.toLocalFile(); // "//host/path", as Qt names it
    return FileNameText(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace report
