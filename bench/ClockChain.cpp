// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/ClockChain.h"

#include "bench/Kernels.h"
#include "platform/Clock.h"
#include "platform/Cpu.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace bench {

#if defined(QUORVIX_X86_KERNELS) && defined(__x86_64__)

// Register to register: some cores fold an immediate added to a register
// into the rename stage, which would make the chain faster than one a cycle.
void DependentAddRounds(std::uint64_t rounds)
{
    if (rounds == 0)
        return;
    std::uint32_t sum = 1;
    const std::uint32_t step = 3;
    asm volatile("1:\n\t"
                 ".rept 128\n\t"
                 "addl %[step], %[sum]\n\t"
                 ".endr\n\t"
                 "decq %[rounds]\n\t"
                 "jnz 1b\n\t"
                 : [sum] "+r"(sum), [rounds] "+r"(rounds)
                 : [step] "r"(step)
                 : "cc");
}

#else

void DependentAddRounds(std::uint64_t rounds)
{
    std::uint32_t sum = 1;
    for (; rounds != 0; --rounds) {
        for (std::uint64_t i = 0; i < kChainAddsPerRound; ++i) {
            sum += 3;
            asm volatile("" : "+r"(sum));
        }
    }
}

#endif

namespace {
// About 0.3 ms at 3 GHz: the clock reads between chunks cost nothing.
constexpr std::uint64_t kRoundsPerChunk = 8192;
} // namespace

ChainTiming TimeDependentChain(double targetMs)
{
    DependentAddRounds(kRoundsPerChunk); // wake the core from its idle clock
    std::vector<double> chunks;
    const double start = platform::PreciseMilliseconds();
    const std::uint64_t counterStart = platform::ReadTimeStampCounter();
    double now = start;
    do {
        const double before = now;
        DependentAddRounds(kRoundsPerChunk);
        now = platform::PreciseMilliseconds();
        chunks.push_back(now - before);
    } while (now - start < targetMs);
    ChainTiming timing;
    timing.counterTicks = platform::ReadTimeStampCounter() - counterStart;
    timing.counterMilliseconds = now - start;
    std::sort(chunks.begin(), chunks.end());
    const std::size_t faster = (chunks.size() + 1) / 2;
    timing.adds = faster * kRoundsPerChunk * kChainAddsPerRound;
    timing.milliseconds = std::accumulate(chunks.begin(), chunks.begin() + faster, 0.0);
    return timing;
}

double EffectiveClockMHz(const ChainTiming& timing)
{
    if (!(timing.milliseconds > 0.0))
        return 0.0;
    return static_cast<double>(timing.adds) / timing.milliseconds / 1000.0;
}

double CounterRateMHz(const ChainTiming& timing)
{
    if (!(timing.counterMilliseconds > 0.0))
        return 0.0;
    return static_cast<double>(timing.counterTicks) / timing.counterMilliseconds / 1000.0;
}

} // namespace bench
