// SPDX-License-Identifier: GPL-3.0-or-later
// Times the overview probe pass apart from its one-second clock measurement
// (the sleeps are skipped, everything else runs for real), and the fixed-drive
// listing. Prints the field texts of one full pass at the end.
#include "Summary.h"
#include "sysinfo/Overview.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work> std::vector<double> timeRuns(int runs, Work work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return ms;
}

void report(const char* what, std::vector<double> ms)
{
    const Summary summary = summarise(ms);
    std::printf("%-40s first %7.3f ms  median %7.3f ms  max %7.3f ms  (%zu runs)\n", what,
                ms.front(), summary.median, summary.max, ms.size());
}

void print(const char* label, const QString& text)
{
    std::printf("%-14s \"%s\"\n", label, text.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    constexpr int kRuns = 50;

    sysinfo::OverviewSources withoutClock;
    withoutClock.counter.sleep = [](unsigned) {};
    report("probe pass without the clock's sleeps",
           timeRuns(kRuns, [&] { sysinfo::GatherOverview(withoutClock); }));
    report("fixed-drive listing", timeRuns(kRuns, [] { sysinfo::ListFixedDrives(); }));

    sysinfo::OverviewFields fields;
    report("full probe pass", timeRuns(1, [&] { fields = sysinfo::GatherOverview(); }));
    const sysinfo::FixedDriveListing drives = sysinfo::ListFixedDrives();

    print("Processor", fields.processor);
    print("Memory", fields.memory);
    print("Video", fields.display);
    print("Monitor", fields.monitor);
    print("HDD's", drives.sizes);
    print("CD-ROM", fields.cdrom);
    print("Mouse", fields.mouse);
    print("OS", fields.os.value_or(QStringLiteral("(left unchanged)")));
    print("Computer name", fields.computerName);
    print("User name", fields.userName);
    print("Drive items", drives.items.join(QStringLiteral(" | ")));
    return 0;
}
