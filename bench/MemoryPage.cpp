// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/MemoryPage.h"

#include "bench/MemoryKernels.h"
#include "bench/TestBuffer.h"
#include "controls/Chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace bench {
namespace {

std::int32_t clampToBar(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The blue of block i: i x 175 / 12 rounded half to even, plus 80; its
// gradient is 100 / 255 of that, truncated.
int blueOf(int index)
{
    return static_cast<int>(std::nearbyint(index * 175.0 / 12.0)) + 80;
}

int gradientBlueOf(int index)
{
    return blueOf(index) * 100 / 255;
}

void addColoredBar(TMyChartBars& bars, const QString& caption, std::int32_t value,
                   const BarColors& colors)
{
    AppendBar(bars, caption, value, colors.color, colors.gradientColor);
}

} // namespace

MemoryKernels RealMemoryKernels()
{
    return {MemoryReadTest, MemoryWriteTest};
}

std::int32_t ComparativeMemoryValue(std::int64_t readRate, std::int64_t writeRate)
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(readRate, writeRate, &sum))
        sum = readRate > 0 ? std::numeric_limits<std::int64_t>::max()
                           : std::numeric_limits<std::int64_t>::min();
    return clampToBar(sum / 2'097'152);
}

std::int32_t MebibytesPerSecond(std::int64_t rate)
{
    return clampToBar(rate / 1'048'576);
}

BarColors FullTestReadColors(int index)
{
    return {MakeColor(255, 0, blueOf(index)), MakeColor(100, 0, gradientBlueOf(index))};
}

BarColors FullTestWriteColors(int index)
{
    return {MakeColor(0, 255, blueOf(index)), MakeColor(0, 100, gradientBlueOf(index))};
}

std::int32_t MeasureComparativeMemory(const MemoryKernels& kernels)
{
    const ScopedTestBuffer buffer(kMemoryTestBufferSize);
    const std::int64_t readRate = kernels.readTest(kMemoryTestBufferSize);
    const std::int64_t writeRate = kernels.writeTest(kMemoryTestBufferSize);
    return ComparativeMemoryValue(readRate, writeRate);
}

void MeasureFullMemory(MemorySweep& sweep, const std::function<void()>& pairMeasured,
                       const MemoryKernels& kernels)
{
    sweep.clear();
    const ScopedTestBuffer buffer(kMemoryTestBufferSize);
    for (int i = 0; i < kFullTestBlocks; ++i) {
        const std::uint32_t blockSize = (1u << i) * 1024;
        MemoryPair pair;
        pair.read = MebibytesPerSecond(kernels.readTest(blockSize));
        pair.write = MebibytesPerSecond(kernels.writeTest(blockSize));
        sweep << pair;
        if (pairMeasured)
            pairMeasured();
    }
}

TMyChartBars ComparativeMemoryBars(const ReferenceRowList& rows, std::int32_t value)
{
    return ChartWithRows(MemoryPageRows(), rows, {value});
}

TMyChartBars FullMemoryBars(const MemorySweep& sweep)
{
    TMyChartBars bars;
    for (int i = 0; i < sweep.size(); ++i) {
        addColoredBar(bars, QString::asprintf("%u Kb read", 1u << i), sweep[i].read,
                      FullTestReadColors(i));
        addColoredBar(bars, QStringLiteral("write"), sweep[i].write, FullTestWriteColors(i));
    }
    return bars;
}

} // namespace bench
