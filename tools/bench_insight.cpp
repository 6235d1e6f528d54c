// SPDX-License-Identifier: GPL-3.0-or-later
// The figures of the report's "in context" section, measured as the report
// measures them, each beside an independent probe in the same round:
//   effective clock     chain_rate, a separate program's chain (SCHED_FIFO
//                       where permitted)
//   all-core scaling    a threaded integer loop, one thread and all of them
//                       in turn, per processor time as the report counts
//   streaming           STREAM's way: plain loops, one slice a thread, the
//                       best of ten trials
//   latency             a pointer chase over a random single cycle, the
//                       best of five windows, at the same priority
// and per figure the medians, their ratio and both spreads (CV), then how
// often the latency levels came out in order and the scaling within the
// thread count.
//   bench_insight [rounds]          (default 5)

#include "Summary.h"
#include "bench/AllCore.h"
#include "bench/ClockChain.h"
#include "platform/Clock.h"
#include "platform/Priority.h"
#include "platform/Threads.h"
#include "report/Insight.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string run(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            text += buffer;
        pclose(pipe);
    }
    return text;
}

// Runs work(t) on `threads` plain threads and returns the milliseconds until
// the last one ended. A thread that cannot start stops the probe, not the
// program: the ones started are joined first.
template <typename Work> double timedThreads(int threads, Work&& work)
{
    std::vector<std::thread> pool;
    std::atomic<bool> go{false};
    std::atomic<int> ready{0};
    const auto joinAll = [&pool] {
        for (std::thread& thread : pool)
            thread.join();
    };
    try {
        for (int t = 0; t < threads; ++t)
            pool.emplace_back([&work, &go, &ready, t] {
                ++ready;
                while (!go.load())
                    std::this_thread::yield();
                work(t);
            });
    } catch (...) {
        go.store(true);
        joinAll();
        throw;
    }
    // Timed from when every thread runs, as threads waiting at a barrier.
    while (ready.load() < threads)
        std::this_thread::yield();
    const double start = platform::PreciseMilliseconds();
    go.store(true);
    joinAll();
    return platform::PreciseMilliseconds() - start;
}

// Iterations of an integer recurrence per millisecond of processor time
// each thread had, summed over the threads, over `ms` of wall time each.
double integerRate(int threads, double ms)
{
    std::vector<double> rates(threads);
    timedThreads(threads, [&](int t) {
        std::uint32_t x = 12345 + t;
        std::uint64_t n = 0;
        timespec cpu{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        const double cpuStart = double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6;
        const double start = platform::PreciseMilliseconds();
        while (platform::PreciseMilliseconds() - start < ms) {
            for (int i = 0; i < 4096; ++i)
                x = x * 1103515245u + 12345u;
            n += 4096;
        }
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        const double used = double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6 - cpuStart;
        rates[t] = double(n + (x == 7 ? 1 : 0)) / used;
    });
    return std::accumulate(rates.begin(), rates.end(), 0.0);
}

// One thread and all of them in turn, one-all-all-one twice.
double integerScaling(int threads)
{
    double one = 0, all = 0;
    for (int round = 0; round < 2; ++round) {
        one += integerRate(1, 100);
        all += integerRate(threads, 100);
        all += integerRate(threads, 100);
        one += integerRate(1, 100);
    }
    return all / one;
}

struct StreamLike
{
    double read = 0, write = 0, copy = 0; // MiB/s
};

// Eight independent sums: one chain of adds would time the adder, not the
// memory.
std::uint64_t sumWords(const std::uint64_t* words, std::size_t count)
{
    std::uint64_t s[8] = {};
    for (std::size_t i = 0; i + 8 <= count; i += 8)
        for (int k = 0; k < 8; ++k)
            s[k] += words[i + k];
    return s[0] + s[1] + s[2] + s[3] + s[4] + s[5] + s[6] + s[7];
}

// Plain stores, as a STREAM build without streaming stores writes; kept a
// loop (not a call of memset or memcpy) so that it stays apart from the
// C library the report uses.
__attribute__((optimize("no-tree-loop-distribute-patterns"))) void
plainStore(std::uint64_t* to, const std::uint64_t* from, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        to[i] = from != nullptr ? from[i] : 3;
}

StreamLike streamLike(int threads, std::size_t bytes)
{
    const std::size_t n = bytes / sizeof(std::uint64_t);
    std::vector<std::uint64_t> a(n + 8, 1);
    std::uint64_t* words = a.data() + (8 - reinterpret_cast<std::uintptr_t>(a.data()) % 64 / 8) % 8;
    const std::size_t slice = n / threads / 8 * 8;
    std::vector<std::uint64_t> sums(threads);
    StreamLike best;
    const double mib = double(slice * threads * sizeof(std::uint64_t)) / 1048576.0;
    for (int trial = 0; trial < 10; ++trial) {
        double ms =
            timedThreads(threads, [&](int t) { sums[t] = sumWords(words + t * slice, slice); });
        best.read = std::max(best.read, mib / ms * 1000.0);
        ms = timedThreads(threads, [&](int t) { plainStore(words + t * slice, nullptr, slice); });
        best.write = std::max(best.write, mib / ms * 1000.0);
        ms = timedThreads(threads, [&](int t) {
            std::uint64_t* from = words + t * slice;
            plainStore(from + slice / 2, from, slice / 2);
        });
        best.copy = std::max(best.copy, mib / ms * 1000.0);
    }
    if (sums[0] == 42)
        std::printf("!\n");
    return best;
}

// A chase over pointers in Sattolo's single cycle, one per line; the best
// of five windows of 4 ms.
double pointerChase(std::size_t bytes)
{
    struct alignas(64) Line
    {
        const Line* next;
    };
    const std::size_t lines = std::max<std::size_t>(2, bytes / sizeof(Line));
    std::vector<Line> chain(lines);
    std::vector<std::uint32_t> order(lines);
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 random(12345);
    for (std::size_t i = lines - 1; i > 0; --i)
        std::swap(order[i], order[std::uniform_int_distribution<std::size_t>(0, i - 1)(random)]);
    for (std::size_t i = 0; i < lines; ++i)
        chain[order[i]].next = &chain[order[(i + 1) % lines]];
    const Line* at = chain.data();
    // At the priority the report's latency has, so that both wait alike.
    const platform::TimeCriticalBracket bracket(200.0);
    for (std::size_t i = 0; i < std::min<std::size_t>(lines, 1 << 19); ++i)
        at = at->next;
    double best = 1e9;
    for (int window = 0; window < 5; ++window) {
        std::size_t loads = 0;
        const double start = platform::PreciseMilliseconds();
        double now = start;
        do {
            for (int i = 0; i < 16384; ++i)
                at = at->next;
            loads += 16384;
            now = platform::PreciseMilliseconds();
        } while (now - start < 4.0);
        best = std::min(best, (now - start) * 1e6 / double(loads));
    }
    if (at == nullptr)
        std::printf("!\n");
    return best;
}

using Series = std::map<std::string, std::vector<double>>;

void row(const std::string& name, const std::vector<double>& ours, const std::vector<double>& probe)
{
    const Summary a = summarise(ours);
    const Summary b = summarise(probe);
    std::printf("%-24s context %9.2f CV %5.1f %% (%.2f-%.2f)  probe %9.2f CV %5.1f %% "
                "(%.2f-%.2f)  ratio %.3f\n",
                name.c_str(), a.median, a.cv, a.min, a.max, b.median, b.cv, b.min, b.max,
                b.median > 0 ? a.median / b.median : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int threads = int(platform::UsableCpus().size());
    const auto caches = platform::ReadCaches();
    const std::uint64_t top = report::SweepTop(caches);
    const std::vector<std::uint64_t> sets = report::LatencyWorkingSets(caches, top);
    std::printf("load average at start: %s; %d usable CPUs; buffer %llu MiB\n",
                loadAverage().c_str(), threads, (unsigned long long)(top >> 20));
    const std::string self = argv[0];
    const std::string chainRate = self.substr(0, self.rfind('/') + 1) + "chain_rate";
    const report::InsightKernels kernels;
    const report::LoggedFigures logged;

    Series ours, probe;
    int inOrder = 0, withinThreads = 0, unreliableLatency = 0;
    double highestScaling = 0;
    for (int r = 0; r < rounds; ++r) {
        ours["clock MHz"].push_back(bench::EffectiveClockMHz(kernels.runChain()));
        std::string rate = run("chrt -f 49 " + chainRate + " 50 2>/dev/null");
        if (rate.empty())
            rate = run(chainRate + " 50");
        probe["clock MHz"].push_back(std::atof(rate.c_str()));

        const report::Insight insight = report::MeasureInsight(kernels, logged);
        const double scaling = insight.allCoreCpu.ratio;
        ours["all-core scaling"].push_back(scaling);
        probe["all-core scaling"].push_back(integerScaling(threads));
        const double higher = std::max(scaling, insight.allCoreFpu.ratio);
        highestScaling = std::max(highestScaling, higher);
        withinThreads += higher <= threads * 1.05 ? 1 : 0;

        const double mib = 1048576.0;
        ours["read MiB/s"].push_back(double(insight.streaming.read) / mib);
        ours["write MiB/s"].push_back(double(insight.streaming.write) / mib);
        ours["copy MiB/s"].push_back(double(insight.streaming.copy) / mib);
        const StreamLike loop = streamLike(threads, top);
        probe["read MiB/s"].push_back(loop.read);
        probe["write MiB/s"].push_back(loop.write);
        probe["copy MiB/s"].push_back(loop.copy);

        bool ordered = true;
        for (qsizetype i = 0; i < insight.latency.size(); ++i) {
            const auto& point = insight.latency[i];
            const std::string name = "latency ns " + point.level.toStdString() + " " +
                                     std::to_string(point.workingSetBytes >> 10) + " KB";
            ours[name].push_back(point.nanoseconds);
            probe[name].push_back(pointerChase(point.workingSetBytes));
            ordered = ordered && (i == 0 || point.nanoseconds > insight.latency[i - 1].nanoseconds);
        }
        inOrder += ordered ? 1 : 0;
        unreliableLatency += insight.unreliable.contains("latency") ? 1 : 0;
        std::fprintf(stderr, "round %d of %d: scaling %.2f, latency %s, used %llu MiB\n", r + 1,
                     rounds, scaling, ordered ? "in order" : "OUT OF ORDER",
                     (unsigned long long)(insight.usedBytes >> 20));
    }
    std::printf("\n%d rounds, medians\n", rounds);
    for (const auto& [name, values] : ours)
        row(name, values, probe[name]);
    std::printf("latency levels in order: %d of %d (marked unreliable: %d)\n", inOrder, rounds,
                unreliableLatency);
    std::printf("scaling (CPU and FPU) within %d threads + 5 %%: %d of %d (highest %.2f)\n",
                threads, withinThreads, rounds, highestScaling);
    std::printf("load average at end: %s\n", loadAverage().c_str());
    return 0;
}
