// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/PseudoRandom.h"

#include <chrono>
#include <random>

namespace bench {
namespace {

std::mt19937_64& generator()
{
    static std::mt19937_64 engine(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    return engine;
}

} // namespace

std::uint32_t PseudoRandom(std::uint32_t range)
{
    if (range == 0)
        return 0;
    std::uniform_int_distribution<std::uint32_t> distribution(0, range - 1);
    return distribution(generator());
}

void SeedPseudoRandom(std::uint64_t seed)
{
    generator().seed(seed);
}

} // namespace bench
