// Overhead of the all-tests run: its wall time against the work it must do
// (the one-second clock measurement of the overview, the two 500 ms
// processor windows, and the memory, video and disk pages, counted whole).
//   bench_report [runs] [base.ini]
// Runs the same pages as `quorvix --report`, each one timed from outside.

#include "bench/Kernels.h"
#include "database/ComparisonDatabase.h"
#include "platform/Clock.h"
#include "report/AllTests.h"
#include "report/HeadlessSteps.h"
#include "shell/BenchmarkPages.h"
#include "shell/CommandLine.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

using Times = std::map<std::string, double>;

// `function` with each call's milliseconds added to times[name].
template <typename Result, typename... Args>
std::function<Result(Args...)> timed(Times& times, const std::string& name,
                                     std::function<Result(Args...)> function)
{
    return [&times, name, function](Args... args) -> Result {
        const double start = platform::PreciseMilliseconds();
        if constexpr (std::is_void_v<Result>) {
            function(args...);
            times[name] += platform::PreciseMilliseconds() - start;
        } else {
            Result result = function(args...);
            times[name] += platform::PreciseMilliseconds() - start;
            return result;
        }
    };
}

Times runOnce(const ComparisonDatabase& database)
{
    Times times;
    const bench::ProcessorKernels kernels{
        timed(times, "CpuTest", std::function<std::int32_t()>(bench::CpuTest)),
        timed(times, "FpuTest", std::function<std::int32_t()>(bench::FpuTest))};
    report::ReportPages pages =
        ReportPagesFor(std::make_shared<RealBenchmarkPages>(kernels), VideoSkippedReason());
    pages.gatherOverview = timed(times, "overview", pages.gatherOverview);
    pages.processorPage = timed(times, "processor page", pages.processorPage);
    pages.memoryPage = timed(times, "memory page", pages.memoryPage);
    if (pages.videoPage)
        pages.videoPage = timed(times, "video page", pages.videoPage);
    pages.diskPage = timed(times, "disk pages", pages.diskPage);

    const double start = platform::PreciseMilliseconds();
    report::HeadlessSteps steps(database, pages);
    steps.refreshOverview();
    report::MemoryLog log;
    report::RunAllTests(steps, log);
    times["run"] = platform::PreciseMilliseconds() - start;
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    if (!VideoSkippedReason().isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const ComparisonDatabase database(argc > 2 ? QString::fromLocal8Bit(argv[2])
                                               : QStringLiteral(QUORVIX_SHIPPED_DATABASE));
    std::printf("%8s %9s %9s %9s %9s %9s %9s %9s %9s %9s %7s\n", "run ms", "overview", "CpuTest",
                "FpuTest", "proc page", "memory", "video", "disks", "mandated", "overhead", "%");
    for (int i = 0; i < runs; ++i) {
        Times t = runOnce(database);
        // The clock measurement and the two windows are fixed; the other
        // pages count whole, their own set-up included.
        const double mandated =
            1000.0 + 2 * 500.0 + t["memory page"] + t["video page"] + t["disk pages"];
        const double overhead = t["run"] - mandated;
        std::printf("%8.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %6.2f%%\n",
                    t["run"], t["overview"], t["CpuTest"], t["FpuTest"], t["processor page"],
                    t["memory page"], t["video page"], t["disk pages"], mandated, overhead,
                    100.0 * overhead / mandated);
    }
    return 0;
}
