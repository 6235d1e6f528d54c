// SPDX-License-Identifier: GPL-3.0-or-later
// Measures this machine as the reference machine of base.ini and prints the
// [DATA] section and a [Processor] row for it:
//   PIIMultCPU, PIIMultFPU  median pass counts of 5 CpuTest and 5 FpuTest runs
//   PIIFreq                 the measured processor clock in MHz
// The row is then what the processor page itself gives this machine against
// those values, described by the overview's processor text.
//   bench_reference [runs]

#include "Summary.h"
#include "bench/Kernels.h"
#include "bench/ProcessorPage.h"
#include "bench/ReferenceMachine.h"
#include "database/ComparisonDatabase.h"
#include "platform/Clock.h"
#include "sysinfo/Overview.h"
#include "sysinfo/SysInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A second between windows keeps each inside the kernel's real-time budget.
std::int32_t medianOf(int runs, std::int32_t (*kernel)())
{
    std::vector<double> counts;
    for (int i = 0; i < runs; ++i) {
        platform::SleepMilliseconds(1000);
        const std::int32_t count = kernel();
        counts.push_back(count);
        std::fprintf(stderr, "  %d\n", count);
    }
    return static_cast<std::int32_t>(std::lround(summarise(counts).median));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    std::fprintf(stderr, "CpuTest counts:\n");
    const std::int32_t cpu = medianOf(runs, bench::CpuTest);
    std::fprintf(stderr, "FpuTest counts:\n");
    const std::int32_t fpu = medianOf(runs, bench::FpuTest);
    const std::uint32_t megahertz = sysinfo::GetProcessorSpeed();
    const QString description = sysinfo::ProcessorField(sysinfo::GetProcessorName(), megahertz);

    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("base.ini"));
    ComparisonDatabase database(path);
    database.WriteText(QStringLiteral("DATA"), QStringLiteral("PIIMultCPU"), QString::number(cpu));
    database.WriteText(QStringLiteral("DATA"), QStringLiteral("PIIMultFPU"), QString::number(fpu));
    database.WriteText(QStringLiteral("DATA"), QStringLiteral("PIIFreq"),
                       QString::number(megahertz));
    const bench::ReferenceMachine reference = bench::LoadScaling(database);

    platform::SleepMilliseconds(1000);
    bench::ProcessorResult result;
    bench::MeasureProcessor(reference, bench::RealProcessorKernels(), result);
    const QString row =
        QString::number(result.cpuScore) + QLatin1Char(',') + QString::number(result.fpuScore);
    database.WriteText(QStringLiteral("Processor"), description, row);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    std::fwrite(file.readAll().constData(), 1, static_cast<std::size_t>(file.size()), stdout);
    return 0;
}
