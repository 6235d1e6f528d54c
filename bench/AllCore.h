// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ClockChain.h"

#include <cstdint>
#include <vector>

namespace bench {

// What one thread of an all-core window did: its passes, how long it counted
// them and how much processor time it got meanwhile, and the chain it timed
// right after the window while the others did the same.
struct ThreadWindow
{
    int cpu = 0;
    std::int64_t passes = 0;
    ChainTiming chain;
    double milliseconds = 0.0; // from the common start to the end of its last pass
    double cpuMilliseconds = 0.0;
};

// The kernel on every usable logical CPU at once, one pinned thread each, in
// one common 500 ms window on the millisecond tick; at normal priority, so
// that the machine stays usable. For the scaling, short windows of one
// pinned thread and of all of them, interleaved one-all-all-one: the
// same loop, tick and priority on both sides, and a change of load in
// between falls on both alike.
struct AllCoreWindows
{
    std::vector<ThreadWindow> threads; // one entry per thread of the 500 ms window
    // The interleaved windows in pairs, one thread's and the all-core one
    // beside it (its threads summed: passes and times).
    std::vector<ThreadWindow> ones;
    std::vector<ThreadWindow> alls;
};

// The windows summed: passes and times.
ThreadWindow Summed(const std::vector<ThreadWindow>& windows);

AllCoreWindows AllCoreCpuTest();
AllCoreWindows AllCoreFpuTest();

// Sum of the threads' passes.
std::int64_t TotalPasses(const std::vector<ThreadWindow>& threads);

// How many times one thread's passes all the threads do in the same
// processor time each, from the fastest of the interleaved windows of each
// kind, so that a window that other work disturbed does not decide it; 0
// where either kind has no window.
double ScalingRatio(const AllCoreWindows& windows);

// The share of the time the window's thread(s) had a processor; 0 for none.
double ProcessorShare(const ThreadWindow& window);

} // namespace bench
