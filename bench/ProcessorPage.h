// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ReferenceRows.h"

#include <cstdint>
#include <functional>

namespace bench {

struct ReferenceMachine;

// The two kernels the processor page runs; tests put fast fakes here.
struct ProcessorKernels
{
    std::function<std::int32_t()> cpuTest;
    std::function<std::int32_t()> fpuTest;
};

// CpuTest and FpuTest.
ProcessorKernels RealProcessorKernels();

// What the processor page measures: the two scores and the raw pass counts
// they were scored from.
struct ProcessorResult
{
    std::int32_t cpuScore = 0;
    std::int32_t cpuPasses = 0;
    std::int32_t fpuScore = 0;
    std::int32_t fpuPasses = 0;

    bool operator==(const ProcessorResult&) const = default;
};

// Runs the integer kernel and scores it, then the floating-point kernel,
// writing each figure into `result` as soon as it is known; `cpuScored` is
// called between the two, so the page can show the integer score before the
// next kernel blocks the thread. A reference count of 0 raises BenchError
// with that kernel's pass count already in `result`.
void MeasureProcessor(const ReferenceMachine& reference, const ProcessorKernels& kernels,
                      ProcessorResult& result, const std::function<void()>& cpuScored = {});

// The processor chart: "Your CPU" and "FPU" with the two scores, then the rows.
TMyChartBars ProcessorBars(const ReferenceRowList& rows, const ProcessorResult& result);

} // namespace bench
