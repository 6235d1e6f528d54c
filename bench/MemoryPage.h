// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ReferenceRows.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

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

// The two modes of the memory page.
enum class MemoryMode
{
    Comparative = 1,
    Full = 2,
};

// The test buffer of a memory refresh, and the comparative test's block.
inline constexpr std::uint32_t kMemoryTestBufferSize = 4'194'304;

// The full test's block sizes are 2^i KB for i = 0 to kFullTestBlocks - 1.
inline constexpr int kFullTestBlocks = 13;

// The full test's figures of one block size, in MiB/s.
struct MemoryPair
{
    std::int32_t read = 0;
    std::int32_t write = 0;

    bool operator==(const MemoryPair&) const = default;
};
// The full test's pairs, from the smallest block up.
using MemorySweep = QList<MemoryPair>;

// The own bar of the comparative test: the mean of the two rates in MiB/s,
// formed in 64 bits.
std::int32_t ComparativeMemoryValue(std::int64_t readRate, std::int64_t writeRate);

// A rate in bytes per second as a bar value in MiB/s, truncated.
std::int32_t MebibytesPerSecond(std::int64_t rate);

// The colours of the full test's read and write bars of block index i.
BarColors FullTestReadColors(int index);
BarColors FullTestWriteColors(int index);

// The comparative test in a test buffer of its own: the two kernels on the
// whole buffer, and their mean in MiB/s. The buffer exists only during the
// call, also when it fails (no memory for it).
std::int32_t MeasureComparativeMemory(const MemoryKernels& kernels = RealMemoryKernels());

// The full test in a test buffer of its own: a read and a write rate per
// block size, each pair appended to `sweep` (emptied first) as soon as it is
// measured, then `pairMeasured` called, so the page can draw it at once.
void MeasureFullMemory(MemorySweep& sweep, const std::function<void()>& pairMeasured = {},
                       const MemoryKernels& kernels = RealMemoryKernels());

// The comparative chart: "Your memory" with `value`, then the rows.
TMyChartBars ComparativeMemoryBars(const ReferenceRowList& rows, std::int32_t value);

// The full test's chart: per pair a bar "<size> Kb read" and a bar "write"
// in the colours of its block size; no rows and no own bar.
TMyChartBars FullMemoryBars(const MemorySweep& sweep);

} // namespace bench
