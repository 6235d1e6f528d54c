// SPDX-License-Identifier: GPL-3.0-or-later
// The drive's figures in context beside fio running the same jobs: per
// round, MeasureDriveContext (all seven jobs on its scratch file), then fio
// with each job on a file of the same size (same block size, depth, engine,
// direct flag and window), then the ratios ours / fio of IOPS and of the
// 99th-percentile latency. Medians over the rounds, with the load average.
//   bench_drive [mount-point] [rounds]
// Defaults: the root filesystem, 3 rounds. Needs fio (Debian package fio).

#include "Summary.h"
#include "bench/DriveContext.h"
#include "platform/DiskDirectory.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct FioFigure
{
    double iops = 0.0;
    double p99Us = 0.0;
};

// One fio job with the settings of `job`; the random ones without fio's
// map of blocks already done, as ours pick blocks independently.
std::string fioJob(bench::DriveJob job, const bench::DriveContextFigures& ours)
{
    const platform::IoJob io = bench::JobOf(job, ours.scratchBytes, ours.windowSeconds);
    const bool queued = io.depth > 1;
    const bool threads = queued && !ours.fallback.empty();
    std::string text = "[" + bench::JobKey(job) + "]\nstonewall\n";
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

std::string fioJobFile(const bench::DriveContextFigures& ours, const std::string& file)
{
    std::string text =
        "[global]\nfilename=" + file + "\nsize=" + std::to_string(ours.scratchBytes) +
        "\ndirect=" + (ours.direct ? "1" : "0") +
        "\ntime_based\nruntime=" + std::to_string(static_cast<int>(ours.windowSeconds * 1000)) +
        "ms\nnorandommap\nrandrepeat=0\n";
    for (const bench::DriveJob job : bench::kDriveJobs)
        text += fioJob(job, ours);
    return text;
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

std::map<std::string, FioFigure> runFio(const bench::DriveContextFigures& ours)
{
    const std::string dir = ours.directory.back() == '/' ? ours.directory : ours.directory + "/";
    const std::string jobs = dir + "bench_drive.fio-jobs";
    const std::string data = dir + "bench_drive.fio-data";
    if (FILE* file = std::fopen(jobs.c_str(), "w")) {
        std::fputs(fioJobFile(ours, data).c_str(), file);
        std::fclose(file);
    }
    const std::string output = runCommand("fio --output-format=json '" + jobs + "' 2>/dev/null");
    std::remove(jobs.c_str());
    std::remove(data.c_str());
    std::map<std::string, FioFigure> figures;
    const QJsonArray array =
        QJsonDocument::fromJson(QByteArray::fromStdString(output)).object().value("jobs").toArray();
    for (const QJsonValue& value : array) {
        const QJsonObject job = value.toObject();
        const QString name = job.value("jobname").toString();
        const QJsonObject read = job.value("read").toObject();
        const QJsonObject write = job.value("write").toObject();
        const QJsonObject side = write.value("iops").toDouble() > 0 ? write : read;
        FioFigure figure{side.value("iops").toDouble(), 0.0};
        // Ours times the whole wait of a block, submission to completion.
        figure.p99Us = side.value("lat_ns")
                           .toObject()
                           .value("percentile")
                           .toObject()
                           .value("99.000000")
                           .toDouble() /
                       1000.0;
        if (figure.p99Us == 0.0)
            figure.p99Us = side.value("clat_ns")
                               .toObject()
                               .value("percentile")
                               .toObject()
                               .value("99.000000")
                               .toDouble() /
                           1000.0;
        figures[name.toStdString()] = figure;
    }
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mountPoint = argc > 1 ? argv[1] : "/";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const auto directory = platform::DiskTestDirectory(mountPoint);
    if (!directory) {
        std::fprintf(stderr, "no writable directory on the filesystem of %s\n", mountPoint.c_str());
        return 1;
    }
    std::map<std::string, std::vector<double>> iopsRatio, p99Ratio, oursIops, fioIops;
    for (int round = 0; round < rounds; ++round) {
        std::printf("round %d, load %s\n", round + 1, loadAverage().c_str());
        const bench::DriveContextFigures ours = bench::MeasureDriveContext(*directory);
        if (!ours.skipped.empty()) {
            std::fprintf(stderr, "skipped: %s\n", ours.skipped.c_str());
            return 1;
        }
        std::printf("  ours: %s, %llu MiB, %s, depth 32 by %s%s%s\n", directory->c_str(),
                    static_cast<unsigned long long>(ours.scratchBytes >> 20),
                    ours.direct ? "direct" : "cached", ours.submission.c_str(),
                    ours.fallback.empty() ? "" : ": ", ours.fallback.c_str());
        const auto theirs = runFio(ours);
        for (const bench::DriveJobFigure& figure : ours.jobs) {
            const std::string key = bench::JobKey(figure.job);
            const auto found = theirs.find(key);
            if (found == theirs.end() || !(found->second.iops > 0)) {
                std::printf("  %-12s fio gave no figure\n", key.c_str());
                continue;
            }
            oursIops[key].push_back(figure.iops);
            fioIops[key].push_back(found->second.iops);
            iopsRatio[key].push_back(figure.iops / found->second.iops);
            // fio's latency of a write leaves its fdatasync out; ours waits for both.
            if (found->second.p99Us > 0 && figure.job != bench::DriveJob::SyncWrite)
                p99Ratio[key].push_back(figure.p99Us / found->second.p99Us);
            std::printf("  %-12s ours %10.0f IOPS p99 %8.0f us   fio %10.0f IOPS p99 %8.0f us\n",
                        key.c_str(), figure.iops, figure.p99Us, found->second.iops,
                        found->second.p99Us);
        }
    }
    std::printf("\nload at the end %s; medians over %d rounds\n", loadAverage().c_str(), rounds);
    std::printf("%-12s %10s %10s %8s %6s %8s\n", "job", "ours IOPS", "fio IOPS", "ratio", "CV %",
                "p99 ratio");
    for (const auto& [key, ratios] : iopsRatio) {
        const Summary ratio = summarise(ratios);
        std::printf("%-12s %10.0f %10.0f %8.2f %6.1f %8.2f\n", key.c_str(),
                    summarise(oursIops[key]).median, summarise(fioIops[key]).median, ratio.median,
                    ratio.cv, summarise(p99Ratio[key]).median);
    }
    return 0;
}
