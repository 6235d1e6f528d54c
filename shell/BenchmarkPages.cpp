#include "BenchmarkPages.h"

#include <utility>

RealBenchmarkPages::RealBenchmarkPages(bench::ProcessorKernels processor, bench::VideoKernels video)
    : m_processor(std::move(processor)), m_video(std::move(video))
{
}

void RealBenchmarkPages::RefreshProcessor(Chart& chart, const ComparisonDatabase& database,
                                          bench::BenchState& state)
{
    bench::RefreshProcessorPage(chart, database, state, m_processor);
}

void RealBenchmarkPages::UpdateVideoChart(Chart& chart, const ComparisonDatabase& database)
{
    bench::UpdateVideoChart(chart, database);
}

void RealBenchmarkPages::RefreshVideo(Chart& chart, const ComparisonDatabase& database,
                                      bench::TestSurface& surface)
{
    bench::RefreshVideoPage(chart, database, surface, m_video);
}

// The memory and disk pages are still being built: until then their
// handlers change nothing.
void RealBenchmarkPages::RefreshMemory(Chart&, const ComparisonDatabase&, MemoryMode) {}

void RealBenchmarkPages::RefreshDrive(Chart&, const ComparisonDatabase&, const QString&) {}
