// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clock.h"

#include <cerrno>
#include <ctime>

namespace platform {
namespace {

std::uint64_t nanoseconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000ULL +
           static_cast<std::uint64_t>(now.tv_nsec);
}

} // namespace

std::uint32_t TickCount()
{
    return static_cast<std::uint32_t>(nanoseconds(CLOCK_MONOTONIC_COARSE) / 1'000'000ULL);
}

double TickResolutionMs()
{
    timespec resolution{};
    if (clock_getres(CLOCK_MONOTONIC_COARSE, &resolution) != 0)
        return 1.0;
    return static_cast<double>(resolution.tv_sec) * 1e3 +
           static_cast<double>(resolution.tv_nsec) / 1e6;
}

double PreciseMilliseconds()
{
    return static_cast<double>(nanoseconds(CLOCK_MONOTONIC)) / 1e6;
}

void SleepMilliseconds(unsigned milliseconds)
{
    timespec rest{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1'000'000L};
    while (nanosleep(&rest, &rest) == -1 && errno == EINTR) {
    }
}

} // namespace platform
