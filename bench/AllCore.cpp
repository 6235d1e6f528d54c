// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/AllCore.h"

#include "bench/Kernels.h"
#include "bench/PinnedThreads.h"
#include "bench/TimedWindow.h"
#include "platform/Clock.h"
#include "platform/Threads.h"

#include <atomic>
#include <functional>

namespace bench {
namespace {

// The chain each thread times once the all-core window has closed.
constexpr double kChainMs = 50.0;
// Each single-thread window beside the all-core one: together as long.
constexpr std::uint32_t kOneThreadMilliseconds = kWindowMilliseconds / 2;

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
        std::int32_t count = 0;
        do {
            pass(count);
        } while (static_cast<std::uint32_t>(tick.load(std::memory_order_relaxed) - start) <=
                 length);
        threads[i].milliseconds = platform::PreciseMilliseconds() - startMs;
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

void addOneThread(AllCoreWindows& windows, int cpu, const Pass& pass)
{
    const ThreadWindow one = window({cpu}, pass, kOneThreadMilliseconds, 0.0).front();
    windows.onePasses += one.passes;
    windows.oneMilliseconds += one.milliseconds;
}

AllCoreWindows paired(const Pass& pass)
{
    const std::vector<int> cpus = platform::UsableCpus();
    AllCoreWindows windows;
    addOneThread(windows, cpus.front(), pass);
    windows.threads = window(cpus, pass, kWindowMilliseconds, kChainMs);
    addOneThread(windows, cpus.back(), pass);
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

double ScalingRatio(const AllCoreWindows& windows)
{
    double all = 0.0;
    for (const ThreadWindow& thread : windows.threads)
        if (thread.milliseconds > 0.0)
            all += static_cast<double>(thread.passes) / thread.milliseconds;
    if (!(windows.oneMilliseconds > 0.0) || windows.onePasses <= 0)
        return 0.0;
    return all / (static_cast<double>(windows.onePasses) / windows.oneMilliseconds);
}

} // namespace bench
