// SPDX-License-Identifier: GPL-3.0-or-later
// Overhead of the all-tests run: its wall time against the work it must do
// (the one-second clock measurement of the overview, the two 500 ms
// processor windows, and the memory, video and disk pages, counted whole).
//   bench_report [runs] [base.ini]
// Runs the same session and steps as `quorvix --report`, each test timed
// from outside (from its start to its end as the run announces them).
// The processor windows are the kernels' own parts (bracket, published tick,
// window, passes) with the tick watched: its longest step shows whether the
// kernel stopped the thread inside the window (a step of tens of ms where
// the tick otherwise advances by one of its own steps).

#include "Summary.h"
#include "bench/Kernels.h"
#include "bench/TimedWindow.h"
#include "platform/Clock.h"
#include "platform/Priority.h"
#include "platform/PublishedTick.h"
#include "report/HeadlessView.h"
#include "session/FullRun.h"
#include "session/Session.h"
#include "shell/ReportLauncher.h"

#include <QApplication>

#include <algorithm>
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

// A processor window as the kernels run it, noting the tick's longest step.
template <typename Pass> std::int32_t watchedWindow(double& longestStep, Pass&& pass)
{
    const platform::TimeCriticalBracket bracket(bench::ProcessorBracketMs());
    const platform::PublishedTickCount tick;
    std::uint32_t last = tick();
    std::uint32_t longest = 0;
    const auto watched = [&] {
        const std::uint32_t now = tick();
        longest = std::max(longest, now - last);
        last = now;
        return now;
    };
    const std::int32_t count = bench::CountPassesInWindow(watched, pass);
    longestStep = std::max(longestStep, double(longest));
    return count;
}

// The report's view, each test timed under the name of its page.
class TimedView : public report::HeadlessView
{
public:
    TimedView(report::Session& session, Times& times)
        : HeadlessView(session, MakeReportSurface(VideoSkippedReason())), m_times(times)
    {
    }
    void testBegins(const report::RunTest& test) override
    {
        m_start = platform::PreciseMilliseconds();
        HeadlessView::testBegins(test);
    }
    void testEnded(const report::RunTest& test) override
    {
        m_times[pageOf(test)] += platform::PreciseMilliseconds() - m_start;
        HeadlessView::testEnded(test);
    }

private:
    static std::string pageOf(const report::RunTest& test)
    {
        switch (test.page) {
        case report::TestPage::Processor:
            return "processor page";
        case report::TestPage::Memory:
            return "memory page";
        case report::TestPage::Video:
            return "video page";
        case report::TestPage::Drive:
            break;
        }
        return "disk pages";
    }

    Times& m_times;
    double m_start = 0;
};

Times runOnce(const QString& databasePath)
{
    Times times;
    const std::function<std::int32_t()> cpu = [&times] {
        return watchedWindow(times["CpuTest step"],
                             [](std::int32_t& count) { bench::CpuPass(count); });
    };
    const std::function<std::int32_t()> fpu = [&times] {
        bench::FpuOperands operands;
        return watchedWindow(times["FpuTest step"],
                             [&operands](std::int32_t& count) { bench::FpuPass(operands, count); });
    };
    report::SessionKernels kernels;
    kernels.processor = {timed(times, "CpuTest", cpu), timed(times, "FpuTest", fpu)};
    report::MachineProbes probes;
    probes.gatherOverview = timed(times, "overview", probes.gatherOverview);
    const double start = platform::PreciseMilliseconds();
    report::Session session(databasePath, probes, kernels);
    TimedView view(session, times);
    session.loadReferenceMachine();
    session.refreshOverview();
    report::RunAllTests(session, view);
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
    const QString database =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(QUORVIX_SHIPPED_DATABASE);
    std::printf("load average %s\n", loadAverage().c_str());
    std::printf("%8s %9s %9s %9s %9s %9s %9s %9s %9s %9s %7s %5s %5s\n", "run ms", "overview",
                "CpuTest", "FpuTest", "proc page", "memory", "video", "disks", "mandated",
                "overhead", "%", "step1", "step2");
    std::vector<double> shares;
    double longestStep = 0;
    for (int i = 0; i < runs; ++i) {
        Times t = runOnce(database);
        // The clock measurement and the two windows are fixed; the other
        // pages count whole, their own set-up included.
        const double mandated =
            1000.0 + 2 * 500.0 + t["memory page"] + t["video page"] + t["disk pages"];
        const double overhead = t["run"] - mandated;
        shares.push_back(100.0 * overhead / mandated);
        longestStep = std::max({longestStep, t["CpuTest step"], t["FpuTest step"]});
        std::printf(
            "%8.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %6.2f%% %5.0f %5.0f\n",
            t["run"], t["overview"], t["CpuTest"], t["FpuTest"], t["processor page"],
            t["memory page"], t["video page"], t["disk pages"], mandated, overhead, shares.back(),
            t["CpuTest step"], t["FpuTest step"]);
    }
    const Summary s = summarise(shares);
    std::printf("overhead: median %.2f %%, %.2f to %.2f %% (%d runs); goal <= 3 %%\n", s.median,
                s.min, s.max, runs);
    std::printf("longest tick step in a processor window: %.0f ms (tick resolution %.0f ms)%s\n",
                longestStep, platform::TickResolutionMs(),
                longestStep > 3 * platform::TickResolutionMs() + 5 ? "  STRETCHED" : "");
    std::printf("load average %s\n", loadAverage().c_str());
    return 0;
}
