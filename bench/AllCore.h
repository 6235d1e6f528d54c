// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ClockChain.h"

#include <cstdint>
#include <vector>

namespace bench {

// What one thread of an all-core window did: its passes, and the chain it
// timed right after the window while the others did the same.
struct ThreadWindow
{
    int cpu = 0;
    std::int64_t passes = 0;
    ChainTiming chain;
};

// The processor kernels on every usable logical CPU at once, one pinned
// thread each, in one common 500 ms window on the millisecond tick; at normal
// priority, so that the machine stays usable. One entry per thread.
std::vector<ThreadWindow> AllCoreCpuTest();
std::vector<ThreadWindow> AllCoreFpuTest();

// Sum of the threads' passes.
std::int64_t TotalPasses(const std::vector<ThreadWindow>& threads);

} // namespace bench
