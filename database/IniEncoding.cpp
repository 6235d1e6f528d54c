// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/IniEncoding.h"

#include "database/Windows1251.h"

#include <QStringDecoder>

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// QString::fromUtf8 drops a leading U+FEFF; a second mark after the one we
// strip is text of the file and must survive a write.
QString DecodeUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at bytes[i], or 0 where it is
// malformed (overlong forms, surrogates and values above U+10FFFF included).
qsizetype SequenceLength(const QByteArray& bytes, qsizetype i)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k) {
        if (!IsContinuation(static_cast<unsigned char>(bytes[i + k])))
            return 0;
    }
    return length;
}

} // namespace

bool IsValidUtf8(const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = SequenceLength(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

IniText DecodeIni(const QByteArray& bytes)
{
    // The mark goes before any decoding: Windows-1251 would read it as text
    // and spoil the first line.
    const bool mark = bytes.startsWith(kByteOrderMark);
    const QByteArray rest = mark ? bytes.mid(kByteOrderMark.size()) : bytes;
    if (IsValidUtf8(rest))
        return {DecodeUtf8(rest), mark};
    return {DecodeWindows1251(rest), mark};
}

QByteArray EncodeIni(const IniText& ini)
{
    QByteArray bytes = ini.text.toUtf8();
    if (ini.byteOrderMark)
        bytes.prepend(kByteOrderMark);
    return bytes;
}
