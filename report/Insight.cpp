// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Insight.h"

#include <QMap>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kSmallestTop = 8 * kMiB;
constexpr std::uint64_t kUnknownTop = 64 * kMiB;
constexpr std::uint64_t kLargestTop = 2048 * kMiB;
constexpr std::uint64_t kLine = 64;
// Scaling beyond the thread count by more than this is flagged: the noise of
// two windows on the millisecond tick stays well inside it.
constexpr double kScalingNoise = 0.05;
// Below this share of the counter's rate the cores are held back.
constexpr double kSlowClockShare = 0.85;
// Runs whose effective clocks spread more than this are flagged.
constexpr double kSteadyClockCv = 5.0;

// Size of each data cache level (the largest kind of the level).
QMap<int, std::uint64_t> levelSizes(const std::vector<platform::CacheLevel>& caches)
{
    QMap<int, std::uint64_t> sizes;
    for (const platform::CacheLevel& cache : platform::DataCaches(caches))
        sizes[cache.level] = std::max(sizes.value(cache.level), cache.sizeBytes);
    return sizes;
}

AllCoreFigure allCore(const bench::AllCoreWindows& windows, std::int32_t referenceCount,
                      std::int32_t referenceScore)
{
    AllCoreFigure figure;
    figure.passes = bench::TotalPasses(windows.threads);
    // As the single-thread score: the division first, in extended precision.
    if (referenceCount > 0 && referenceScore != 0) {
        const long double score =
            static_cast<long double>(figure.passes) / referenceCount * referenceScore;
        figure.score = static_cast<std::int64_t>(std::trunc(score));
    }
    figure.ratio = bench::ScalingRatio(windows);
    return figure;
}

// More threads cannot do more than their number of times one thread's work.
QString scalingFault(const QString& kernel, const AllCoreFigure& figure,
                     const bench::AllCoreWindows& windows)
{
    const double threads = static_cast<double>(windows.threads.size());
    if (!(figure.ratio > threads * (1.0 + kScalingNoise)))
        return {};
    return QStringLiteral("%1 %2 x one thread is beyond %3 threads: the windows did not run "
                          "under the same conditions (one thread had a processor %4 % of the "
                          "time, all threads %5 %)")
        .arg(kernel)
        .arg(figure.ratio, 0, 'f', 2)
        .arg(windows.threads.size())
        .arg(bench::ProcessorShare(bench::Summed(windows.ones)) * 100.0, 0, 'f', 0)
        .arg(bench::ProcessorShare(bench::Summed(windows.alls)) * 100.0, 0, 'f', 0);
}

QString latencyFault(const Insight& insight, int measurements)
{
    QStringList levels;
    for (const LatencyFigure& point : insight.latency)
        levels << QStringLiteral("%1 %2 ns").arg(point.level).arg(point.nanoseconds, 0, 'f', 1);
    return QStringLiteral("the levels came out of order in %1 measurements (last: %2): other "
                          "work disturbed them")
        .arg(measurements)
        .arg(levels.join(QStringLiteral(", ")));
}

ClockFigure meanClock(const std::vector<bench::ThreadWindow>& threads)
{
    ClockFigure mean;
    if (threads.empty())
        return mean;
    for (const bench::ThreadWindow& thread : threads) {
        const ClockFigure one = ClockOf(thread.chain);
        mean.effectiveMHz += one.effectiveMHz / static_cast<double>(threads.size());
        mean.counterMHz += one.counterMHz / static_cast<double>(threads.size());
    }
    return mean;
}

double spreadPercent(const QList<ClockFigure>& clocks)
{
    double mean = 0.0;
    for (const ClockFigure& clock : clocks)
        mean += clock.effectiveMHz / static_cast<double>(clocks.size());
    if (clocks.size() < 2 || !(mean > 0.0))
        return 0.0;
    double squares = 0.0;
    for (const ClockFigure& clock : clocks)
        squares += (clock.effectiveMHz - mean) * (clock.effectiveMHz - mean);
    return std::sqrt(squares / static_cast<double>(clocks.size() - 1)) / mean * 100.0;
}

bool slow(const ClockFigure& clock)
{
    return clock.counterMHz > 0.0 && clock.effectiveMHz < kSlowClockShare * clock.counterMHz;
}

QString slowWarning(const QString& when, const ClockFigure& clock)
{
    return QStringLiteral("%1 the cores ran at %2 MHz, well below the time-stamp counter's %3 "
                          "MHz: power saving or a thermal limit holds them back")
        .arg(when)
        .arg(clock.effectiveMHz, 0, 'f', 0)
        .arg(clock.counterMHz, 0, 'f', 0);
}

QStringList clockWarnings(const Insight& insight)
{
    QStringList warnings;
    const auto lowest = std::min_element(
        insight.runClocks.begin(), insight.runClocks.end(),
        [](const ClockFigure& a, const ClockFigure& b) { return a.effectiveMHz < b.effectiveMHz; });
    if (lowest != insight.runClocks.end() && slow(*lowest))
        warnings << slowWarning(
            QStringLiteral("in run %1").arg(lowest - insight.runClocks.begin() + 1), *lowest);
    if (slow(insight.allCoreClock))
        warnings << slowWarning(QStringLiteral("with every core busy"), insight.allCoreClock);
    const double spread = spreadPercent(insight.runClocks);
    if (spread > kSteadyClockCv)
        warnings << QStringLiteral("the effective clock varies: coefficient of variation %1 % "
                                   "over %2 runs")
                        .arg(spread, 0, 'f', 1)
                        .arg(insight.runClocks.size());
    return warnings;
}

QString memoryLine(const Insight& insight, std::int32_t memoryMiBs)
{
    const double limit = static_cast<double>(insight.streaming.read) / kMiB;
    if (!(limit > 0.0))
        return QStringLiteral("no streaming figure to compare the memory figure with");
    return QStringLiteral("the logged %1 MiB/s (string instructions over a 4 MB block, held in "
                          "%2) is %3 % of this machine's streaming read of %4 MiB/s")
        .arg(memoryMiBs)
        .arg(LevelHolding(4 * kMiB, insight.caches))
        .arg(memoryMiBs / limit * 100.0, 0, 'f', 1)
        .arg(limit, 0, 'f', 0);
}

} // namespace

QString LevelHolding(std::uint64_t bytes, const std::vector<platform::CacheLevel>& caches)
{
    const QMap<int, std::uint64_t> sizes = levelSizes(caches);
    for (auto it = sizes.begin(); it != sizes.end(); ++it) {
        if (bytes <= it.value())
            return QStringLiteral("L%1").arg(it.key());
    }
    return QStringLiteral("DRAM");
}

std::uint64_t SweepTop(const std::vector<platform::CacheLevel>& caches)
{
    std::uint64_t last = 0;
    int lastLevel = 0;
    for (const platform::CacheLevel& cache : platform::DataCaches(caches)) {
        const std::uint64_t all =
            cache.sizeBytes * static_cast<std::uint64_t>(std::max(1, cache.instances));
        if (cache.level > lastLevel || (cache.level == lastLevel && all > last)) {
            lastLevel = cache.level;
            last = all;
        }
    }
    if (last == 0)
        return kUnknownTop;
    const std::uint64_t twice = (2 * last + kMiB - 1) / kMiB * kMiB;
    return std::clamp(twice, kSmallestTop, kLargestTop);
}

std::vector<std::uint64_t> LatencyWorkingSets(const std::vector<platform::CacheLevel>& caches,
                                              std::uint64_t top)
{
    std::vector<std::uint64_t> sets;
    std::uint64_t below = 0;
    for (const std::uint64_t size : levelSizes(caches)) {
        if (size <= below)
            continue; // no room between the two levels
        // Halfway in scale, not in bytes: a random chase over half of a
        // large shared level misses it in part (other cores' lines, the
        // TLB's reach), and the level then reads as slow as the memory.
        const std::uint64_t set =
            below == 0 ? size / 2
                       : static_cast<std::uint64_t>(std::sqrt(static_cast<long double>(below) *
                                                              static_cast<long double>(size)));
        sets.push_back(std::max(kLine, set / kLine * kLine));
        below = size;
    }
    if (top > below)
        sets.push_back(top);
    return sets;
}

ClockFigure ClockOf(const bench::ChainTiming& chain)
{
    return {bench::EffectiveClockMHz(chain), bench::CounterRateMHz(chain)};
}

Insight NotMeasured(const QString& reason)
{
    Insight insight;
    insight.notMeasured = reason;
    return insight;
}

Insight MeasureInsight(const InsightKernels& kernels, const LoggedFigures& logged)
{
    Insight insight;
    const bench::ReferenceMachine& reference = logged.reference;
    const bench::AllCoreWindows cpu = kernels.allCoreCpu();
    const bench::AllCoreWindows fpu = kernels.allCoreFpu();
    insight.threads = static_cast<int>(cpu.threads.size());
    insight.allCoreCpu = allCore(cpu, reference.PIIMultCPU, reference.PIIFreq);
    insight.allCoreFpu = allCore(fpu, reference.PIIMultFPU, reference.PIIFreq);
    QStringList scaling{scalingFault(QStringLiteral("CPU"), insight.allCoreCpu, cpu),
                        scalingFault(QStringLiteral("FPU"), insight.allCoreFpu, fpu)};
    scaling.removeAll(QString());
    if (!scaling.isEmpty())
        insight.unreliable.insert(QStringLiteral("allCore"), scaling.join(QStringLiteral("; ")));
    for (const bench::ChainTiming& chain : logged.runChains)
        insight.runClocks << ClockOf(chain);
    insight.allCoreClock = meanClock(cpu.threads);

    insight.caches = kernels.caches();
    const std::uint64_t top = SweepTop(insight.caches);
    const bench::MemoryContextFigures memory =
        kernels.memoryContext(top, LatencyWorkingSets(insight.caches, top));
    for (const bench::SweepPoint& point : memory.sweep)
        insight.sweep << SweepFigure{point.blockBytes,
                                     LevelHolding(point.blockBytes, insight.caches), point.readRate,
                                     point.writeRate};
    insight.streaming = memory.streaming;
    insight.usedBytes = memory.bufferBytes;
    for (const bench::LatencyPoint& point : memory.latency)
        insight.latency << LatencyFigure{LevelHolding(point.workingSetBytes, insight.caches),
                                         point.workingSetBytes, point.nanoseconds};
    if (!memory.latencyInOrder)
        insight.unreliable.insert(QStringLiteral("latency"),
                                  latencyFault(insight, memory.latencyMeasurements));
    insight.memoryLine = memoryLine(insight, logged.memoryMiBs);
    insight.warnings = clockWarnings(insight);
    if (insight.unreliable.contains(QStringLiteral("allCore")))
        insight.warnings << QStringLiteral("the all-core scaling is not reliable: ") +
                                insight.unreliable.value(QStringLiteral("allCore"));
    if (!memory.latencyInOrder)
        insight.warnings << QStringLiteral("the latency is not given: ") +
                                insight.unreliable.value(QStringLiteral("latency"));
    return insight;
}

} // namespace report
