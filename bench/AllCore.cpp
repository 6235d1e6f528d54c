// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/AllCore.h"

#include "bench/Kernels.h"
#include "bench/PinnedThreads.h"
#include "bench/TimedWindow.h"
#include "platform/Clock.h"
#include "platform/Threads.h"

#include <algorithm>
#include <atomic>
#include <functional>

namespace bench {
namespace {

// The chain each thread times once the all-core window has closed.
constexpr double kChainMs = 50.0;
// Each window of the scaling's one-all-all-one sequence.
constexpr std::uint32_t kPairedMilliseconds = 100;
constexpr int kPairedRounds = 3;

using Pass = std::function<void(std::int32_t&)>;

// The calling thread publishes the tick once a millisecond while the workers
// run, so that a worker reads it with one load, as the single-thread window
// reads its published tick: a clock call per pass would lower the counts.
std::vector<ThreadWindow> window(const std::vector<int>& cpus, const Pass& pass,
                                 std::uint32_t length, double chainMs)
{
    std::vector<ThreadWindow> threads(cpus.size());
    std::atomic<std::uint32_t> tick{0};
    std::uint32_t start = 0;
    double startMs = 0.0;
    const auto work = [&](std::size_t i) {
        const double cpuStart = platform::ThreadCpuMilliseconds();
        std::int32_t count = 0;
        do {
            pass(count);
        } while (static_cast<std::uint32_t>(tick.load(std::memory_order_relaxed) - start) <=
                 length);
        threads[i].milliseconds = platform::PreciseMilliseconds() - startMs;
        threads[i].cpuMilliseconds = platform::ThreadCpuMilliseconds() - cpuStart;
        threads[i].cpu = cpus[i];
        threads[i].passes = count;
        if (chainMs > 0.0)
            threads[i].chain = TimeDependentChain(chainMs);
    };
    const auto release = [&] {
        const std::uint32_t before = platform::TickCount();
        while (platform::TickCount() == before) {
        }
        start = platform::TickCount();
        startMs = platform::PreciseMilliseconds();
        tick.store(start);
    };
    const auto publish = [&] {
        platform::SleepMilliseconds(1);
        tick.store(platform::TickCount(), std::memory_order_relaxed);
    };
    RunPinnedTogether(cpus, work, release, publish);
    return threads;
}

AllCoreWindows paired(const Pass& pass)
{
    const std::vector<int> cpus = platform::UsableCpus();
    AllCoreWindows windows;
    windows.threads = window(cpus, pass, kWindowMilliseconds, kChainMs);
    const auto one = [&](int cpu) {
        windows.ones.push_back(window({cpu}, pass, kPairedMilliseconds, 0.0).front());
    };
    const auto all = [&] {
        windows.alls.push_back(Summed(window(cpus, pass, kPairedMilliseconds, 0.0)));
    };
    for (int round = 0; round < kPairedRounds; ++round) {
        one(cpus.front());
        all();
        all();
        one(cpus.back());
    }
    return windows;
}

} // namespace

AllCoreWindows AllCoreCpuTest()
{
    return paired([](std::int32_t& count) { CpuPass(count); });
}

AllCoreWindows AllCoreFpuTest()
{
    return paired([](std::int32_t& count) {
        thread_local FpuOperands operands;
        FpuPass(operands, count);
    });
}

std::int64_t TotalPasses(const std::vector<ThreadWindow>& threads)
{
    std::int64_t total = 0;
    for (const ThreadWindow& thread : threads)
        total += thread.passes;
    return total;
}

ThreadWindow Summed(const std::vector<ThreadWindow>& windows)
{
    ThreadWindow sum;
    for (const ThreadWindow& window : windows) {
        sum.passes += window.passes;
        sum.milliseconds += window.milliseconds;
        sum.cpuMilliseconds += window.cpuMilliseconds;
    }
    return sum;
}

double ScalingRatio(const AllCoreWindows& windows)
{
    // Per millisecond of processor time: on a busy machine one thread alone
    // may get a smaller share of a processor than each of several, and the
    // ratio would then hold the scheduler's choice, not the cores' work.
    // The fastest window of each kind: other work only ever slows a window
    // (a virtual processor taken away still counts as processor time), so
    // the fastest are the least disturbed, and a median still moved with
    // one disturbed lone thread.
    const auto fastest = [](const std::vector<ThreadWindow>& list) {
        double best = 0.0;
        for (const ThreadWindow& window : list)
            if (window.cpuMilliseconds > 0.0)
                best = std::max(best, static_cast<double>(window.passes) / window.cpuMilliseconds);
        return best;
    };
    const double one = fastest(windows.ones);
    const double all = fastest(windows.alls);
    if (one <= 0.0 || all <= 0.0)
        return 0.0;
    return all * static_cast<double>(windows.threads.size()) / one;
}

double ProcessorShare(const ThreadWindow& window)
{
    return window.milliseconds > 0.0 ? window.cpuMilliseconds / window.milliseconds : 0.0;
}

} // namespace bench
