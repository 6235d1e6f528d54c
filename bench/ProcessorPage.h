#pragma once

#include <cstdint>
#include <functional>

class ComparisonDatabase;
class TMyChart;

namespace bench {

// Raw pass counts of the last processor refresh, 0 until the first; the
// results log prints them beside the scores.
inline std::int32_t LastCpuCount = 0;
inline std::int32_t LastFpuCount = 0;

// The two kernels the processor page runs; tests put fast fakes here.
struct ProcessorKernels
{
    std::function<std::int32_t()> cpuTest;
    std::function<std::int32_t()> fpuTest;
};

// CpuTest and FpuTest.
ProcessorKernels RealProcessorKernels();

// The work of the processor page's refresh between the caller's busy-frame
// steps: reference rows into `chart`, then the integer score into bar 0 and
// the floating-point score into bar 1, each followed by a redraw. Errors
// (a rejected row value, a 0 reference count) propagate to the caller.
void RefreshProcessorPage(TMyChart& chart, const ComparisonDatabase& database,
                          const ProcessorKernels& kernels = RealProcessorKernels());

} // namespace bench
