// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/BarColors.h"

#include <QString>

#include <cstdint>
#include <functional>

class Chart;
class ComparisonDatabase;

namespace bench {

// The two kernels the memory page runs, given the block size in bytes and
// giving bytes per second; tests put fast fakes here.
struct MemoryKernels
{
    std::function<std::int64_t(std::uint32_t)> readTest;
    std::function<std::int64_t(std::uint32_t)> writeTest;
};

// MemoryReadTest and MemoryWriteTest.
MemoryKernels RealMemoryKernels();

// The two modes of the memory page, by the radio buttons' tag. A mode of
// any other value runs nothing.
enum class MemoryMode
{
    Comparative = 1,
    Full = 2,
};

// The test buffer of a memory refresh, and the comparative test's block.
inline constexpr std::uint32_t kMemoryTestBufferSize = 4'194'304;

// The full test's block sizes are 2^i KB for i = 0 to kFullTestBlocks - 1.
inline constexpr int kFullTestBlocks = 13;

// The own bar of the comparative test: the mean of the two rates in MiB/s,
// formed in 64 bits.
std::int32_t ComparativeMemoryValue(std::int64_t readRate, std::int64_t writeRate);

// A rate in bytes per second as a bar value in MiB/s, truncated.
std::int32_t MebibytesPerSecond(std::int64_t rate);

// The colours of the full test's read and write bars of block index i.
BarColors FullTestReadColors(int index);
BarColors FullTestWriteColors(int index);

// The work of a memory refresh between the caller's busy-frame steps, in
// `mode`: the comparative test (reference rows and the own bar "Your
// memory"), the full test (a read and a write bar per block size, the chart
// redrawn after each pair), or nothing for any other value. The test buffer
// exists only during the call, also when it fails; errors (a rejected row
// value, no memory for the buffer) propagate to the caller.
void RefreshMemoryPage(Chart& chart, const ComparisonDatabase& database, MemoryMode mode,
                       const MemoryKernels& kernels = RealMemoryKernels());

} // namespace bench
