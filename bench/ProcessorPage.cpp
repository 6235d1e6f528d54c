// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/ProcessorPage.h"

#include "bench/Kernels.h"
#include "bench/ReferenceMachine.h"
#include "bench/Scores.h"

namespace bench {

ProcessorKernels RealProcessorKernels()
{
    return {CpuTest, FpuTest};
}

void MeasureProcessor(const ReferenceMachine& reference, const ProcessorKernels& kernels,
                      ProcessorResult& result, const std::function<void()>& cpuScored)
{
    result.cpuPasses = kernels.cpuTest();
    result.cpuScore = CpuScore(result.cpuPasses, reference);
    if (cpuScored)
        cpuScored();
    result.fpuPasses = kernels.fpuTest();
    result.fpuScore = FpuScore(result.fpuPasses, reference);
}

TMyChartBars ProcessorBars(const ReferenceRowList& rows, const ProcessorResult& result)
{
    return ChartWithRows(ProcessorPageRows(), rows, {result.cpuScore, result.fpuScore});
}

} // namespace bench
