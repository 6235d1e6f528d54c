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

// The chain each thread times once its window has closed.
constexpr double kChainMs = 50.0;

// The calling thread publishes the tick once a millisecond while the workers
// run, so that a worker reads it with one load, as the single-thread window
// reads its published tick: a clock call per pass would lower the counts.
std::vector<ThreadWindow> runEverywhere(const std::function<void(std::int32_t&)>& pass)
{
    const std::vector<int> cpus = platform::UsableCpus();
    std::vector<ThreadWindow> threads(cpus.size());
    std::atomic<std::uint32_t> tick{0};
    std::uint32_t start = 0;
    const auto work = [&](std::size_t i) {
        std::int32_t count = 0;
        do {
            pass(count);
        } while (static_cast<std::uint32_t>(tick.load(std::memory_order_relaxed) - start) <=
                 kWindowMilliseconds);
        threads[i].cpu = cpus[i];
        threads[i].passes = count;
        threads[i].chain = TimeDependentChain(kChainMs);
    };
    const auto release = [&] {
        const std::uint32_t before = platform::TickCount();
        while (platform::TickCount() == before) {
        }
        start = platform::TickCount();
        tick.store(start);
    };
    const auto publish = [&] {
        platform::SleepMilliseconds(1);
        tick.store(platform::TickCount(), std::memory_order_relaxed);
    };
    RunPinnedTogether(cpus, work, release, publish);
    return threads;
}

} // namespace

std::vector<ThreadWindow> AllCoreCpuTest()
{
    return runEverywhere([](std::int32_t& count) { CpuPass(count); });
}

std::vector<ThreadWindow> AllCoreFpuTest()
{
    return runEverywhere([](std::int32_t& count) {
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

} // namespace bench
