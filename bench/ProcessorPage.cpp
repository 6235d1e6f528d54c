#include "bench/ProcessorPage.h"

#include "bench/ReferenceRows.h"
#include "bench/Scores.h"
#include "bench/Test.h"
#include "controls/MyChart.h"

namespace bench {

ProcessorKernels RealProcessorKernels()
{
    return {CpuTest, FpuTest};
}

void RefreshProcessorPage(TMyChart& chart, const ComparisonDatabase& database,
                          const ProcessorKernels& kernels)
{
    LoadReferenceRows(chart, database, ProcessorPageRows());

    LastCpuCount = kernels.cpuTest();
    chart.Bars.Items[0].Value = CpuScore(LastCpuCount);
    chart.Redraw();

    LastFpuCount = kernels.fpuTest();
    chart.Bars.Items[1].Value = FpuScore(LastFpuCount);
    chart.Redraw();
}

} // namespace bench
