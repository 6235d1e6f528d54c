// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartRender.h"

#include "controls/ChartGeometry.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

// Empty and inverted rectangles draw nothing.
void FillSpan(QPainter& p, int left, int top, int right, int bottom, const QColor& color)
{
    if (right > left && bottom > top)
        p.fillRect(QRect(left, top, right - left, bottom - top), color);
}

void FillGradient(QPainter& p, const ChartRow& row, int bottom, const TMyChartBar& bar)
{
    for (const GradientBand& band :
         GradientBands(row.left, row.right, bar.GradientColor, bar.Color))
        FillSpan(p, band.left, row.top, band.right, bottom, ToQColor(band.color));
}

// Text positions are top-left corners; Qt draws text from its baseline.
void DrawRow(QPainter& p, const ChartLook& look, int ascent, const ChartRow& row,
             const TMyChartBar& bar)
{
    p.setPen(look.captionColor);
    p.drawText(row.captionX, row.captionY + ascent, row.caption);

    FillSpan(p, row.left + 4, row.top + 4, row.right + 4, row.bottom, Qt::black);
    if (look.gradient)
        FillGradient(p, row, row.bottom - 4, bar);
    else
        FillSpan(p, row.left, row.top, row.right, row.bottom - 4, ToQColor(bar.Color));

    p.setPen(Qt::white);
    p.drawText(row.valueX, row.valueY + ascent, row.valueText);
}

} // namespace

QColor ToQColor(TColor color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor FromQColor(const QColor& color)
{
    return MakeColor(color.red(), color.green(), color.blue());
}

ChartGeometry LayoutChart(const QImage& picture, const ChartLook& look, const TMyChartBars& bars)
{
    // Measured on the picture itself, so that point sizes follow its resolution.
    const QFontMetrics metrics(look.font, &picture);
    // The text height of "A" is the font's cell height.
    const ChartTextMeasure measure{
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); },
        metrics.height()};
    return ChartGeometry::Compute(picture.width(), picture.height(), look.border, bars, measure);
}

void RenderChart(QImage& picture, const ChartLook& look, const TMyChartBars& bars)
{
    const ChartGeometry geometry = LayoutChart(picture, look, bars);
    QPainter p(&picture);
    p.setFont(look.font);
    p.fillRect(picture.rect(), look.background);

    const int ascent = p.fontMetrics().ascent();
    for (std::size_t i = 0; i < geometry.rows.size(); ++i) {
        if (!geometry.rows[i].spacer)
            DrawRow(p, look, ascent, geometry.rows[i], bars.Items[i]);
    }
}
