// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogLines.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// The height of one line as the log lays it out (leading included), with
// `character` after a letter of the font, in `characterFont`.
qreal lineHeight(const QFont& font, const QString& character, const QFont& characterFont)
{
    QTextLayout layout(QStringLiteral("S") + character, font);
    QTextLayout::FormatRange range;
    range.start = 1;
    range.length = int(character.size());
    range.format.setFont(characterFont);
    layout.setFormats({range});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLeadingIncluded(true);
    line.setLineWidth(1e6);
    layout.endLayout();
    return line.height();
}

} // namespace

QFont FallbackLogFont(int pixels)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixels);
    return font;
}

int FittingPixelSize(const QFont& font, const QString& character)
{
    const qreal height = lineHeight(font, QString(), font);
    int size = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    for (; size > 1; --size) {
        if (lineHeight(font, character, FallbackLogFont(size)) <= height)
            break;
    }
    return size;
}

EvenLogLines::EvenLogLines(QTextDocument* log) : QSyntaxHighlighter(log) {}

void EvenLogLines::highlightBlock(const QString& text)
{
    const QFont font = document()->defaultFont();
    // The face itself: QFontMetrics::inFont would count the fallback fonts.
    const QRawFont face = QRawFont::fromFont(font);
    for (int i = 0; i < text.size();) {
        const char32_t code = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                  ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                                  : text.at(i).unicode();
        const int length = code > 0xFFFF ? 2 : 1;
        if (code > 0x20 && !face.supportsCharacter(code)) {
            QTextCharFormat smaller;
            smaller.setFont(FallbackLogFont(FittingPixelSize(font, text.mid(i, length))));
            setFormat(i, length, smaller);
        }
        i += length;
    }
}
