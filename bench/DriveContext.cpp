// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/DriveContext.h"

#include "bench/BenchError.h"
#include "bench/DiskKernel.h"
#include "platform/Drives.h"
#include "platform/ScratchFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>

namespace bench {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kKeptFree = 1024 * kMiB;
constexpr std::uint64_t kSmallestScratch = 64 * kMiB;
// A read beyond the link by more than this came from a cache.
constexpr double kLinkMargin = 1.05;

std::string format(const char* pattern, double first, double second)
{
    char text[160];
    std::snprintf(text, sizeof text, pattern, first, second);
    return text;
}

double percentile(const std::vector<std::uint32_t>& sorted, double share)
{
    if (sorted.empty())
        return 0.0;
    const auto rank =
        static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1] / 1000.0;
}

DriveJobFigure& figureOf(DriveContextFigures& figures, DriveJob job)
{
    return *std::find_if(figures.jobs.begin(), figures.jobs.end(),
                         [job](const DriveJobFigure& figure) { return figure.job == job; });
}

bool has(const DriveContextFigures& figures, DriveJob job)
{
    return std::any_of(figures.jobs.begin(), figures.jobs.end(),
                       [job](const DriveJobFigure& figure) { return figure.job == job; });
}

void flagFasterThanSequential(DriveContextFigures& figures, DriveJob random, DriveJob sequential)
{
    if (!has(figures, random) || !has(figures, sequential))
        return;
    DriveJobFigure& small = figureOf(figures, random);
    const DriveJobFigure& large = figureOf(figures, sequential);
    if (small.contradiction.empty() && small.mibs > large.mibs)
        small.contradiction = format("4 KiB at random came out at %.0f MiB/s, faster than 1 MiB "
                                     "in order (%.0f MiB/s) on a rotating disk: a cache answered",
                                     small.mibs, large.mibs);
}

void flagBeyondLink(DriveJobFigure& figure, std::uint64_t linkBytes)
{
    const double bytes = figure.mibs * static_cast<double>(kMiB);
    if (figure.contradiction.empty() && bytes > kLinkMargin * static_cast<double>(linkBytes))
        figure.contradiction = format("%.0f MB/s is beyond the %.0f MB/s the device's link "
                                      "carries: a cache answered",
                                      bytes / 1e6, static_cast<double>(linkBytes) / 1e6);
}

platform::IoSubmission queuedSubmission(DriveContextFigures& figures,
                                        const DriveContextSettings& settings)
{
    figures.fallback = settings.uringRefusal();
    figures.submission = figures.fallback.empty() ? "io_uring" : "threads";
    return figures.fallback.empty() ? platform::IoSubmission::Uring
                                    : platform::IoSubmission::Threads;
}

// A write job's blocks are flushed after its window, outside it: the drive
// may still hold them in its cache, and the next job's first flush (every
// block of the synchronous write) would otherwise pay for them.
platform::IoRun runJob(platform::ScratchFile& file, DriveJob job, std::uint64_t region,
                       double seconds, platform::IoSubmission queued)
{
    const platform::IoJob io = JobOf(job, region, seconds);
    platform::IoRun run =
        platform::RunIoJob(file, io, io.depth > 1 ? queued : platform::IoSubmission::Synchronous);
    if (io.write)
        file.SyncData();
    return run;
}

// The sequential write lays the file out; the rest work within what it
// covered, so that no read meets a block that was never written.
void measureJobs(DriveContextFigures& figures, const DriveContextSettings& settings,
                 std::uint64_t bytes)
{
    const platform::IoSubmission queued = queuedSubmission(figures, settings);
    platform::ScratchFile file(ScratchPath(figures.directory), platform::ScratchAccess::ReadWrite);
    const int refused = file.UseDirectIo();
    figures.direct = refused == 0;
    if (!figures.direct)
        figures.cached = std::string("the filesystem refuses direct I/O (") +
                         std::strerror(refused) + "): the figures include the page cache";
    file.Reserve(bytes);
    const double window = settings.windowSeconds;
    const platform::IoRun layout = runJob(file, DriveJob::SequentialWrite, bytes, window, queued);
    figures.scratchBytes = std::min(bytes, layout.bytes / kMiB * kMiB);
    figures.jobs.push_back(FigureOf(DriveJob::SequentialWrite, layout, window));
    if (figures.scratchBytes < kMiB)
        throw BenchError("Not one block reached " + file.path() + " in the window");
    for (const DriveJob job : kDriveJobs) {
        if (job != DriveJob::SequentialWrite)
            figures.jobs.push_back(
                FigureOf(job, runJob(file, job, figures.scratchBytes, window, queued), window));
    }
}

} // namespace

platform::IoJob JobOf(DriveJob job, std::uint64_t regionBytes, double seconds)
{
    platform::IoJob io;
    io.regionBytes = regionBytes;
    io.seconds = seconds;
    io.write = job == DriveJob::SequentialWrite || job == DriveJob::RandomWrite1 ||
               job == DriveJob::RandomWrite32 || job == DriveJob::SyncWrite;
    io.random = job != DriveJob::SequentialWrite && job != DriveJob::SequentialRead &&
                job != DriveJob::SyncWrite;
    io.blockBytes = io.random || job == DriveJob::SyncWrite ? 4096 : kMiB;
    io.depth = job == DriveJob::RandomRead32 || job == DriveJob::RandomWrite32 ? 32 : 1;
    io.syncEach = job == DriveJob::SyncWrite;
    io.seed = static_cast<std::uint64_t>(job) + 1;
    return io;
}

std::string JobKey(DriveJob job)
{
    static const char* const keys[] = {"seqWrite",   "seqRead",     "randRead1", "randWrite1",
                                       "randRead32", "randWrite32", "syncWrite"};
    return keys[static_cast<int>(job)];
}

std::string JobName(DriveJob job)
{
    static const char* const names[] = {
        "sequential write 1 MiB",      "sequential read 1 MiB",
        "random read 4 KiB, depth 1",  "random write 4 KiB, depth 1",
        "random read 4 KiB, depth 32", "random write 4 KiB, depth 32",
        "4 KiB write + fdatasync"};
    return names[static_cast<int>(job)];
}

std::optional<std::uint64_t> ScratchBytes(std::uint64_t available, std::uint64_t total,
                                          std::uint64_t largest)
{
    const std::uint64_t keep = std::max(total / 10, kKeptFree);
    if (available <= keep)
        return std::nullopt;
    const std::uint64_t bytes = std::min(available - keep, largest) / kMiB * kMiB;
    if (bytes < kSmallestScratch)
        return std::nullopt;
    return bytes;
}

DriveJobFigure FigureOf(DriveJob job, const platform::IoRun& run, double windowSeconds)
{
    DriveJobFigure figure;
    figure.job = job;
    if (run.operations == 0 || !(run.seconds > 0)) {
        figure.contradiction = "no block completed in the window";
        return figure;
    }
    figure.iops = static_cast<double>(run.operations) / run.seconds;
    figure.mibs = static_cast<double>(run.bytes) / run.seconds / static_cast<double>(kMiB);
    std::vector<std::uint32_t> sorted = run.latenciesNs;
    std::sort(sorted.begin(), sorted.end());
    figure.meanUs = std::accumulate(sorted.begin(), sorted.end(), 0.0) / 1000.0 /
                    static_cast<double>(sorted.size());
    figure.medianUs = percentile(sorted, 0.5);
    figure.p99Us = percentile(sorted, 0.99);
    const double slice =
        windowSeconds / static_cast<double>(std::max<std::size_t>(1, run.slices.size()));
    for (const std::uint64_t count : run.slices)
        figure.sliceIops.push_back(static_cast<double>(count) / slice);
    return figure;
}

void FlagContradictions(DriveContextFigures& figures)
{
    if (figures.device && figures.device->rotational.value_or(false)) {
        flagFasterThanSequential(figures, DriveJob::RandomRead1, DriveJob::SequentialRead);
        flagFasterThanSequential(figures, DriveJob::RandomWrite1, DriveJob::SequentialWrite);
    }
    if (!figures.device || !figures.device->interfaceBytesPerSecond)
        return;
    for (DriveJobFigure& figure : figures.jobs) {
        if (!JobOf(figure.job, 0, 0).write)
            flagBeyondLink(figure, *figures.device->interfaceBytesPerSecond);
    }
}

DriveContextFigures MeasureDriveContext(const std::string& directory,
                                        const DriveContextSettings& settings)
{
    DriveContextFigures figures;
    figures.directory = directory;
    figures.windowSeconds = settings.windowSeconds;
    figures.device = platform::BlockDeviceHolding(directory);
    const auto space = platform::QueryDriveSpace(directory);
    if (!space) {
        figures.skipped = "the free space of " + directory + " cannot be read";
        return figures;
    }
    const auto bytes =
        ScratchBytes(space->availableBytes, space->totalBytes, settings.largestScratch);
    if (!bytes) {
        figures.skipped = format("%.0f MiB free of %.0f MiB: a scratch file of 64 MiB would leave "
                                 "less than a tenth or 1 GiB free",
                                 static_cast<double>(space->availableBytes / kMiB),
                                 static_cast<double>(space->totalBytes / kMiB));
        return figures;
    }
    try {
        measureJobs(figures, settings, *bytes);
    } catch (const platform::FileError& error) {
        throw BenchError(ScratchFileMessage(error));
    }
    FlagContradictions(figures);
    return figures;
}

} // namespace bench
