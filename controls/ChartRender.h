// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ChartBars.h"

#include <QColor>
#include <QFont>

class QImage;
struct ChartGeometry;

// Everything besides the bars that decides how a chart looks.
struct ChartLook
{
    QFont font;
    QColor background;   // the control's colour
    QColor captionColor; // the font colour; values are always white
    int border = 0;
    bool gradient = false;
};

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// The layout RenderChart uses for this picture, font and bars.
ChartGeometry LayoutChart(const QImage& picture, const ChartLook& look, const TMyChartBars& bars);

// Draws the whole chart into picture, which keeps its size.
void RenderChart(QImage& picture, const ChartLook& look, const TMyChartBars& bars);
