// SPDX-License-Identifier: GPL-3.0-or-later
// The drive's figures in context beside fio running the same jobs, job by
// job in turn: ours on the report's scratch file (the same jobs, engine and
// figures as MeasureDriveContext), then fio on that same file with the same
// block size, depth, engine, direct flag and window: on a virtual disk two
// files lie in different places of the host's file and its cache, and that
// difference, not the programs', decided the ratios. The sequential writes
// lay the file out and the later jobs keep to what they covered. Ratios ours / fio of IOPS and of
// the 99th-percentile latency, medians over the rounds, with the load average.
//   bench_drive [mount-point] [rounds]
// Defaults: the root filesystem, 3 rounds. Needs fio (Debian package fio).

#include "Summary.h"
#include "bench/DiskKernel.h"
#include "bench/DriveContext.h"
#include "platform/DiskDirectory.h"
#include "platform/Drives.h"
#include "platform/ScratchFile.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

struct Side
{
    double iops = 0.0;
    double p99Us = 0.0;
    std::uint64_t bytes = 0;
};

struct Setting
{
    std::string directory;
    std::uint64_t size = 0;
    bool direct = true;
    bool threads = false; // io_uring refused: depth 32 on threads
    double seconds = 1.5;
};

// The fio job of `job` over the first `region` bytes of `path`; the random
// ones without fio's map of blocks already done, as ours pick blocks
// independently.
std::string fioJobFile(const Setting& setting, const std::string& path, bench::DriveJob job,
                       std::uint64_t region)
{
    const platform::IoJob io = bench::JobOf(job, region, setting.seconds);
    const bool queued = io.depth > 1;
    const bool threads = queued && setting.threads;
    std::string text =
        "[" + bench::JobKey(job) + "]\nfilename=" + path + "\nsize=" + std::to_string(region) +
        "\ndirect=" + (setting.direct ? "1" : "0") +
        "\ntime_based\nruntime=" + std::to_string(static_cast<int>(setting.seconds * 1000)) +
        "ms\nnorandommap\nrandrepeat=0\n";
    text += std::string("rw=") + (io.random ? "rand" : "") + (io.write ? "write" : "read") + "\n";
    text += "bs=" + std::to_string(io.blockBytes) + "\n";
    text += std::string("ioengine=") + (queued && !threads ? "io_uring" : "psync") + "\n";
    text += "iodepth=" + std::to_string(threads ? 1 : io.depth) + "\n";
    if (threads)
        text += "thread\nnumjobs=" + std::to_string(io.depth) + "\ngroup_reporting\n";
    if (io.syncEach)
        text += "fdatasync=1\n";
    return text;
}

// Flushes whatever either side left in the drive's cache, so that no job's
// first flush or read pays for the writes of the job before it.
void settle(const std::string& directory)
{
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    syncfs(fd);
    close(fd);
}

std::string runCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char chunk[4096];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
        output.append(chunk, n);
    pclose(pipe);
    return output;
}

double percentile99(const QJsonObject& side, const char* member)
{
    return side.value(member)
               .toObject()
               .value("percentile")
               .toObject()
               .value("99.000000")
               .toDouble() /
           1000.0;
}

Side runFio(const Setting& setting, const std::string& path, bench::DriveJob job,
            std::uint64_t region)
{
    const std::string jobs = setting.directory + "bench_drive.fio-jobs";
    if (FILE* file = std::fopen(jobs.c_str(), "w")) {
        std::fputs(fioJobFile(setting, path, job, region).c_str(), file);
        std::fclose(file);
    }
    settle(setting.directory);
    const std::string output = runCommand("fio --output-format=json '" + jobs + "' 2>/dev/null");
    std::remove(jobs.c_str());
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(output))
                                   .object()
                                   .value("jobs")
                                   .toArray()
                                   .at(0)
                                   .toObject();
    const QJsonObject side =
        result.value(bench::JobOf(job, 0, 0).write ? "write" : "read").toObject();
    Side figure{side.value("iops").toDouble(), percentile99(side, "lat_ns"),
                static_cast<std::uint64_t>(side.value("io_bytes").toDouble())};
    if (figure.p99Us == 0.0) // Ours times the whole wait of a block, submission to completion.
        figure.p99Us = percentile99(side, "clat_ns");
    return figure;
}

// Writes every block of the first `bytes` of `file` once, in 1 MiB blocks.
void layOut(platform::ScratchFile& file, std::uint64_t bytes)
{
    void* memory = nullptr;
    if (posix_memalign(&memory, 4096, kMiB) != 0)
        throw std::runtime_error("no memory for the layout");
    std::unique_ptr<void, decltype(&std::free)> block(memory, &std::free);
    std::memset(memory, 0x5a, kMiB);
    for (std::uint64_t offset = 0; offset < bytes; offset += kMiB)
        if (pwrite(file.descriptor(), memory, kMiB, static_cast<off_t>(offset)) !=
            static_cast<ssize_t>(kMiB))
            throw std::runtime_error("the layout write failed");
    file.SyncData();
}

struct Ratios
{
    std::vector<double> ours, fio, iops, p99;
};

// One round: each job ours and fio's, in turn; `fioFirst` swaps the two, so
// that neither side always runs right after the other's writes.
void round(const Setting& setting, bool fioFirst, std::map<std::string, Ratios>& ratios)
{
    platform::ScratchFile file(bench::ScratchPath(setting.directory),
                               platform::ScratchAccess::ReadWrite);
    if ((file.UseDirectIo() == 0) != setting.direct)
        throw std::runtime_error("direct I/O changed between rounds");
    file.Reserve(setting.size);
    // Laid out untimed first: the first writer of a reserved block also
    // converts it, and whichever side went first paid for both (0.8-0.95
    // going first, 1.2 going second).
    layOut(file, setting.size);
    const auto queued =
        setting.threads ? platform::IoSubmission::Threads : platform::IoSubmission::Uring;
    std::uint64_t region = setting.size;
    for (const bench::DriveJob job : bench::kDriveJobs) {
        const platform::IoJob io = bench::JobOf(job, region, setting.seconds);
        Side fio;
        if (fioFirst)
            fio = runFio(setting, file.path(), job, region);
        settle(setting.directory);
        const platform::IoRun run = platform::RunIoJob(
            file, io, io.depth > 1 ? queued : platform::IoSubmission::Synchronous);
        const bench::DriveJobFigure ours = bench::FigureOf(job, run, setting.seconds);
        if (!fioFirst)
            fio = runFio(setting, file.path(), job, region);
        if (io.write)
            file.SyncData();
        // Both wrote from the start: together they covered the longer run.
        if (job == bench::DriveJob::SequentialWrite)
            region = std::min(setting.size, std::max(run.bytes, fio.bytes) / kMiB * kMiB);
        const std::string key = bench::JobKey(job);
        std::printf("  %-12s ours %9.0f IOPS p99 %7.0f us   fio %9.0f IOPS p99 %7.0f us   %.2f\n",
                    key.c_str(), ours.iops, ours.p99Us, fio.iops, fio.p99Us,
                    fio.iops > 0 ? ours.iops / fio.iops : 0.0);
        if (!(fio.iops > 0))
            continue;
        Ratios& r = ratios[key];
        r.ours.push_back(ours.iops);
        r.fio.push_back(fio.iops);
        r.iops.push_back(ours.iops / fio.iops);
        // fio's latency of a write leaves its fdatasync out; ours waits for both.
        if (fio.p99Us > 0 && job != bench::DriveJob::SyncWrite)
            r.p99.push_back(ours.p99Us / fio.p99Us);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mountPoint = argc > 1 ? argv[1] : "/";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const auto directory = platform::DiskTestDirectory(mountPoint);
    const auto space = directory ? platform::QueryDriveSpace(*directory) : std::nullopt;
    const auto size =
        space ? bench::ScratchBytes(space->availableBytes, space->totalBytes, 1024 * kMiB)
              : std::nullopt;
    if (!size) {
        std::fprintf(stderr, "no room for the scratch file on the filesystem of %s\n",
                     mountPoint.c_str());
        return 1;
    }
    Setting setting{*directory, *size, true, !platform::UringRefusal().empty(),
                    bench::DriveContextSettings{}.windowSeconds};
    {
        platform::ScratchFile probe(bench::ScratchPath(*directory));
        setting.direct = probe.UseDirectIo() == 0;
    }
    std::printf("%s, %llu MiB, %s, depth 32 on %s, %.1f s a job\n", directory->c_str(),
                static_cast<unsigned long long>(*size / kMiB), setting.direct ? "direct" : "cached",
                setting.threads ? "threads" : "io_uring", setting.seconds);
    std::map<std::string, Ratios> ratios;
    for (int i = 0; i < rounds; ++i) {
        std::printf("round %d (%s first), load %s\n", i + 1, i % 2 ? "fio" : "ours",
                    loadAverage().c_str());
        round(setting, i % 2 != 0, ratios);
    }
    std::printf("\nload at the end %s; medians over %d rounds\n", loadAverage().c_str(), rounds);
    std::printf("%-12s %10s %10s %7s %7s %9s\n", "job", "ours IOPS", "fio IOPS", "ratio", "CV %",
                "p99 ratio");
    for (const bench::DriveJob job : bench::kDriveJobs) {
        const Ratios& r = ratios[bench::JobKey(job)];
        std::printf("%-12s %10.0f %10.0f %7.2f %7.1f %9.2f\n", bench::JobKey(job).c_str(),
                    summarise(r.ours).median, summarise(r.fio).median, summarise(r.iops).median,
                    summarise(r.iops).cv, summarise(r.p99).median);
    }
    return 0;
}
