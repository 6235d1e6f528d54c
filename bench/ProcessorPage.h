// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

class Chart;
class ComparisonDatabase;

namespace bench {

struct BenchState;

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
// the floating-point score into bar 1, each followed by a redraw; the pass
// counts go into `state`. Errors (a rejected row value, a 0 reference count)
// propagate to the caller.
void RefreshProcessorPage(Chart& chart, const ComparisonDatabase& database, BenchState& state,
                          const ProcessorKernels& kernels = RealProcessorKernels());

} // namespace bench
