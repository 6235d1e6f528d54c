// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/BlockDevice.h"
#include "platform/IoJob.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// The drive's figures beside the disk test's one: what a user compares
// with the tools he knows.
enum class DriveJob
{
    SequentialWrite, // 1 MiB blocks, depth 1
    SequentialRead,
    RandomRead1, // 4 KiB at random, depth 1
    RandomWrite1,
    RandomRead32, // 4 KiB at random, depth 32
    RandomWrite32,
    SyncWrite, // 4 KiB then fdatasync, depth 1
};

inline constexpr DriveJob kDriveJobs[] = {
    DriveJob::SequentialWrite, DriveJob::SequentialRead, DriveJob::RandomRead1,
    DriveJob::RandomWrite1,    DriveJob::RandomRead32,   DriveJob::RandomWrite32,
    DriveJob::SyncWrite,
};

struct DriveJobFigure
{
    DriveJob job = DriveJob::SequentialWrite;
    double mibs = 0.0;
    double iops = 0.0;
    double meanUs = 0.0;
    double medianUs = 0.0;
    double p99Us = 0.0;
    std::vector<double> sliceIops; // each fifth of the window: its steadiness, not runs
    std::vector<double> runIops;   // each run's IOPS where the figure is a median of runs
    std::string contradiction;     // why it is no measurement; empty when it is one
};

struct DriveContextFigures
{
    std::string directory; // where the scratch file was
    std::optional<platform::BlockDevice> device;
    std::uint64_t scratchBytes = 0; // the file, as far as the sequential write covered it
    bool direct = false;
    std::string cached;     // why the page cache was not bypassed; empty when it was
    std::string submission; // "io_uring" or "threads" for depth 32
    std::string fallback;   // why not io_uring; empty when it was used
    double windowSeconds = 0.0;
    std::vector<DriveJobFigure> jobs;
    std::string skipped; // why nothing was measured; then nothing else holds
};

struct DriveContextSettings
{
    double windowSeconds = 1.5; // each figure; seven of them stay under 15 s with the rest
    std::uint64_t largestScratch = 1024ULL * 1024 * 1024;
    // The refusal of io_uring; the real one asks the kernel, tests refuse.
    std::string (*uringRefusal)() = platform::UringRefusal;
};

// Block size, depth, direction and order of a job.
platform::IoJob JobOf(DriveJob job, std::uint64_t regionBytes, double seconds);
// "seqWrite", "randRead32", ...: the JSON member and the compared figure's key.
std::string JobKey(DriveJob job);
// "sequential write 1 MiB, depth 1", ...
std::string JobName(DriveJob job);

// The scratch file's size for a filesystem with `available` bytes free to
// the user of `total`: what leaves at least a tenth of the total and 1 GiB
// free, at most `largest`, in whole MiB; none below 64 MiB (too little room
// to say anything of the drive).
std::optional<std::uint64_t> ScratchBytes(std::uint64_t available, std::uint64_t total,
                                          std::uint64_t largest);

// A job's figures from its run.
DriveJobFigure FigureOf(DriveJob job, const platform::IoRun& run, double windowSeconds);

// Marks figures that contradict each other or the device: random faster
// than sequential at the same depth on a rotating disk, reads beyond what
// the device's link carries.
void FlagContradictions(DriveContextFigures& figures);

// Measures every job on a scratch file "temp.$$$" in `directory`, created,
// guarded and removed as the disk test's. A scratch file that cannot be
// placed leaves `skipped` said; a failed create, read or write throws
// BenchError with the file removed.
DriveContextFigures MeasureDriveContext(const std::string& directory,
                                        const DriveContextSettings& settings = {});

} // namespace bench
