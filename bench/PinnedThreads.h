// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace bench {

// Starts a thread running `body`; throws std::system_error when the system
// refuses one, as the std::thread constructor does.
using ThreadStarter = std::function<std::thread(std::function<void()>)>;

// Runs work(i) on one thread per entry of `cpus`, thread i pinned to cpus[i],
// at the caller's normal priority. The threads start work together once all
// are pinned; `release` runs on the calling thread just before that, and
// `meanwhile` over and over until the last one has finished. Returns the
// milliseconds from the release until the last thread finished.
// When a thread cannot be started, the ones already running are stopped
// before any work and joined, and BenchError says why; `start` (std::thread
// when empty) is the seam that tests make fail.
double RunPinnedTogether(const std::vector<int>& cpus, const std::function<void(std::size_t)>& work,
                         const std::function<void()>& release = {},
                         const std::function<void()>& meanwhile = {},
                         const ThreadStarter& start = {});

} // namespace bench
