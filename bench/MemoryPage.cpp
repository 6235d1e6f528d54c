// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/MemoryPage.h"

#include "bench/MemoryKernels.h"
#include "bench/ReferenceRows.h"
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

void addColoredBar(Chart& chart, const QString& caption, std::int32_t value,
                   const BarColors& colors)
{
    const int index = chart.AddBar(caption, value, colors.color);
    if (index >= 0)
        chart.bars().Items[index].GradientColor = colors.gradientColor;
}

void runComparativeTest(Chart& chart, const ComparisonDatabase& database,
                        const MemoryKernels& kernels)
{
    {
        const ScopedTestBuffer buffer(kMemoryTestBufferSize);
        LoadReferenceRows(chart, database, MemoryPageRows());
        const std::int64_t readRate = kernels.readTest(kMemoryTestBufferSize);
        const std::int64_t writeRate = kernels.writeTest(kMemoryTestBufferSize);
        chart.bars().Items[0].Value = ComparativeMemoryValue(readRate, writeRate);
    }
    chart.Redraw();
}

// Automatic redraw stays off until the end, so each pair is drawn by its
// own Redraw right after it was measured.
void runFullTest(Chart& chart, const MemoryKernels& kernels)
{
    chart.BeginUpdate();
    chart.Clear();
    {
        const ScopedTestBuffer buffer(kMemoryTestBufferSize);
        for (int i = 0; i < kFullTestBlocks; ++i) {
            const std::uint32_t kilobytes = 1u << i;
            const std::uint32_t blockSize = kilobytes * 1024;
            addColoredBar(chart, QString::asprintf("%u Kb read", kilobytes),
                          MebibytesPerSecond(kernels.readTest(blockSize)), FullTestReadColors(i));
            addColoredBar(chart, QStringLiteral("write"),
                          MebibytesPerSecond(kernels.writeTest(blockSize)), FullTestWriteColors(i));
            chart.Redraw();
        }
    }
    chart.EndUpdate();
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
    return {Rgb(255, 0, blueOf(index)), Rgb(100, 0, gradientBlueOf(index))};
}

BarColors FullTestWriteColors(int index)
{
    return {Rgb(0, 255, blueOf(index)), Rgb(0, 100, gradientBlueOf(index))};
}

void RefreshMemoryPage(Chart& chart, const ComparisonDatabase& database, MemoryMode mode,
                       const MemoryKernels& kernels)
{
    if (mode == MemoryMode::Comparative)
        runComparativeTest(chart, database, kernels);
    else if (mode == MemoryMode::Full)
        runFullTest(chart, kernels);
}

} // namespace bench
