// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/Kernels.h"

#include "bench/TimedWindow.h"
#include "platform/Clock.h"
#include "platform/Priority.h"
#include "platform/PublishedTick.h"

#include <cmath>

namespace bench {

#if defined(QUORVIX_X86_KERNELS)

// LOOP counts in ECX, not RCX, as the 32-bit block was written.
#if defined(__x86_64__)
#define QUORVIX_LOOP_ECX "addr32 loop "
#else
#define QUORVIX_LOOP_ECX "loop "
#endif

// The blocks are the definition of the score, so they are written as
// instructions: the compiler may not drop, merge or reorder what it sees as
// dead work. Only 32-bit registers, and LOOP counts in ECX as on the
// processors the reference counts come from.

// The multiplier's value does not matter; it comes in from a register the
// compiler loads, so a pass never waits for the previous pass's last MUL
// (taken from EDX it would, or not, depending on the code around the call).
void CpuPass(std::int32_t& count)
{
    const std::uint32_t multiplier = 0x9E3779B9u;
    asm volatile("movl %[multiplier], %%ebx\n\t"
                 "movl $10, %%ecx\n\t"   // step counter
                 "movl %%ecx, %%eax\n\t" // accumulator
                 "1:\n\t"
                 "addl %%ecx, %%eax\n\t"
                 "addl %%ecx, %%eax\n\t"
                 "mull %%ebx\n\t"
                 "addl %%ecx, %%eax\n\t"
                 "mull %%ebx\n\t"
                 "addl %%ecx, %%eax\n\t"
                 "mull %%ebx\n\t"
                 "addl %%ecx, %%eax\n\t"
                 "mull %%ebx\n\t"
                 "addl %%ecx, %%eax\n\t"
                 "mull %%ebx\n\t"
                 "shll %%cl, %%eax\n\t"
                 "shll %%cl, %%eax\n\t"
                 "shll %%cl, %%eax\n\t"
                 "addl %%edx, %%eax\n\t" //
                 QUORVIX_LOOP_ECX "1b\n\t"
                 "decl %%eax\n\t"
                 "subl %%ebx, %%eax\n\t"
                 "mull %%ebx\n\t"
                 "shll %%cl, %%eax\n\t"
                 "movl %%eax, %%esi\n\t"
                 "movl %%edx, %%eax\n\t"
                 "incl %[count]\n\t"
                 : [count] "+m"(count)
                 : [multiplier] "r"(multiplier)
                 : "eax", "ebx", "ecx", "edx", "esi", "cc", "memory");
}

// Leaves the x87 stack empty. FDIVRP is written in Intel syntax because the
// AT&T spelling of the reverse divides is swapped in GNU as.
void FpuPass(FpuOperands& operands, std::int32_t& count)
{
    asm volatile(
        // z = (x - y) * x + (x - y) * x + (x - y) * x
        "flds %[x]\n\t"
        "fsubs %[y]\n\t"
        "fmuls %[x]\n\t"
        "flds %[x]\n\t"
        "fsubs %[y]\n\t"
        "fmuls %[x]\n\t"
        "faddp\n\t"
        "flds %[x]\n\t"
        "fsubs %[y]\n\t"
        "fmuls %[x]\n\t"
        "faddp\n\t"
        "fstps %[z]\n\t"
        "fwait\n\t"
        // t = sqrt(x * x + x * x + x * x)
        "flds %[x]\n\t"
        "fmuls %[x]\n\t"
        "flds %[x]\n\t"
        "fmuls %[x]\n\t"
        "faddp\n\t"
        "flds %[x]\n\t"
        "fmuls %[x]\n\t"
        "faddp\n\t"
        "fsqrt\n\t"
        "fstpt %[t]\n\t"
        "fwait\n\t"
        // z = (x * y + x * y + x * y) / (sqrt(y * y + y * y + y * y) * t)
        "flds %[y]\n\t"
        "fmuls %[y]\n\t"
        "flds %[y]\n\t"
        "fmuls %[y]\n\t"
        "faddp\n\t"
        "flds %[y]\n\t"
        "fmuls %[y]\n\t"
        "faddp\n\t"
        "fsqrt\n\t"
        "fldt %[t]\n\t"
        "fmulp\n\t"
        "flds %[x]\n\t"
        "fmuls %[y]\n\t"
        "flds %[x]\n\t"
        "fmuls %[y]\n\t"
        "faddp\n\t"
        "flds %[x]\n\t"
        "fmuls %[y]\n\t"
        "faddp\n\t"
        ".intel_syntax noprefix\n\t"
        "fdivrp st(1), st\n\t" // st(1) = st(0) / st(1), pop
        ".att_syntax prefix\n\t"
        "fstps %[z]\n\t"
        "fwait\n\t"
        // z = cos x, y = sin x
        "flds %[x]\n\t"
        "fsincos\n\t"
        "fstps %[z]\n\t"
        "fstps %[y]\n\t"
        "incl %[count]\n\t"
        : [count] "+m"(count), [y] "+m"(operands.y), [z] "+m"(operands.z), [t] "+m"(operands.t)
        : [x] "m"(operands.x)
        : "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)", "cc", "memory");
}

#else

// Same arithmetic in plain C++ for other processors; the counts are not
// comparable with the x86 reference machines (see kKernelsComparable).
void CpuPass(std::int32_t& count)
{
    volatile std::uint32_t multiplier = 0x9E3779B9u;
    volatile std::uint32_t accumulator = 10;
    for (std::uint32_t step = 10; step != 0; --step) {
        std::uint32_t a = accumulator + step + step;
        for (int i = 0; i < 4; ++i)
            a = a * multiplier + step;
        a *= multiplier;
        a <<= (step & 31);
        a <<= (step & 31);
        a <<= (step & 31);
        accumulator = a + step;
    }
    accumulator = (accumulator - 1 - multiplier) * multiplier;
    volatile std::int32_t& counter = count;
    counter = counter + 1;
}

void FpuPass(FpuOperands& operands, std::int32_t& count)
{
    volatile FpuOperands& v = operands;
    const long double x = v.x;
    const long double y = v.y;
    v.z = static_cast<float>((x - y) * x + (x - y) * x + (x - y) * x);
    v.t = std::sqrt(x * x + x * x + x * x);
    v.z = static_cast<float>((x * y + x * y + x * y) / (std::sqrt(y * y + y * y + y * y) * v.t));
    v.z = static_cast<float>(std::cos(x));
    v.y = static_cast<float>(std::sin(x));
    volatile std::int32_t& counter = count;
    counter = counter + 1;
}

#endif

// At most one tick waiting for the first edge; the window ends on the first
// reading past 500, at most one step later; 1 ms covers the last pass.
double WindowBracketMs(double tickResolutionMs)
{
    return kWindowMilliseconds + 2 * tickResolutionMs + 1.0;
}

double ProcessorBracketMs()
{
    static const double longest = WindowBracketMs(platform::TickResolutionMs());
    return longest;
}

std::int32_t CpuTest()
{
    const platform::TimeCriticalBracket bracket(ProcessorBracketMs());
    const platform::PublishedTickCount tick;
    return CountPassesInWindow(tick, [](std::int32_t& count) { CpuPass(count); });
}

std::int32_t FpuTest()
{
    FpuOperands operands;
    const platform::TimeCriticalBracket bracket(ProcessorBracketMs());
    const platform::PublishedTickCount tick;
    return CountPassesInWindow(tick,
                               [&operands](std::int32_t& count) { FpuPass(operands, count); });
}

} // namespace bench
