// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/MemoryKernels.h"

#include "bench/BenchError.h"
#include "bench/Kernels.h"
#include "bench/PseudoRandom.h"
#include "bench/TestBuffer.h"
#include "platform/Clock.h"
#include "platform/Priority.h"

#include <limits>
#include <string>

namespace bench {
namespace {

// A block the kernels can run over: whole words, at most the transfer, and
// inside the test buffer. Anything else would read or write out of bounds.
void checkBlock(std::uint32_t blockSize)
{
    if (blockSize < 4 || blockSize % 4 != 0 || blockSize > kMemoryTransferBytes ||
        blockSize > TestBufferSize()) {
        throw BenchError("The test buffer holds no block of " + std::to_string(blockSize) +
                         " bytes");
    }
}

} // namespace

#if defined(QUORVIX_X86_KERNELS)

// The passes are what is measured, so they are written as instructions: the
// compiler may neither drop stores nobody reads nor turn them into a library
// copy or fill. The pass counter lives in ECX and is kept on the stack while
// a pass needs the register; each pass loads the buffer address afresh from
// memory. On x86-64 the stack pointer first steps over the red zone, where
// the compiler may keep locals of this function.
#if defined(__x86_64__)
#define QUORVIX_STACK_OPEN "leaq -128(%%rsp), %%rsp\n\t"
#define QUORVIX_STACK_CLOSE "leaq 128(%%rsp), %%rsp\n\t"
#define QUORVIX_PUSH_COUNT "pushq %%rcx\n\t"
#define QUORVIX_POP_COUNT "popq %%rcx\n\t"
#define QUORVIX_LOAD_SOURCE "movq (%[slot]), %%rsi\n\t"
#define QUORVIX_LOAD_TARGET "movq (%[slot]), %%rdi\n\t"
#define QUORVIX_LOOP_ECX "addr32 loop "
#else
#define QUORVIX_STACK_OPEN ""
#define QUORVIX_STACK_CLOSE ""
#define QUORVIX_PUSH_COUNT "pushl %%ecx\n\t"
#define QUORVIX_POP_COUNT "popl %%ecx\n\t"
#define QUORVIX_LOAD_SOURCE "movl (%[slot]), %%esi\n\t"
#define QUORVIX_LOAD_TARGET "movl (%[slot]), %%edi\n\t"
#define QUORVIX_LOOP_ECX "loop "
#endif

std::uint32_t MemoryReadPasses(const std::uint32_t* buffer, std::uint32_t blockSize,
                               std::uint32_t passes)
{
    const std::uint32_t words = blockSize / 4;
    if (passes == 0 || words == 0)
        return 0; // LOOP would take a zero count for 2^32
    const std::uint32_t* volatile address = buffer;
    std::uint32_t last = 0;
    // Early clobber: REP LODSD overwrites EAX, which must hold no input.
    // clang-format off
    asm volatile(QUORVIX_STACK_OPEN
                 "movl %[passes], %%ecx\n\t"
                 "1:\n\t"
                 QUORVIX_PUSH_COUNT
                 QUORVIX_LOAD_SOURCE
                 "movl %[words], %%ecx\n\t"
                 "rep lodsl\n\t"
                 QUORVIX_POP_COUNT
                 QUORVIX_LOOP_ECX "1b\n\t"
                 QUORVIX_STACK_CLOSE
                 : "=&a"(last)
                 : [slot] "r"(&address), [words] "r"(words), [passes] "r"(passes)
                 : "ecx", "esi", "cc", "memory");
    // clang-format on
    return last;
}

std::uint32_t MemoryWritePasses(std::uint32_t* buffer, std::uint32_t blockSize,
                                std::uint32_t passes, std::uint32_t start)
{
    const std::uint32_t words = blockSize / 4;
    if (passes == 0 || words == 0)
        return start;
    std::uint32_t* volatile address = buffer;
    std::uint32_t value = start;
    // clang-format off
    asm volatile(QUORVIX_STACK_OPEN
                 "movl %[passes], %%ecx\n\t"
                 "1:\n\t"
                 QUORVIX_PUSH_COUNT
                 QUORVIX_LOAD_TARGET
                 "movl %[words], %%ecx\n\t"
                 "2:\n\t"
                 "stosl\n\t"
                 "incl %%eax\n\t"
                 QUORVIX_LOOP_ECX "2b\n\t"
                 QUORVIX_POP_COUNT
                 QUORVIX_LOOP_ECX "1b\n\t"
                 QUORVIX_STACK_CLOSE
                 : "+a"(value)
                 : [slot] "r"(&address), [words] "r"(words), [passes] "r"(passes)
                 : "ecx", "edi", "cc", "memory");
    // clang-format on
    return value;
}

#else

// The same passes in plain C++ for other processors; the rates are not
// comparable with the x86 reference machines (see kKernelsComparable).
std::uint32_t MemoryReadPasses(const std::uint32_t* buffer, std::uint32_t blockSize,
                               std::uint32_t passes)
{
    const std::uint32_t words = blockSize / 4;
    std::uint32_t last = 0;
    for (std::uint32_t pass = 0; pass < passes; ++pass) {
        const volatile std::uint32_t* word = buffer;
        for (std::uint32_t i = 0; i < words; ++i)
            last = word[i];
    }
    return last;
}

std::uint32_t MemoryWritePasses(std::uint32_t* buffer, std::uint32_t blockSize,
                                std::uint32_t passes, std::uint32_t start)
{
    const std::uint32_t words = blockSize / 4;
    std::uint32_t value = start;
    for (std::uint32_t pass = 0; pass < passes; ++pass) {
        volatile std::uint32_t* word = buffer;
        for (std::uint32_t i = 0; i < words; ++i)
            word[i] = value++;
    }
    return value;
}

#endif

std::int64_t MemoryRate(std::uint64_t bytes, double elapsedMilliseconds)
{
    if (!(elapsedMilliseconds > 0.0))
        return 0;
    const long double rate = static_cast<long double>(bytes) / elapsedMilliseconds * 1000.0L;
    // 2^63 is exact in long double; an interval of a few picoseconds is the
    // only way to get there.
    if (rate >= 9223372036854775808.0L)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(rate);
}

// 20 MiB pass in tens of milliseconds even on slow memory: the bracket needs
// no pause for the real-time budget after a processor window.
constexpr double kMemoryBracketMs = 200.0;

std::int64_t MemoryReadTest(std::uint32_t blockSize)
{
    checkBlock(blockSize);
    const std::uint32_t* buffer = TestBufferAddress();
    const std::uint32_t passes = MemoryPassCount(blockSize);
    const platform::TimeCriticalBracket bracket(kMemoryBracketMs);
    return TimeTransfer(platform::PreciseMilliseconds, blockSize,
                        [&] { MemoryReadPasses(buffer, blockSize, passes); });
}

// The start value is drawn before the interval, so that neither the
// generator nor its first seeding is timed.
std::int64_t MemoryWriteTest(std::uint32_t blockSize)
{
    checkBlock(blockSize);
    return MemoryWriteTestFrom(blockSize, PseudoRandom(kWriteStartRange));
}

std::int64_t MemoryWriteTestFrom(std::uint32_t blockSize, std::uint32_t start)
{
    checkBlock(blockSize);
    std::uint32_t* buffer = TestBufferAddress();
    const std::uint32_t passes = MemoryPassCount(blockSize);
    const platform::TimeCriticalBracket bracket(kMemoryBracketMs);
    return TimeTransfer(platform::PreciseMilliseconds, blockSize,
                        [&] { MemoryWritePasses(buffer, blockSize, passes, start); });
}

} // namespace bench
