// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Insight.h"

#include <QJsonArray>

#include <cmath>

namespace report {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;
// The memory page's full test: 1 KB to 4,096 KB.
constexpr int kFullTestSizes = 13;

double tenths(double value)
{
    return std::round(value * 10.0) / 10.0;
}

qint64 mibs(std::int64_t bytesPerSecond)
{
    return static_cast<qint64>(static_cast<double>(bytesPerSecond) / kMiB);
}

QString sizeText(std::uint64_t bytes)
{
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    return QStringLiteral("%1 KB").arg(static_cast<double>(bytes) / 1024.0, 0, 'g', 6);
}

QJsonValue score(const AllCoreFigure& figure)
{
    return figure.score ? QJsonValue(static_cast<qint64>(*figure.score)) : QJsonValue();
}

QJsonObject allCoreJson(const AllCoreFigure& figure)
{
    return {{"passes", static_cast<qint64>(figure.passes)},
            {"score", score(figure)},
            {"ratioToOneThread", std::round(figure.ratio * 100.0) / 100.0}};
}

QJsonObject clockJson(const ClockFigure& clock)
{
    return {{"effectiveMHz", tenths(clock.effectiveMHz)}, {"counterMHz", tenths(clock.counterMHz)}};
}

QJsonArray cachesJson(const std::vector<platform::CacheLevel>& caches)
{
    QJsonArray array;
    for (const platform::CacheLevel& cache : caches)
        array.append(QJsonObject{{"level", cache.level},
                                 {"type", QString::fromStdString(cache.type)},
                                 {"bytes", static_cast<qint64>(cache.sizeBytes)},
                                 {"sharedBy", cache.sharedBy},
                                 {"instances", cache.instances}});
    return array;
}

QJsonArray sweepJson(const QList<SweepFigure>& sweep)
{
    QJsonArray array;
    for (const SweepFigure& point : sweep)
        array.append(QJsonObject{{"blockBytes", static_cast<qint64>(point.blockBytes)},
                                 {"level", point.level},
                                 {"readMiBs", mibs(point.readRate)},
                                 {"writeMiBs", mibs(point.writeRate)}});
    return array;
}

QJsonArray fullTestJson(const Insight& insight)
{
    QJsonArray array;
    for (int i = 0; i < kFullTestSizes; ++i) {
        const std::uint64_t bytes = std::uint64_t{1024} << i;
        array.append(QJsonObject{{"blockBytes", static_cast<qint64>(bytes)},
                                 {"level", LevelHolding(bytes, insight.caches)}});
    }
    return array;
}

// Levels out of order are no measurement: their times are null.
QJsonArray latencyJson(const QList<LatencyFigure>& latency, bool reliable)
{
    QJsonArray array;
    for (const LatencyFigure& point : latency)
        array.append(QJsonObject{
            {"level", point.level},
            {"workingSetBytes", static_cast<qint64>(point.workingSetBytes)},
            {"nanoseconds", reliable ? QJsonValue(tenths(point.nanoseconds)) : QJsonValue()}});
    return array;
}

QJsonObject unreliableJson(const Insight& insight)
{
    QJsonObject object;
    for (auto it = insight.unreliable.cbegin(); it != insight.unreliable.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QString latencyText(const Insight& insight)
{
    const QString fault = insight.unreliable.value(QStringLiteral("latency"));
    if (!fault.isEmpty())
        return QStringLiteral("not given: ") + fault;
    QStringList latency;
    for (const LatencyFigure& point : insight.latency)
        latency << QStringLiteral("%1 %2 ns").arg(point.level).arg(point.nanoseconds, 0, 'f', 1);
    return latency.join(", ");
}

QStringList header()
{
    return {QString(), QStringLiteral("= In context (not part of the log) ====="), QString()};
}

QString allCoreLine(const QString& label, const AllCoreFigure& figure)
{
    const QString scoreText =
        figure.score ? QString::number(*figure.score) : QStringLiteral("no score");
    return QStringLiteral("  %1 : %2 (%3 passes), %4 x one thread")
        .arg(label, scoreText)
        .arg(figure.passes)
        .arg(figure.ratio, 0, 'f', 2);
}

QString clockText(const ClockFigure& clock)
{
    return QStringLiteral("%1 MHz (counter %2 MHz)")
        .arg(clock.effectiveMHz, 0, 'f', 0)
        .arg(clock.counterMHz, 0, 'f', 0);
}

QString cacheText(const platform::CacheLevel& cache)
{
    QString text = QStringLiteral("L%1 %2 %3 x%4")
                       .arg(cache.level)
                       .arg(QString::fromStdString(cache.type).toLower(), sizeText(cache.sizeBytes))
                       .arg(cache.instances);
    if (cache.sharedBy > 1)
        text += QStringLiteral(" (shared by %1)").arg(cache.sharedBy);
    return text;
}

// "1-16 KB in L1, 32-256 KB in L2, ...": runs of block sizes by level.
QString fullTestText(const Insight& insight)
{
    QStringList groups;
    int first = 0;
    for (int i = 1; i <= kFullTestSizes; ++i) {
        const QString level = LevelHolding(std::uint64_t{1024} << first, insight.caches);
        if (i < kFullTestSizes && LevelHolding(std::uint64_t{1024} << i, insight.caches) == level)
            continue;
        const QString range = first == i - 1
                                  ? QString::number(1 << first)
                                  : QStringLiteral("%1-%2").arg(1 << first).arg(1 << (i - 1));
        groups << QStringLiteral("%1 KB in %2").arg(range, level);
        first = i;
    }
    return groups.join(QStringLiteral(", "));
}

} // namespace

QJsonObject InsightJson(const Insight& insight)
{
    if (!insight.notMeasured.isEmpty())
        return {{"notMeasured", insight.notMeasured}};
    QJsonArray runs;
    for (const ClockFigure& clock : insight.runClocks)
        runs.append(clockJson(clock));
    const bench::StreamingRates& streaming = insight.streaming;
    return {
        {"allCore", QJsonObject{{"threads", insight.threads},
                                {"priority", QStringLiteral("normal")},
                                {"cpu", allCoreJson(insight.allCoreCpu)},
                                {"fpu", allCoreJson(insight.allCoreFpu)}}},
        {"clock", QJsonObject{{"runs", runs}, {"allCore", clockJson(insight.allCoreClock)}}},
        {"caches", cachesJson(insight.caches)},
        {"fullTestLevels", fullTestJson(insight)},
        {"sweep", sweepJson(insight.sweep)},
        {"streaming", QJsonObject{{"threads", streaming.threads},
                                  {"bufferBytes", static_cast<qint64>(streaming.bufferBytes)},
                                  {"readMiBs", mibs(streaming.read)},
                                  {"writeMiBs", mibs(streaming.write)},
                                  {"copyMiBs", mibs(streaming.copy)}}},
        {"latency",
         latencyJson(insight.latency, !insight.unreliable.contains(QStringLiteral("latency")))},
        {"memory", insight.memoryLine},
        {"usedBytes", static_cast<qint64>(insight.usedBytes)},
        {"unreliable", unreliableJson(insight)},
    };
}

QStringList InsightText(const Insight& insight)
{
    QStringList lines = header();
    if (!insight.notMeasured.isEmpty())
        return lines << QStringLiteral("Not measured: ") + insight.notMeasured;
    lines
        << QStringLiteral("All cores : %1 threads, pinned, at normal priority").arg(insight.threads)
        << allCoreLine(QStringLiteral("CPU"), insight.allCoreCpu)
        << allCoreLine(QStringLiteral("FPU"), insight.allCoreFpu);
    if (insight.unreliable.contains(QStringLiteral("allCore")))
        lines << QStringLiteral("  not reliable: ") +
                     insight.unreliable.value(QStringLiteral("allCore"));
    for (qsizetype i = 0; i < insight.runClocks.size(); ++i)
        lines << QStringLiteral("Clock     : run %1 %2")
                     .arg(i + 1)
                     .arg(clockText(insight.runClocks[i]));
    lines << QStringLiteral("Clock     : all cores %1").arg(clockText(insight.allCoreClock));
    QStringList caches;
    for (const platform::CacheLevel& cache : insight.caches)
        caches << cacheText(cache);
    lines << QStringLiteral("Caches    : ") +
                 (caches.isEmpty() ? QStringLiteral("not published") : caches.join(", "));
    lines << QStringLiteral("Full test : ") + fullTestText(insight);
    lines << QStringLiteral("Sweep     : block, level, read and write MiB/s (same instructions)");
    for (const SweepFigure& point : insight.sweep)
        lines << QStringLiteral("  %1 %2 %3 %4")
                     .arg(sizeText(point.blockBytes), 8)
                     .arg(point.level, -4)
                     .arg(mibs(point.readRate), 8)
                     .arg(mibs(point.writeRate), 8);
    const bench::StreamingRates& streaming = insight.streaming;
    lines << QStringLiteral("Streaming : read %1, write %2, copy %3 MiB/s (%4 threads, %5)")
                 .arg(mibs(streaming.read))
                 .arg(mibs(streaming.write))
                 .arg(mibs(streaming.copy))
                 .arg(streaming.threads)
                 .arg(sizeText(streaming.bufferBytes));
    lines << QStringLiteral("Latency   : ") + latencyText(insight);
    lines << QStringLiteral("Memory    : ") + insight.memoryLine;
    lines << QStringLiteral("Used      : %1 for the sweep, streaming and latency, one buffer")
                 .arg(sizeText(insight.usedBytes));
    return lines;
}

} // namespace report
