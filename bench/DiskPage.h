// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ReferenceRows.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace bench {

// The HDD page's test size, and the free space it needs: strictly more.
inline constexpr std::int32_t kDiskTestBlocks = 10;
inline constexpr std::uint64_t kDiskTestRequiredBytes = 10'485'760;

// What the HDD page asks of the system; tests put fakes here.
struct DiskKernels
{
    // The directory the test writes into for a mount point; none when the
    // user may write nowhere on that filesystem.
    std::function<std::optional<std::string>(const std::string& mountPoint)> testDirectory;
    // Bytes available to the user in a directory; none when the query fails.
    std::function<std::optional<std::uint64_t>(const std::string& directory)> availableBytes;
    // DiskTest: bytes per second.
    std::function<std::int64_t(const std::string& directory, std::int32_t count)> diskTest;
};

// DiskTestDirectory, statvfs's f_bavail x f_frsize, DiskTest.
DiskKernels RealDiskKernels();

// Why the HDD page would not test the drive mounted at `mountPoint` (no
// drive, nowhere to write, too little room); empty when it would.
std::string DiskSkipReason(const std::string& mountPoint,
                           const DiskKernels& kernels = RealDiskKernels());

// Bytes per second to the page's KB/s, truncated; kept within the bar's range.
std::int32_t DiskBarValue(std::int64_t bytesPerSecond);

// The HDD page's measurement in a 1 MiB TestBuffer: when the drive's test
// directory has more than 10 MiB available, DiskTest of 10 MiB there and its
// rate in KB/s; else 0, and nothing is written. An empty mount point (no
// fixed drive) gives 0. Errors propagate with the buffer released.
std::int32_t MeasureDrive(const std::string& mountPoint,
                          const DiskKernels& kernels = RealDiskKernels());

// The HDD chart: "Your drive" with `rate`, then the rows.
TMyChartBars DriveBars(const ReferenceRowList& rows, std::int32_t rate);

} // namespace bench
