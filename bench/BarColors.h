// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ChartBars.h"

namespace bench {

struct BarColors
{
    TColor color;
    TColor gradientColor;
};

inline constexpr BarColors kOwnBar{MakeColor(255, 0, 0), MakeColor(100, 0, 0)};
inline constexpr BarColors kOwnFpuBar{MakeColor(255, 255, 0), MakeColor(100, 100, 0)};
inline constexpr BarColors kReferenceBar{MakeColor(0, 220, 0), MakeColor(0, 100, 0)};
inline constexpr BarColors kReferenceFpuBar{MakeColor(0, 0, 220), MakeColor(0, 0, 100)};
// A spacer keeps the chart's own GradientColor.
inline constexpr TColor kSpacerColor = MakeColor(0, 0, 0);

// The form colours the charts' GradientColor is set to.
inline constexpr TColor kNavy = MakeColor(0, 0, 128);
inline constexpr TColor kBlack = MakeColor(0, 0, 0);

} // namespace bench
