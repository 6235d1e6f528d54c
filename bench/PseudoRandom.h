// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace bench {

// A uniform pseudo-random integer from 0 to range - 1 (0 when range is 0).
// The generator is seeded from the clock once, at its first use.
std::uint32_t PseudoRandom(std::uint32_t range);

// Restarts the sequence from `seed`, so a run can be repeated.
void SeedPseudoRandom(std::uint64_t seed);

} // namespace bench
