// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/Chart.h"

int AppendBar(TMyChartBars& bars, const QString& caption, std::int32_t value, TColor color,
              TColor gradientColor)
{
    if (bars.Count < 0 || bars.Count >= TMyChartBars::Capacity)
        return -1;
    const int index = bars.Count;
    bars.Items[std::size_t(index)] = {caption, gradientColor, color, value};
    ++bars.Count;
    return index;
}
