// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ClockChain.h"

#include <cstdint>
#include <vector>

namespace bench {

// What one thread of an all-core window did: its passes, how long it counted
// them, and the chain it timed right after the window while the others did
// the same.
struct ThreadWindow
{
    int cpu = 0;
    std::int64_t passes = 0;
    ChainTiming chain;
    double milliseconds = 0.0; // from the common start to the end of its last pass
};

// The kernel on every usable logical CPU at once, one pinned thread each, in
// one common 500 ms window on the millisecond tick; at normal priority, so
// that the machine stays usable. Beside it, for the scaling, one pinned
// thread in the same way in a 250 ms window just before and another just
// after: the same loop, tick and priority, so that their ratio holds only
// what the extra threads add, and a drift in between falls on both sides.
struct AllCoreWindows
{
    std::vector<ThreadWindow> threads; // one entry per thread of the all-core window
    std::int64_t onePasses = 0;        // both single-thread windows together
    double oneMilliseconds = 0.0;
};

AllCoreWindows AllCoreCpuTest();
AllCoreWindows AllCoreFpuTest();

// Sum of the threads' passes.
std::int64_t TotalPasses(const std::vector<ThreadWindow>& threads);

// The all-core passes a millisecond over one thread's; 0 where either is
// missing.
double ScalingRatio(const AllCoreWindows& windows);

} // namespace bench
