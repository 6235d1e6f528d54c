// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/DiskKernel.h"

#include "bench/BenchError.h"
#include "bench/TestBuffer.h"
#include "platform/Clock.h"
#include "platform/Priority.h"
#include "platform/ScratchFile.h"

#include <cmath>
#include <limits>

namespace bench {
namespace {

// Every timed step up to the close; the file goes when `file` does, after
// the end time is read.
double timedWrite(const std::string& path, std::int32_t count)
{
    const double start = platform::PreciseMilliseconds();
    platform::ScratchFile file(path);
    for (std::int32_t block = 0; block < count; ++block)
        file.Append(TestBufferAddress(), kDiskBlockBytes);
    file.Finish();
    return platform::PreciseMilliseconds() - start;
}

} // namespace

std::string ScratchPath(std::string directory)
{
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory + kScratchFileName;
}

std::string ScratchFileMessage(const platform::FileError& error)
{
    const char* what = "Unable to write to ";
    if (error.step() == platform::FileError::Step::Create)
        what = "Cannot create file ";
    else if (error.step() == platform::FileError::Step::Read)
        what = "Unable to read ";
    return what + error.path() + ": " + error.reason();
}

std::int64_t DiskRate(std::int32_t count, double elapsedMs)
{
    if (!(elapsedMs > 0))
        return 0;
    const long double bytes = static_cast<long double>(std::int64_t{count} * kDiskBlockBytes);
    const long double rate = std::nearbyint(bytes / (static_cast<long double>(elapsedMs) / 1000));
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    return rate >= static_cast<long double>(largest) ? largest : static_cast<std::int64_t>(rate);
}

std::int64_t DiskTest(const std::string& directory, std::int32_t count)
{
    if (TestBufferSize() < static_cast<std::size_t>(kDiskBlockBytes))
        throw BenchError("The test buffer holds less than one block of the disk test");
    const std::string path = ScratchPath(directory);
    double elapsed = 0;
    try {
        const platform::TimeCriticalBracket bracket;
        elapsed = timedWrite(path, count);
    } catch (const platform::FileError& error) {
        throw BenchError(ScratchFileMessage(error));
    }
    return DiskRate(count, elapsed);
}

} // namespace bench
