// SPDX-License-Identifier: GPL-3.0-or-later
// Speed figures of the processor kernels: spread of five CpuTest and five
// FpuTest counts, and the share of a pass that reading the tick costs.
//   bench_processor [runs] [pause-ms]
// The pause between windows (default 1000 ms) keeps one window from eating
// into the real-time budget of the next (the kernel throttles a SCHED_FIFO
// thread after 950 ms in any second); 0 runs them back to back.

#include "Summary.h"
#include "bench/Kernels.h"
#include "bench/TimedWindow.h"
#include "platform/Clock.h"
#include "platform/Priority.h"
#include "platform/PublishedTick.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

unsigned pauseMilliseconds = 1000;

void pauseBetweenWindows()
{
    platform::SleepMilliseconds(pauseMilliseconds);
}

void printRow(const char* name, const std::vector<double>& values, const char* unit, bool withCv)
{
    const Summary s = summarise(values);
    std::printf("%-20s median %10.1f", name, s.median);
    if (withCv)
        std::printf("  CV %5.2f %%", s.cv);
    else
        std::printf("           ");
    std::printf("  min %10.1f  max %10.1f  %s\n", s.min, s.max, unit);
}

// Milliseconds for `passes` passes with the tick read after every
// `readEvery`-th pass, as the window reads it.
template <typename Pass, typename Tick>
double timePasses(Pass&& pass, int passes, int readEvery, Tick&& tick)
{
    volatile std::uint32_t sink = 0;
    std::int32_t count = 0;
    const double start = platform::PreciseMilliseconds();
    while (count < passes) {
        pass(count);
        if (count % readEvery == 0)
            sink = tick();
    }
    (void)sink;
    return platform::PreciseMilliseconds() - start;
}

// Share of a pass that the tick read costs, in percent: blocks reading it
// every pass against blocks reading it every 16th pass, interleaved so that
// drifts of the machine's speed hit both alike. A read every 16th pass
// still costs 1/16 of a read, hence the 16/15.
template <typename Pass, typename Tick>
std::vector<double> tickShares(int runs, Pass&& pass, Tick&& tick)
{
    constexpr int blocks = 20;
    constexpr int passesPerBlock = 100'000;
    std::vector<double> shares;
    for (int run = 0; run < runs; ++run) {
        pauseBetweenWindows();
        const platform::TimeCriticalBracket bracket;
        std::vector<double> blockShares;
        for (int block = 0; block < blocks; ++block) {
            const double every = timePasses(pass, passesPerBlock, 1, tick);
            const double sixteenth = timePasses(pass, passesPerBlock, 16, tick);
            blockShares.push_back(100.0 * (every - sixteenth) / every * 16.0 / 15.0);
        }
        shares.push_back(summarise(blockShares).median);
    }
    return shares;
}

template <typename Tick> double tickReadNanoseconds(Tick&& tick)
{
    constexpr int reads = 10'000'000;
    volatile std::uint32_t sink = 0;
    const double start = platform::PreciseMilliseconds();
    for (int i = 0; i < reads; ++i)
        sink = tick();
    (void)sink;
    return (platform::PreciseMilliseconds() - start) * 1e6 / reads;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (argc > 2)
        pauseMilliseconds = static_cast<unsigned>(std::max(0, std::atoi(argv[2])));
    std::printf("bench_processor: %d runs per kernel, %u ms pause between windows, "
                "load average before %s%s\n",
                runs, pauseMilliseconds, loadAverage().c_str(),
                bench::kKernelsComparable ? "" : " (C++ passes: not comparable)");

    std::vector<double> cpu, fpu;
    for (int i = 0; i < runs; ++i) {
        pauseBetweenWindows();
        cpu.push_back(bench::CpuTest());
    }
    for (int i = 0; i < runs; ++i) {
        pauseBetweenWindows();
        fpu.push_back(bench::FpuTest());
    }

    bench::FpuOperands operands;
    const auto fpuPass = [&operands](std::int32_t& count) { bench::FpuPass(operands, count); };
    // The kernels read the published tick; the clock call is shown beside it.
    const platform::PublishedTickCount published;
    const std::vector<double> cpuShare = tickShares(runs, bench::CpuPass, published);
    const std::vector<double> fpuShare = tickShares(runs, fpuPass, published);
    const std::vector<double> cpuCallShare = tickShares(runs, bench::CpuPass, platform::TickCount);

    std::printf("\n");
    printRow("CpuTest count", cpu, "passes", true);
    printRow("FpuTest count", fpu, "passes", true);
    printRow("CpuTest tick share", cpuShare, "% of a pass", false);
    printRow("FpuTest tick share", fpuShare, "% of a pass", false);
    printRow("(clock call instead)", cpuCallShare, "% of a CpuTest pass", false);
    std::printf("%-20s %10.2f ns published%s, %.2f ns clock call; CpuTest pass %.1f ns, "
                "FpuTest pass %.1f ns (medians)\n",
                "tick read", tickReadNanoseconds(published),
                published.published() ? "" : " (timer unavailable: clock call)",
                tickReadNanoseconds(platform::TickCount), 500e6 / summarise(cpu).median,
                500e6 / summarise(fpu).median);
    std::printf("goals: CV <= 2 %% (CpuTest), <= 6 %% (FpuTest); tick share <= 4 %%\n");
    std::printf("load average after %s\n", loadAverage().c_str());
    return 0;
}
