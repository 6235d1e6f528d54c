#include "BenchmarkPages.h"

#include <QFile>

#include <utility>

RealBenchmarkPages::RealBenchmarkPages(bench::ProcessorKernels processor, bench::DiskKernels disk,
                                       bench::MemoryKernels memory, bench::VideoKernels video)
    : m_processor(std::move(processor)), m_disk(std::move(disk)), m_memory(std::move(memory)),
      m_video(std::move(video))
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

void RealBenchmarkPages::UpdateVideoChart(Chart& chart, const ComparisonDatabase& database)
{
    bench::UpdateVideoChart(chart, database);
}

void RealBenchmarkPages::RefreshVideo(Chart& chart, const ComparisonDatabase& database,
                                      bench::TestSurface& surface)
{
    bench::RefreshVideoPage(chart, database, surface, m_video);
}

void RealBenchmarkPages::RefreshDrive(Chart& chart, const ComparisonDatabase& database,
                                      const QByteArray& mountPoint)
{
    bench::RefreshDiskPage(chart, database, mountPoint.toStdString(), m_disk);
}
