#pragma once

#include "bench/DiskPage.h"
#include "bench/MemoryPage.h"
#include "bench/ProcessorPage.h"
#include "bench/VideoPage.h"

#include <QByteArray>
#include <QString>

class Chart;
class ComparisonDatabase;

namespace bench {
struct BenchState;
}

using bench::MemoryMode;

// The work behind the main window's page handlers, run between the steps of
// the busy frame. The window takes it through its services, so tests can put
// a recording fake in its place and observe the command table.
class BenchmarkPages
{
public:
    virtual ~BenchmarkPages() = default;

    // Button1Click: reference rows, the integer and floating-point scores.
    virtual void RefreshProcessor(Chart& chart, const ComparisonDatabase& database,
                                  bench::BenchState& state) = 0;
    // Button3Click and the radio buttons: the memory test in `mode` (any
    // other value than the two modes runs nothing).
    virtual void RefreshMemory(Chart& chart, const ComparisonDatabase& database,
                               MemoryMode mode) = 0;
    // UpdateVideoChart: the rows and an own bar at 0, without measuring.
    virtual void UpdateVideoChart(Chart& chart, const ComparisonDatabase& database) = 0;
    // Button5Click: the full-screen fill test on the test surface window.
    virtual void RefreshVideo(Chart& chart, const ComparisonDatabase& database,
                              bench::TestSurface& surface) = 0;
    // Button4Click: the write test on the drive mounted at `mountPoint`, the
    // path's bytes as the system gave them (empty when there is no drive).
    virtual void RefreshDrive(Chart& chart, const ComparisonDatabase& database,
                              const QByteArray& mountPoint) = 0;
};

// The benchmarks themselves, on the given kernels.
class RealBenchmarkPages : public BenchmarkPages
{
public:
    explicit RealBenchmarkPages(bench::ProcessorKernels processor = bench::RealProcessorKernels(),
                                bench::DiskKernels disk = bench::RealDiskKernels(),
                                bench::MemoryKernels memory = bench::RealMemoryKernels(),
                                bench::VideoKernels video = bench::RealVideoKernels());

    void RefreshProcessor(Chart& chart, const ComparisonDatabase& database,
                          bench::BenchState& state) override;
    void RefreshMemory(Chart& chart, const ComparisonDatabase& database, MemoryMode mode) override;
    void UpdateVideoChart(Chart& chart, const ComparisonDatabase& database) override;
    void RefreshVideo(Chart& chart, const ComparisonDatabase& database,
                      bench::TestSurface& surface) override;
    void RefreshDrive(Chart& chart, const ComparisonDatabase& database,
                      const QByteArray& mountPoint) override;

private:
    bench::ProcessorKernels m_processor;
    bench::DiskKernels m_disk;
    bench::MemoryKernels m_memory;
    bench::VideoKernels m_video;
};
