// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ChartBars.h"

#include <QString>

#include <functional>
#include <vector>

// Text measurement the layout needs: widths of captions and value texts,
// and the height of "A".
struct ChartTextMeasure
{
    std::function<int(const QString&)> width;
    int height = 0;
};

// Where one bar's parts go. Rectangles exclude their right and bottom edges.
struct ChartRow
{
    bool spacer = false; // empty caption: the row is left blank
    QString caption;
    QString valueText;
    int captionX = 0, captionY = 0; // top-left of the caption text
    int left = 0, top = 0, right = 0, bottom = 0;
    int valueX = 0, valueY = 0; // top-left of the value text
};

// The chart's whole layout, computed without painting. R and S are single
// precision; products and sums from them are taken in extended precision and
// truncated toward zero.
struct ChartGeometry
{
    int width = 0, height = 0, border = 0;
    int innerWidth = 0, innerHeight = 0;
    float rowHeight = 0;        // R
    int widestCaption = 0;      // M
    int barLeft = 0;            // L
    float scale = 0;            // S
    int textHeight = 0;         // th
    std::vector<ChartRow> rows; // one per bar, spacers included

    static ChartGeometry Compute(int width, int height, int border, const TMyChartBars& bars,
                                 const ChartTextMeasure& measure);
};

// One band of a gradient fill, from left up to (not including) right.
struct GradientBand
{
    int left = 0, right = 0;
    TColor color = 0;
};

// Splits [left, right) into at most 32 bands stepping from start towards end.
// The colour is stepped before the first band, so the last band has the end
// colour and the start colour never shows. Empty when right - left <= -4.
std::vector<GradientBand> GradientBands(int left, int right, TColor start, TColor end);
