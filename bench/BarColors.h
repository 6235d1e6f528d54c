// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ChartBars.h"

namespace bench {

// TColor keeps red in the lowest byte, then green, then blue.
constexpr TColor Rgb(unsigned red, unsigned green, unsigned blue)
{
    return red | (green << 8) | (blue << 16);
}

struct BarColors
{
    TColor color;
    TColor gradientColor;
};

inline constexpr BarColors kOwnBar{Rgb(255, 0, 0), Rgb(100, 0, 0)};
inline constexpr BarColors kOwnFpuBar{Rgb(255, 255, 0), Rgb(100, 100, 0)};
inline constexpr BarColors kReferenceBar{Rgb(0, 220, 0), Rgb(0, 100, 0)};
inline constexpr BarColors kReferenceFpuBar{Rgb(0, 0, 220), Rgb(0, 0, 100)};
// A spacer keeps the chart's own GradientColor.
inline constexpr TColor kSpacerColor = Rgb(0, 0, 0);

// The form colours the charts' GradientColor is set to.
inline constexpr TColor kNavy = Rgb(0, 0, 128);
inline constexpr TColor kBlack = Rgb(0, 0, 0);

} // namespace bench
