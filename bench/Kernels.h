// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace bench {

// False where the passes are plain C++ instead of the x86 instruction blocks
// (other processors, or QUORVIX_PORTABLE_KERNELS to try that code on x86):
// such counts cannot be compared with the reference machines.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(QUORVIX_PORTABLE_KERNELS)
#define QUORVIX_X86_KERNELS 1
inline constexpr bool kKernelsComparable = true;
#else
inline constexpr bool kKernelsComparable = false;
#endif

// The variables of the floating-point pass: single-precision x, y, z and the
// 80-bit extended temporary t, all in memory.
struct FpuOperands
{
    float x = 1.0f;
    float y = 0.5f;
    float z = 0.0f;
    long double t = 0.0L;
};

// One pass of the integer block; adds 1 to `count` in memory.
void CpuPass(std::int32_t& count);

// One pass of the x87 block on `operands`; adds 1 to `count` in memory.
void FpuPass(FpuOperands& operands, std::int32_t& count);

// How long a processor window keeps the processor, in milliseconds, on a
// tick that steps by `tickResolutionMs`: the wait for the first edge, the
// window, the step that ends it, and the pass that crosses the end.
double WindowBracketMs(double tickResolutionMs);

// WindowBracketMs on this machine's system tick: what the kernels' bracket
// announces, so that the pause it may need before it is no longer than that.
double ProcessorBracketMs();

// Passes completed in a 500 ms window on the system tick, measured at
// time-critical priority. Always at least 1.
std::int32_t CpuTest();
std::int32_t FpuTest();

} // namespace bench
