#include "BenchmarkPages.h"

#include <QFile>

#include <utility>

RealBenchmarkPages::RealBenchmarkPages(bench::ProcessorKernels processor, bench::DiskKernels disk)
    : m_processor(std::move(processor)), m_disk(std::move(disk))
{
}

void RealBenchmarkPages::RefreshProcessor(Chart& chart, const ComparisonDatabase& database,
                                          bench::BenchState& state)
{
    bench::RefreshProcessorPage(chart, database, state, m_processor);
}

// The memory and video pages are still being built: until then their
// handlers change nothing.
void RealBenchmarkPages::RefreshMemory(Chart&, const ComparisonDatabase&, MemoryMode) {}

void RealBenchmarkPages::UpdateVideoChart(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshVideo(Chart&, const ComparisonDatabase&) {}

void RealBenchmarkPages::RefreshDrive(Chart& chart, const ComparisonDatabase& database,
                                      const QByteArray& mountPoint)
{
    bench::RefreshDiskPage(chart, database, mountPoint.toStdString(), m_disk);
}
