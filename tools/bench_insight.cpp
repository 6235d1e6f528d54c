// SPDX-License-Identifier: GPL-3.0-or-later
// The figures of the report's "in context" section, measured as the report
// measures them, each beside an independent probe in the same round:
//   effective clock     chain_rate, a separate program's chain (SCHED_FIFO
//                       where permitted)
//   all-core scaling    a threaded integer loop, one thread and all of them
//                       in turn, per processor time as the report counts
//   streaming           STREAM-like loops of its own, one thread per allowed
//                       CPU pinned with sched_setaffinity, each over its own
//                       slice of a buffer the size the report uses, the
//                       fastest of ten interleaved trials as the report keeps:
//                       read   64-bit sums in four AVX2 registers
//                       write  plain stores (each line read first), and
//                              the widest non-temporal stores (not read)
//                       copy   the same two ways, first half of each slice
//                              to its second half
//                       The report's write and copy use non-temporal stores
//                       too (32-byte ones where AVX is there): the
//                       non-temporal rows are their like.
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
#include <immintrin.h>
#include <map>
#include <numeric>
#include <random>
#include <sched.h>
#include <string>
#include <thread>
#include <type_traits>
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
// the last one ended; setup(t), when given, runs on thread t before it counts
// as ready, outside the time. A thread that cannot start stops the probe, not
// the program: the ones started are joined first.
template <typename Work, typename Setup = void (*)(int)>
double timedThreads(int threads, Work&& work, Setup&& setup = nullptr)
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
            pool.emplace_back([&work, &setup, &go, &ready, t] {
                if constexpr (!std::is_pointer_v<std::decay_t<Setup>>)
                    setup(t);
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

// The CPUs this process may run on, from its own affinity mask.
std::vector<int> allowedCpus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
            if (CPU_ISSET(cpu, &set))
                cpus.push_back(cpu);
    return cpus;
}

// Runs work(t) on one thread per entry of `cpus`, thread t pinned to
// cpus[t] before it reports ready, and returns the milliseconds from the
// release until the last one ended. `unpinned` counts threads the system
// refused to pin.
template <typename Work>
double pinnedThreads(const std::vector<int>& cpus, std::atomic<int>& unpinned, Work&& work)
{
    const auto pin = [&](int t) {
        cpu_set_t set;
        CPU_ZERO(&set);
        CPU_SET(cpus[t], &set);
        if (sched_setaffinity(0, sizeof set, &set) != 0)
            ++unpinned;
    };
    return timedThreads(int(cpus.size()), work, pin);
}

// Sums in four 32-byte registers where AVX2 is there (eight 64-bit sums
// otherwise): one chain of adds would time the adder, not the memory, and
// narrower loads than the processor offers would time the loads.
__attribute__((target("avx2"))) std::uint64_t sumWordsAvx2(const std::uint64_t* words,
                                                           std::size_t count)
{
    __m256i a = _mm256_setzero_si256(), b = a, c = a, d = a;
    for (std::size_t i = 0; i + 16 <= count; i += 16) {
        const auto* at = reinterpret_cast<const __m256i*>(words + i);
        a = _mm256_add_epi64(a, _mm256_load_si256(at));
        b = _mm256_add_epi64(b, _mm256_load_si256(at + 1));
        c = _mm256_add_epi64(c, _mm256_load_si256(at + 2));
        d = _mm256_add_epi64(d, _mm256_load_si256(at + 3));
    }
    alignas(32) std::uint64_t lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes),
                       _mm256_add_epi64(_mm256_add_epi64(a, b), _mm256_add_epi64(c, d)));
    return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

std::uint64_t sumWords(const std::uint64_t* words, std::size_t count)
{
    if (__builtin_cpu_supports("avx2"))
        return sumWordsAvx2(words, count);
    std::uint64_t s[8] = {};
    for (std::size_t i = 0; i + 8 <= count; i += 8)
        for (int k = 0; k < 8; ++k)
            s[k] += words[i + k];
    return s[0] + s[1] + s[2] + s[3] + s[4] + s[5] + s[6] + s[7];
}

// Plain stores, as STREAM built without streaming stores writes: each line
// is read into the cache before it is written. Kept a loop: the compiler
// must not turn it into memset or memcpy, whose stores vary.
__attribute__((optimize("no-tree-loop-distribute-patterns"))) void
plainStore(std::uint64_t* to, const std::uint64_t* from, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        to[i] = from != nullptr ? from[i] : 3;
}

// Non-temporal stores of the widest kind the processor has, as STREAM
// built for the machine: two 32-byte stores a line with AVX, four 16-byte
// ones otherwise. The line goes to memory without being read first. `to`
// and `from` 64-byte aligned, `count` whole lines.
__attribute__((target("avx"))) void streamStoreAvx(std::uint64_t* to, const std::uint64_t* from,
                                                   std::size_t count)
{
    auto* out = reinterpret_cast<__m256i*>(to);
    const auto* in = reinterpret_cast<const __m256i*>(from);
    const __m256i fill = _mm256_set1_epi64x(5);
    for (std::size_t i = 0; i < count / 4; i += 2) {
        _mm256_stream_si256(out + i, in != nullptr ? _mm256_load_si256(in + i) : fill);
        _mm256_stream_si256(out + i + 1, in != nullptr ? _mm256_load_si256(in + i + 1) : fill);
    }
    _mm_sfence();
}

void streamStore(std::uint64_t* to, const std::uint64_t* from, std::size_t count)
{
    if (__builtin_cpu_supports("avx")) {
        streamStoreAvx(to, from, count);
        return;
    }
    auto* out = reinterpret_cast<__m128i*>(to);
    const auto* in = reinterpret_cast<const __m128i*>(from);
    const __m128i fill = _mm_set1_epi64x(5);
    for (std::size_t i = 0; i < count / 2; i += 4)
        for (int k = 0; k < 4; ++k)
            _mm_stream_si128(out + i + k, in != nullptr ? _mm_load_si128(in + i + k) : fill);
    _mm_sfence();
}

// MiB/s, the fastest of kStreamTrials each. Copy counts the bytes read and
// the bytes written, as the report does.
struct StreamLike
{
    double read = 0, plainWrite = 0, plainCopy = 0, streamWrite = 0, streamCopy = 0;
    int threads = 0, unpinned = 0;
};

constexpr int kStreamTrials = 10;

// One pinned thread per allowed CPU, each over its own slice of one buffer
// of `bytes`, touched before timing; the kernels interleaved trial by trial.
StreamLike streamLike(std::size_t bytes)
{
    const std::vector<int> cpus = allowedCpus();
    const std::size_t threads = std::max<std::size_t>(1, cpus.size());
    std::vector<std::uint64_t> a(bytes / sizeof(std::uint64_t) + 8, 1);
    std::uint64_t* words = a.data() + (8 - reinterpret_cast<std::uintptr_t>(a.data()) % 64 / 8) % 8;
    // Whole pairs of lines, so that each half of a slice is whole lines.
    const std::size_t slice = bytes / sizeof(std::uint64_t) / threads / 16 * 16;
    const std::size_t half = slice / 2;
    std::vector<std::uint64_t> sums(threads);
    std::atomic<int> unpinned{0};
    const double mib = double(slice * threads * sizeof(std::uint64_t)) / 1048576.0;
    StreamLike best;
    const auto trial = [&](double& into, auto&& kernel) {
        const double ms = pinnedThreads(cpus, unpinned, [&](int t) { kernel(words + t * slice); });
        into = std::max(into, mib / ms * 1000.0);
    };
    for (int n = 0; n < kStreamTrials; ++n) {
        trial(best.read, [&](std::uint64_t* s) { sums[(s - words) / slice] = sumWords(s, slice); });
        trial(best.plainWrite, [&](std::uint64_t* s) { plainStore(s, nullptr, slice); });
        trial(best.streamWrite, [&](std::uint64_t* s) { streamStore(s, nullptr, slice); });
        trial(best.plainCopy, [&](std::uint64_t* s) { plainStore(s + half, s, half); });
        trial(best.streamCopy, [&](std::uint64_t* s) { streamStore(s + half, s, half); });
    }
    if (sums[0] == 42)
        std::printf("!\n");
    best.threads = int(cpus.size());
    best.unpinned = unpinned.load();
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

// The ratio of the medians, and the median of each round's own ratio: the
// streaming limit of a virtual machine jumps between two levels as the host
// places its processors, and the round's figure and probe mostly share one.
void row(const std::string& name, const std::vector<double>& ours, const std::vector<double>& probe)
{
    const Summary a = summarise(ours);
    const Summary b = summarise(probe);
    std::vector<double> paired;
    for (std::size_t i = 0; i < std::min(ours.size(), probe.size()); ++i)
        if (probe[i] > 0)
            paired.push_back(ours[i] / probe[i]);
    std::printf("%-26s context %9.2f CV %5.1f %% (%.2f-%.2f)  probe %9.2f CV %5.1f %% "
                "(%.2f-%.2f)  ratio %.3f  paired %.3f\n",
                name.c_str(), a.median, a.cv, a.min, a.max, b.median, b.cv, b.min, b.max,
                b.median > 0 ? a.median / b.median : 0.0, summarise(paired).median);
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
    std::printf("stream probe, fastest of %d trials, pinned, one slice a thread:\n"
                "  read: 64-bit sums in AVX2 registers; write/copy rows: the widest non-temporal "
                "stores (the report's like);\n"
                "  \"(plain probe)\" rows: plain stores, each line read before written\n",
                kStreamTrials);
    const std::string self = argv[0];
    const std::string chainRate = self.substr(0, self.rfind('/') + 1) + "chain_rate";
    const report::InsightKernels kernels;
    const report::LoggedFigures logged;

    Series ours, probe;
    int inOrder = 0, withinThreads = 0, unreliableLatency = 0, streamThreads = 0, unpinned = 0;
    double highestScaling = 0;
    for (int r = 0; r < rounds; ++r) {
        ours["clock MHz"].push_back(bench::EffectiveClockMHz(kernels.runChain()));
        std::string rate = run("chrt -f 49 " + chainRate + " 50 2>/dev/null");
        if (rate.empty())
            rate = run(chainRate + " 50");
        probe["clock MHz"].push_back(std::atof(rate.c_str()));

        const report::Insight insight = report::MeasureInsight(kernels, logged);
        const double mib = 1048576.0;
        ours["read MiB/s"].push_back(double(insight.streaming.read) / mib);
        ours["write MiB/s"].push_back(double(insight.streaming.write) / mib);
        ours["copy MiB/s"].push_back(double(insight.streaming.copy) / mib);
        // The report's fill and copy do not read a line before writing it:
        // the non-temporal rows are its like; the plain rows show what a
        // read of each line first costs.
        ours["write MiB/s (plain probe)"].push_back(ours["write MiB/s"].back());
        ours["copy MiB/s (plain probe)"].push_back(ours["copy MiB/s"].back());
        const StreamLike loop = streamLike(top);
        probe["read MiB/s"].push_back(loop.read);
        probe["write MiB/s"].push_back(loop.streamWrite);
        probe["copy MiB/s"].push_back(loop.streamCopy);
        probe["write MiB/s (plain probe)"].push_back(loop.plainWrite);
        probe["copy MiB/s (plain probe)"].push_back(loop.plainCopy);
        streamThreads = loop.threads;
        unpinned += loop.unpinned;

        const double scaling = insight.allCoreCpu.ratio;
        ours["all-core scaling"].push_back(scaling);
        probe["all-core scaling"].push_back(integerScaling(threads));
        const double higher = std::max(scaling, insight.allCoreFpu.ratio);
        highestScaling = std::max(highestScaling, higher);
        withinThreads += higher <= threads * 1.05 ? 1 : 0;

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
    std::printf("stream probe: %d threads, each pinned to its own CPU (refused pins: %d)\n",
                streamThreads, unpinned);
    std::printf("latency levels in order: %d of %d (marked unreliable: %d)\n", inOrder, rounds,
                unreliableLatency);
    std::printf("scaling (CPU and FPU) within %d threads + 5 %%: %d of %d (highest %.2f)\n",
                threads, withinThreads, rounds, highestScaling);
    std::printf("load average at end: %s\n", loadAverage().c_str());
    return 0;
}
