// SPDX-License-Identifier: GPL-3.0-or-later
// The figures that put the report in context, each beside an independent
// tool doing the same work in the same run:
//   all-core scaling    against sysbench cpu and stress-ng (where installed)
//   effective clock     against chain_rate, a separate program's chain (at
//                       SCHED_FIFO where permitted)
//   streaming bandwidth against sysbench memory and a STREAM-like loop here
//   dependent-load latency against an index chase written here
//   bench_insight [rounds]          (default 3)

#include "Summary.h"
#include "bench/AllCore.h"
#include "bench/ClockChain.h"
#include "bench/Kernels.h"
#include "bench/MemoryContext.h"
#include "platform/Caches.h"
#include "platform/Clock.h"
#include "platform/Threads.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

bool have(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The number after `label` in `text`; 0 when absent.
double after(const std::string& text, const std::string& label)
{
    const std::size_t at = text.find(label);
    return at == std::string::npos ? 0.0 : std::atof(text.c_str() + at + label.size());
}

double sysbenchCpu(int threads)
{
    return after(run("sysbench cpu --threads=" + std::to_string(threads) + " --time=3 run"),
                 "events per second:");
}

// stress-ng's bogo operations per second of real time, for the int32 method.
double stressNg(int threads)
{
    const std::string text = run("stress-ng --cpu " + std::to_string(threads) +
                                 " --cpu-method int32 --metrics-brief -t 3 2>&1 | grep ' cpu '");
    // "... cpu  <bogo ops> <real s> <usr s> <sys s> <bogo ops/s real> ..."
    double values[5] = {};
    const std::size_t at = text.find(" cpu ");
    if (at == std::string::npos)
        return 0.0;
    std::sscanf(text.c_str() + at + 5, "%lf %lf %lf %lf %lf", &values[0], &values[1], &values[2],
                &values[3], &values[4]);
    return values[4];
}

double sysbenchMemory(const char* operation, int threads, std::uint64_t block)
{
    return after(run(std::string("sysbench memory --threads=") + std::to_string(threads) +
                     " --memory-block-size=" + std::to_string(block / 1024) +
                     "K --memory-total-size=1000G --memory-oper=" + operation +
                     " --memory-access-mode=seq --time=3 run"),
                 "transferred (");
}

// STREAM's way: plain loops over arrays of doubles, one slice per thread.
struct StreamLike
{
    double read = 0, write = 0, copy = 0; // MiB/s
};

template <typename Work> double timedThreads(int threads, Work&& work)
{
    std::vector<std::thread> pool;
    const double start = platform::PreciseMilliseconds();
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&work, t] { work(t); });
    for (auto& thread : pool)
        thread.join();
    return platform::PreciseMilliseconds() - start;
}

StreamLike streamLike(int threads, std::size_t bytes)
{
    const std::size_t n = bytes / sizeof(double);
    std::vector<double> a(n, 1.0), c(n, 2.0);
    const std::size_t slice = n / threads;
    std::vector<double> sums(threads);
    StreamLike best;
    const double mib = double(slice * threads * sizeof(double)) / 1048576.0;
    for (int trial = 0; trial < 3; ++trial) {
        double ms = timedThreads(threads, [&](int t) {
            double s = 0;
            for (std::size_t i = t * slice; i < (t + 1) * slice; ++i)
                s += a[i];
            sums[t] = s;
        });
        best.read = std::max(best.read, mib / ms * 1000.0);
        ms = timedThreads(threads, [&](int t) {
            for (std::size_t i = t * slice; i < (t + 1) * slice; ++i)
                c[i] = 3.0;
        });
        best.write = std::max(best.write, mib / ms * 1000.0);
        ms = timedThreads(threads, [&](int t) {
            for (std::size_t i = t * slice; i < (t + 1) * slice; ++i)
                c[i] = a[i];
        });
        best.copy = std::max(best.copy, 2 * mib / ms * 1000.0);
    }
    if (sums[0] < 0)
        std::printf("%f\n", sums[0]);
    return best;
}

// A chase over an index array in Sattolo's single cycle, one index per line.
double indexChase(std::size_t bytes)
{
    struct alignas(64) Line
    {
        std::uint32_t next;
    };
    const std::size_t lines = std::max<std::size_t>(2, bytes / sizeof(Line));
    std::vector<Line> chain(lines);
    std::vector<std::uint32_t> order(lines);
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 random(12345);
    for (std::size_t i = lines - 1; i > 0; --i)
        std::swap(order[i], order[std::uniform_int_distribution<std::size_t>(0, i - 1)(random)]);
    for (std::size_t i = 0; i < lines; ++i)
        chain[order[i]].next = order[(i + 1) % lines];
    std::uint32_t at = 0;
    for (std::size_t i = 0; i < lines; ++i)
        at = chain[at].next;
    const std::size_t loads = 4'000'000;
    const double start = platform::PreciseMilliseconds();
    for (std::size_t i = 0; i < loads; ++i)
        at = chain[at].next;
    const double ms = platform::PreciseMilliseconds() - start;
    if (at == 0xFFFFFFFFu)
        std::printf("!\n");
    return ms * 1e6 / double(loads);
}

void row(const char* name, const std::vector<double>& ours, const std::vector<double>& theirs)
{
    const Summary a = summarise(ours);
    const Summary b = summarise(theirs);
    std::printf("%-28s ours %10.2f (CV %4.1f %%)  theirs %10.2f (CV %4.1f %%)  ratio %.3f\n", name,
                a.median, a.cv, b.median, b.cv, b.median > 0 ? a.median / b.median : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int threads = int(platform::UsableCpus().size());
    const auto caches = platform::ReadCaches();
    std::uint64_t largest = 0;
    for (const auto& cache : platform::DataCaches(caches))
        largest = std::max(largest, cache.sizeBytes);
    std::uint64_t top = 64u << 20;
    while (top < 4 * largest)
        top *= 2;
    std::printf("load average at start: %s; %d usable CPUs; sweep top %llu MiB\n",
                loadAverage().c_str(), threads, (unsigned long long)(top >> 20));
    const std::string self = argv[0];
    const std::string chainRate = self.substr(0, self.rfind('/') + 1) + "chain_rate";

    std::vector<double> scale, sysbenchScale, stressScale, clock, separate, allCoreClock;
    std::vector<double> read, write, copy, sbRead, sbWrite, slRead, slWrite, slCopy;
    std::vector<std::vector<double>> latency, chase;
    std::vector<std::uint64_t> sets;
    for (const auto& cache : platform::DataCaches(caches))
        sets.push_back(cache.sizeBytes / 2);
    sets.push_back(top);
    const bool sysbench = have("sysbench");
    const bool stress = have("stress-ng");
    for (int r = 0; r < rounds; ++r) {
        const double one = bench::CpuTest();
        const auto all = bench::AllCoreCpuTest();
        scale.push_back(double(bench::TotalPasses(all)) / one);
        double mean = 0;
        for (const auto& thread : all)
            mean += bench::EffectiveClockMHz(thread.chain) / double(all.size());
        allCoreClock.push_back(mean);
        if (sysbench)
            sysbenchScale.push_back(sysbenchCpu(threads) / sysbenchCpu(1));
        if (stress)
            stressScale.push_back(stressNg(threads) / stressNg(1));

        clock.push_back(bench::EffectiveClockMHz(bench::TimeDependentChain(200.0)));
        // At SCHED_FIFO where permitted: its wall-clock interval has no
        // filter for preemption, and on a busy machine it would mostly wait.
        std::string rate = run("chrt -f 49 " + chainRate + " 200 2>/dev/null");
        if (rate.empty())
            rate = run(chainRate + " 200");
        separate.push_back(std::atof(rate.c_str()));

        const auto memory = bench::MeasureMemoryContext(top, sets);
        const double mib = 1048576.0;
        read.push_back(double(memory.streaming.read) / mib);
        write.push_back(double(memory.streaming.write) / mib);
        copy.push_back(double(memory.streaming.copy) / mib);
        if (sysbench) {
            sbRead.push_back(sysbenchMemory("read", threads, top / threads));
            sbWrite.push_back(sysbenchMemory("write", threads, top / threads));
        }
        const StreamLike loop = streamLike(threads, top);
        slRead.push_back(loop.read);
        slWrite.push_back(loop.write);
        slCopy.push_back(loop.copy);
        latency.resize(sets.size());
        chase.resize(sets.size());
        for (std::size_t i = 0; i < sets.size(); ++i) {
            latency[i].push_back(memory.latency[i].nanoseconds);
            chase[i].push_back(indexChase(sets[i]));
        }
    }
    std::printf("\n%d rounds, medians\n", rounds);
    if (sysbench)
        row("all-core scaling/sysbench", scale, sysbenchScale);
    if (stress)
        row("all-core scaling/stress-ng", scale, stressScale);
    row("clock MHz/chain_rate", clock, separate);
    std::printf("%-28s ours %10.2f (all-core mean effective clock)\n", "all-core clock MHz",
                summarise(allCoreClock).median);
    if (sysbench) {
        row("read MiB/s/sysbench", read, sbRead);
        row("write MiB/s/sysbench", write, sbWrite);
    }
    row("read MiB/s/stream loop", read, slRead);
    row("write MiB/s/stream loop", write, slWrite);
    row("copy MiB/s/stream loop", copy, slCopy);
    for (std::size_t i = 0; i < latency.size(); ++i) {
        const std::string name = "latency ns/chase " + std::to_string(sets[i] >> 10) + " KB";
        row(name.c_str(), latency[i], chase[i]);
    }
    std::printf("load average at end: %s\n", loadAverage().c_str());
    return 0;
}
