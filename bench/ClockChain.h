// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace bench {

// Dependent additions per round of the chain: each adds to the result of the
// one before, so a round takes this many cycles on any x86-64 core.
inline constexpr std::uint64_t kChainAddsPerRound = 128;

// `rounds` rounds of the chain (none for 0).
void DependentAddRounds(std::uint64_t rounds);

// One timing of the chain: additions and the monotonic milliseconds they
// took, and the time-stamp counter's ticks over a monotonic interval.
struct ChainTiming
{
    std::uint64_t adds = 0;
    double milliseconds = 0.0;
    std::uint64_t counterTicks = 0;
    double counterMilliseconds = 0.0;

    bool operator==(const ChainTiming&) const = default;
};

// Runs the chain for about `targetMs` on the calling thread, in short
// chunks. The additions count only the faster half of the chunks: a chunk in
// which the thread was preempted says nothing about the core's clock, and on
// a busy machine a thread at normal priority is preempted often.
ChainTiming TimeDependentChain(double targetMs);

// Additions per second in MHz, and the counter's rate over the same interval;
// 0 when no time passed.
double EffectiveClockMHz(const ChainTiming& timing);
double CounterRateMHz(const ChainTiming& timing);

} // namespace bench
