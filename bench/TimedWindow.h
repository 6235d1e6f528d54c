// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace bench {

// Length of the processor kernels' measuring window, in tick milliseconds.
inline constexpr std::uint32_t kWindowMilliseconds = 500;

// Counts passes in a window of kWindowMilliseconds on a 32-bit wrapping
// millisecond tick. The window starts on a tick edge so that it does not lose
// a random part of the first tick. `pass(count)` runs one pass and adds 1 to
// `count` itself; the tick is read after every pass, and the pass that
// crosses the end of the window still counts, so the result is at least 1.
template <typename TickSource, typename Pass>
std::int32_t CountPassesInWindow(TickSource&& tick, Pass&& pass)
{
    const std::uint32_t before = tick();
    while (tick() == before) {
    }
    const std::uint32_t start = tick();
    std::int32_t count = 0;
    do {
        pass(count);
    } while (static_cast<std::uint32_t>(tick() - start) <= kWindowMilliseconds);
    return count;
}

} // namespace bench
