// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo/Overview.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// The texts of the results log: headings, labels and result lines. Every
// value is printed as "%u" prints it: the 32-bit pattern read as unsigned, so
// a negative value shows as 2^32 plus the value.
namespace report {

inline const QString InitialLogText = QStringLiteral("Press Start ...");
inline const QString ClosingHeading = QStringLiteral("- All tests completed -------------------");

// How a video figure filled into a backing store is marked wherever it is
// shown: it measures the toolkit's raster painting, not the display.
inline const QString BackingStoreNote =
    QStringLiteral("backing store (not comparable with X server fills)");

QString UnsignedText(std::int32_t value);

// "Test results", an empty line, the overview heading, an empty line.
QStringList OpeningLines();
// One line per field, in the window's order (processor, memory, video,
// monitor, HDD's, CD-ROM, mouse, OS, computer, user): its 12-character label
// and the text as it stands.
QStringList OverviewLines(const sysinfo::OverviewFields& texts);
// An empty line, the performance heading, an empty line.
QStringList PerformanceHeadingLines();
QString CpuLine(std::int32_t score, std::int32_t passes);
QString FpuLine(std::int32_t score, std::int32_t passes);
QString MemoryLine(std::int32_t mebibytesPerSecond);
// With `backingStore`, the line says after the figure that it was filled
// into a backing store and does not compare with X server fills.
QString VideoLine(std::int32_t mebibytesPerSecond, bool backingStore = false);
// The drive list's entry text, then " : <value> (KB/sec)".
QString DriveLine(const QString& entry, std::int32_t kilobytesPerSecond);
// An empty line and the closing heading.
QStringList ClosingLines();

} // namespace report
