// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace platform {

// System tick counter in milliseconds, 32 bits, wrapping. Coarse (a few ms
// resolution) and cheap to read: the processor kernels read it every pass.
std::uint32_t TickCount();

// How far TickCount() steps at a time, in milliseconds (the kernel's tick).
double TickResolutionMs();

// Nanosecond monotonic clock expressed in milliseconds with a fraction.
double PreciseMilliseconds();

// Blocks the calling thread for at least the given milliseconds.
void SleepMilliseconds(unsigned milliseconds);

} // namespace platform
