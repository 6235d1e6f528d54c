// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ChartBars.h"

#include <QString>

#include <cstdint>

// What page logic needs of a bar chart: the bar list and the operations that
// change it. The chart widget implements it for the window; MemoryChart for
// runs without one.
class Chart
{
public:
    virtual ~Chart() = default;

    // BeginUpdate stops the automatic redraw after Clear and AddBar;
    // EndUpdate turns it on again and redraws.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual void Redraw() = 0;
    virtual void Clear() = 0;
    // Returns the new bar's index, or -1 when the list is full (the bar is
    // dropped). The bar takes the chart's GradientColor.
    virtual int AddBar(const QString& caption, std::int32_t value, TColor color) = 0;

    virtual TMyChartBars& bars() = 0;
    virtual const TMyChartBars& bars() const = 0;
};

// Appends a bar unless the list is full; returns its index or -1.
int AppendBar(TMyChartBars& bars, const QString& caption, std::int32_t value, TColor color,
              TColor gradientColor);

// A chart that only holds its bars: the headless report draws nothing.
class MemoryChart : public Chart
{
public:
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void Redraw() override {}
    void Clear() override { Bars.Count = 0; }
    int AddBar(const QString& caption, std::int32_t value, TColor color) override
    {
        return AppendBar(Bars, caption, value, color, GradientColor);
    }
    TMyChartBars& bars() override { return Bars; }
    const TMyChartBars& bars() const override { return Bars; }

    TMyChartBars Bars;
    TColor GradientColor = 0;
};
