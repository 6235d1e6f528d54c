#include "BenchmarkPages.h"

#include <utility>

RealBenchmarkPages::RealBenchmarkPages(bench::ProcessorKernels processor,
                                       bench::MemoryKernels memory)
    : m_processor(std::move(processor)), m_memory(std::move(memory))
{
}

void RealBenchmarkPages::RefreshProcessor(Chart& chart, const ComparisonDatabase& database,
                                          bench::BenchState& state)
{
    bench::RefreshProcessorPage(chart, database, state, m_processor);
}

void RealBenchmarkPages::RefreshMemory(Chart& chart, const ComparisonDatabase& database,
                                       MemoryMode mode)
{
    bench::RefreshMemoryPage(chart, database, mode, m_memory);
}

// The video and disk pages are still being built: until then their handlers
// change nothing.

void RealBenchmarkPages::UpdateVideoChart(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshVideo(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshDrive(Chart&, const ComparisonDatabase&, const QString&) {}
