// Speed figures of the processor kernels: spread of five CpuTest and five
// FpuTest counts, and the share of a pass that reading the tick costs.
//   bench_processor [runs] [pause-ms]
// The pause between windows (default 1000 ms) keeps one window from eating
// into the real-time budget of the next (the kernel throttles a SCHED_FIFO
// thread after 950 ms in any second); 0 runs them back to back.

#include "bench/Test.h"
#include "bench/TimedWindow.h"
#include "platform/Clock.h"
#include "platform/Priority.h"

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

void pause()
{
    platform::SleepMilliseconds(pauseMilliseconds);
}

struct Summary
{
    double median, cv, min, max;
};

Summary summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    double mean = 0;
    for (double v : values)
        mean += v;
    mean /= n;
    double squares = 0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    const double deviation = n > 1 ? std::sqrt(squares / (n - 1)) : 0;
    return {median, 100.0 * deviation / mean, values.front(), values.back()};
}

// The same window, but the tick is read only after every 16th pass.
template <typename Pass>
std::int32_t countReadingEvery16th(Pass&& pass)
{
    const platform::TimeCriticalBracket bracket;
    const std::uint32_t before = platform::TickCount();
    while (platform::TickCount() == before) {
    }
    const std::uint32_t start = platform::TickCount();
    std::int32_t count = 0;
    for (;;) {
        pass(count);
        if ((count & 15) == 0 &&
            static_cast<std::uint32_t>(platform::TickCount() - start) > bench::kWindowMilliseconds)
            return count;
    }
}

template <typename Pass>
std::int32_t countReadingEvery(Pass&& pass)
{
    const platform::TimeCriticalBracket bracket;
    return bench::CountPassesInWindow(platform::TickCount, pass);
}

void printRow(const char* name, const std::vector<double>& values, const char* unit)
{
    const Summary s = summarise(values);
    std::printf("%-22s median %10.1f  CV %5.2f %%  min %10.1f  max %10.1f %s\n", name, s.median,
                s.cv, s.min, s.max, unit);
}

// Tick share of a pass: 1 - (passes with a read every pass) / (passes with a
// read every 16th pass), from paired windows.
template <typename Pass>
std::vector<double> tickShares(int runs, Pass&& pass)
{
    std::vector<double> shares;
    for (int i = 0; i < runs; ++i) {
        pause();
        const double every = countReadingEvery(pass);
        pause();
        const double sixteenth = countReadingEvery16th(pass);
        shares.push_back(100.0 * (1.0 - every / sixteenth));
    }
    return shares;
}

double tickReadNanoseconds()
{
    constexpr int reads = 10'000'000;
    volatile std::uint32_t sink = 0;
    const double start = platform::PreciseMilliseconds();
    for (int i = 0; i < reads; ++i)
        sink = platform::TickCount();
    (void)sink;
    return (platform::PreciseMilliseconds() - start) * 1e6 / reads;
}

std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (argc > 2)
        pauseMilliseconds = static_cast<unsigned>(std::max(0, std::atoi(argv[2])));
    std::printf("bench_processor: %d runs per kernel, %u ms pause between windows, "
                "load average before %s%s\n",
                runs, pauseMilliseconds, loadAverage().c_str(), bench::kKernelsComparable ? "" : " (C++ passes: not comparable)");

    std::vector<double> cpu, fpu;
    for (int i = 0; i < runs; ++i) {
        pause();
        cpu.push_back(bench::CpuTest());
    }
    for (int i = 0; i < runs; ++i) {
        pause();
        fpu.push_back(bench::FpuTest());
    }

    bench::FpuOperands operands;
    const auto fpuPass = [&operands](std::int32_t& count) { bench::FpuPass(operands, count); };
    const std::vector<double> cpuShare = tickShares(runs, bench::CpuPass);
    const std::vector<double> fpuShare = tickShares(runs, fpuPass);

    std::printf("\n");
    printRow("CpuTest count", cpu, "passes");
    printRow("FpuTest count", fpu, "passes");
    printRow("CpuTest tick share", cpuShare, "% of a pass");
    printRow("FpuTest tick share", fpuShare, "% of a pass");
    std::printf("%-22s %10.1f ns; CpuTest pass %.1f ns, FpuTest pass %.1f ns (medians)\n",
                "TickCount read", tickReadNanoseconds(), 500e6 / summarise(cpu).median,
                500e6 / summarise(fpu).median);
    std::printf("goals: CV <= 2 %% (CpuTest), <= 6 %% (FpuTest); tick share <= 4 %%\n");
    std::printf("load average after %s\n", loadAverage().c_str());
    return 0;
}
