// SPDX-License-Identifier: GPL-3.0-or-later
// A dependent chain of additions written apart from the program's: plain
// C++ whose every add waits for the one before (the empty asm only keeps
// the compiler from folding the loop). Prints additions per microsecond
// (MHz) over the given milliseconds.
//   chain_rate [milliseconds]

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

unsigned long chain(unsigned long steps, unsigned long x)
{
    unsigned long step = 7;
    asm volatile("" : "+r"(step));
    for (unsigned long i = 0; i < steps; ++i) {
        x += step;
        asm volatile("" : "+r"(x));
        x += step;
        asm volatile("" : "+r"(x));
        x += step;
        asm volatile("" : "+r"(x));
        x += step;
        asm volatile("" : "+r"(x));
    }
    return x;
}

} // namespace

int main(int argc, char** argv)
{
    const double target = argc > 1 ? std::atof(argv[1]) : 200.0;
    constexpr unsigned long kSteps = 1 << 18;
    unsigned long x = chain(kSteps, 1);
    unsigned long adds = 0;
    const double start = nowMs();
    double now = start;
    do {
        x = chain(kSteps, x);
        adds += 4 * kSteps;
        now = nowMs();
    } while (now - start < target);
    std::printf("%.1f %lu\n", double(adds) / (now - start) / 1000.0, x & 1);
    return 0;
}
