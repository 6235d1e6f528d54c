// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ChartBars.h"

#include <QString>

#include <cstdint>

// Appends a bar unless the list is full (further bars are dropped); returns
// its index or -1.
int AppendBar(TMyChartBars& bars, const QString& caption, std::int32_t value, TColor color,
              TColor gradientColor);
