// SPDX-License-Identifier: GPL-3.0-or-later
// Measures this machine as the reference machine of base.ini and prints the
// [DATA] section and a [Processor] row for it:
//   PIIMultCPU, PIIMultFPU  median pass counts of 5 CpuTest and 5 FpuTest runs
//   PIIFreq                 the measured processor clock in MHz
// The row is then what the processor page itself gives this machine against
// those values, described by the overview's processor text.
//   bench_reference [runs]
// Or the rows of a result that `quorvix --report --json --repeat 5` saved,
// scored against the DATA of a base.ini, each naming the machine it was
// measured on (CPUs, virtual or bare metal, the program's version):
//   bench_reference --result FILE BASE_INI

#include "Summary.h"
#include "bench/Kernels.h"
#include "bench/ProcessorPage.h"
#include "bench/ReferenceMachine.h"
#include "database/ComparisonDatabase.h"
#include "platform/Clock.h"
#include "report/ShippedRows.h"
#include "results/SavedResult.h"
#include "sysinfo/Overview.h"
#include "sysinfo/SysInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

int rowsFromResult(const QString& result, const QString& databasePath)
{
    try {
        const ComparisonDatabase database(databasePath);
        for (const QString& line : report::ShippedRows(result, bench::LoadScaling(database)))
            std::printf("%s\n", line.toUtf8().constData());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--result") == 0) {
        if (argc != 4) {
            std::fprintf(stderr, "usage: bench_reference --result FILE BASE_INI\n");
            return 2;
        }
        return rowsFromResult(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
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
