// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// A chart's own bars as the editor reads them: how many bars the chart holds,
// and the values of its first two (this machine's results).
struct OwnBars
{
    std::int32_t count = 0;
    std::int32_t first = 0;
    std::int32_t second = 0;
};

// What a new row takes from the main window: this machine's overview texts,
// the current disk selection and the own bars of the four charts.
struct MachineValues
{
    QString processor; // name and clock
    QString memory;    // "%d Mb (used %d%%)"
    QString display;   // display adapter
    QString drive;     // "Drive " and the drive's name
    OwnBars processorChart;
    OwnBars memoryChart;
    OwnBars videoChart;
    OwnBars driveChart;
};
