// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class Chart;
class ComparisonDatabase;

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

// The work of the HDD page's refresh between the caller's busy-frame steps:
// reference rows into `chart`; a 1 MiB TestBuffer; when the drive's test
// directory has more than 10 MiB available, DiskTest of 10 MiB there and its
// rate in KB/s into bar 0, else bar 0 stays 0 and nothing is written; the
// buffer released; a redraw. An empty mount point (no fixed drive) leaves
// bar 0 at 0. Errors propagate to the caller with the buffer released.
void RefreshDiskPage(Chart& chart, const ComparisonDatabase& database,
                     const std::string& mountPoint, const DiskKernels& kernels = RealDiskKernels());

} // namespace bench
