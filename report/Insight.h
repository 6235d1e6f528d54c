// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/AllCore.h"
#include "bench/ClockChain.h"
#include "bench/MemoryContext.h"
#include "bench/ReferenceMachine.h"
#include "platform/Caches.h"
#include "platform/Priority.h"
#include "results/DriveInsight.h"

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace report {

// The measurements that put the logged figures in context; the defaults are
// this machine's, tests put their own in.
struct InsightKernels
{
    // Timed right after each run's processor test, at the priority its
    // kernels had.
    std::function<bench::ChainTiming()> runChain = [] {
        const platform::TimeCriticalBracket bracket(100.0);
        return bench::TimeDependentChain(50.0);
    };
    std::function<bench::AllCoreWindows()> allCoreCpu = bench::AllCoreCpuTest;
    std::function<bench::AllCoreWindows()> allCoreFpu = bench::AllCoreFpuTest;
    std::function<std::vector<platform::CacheLevel>()> caches = [] {
        return platform::ReadCaches();
    };
    std::function<bench::MemoryContextFigures(std::uint64_t, const std::vector<std::uint64_t>&)>
        memoryContext = bench::MeasureMemoryContext;
    // Each drive the run tested; empty: the drives are left out.
    DriveContextKernel driveContext = RealDriveContext();
};

// What the report's own runs give the context: the reference machine, the
// logged memory figure (median) and the chain timed in each run's processor
// test.
struct LoggedFigures
{
    bench::ReferenceMachine reference;
    std::int32_t memoryMiBs = 0; // the comparative memory figure
    QList<bench::ChainTiming> runChains;
};

struct AllCoreFigure
{
    std::int64_t passes = 0;
    std::optional<std::int64_t> score; // none without usable DATA values
    double ratio = 0.0; // to one thread in the windows beside it; 0 when that is missing
};

struct ClockFigure
{
    double effectiveMHz = 0.0;
    double counterMHz = 0.0;
};

// Where a block of the memory test sits: "L1", "L2", ... or "DRAM".
struct SweepFigure
{
    std::uint64_t blockBytes = 0;
    QString level;
    std::int64_t readRate = 0; // bytes per second
    std::int64_t writeRate = 0;
};

struct LatencyFigure
{
    QString level;
    std::uint64_t workingSetBytes = 0;
    double nanoseconds = 0.0;
};

struct Insight
{
    int threads = 0;
    AllCoreFigure allCoreCpu;
    AllCoreFigure allCoreFpu;
    QList<ClockFigure> runClocks;
    ClockFigure allCoreClock; // mean over the threads
    std::vector<platform::CacheLevel> caches;
    QList<SweepFigure> sweep; // the memory page's full-test sizes first, then on to DRAM
    bench::StreamingRates streaming;
    QList<LatencyFigure> latency;
    QString memoryLine;          // how far the logged memory figure is from the streaming limit
    std::uint64_t usedBytes = 0; // the buffer the memory figures shared
    // Figures that cannot be trusted, by their JSON member, with the reason.
    QMap<QString, QString> unreliable;
    QStringList warnings;
    QString notMeasured; // why the section could not be measured; then nothing else holds
};

// The section when it could not be measured, and why.
Insight NotMeasured(const QString& reason);

// Smallest data cache that holds `bytes`: "L1", "L2", ..., else "DRAM".
QString LevelHolding(std::uint64_t bytes, const std::vector<platform::CacheLevel>& caches);

// Top of the sweep, the one buffer of the memory figures: twice the
// last-level cache (all its instances: the streaming threads spread over
// them), in whole MiB, at least 8 MiB; 64 MiB where no cache is published;
// at most 2 GiB.
std::uint64_t SweepTop(const std::vector<platform::CacheLevel>& caches);

// Working sets for the latency, each inside the level it names and beyond
// the one below: half of the first data cache level, the geometric mean of
// each further level and the one below it, then the top.
std::vector<std::uint64_t> LatencyWorkingSets(const std::vector<platform::CacheLevel>& caches,
                                              std::uint64_t top);

// The effective clock of `chains` as figures.
ClockFigure ClockOf(const bench::ChainTiming& chain);

// Runs the kernels once and puts their figures beside the logged ones.
Insight MeasureInsight(const InsightKernels& kernels, const LoggedFigures& logged);

// The JSON member and the text section printed after the log.
QJsonObject InsightJson(const Insight& insight);
QStringList InsightText(const Insight& insight);

} // namespace report
