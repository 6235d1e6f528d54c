// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace bench {

// Runs work(i) on one thread per entry of `cpus`, thread i pinned to cpus[i],
// at the caller's normal priority. The threads start work together once all
// are pinned; `release` runs on the calling thread just before that, and
// `meanwhile` over and over until the last one has finished. Returns the
// milliseconds from the release until the last thread finished.
double RunPinnedTogether(const std::vector<int>& cpus, const std::function<void(std::size_t)>& work,
                         const std::function<void()>& release = {},
                         const std::function<void()>& meanwhile = {});

} // namespace bench
