#include "BenchmarkPages.h"

#include <utility>

RealBenchmarkPages::RealBenchmarkPages(bench::ProcessorKernels processor)
    : m_processor(std::move(processor))
{
}

void RealBenchmarkPages::RefreshProcessor(Chart& chart, const ComparisonDatabase& database,
                                          bench::BenchState& state)
{
    bench::RefreshProcessorPage(chart, database, state, m_processor);
}

// The memory, video and disk pages are still being built: until then their
// handlers change nothing.
void RealBenchmarkPages::RefreshMemory(Chart&, const ComparisonDatabase&, MemoryMode) {}

void RealBenchmarkPages::UpdateVideoChart(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshVideo(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshDrive(Chart&, const ComparisonDatabase&, const QString&) {}
