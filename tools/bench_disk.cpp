// SPDX-License-Identifier: GPL-3.0-or-later
// Speed figures of the disk kernel: median and spread of DiskTest over 10 MiB
// on a drive, and, in the same run, fio writing the same 10 MiB in 1 MiB
// blocks with a final fsync into the same directory.
//   bench_disk [mount-point] [runs]
// Defaults: the root filesystem, 5 runs. fio is optional (Debian package
// fio); without it only our figures are printed. fio runs twice per round:
// as started, and under chrt at the SCHED_FIFO priority DiskTest measures at
// (where permitted), since on a loaded machine the priority alone moves the
// figure by a factor of two.

#include "Summary.h"
#include "bench/DiskKernel.h"
#include "bench/TestBuffer.h"
#include "platform/Clock.h"
#include "platform/DiskDirectory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

void printRow(const char* name, const std::vector<double>& values)
{
    const Summary s = summarise(values);
    std::printf("%-9s median %10.0f KB/s  CV %5.1f %%  min %10.0f  max %10.0f\n", name, s.median,
                s.cv, s.min, s.max);
}

bool haveFio()
{
    return std::system("command -v fio >/dev/null 2>&1") == 0;
}

// fio's write bandwidth in bytes per second (its runtime, fsync included, is
// in whole milliseconds); nothing when fio fails.
std::optional<double> fioRate(const std::string& directory, const std::string& prefix)
{
    const std::string command = prefix + "fio --name=bench_disk --directory='" + directory +
                                "' --filename=bench_disk.fio --rw=write --bs=1M --size=10M"
                                " --end_fsync=1 --unlink=1 --output-format=json 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    std::string output;
    char chunk[4096];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
        output.append(chunk, n);
    if (pclose(pipe) != 0)
        return std::nullopt;
    const std::size_t write = output.find("\"write\" :");
    const std::size_t field = output.find("\"bw_bytes\" :", write);
    if (write == std::string::npos || field == std::string::npos)
        return std::nullopt;
    return std::strtod(output.c_str() + field + 12, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mountPoint = argc > 1 ? argv[1] : "/";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const auto directory = platform::DiskTestDirectory(mountPoint);
    if (!directory) {
        std::fprintf(stderr, "no writable directory on the filesystem of %s\n", mountPoint.c_str());
        return 1;
    }
    const bool fio = haveFio();
    std::printf("drive %s, test directory %s, %d runs of 10 MiB%s\n", mountPoint.c_str(),
                directory->c_str(), runs, fio ? ", each followed by fio" : " (fio not found)");

    bench::AllocTestBuffer(static_cast<std::size_t>(bench::kDiskBlockBytes));
    std::vector<double> ours, theirs, theirsRealTime;
    for (int run = 0; run < runs; ++run) {
        ours.push_back(static_cast<double>(bench::DiskTest(*directory, 10)) / 1024);
        std::printf("run %d: DiskTest %10.0f KB/s", run + 1, ours.back());
        if (fio) {
            if (const auto rate = fioRate(*directory, "")) {
                theirs.push_back(*rate / 1024);
                std::printf("   fio %10.0f KB/s", theirs.back());
            }
            if (const auto rate = fioRate(*directory, "chrt -f 49 ")) {
                theirsRealTime.push_back(*rate / 1024);
                std::printf("   fio (FIFO 49) %10.0f KB/s", theirsRealTime.back());
            }
        }
        std::printf("\n");
        platform::SleepMilliseconds(200);
    }
    bench::FreeTestBuffer();

    printRow("DiskTest", ours);
    if (!theirs.empty()) {
        printRow("fio", theirs);
        std::printf("DiskTest / fio (medians): %.2f\n",
                    summarise(ours).median / summarise(theirs).median);
    }
    if (!theirsRealTime.empty()) {
        printRow("fio FIFO", theirsRealTime);
        std::printf("DiskTest / fio at the same priority (medians): %.2f\n",
                    summarise(ours).median / summarise(theirsRealTime).median);
    }
    return 0;
}
