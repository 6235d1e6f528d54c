#include "BenchmarkPages.h"

#include <QFile>

#include <utility>

RealBenchmarkPages::RealBenchmarkPages(bench::ProcessorKernels processor, bench::DiskKernels disk,
                                       bench::MemoryKernels memory)
    : m_processor(std::move(processor)), m_disk(std::move(disk)), m_memory(std::move(memory))
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

// The video page is still being built: until then its handlers change
// nothing.
void RealBenchmarkPages::UpdateVideoChart(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshVideo(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshDrive(Chart& chart, const ComparisonDatabase& database,
                                      const QByteArray& mountPoint)
{
    bench::RefreshDiskPage(chart, database, mountPoint.toStdString(), m_disk);
}
