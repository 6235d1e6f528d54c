// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/DiskPage.h"

#include "bench/DiskKernel.h"
#include "bench/TestBuffer.h"
#include "platform/DiskDirectory.h"
#include "platform/Drives.h"

#include <algorithm>
#include <limits>

namespace bench {
namespace {

std::optional<std::uint64_t> availableBytes(const std::string& directory)
{
    const auto space = platform::QueryDriveSpace(directory);
    if (!space)
        return std::nullopt;
    return space->availableBytes;
}

// Where the test writes, or why it does not run.
struct DiskPlan
{
    std::string directory;
    std::string skipped;
};

DiskPlan planDrive(const std::string& mountPoint, const DiskKernels& kernels)
{
    if (mountPoint.empty())
        return {{}, "no fixed drive"};
    const auto directory = kernels.testDirectory(mountPoint);
    if (!directory)
        return {{}, "no directory on the drive where the user may write"};
    const auto available = kernels.availableBytes(*directory);
    if (!available)
        return {{}, "the free space of " + *directory + " cannot be read"};
    if (*available <= kDiskTestRequiredBytes)
        return {{}, "10 MiB or less free in " + *directory};
    return {*directory, {}};
}

} // namespace

std::string DiskSkipReason(const std::string& mountPoint, const DiskKernels& kernels)
{
    return planDrive(mountPoint, kernels).skipped;
}

DiskKernels RealDiskKernels()
{
    return {[](const std::string& mountPoint) { return platform::DiskTestDirectory(mountPoint); },
            availableBytes, DiskTest};
}

std::int32_t DiskBarValue(std::int64_t bytesPerSecond)
{
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(bytesPerSecond / 1024, 0, largest));
}

std::int32_t MeasureDrive(const std::string& mountPoint, const DiskKernels& kernels)
{
    const ScopedTestBuffer buffer(static_cast<std::size_t>(kDiskBlockBytes));
    const DiskPlan plan = planDrive(mountPoint, kernels);
    if (!plan.skipped.empty())
        return 0;
    return DiskBarValue(kernels.diskTest(plan.directory, kDiskTestBlocks));
}

TMyChartBars DriveBars(const ReferenceRowList& rows, std::int32_t rate)
{
    return ChartWithRows(DrivePageRows(), rows, {rate});
}

} // namespace bench
