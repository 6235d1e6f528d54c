// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/ProcessorPage.h"

#include "bench/Kernels.h"
#include "bench/ReferenceMachine.h"
#include "bench/ReferenceRows.h"
#include "bench/Scores.h"
#include "controls/Chart.h"

namespace bench {

ProcessorKernels RealProcessorKernels()
{
    return {CpuTest, FpuTest};
}

void RefreshProcessorPage(Chart& chart, const ComparisonDatabase& database, BenchState& state,
                          const ProcessorKernels& kernels)
{
    LoadReferenceRows(chart, database, ProcessorPageRows());

    state.LastCpuCount = kernels.cpuTest();
    chart.bars().Items[0].Value = CpuScore(state.LastCpuCount, state.reference);
    chart.Redraw();

    state.LastFpuCount = kernels.fpuTest();
    chart.bars().Items[1].Value = FpuScore(state.LastFpuCount, state.reference);
    chart.Redraw();
}

} // namespace bench
