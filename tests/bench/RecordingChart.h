// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/Chart.h"

// A chart that counts the pictures a widget would draw: a redraw, and an
// added or cleared bar while automatic redraw is on.
class RecordingChart : public MemoryChart
{
public:
    void BeginUpdate() override { autoRedraw = false; }
    void EndUpdate() override
    {
        autoRedraw = true;
        Redraw();
    }
    void Redraw() override { ++renders; }
    void Clear() override
    {
        MemoryChart::Clear();
        if (autoRedraw)
            Redraw();
    }
    int AddBar(const QString& caption, std::int32_t value, TColor color) override
    {
        const int index = MemoryChart::AddBar(caption, value, color);
        if (index >= 0 && autoRedraw)
            Redraw();
        return index;
    }

    bool autoRedraw = true;
    int renders = 0;
};
