// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Colours are 32-bit values with red in the lowest byte, then green, blue.
using TColor = std::uint32_t;

struct TMyChartBar
{
    QString Caption;
    TColor GradientColor = 0;
    TColor Color = 0;
    std::int32_t Value = 0;
};

struct TMyChartBars
{
    static constexpr int Capacity = 101;
    std::int32_t Count = 0;
    std::array<TMyChartBar, Capacity> Items{};
};

constexpr int RedOf(TColor c)
{
    return int(c & 0xFF);
}
constexpr int GreenOf(TColor c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c)
{
    return int((c >> 16) & 0xFF);
}
constexpr TColor MakeColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | TColor(g & 0xFF) << 8 | TColor(b & 0xFF) << 16;
}
