// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSyntaxHighlighter>

class QTextDocument;

// The log's bitmap face has no Cyrillic: such characters (the "ОS" label's
// first letter) would come from whatever font has them, whose taller metrics
// make their line higher than the others. They are drawn in the desktop's
// fixed-pitch font instead, at the largest size that keeps the line as high
// as one of the log's own font.
// Only the look changes; the text stays as it is.
class EvenLogLines : public QSyntaxHighlighter
{
public:
    explicit EvenLogLines(QTextDocument* log);

protected:
    void highlightBlock(const QString& text) override;
};

// The desktop's fixed-pitch font at the given size.
QFont FallbackLogFont(int pixels);

// The largest pixel size, at most the font's, at which `character` in
// FallbackLogFont keeps a line of `font` no higher than the font alone.
int FittingPixelSize(const QFont& font, const QString& character);
