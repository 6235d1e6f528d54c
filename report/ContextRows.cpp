// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ContextRows.h"

#include "session/Session.h"

#include <algorithm>

namespace report {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

double share(double value, double most)
{
    return most > 0 ? std::clamp(value / most, 0.0, 1.0) : 0.0;
}

QString rate(std::int64_t bytesPerSecond)
{
    return QStringLiteral("%1 MiB/s").arg(qint64(double(bytesPerSecond) / kMiB));
}

QString size(std::uint64_t bytes)
{
    return bytes >= 1024 * 1024 ? QStringLiteral("%1 MB").arg(double(bytes) / kMiB, 0, 'g', 4)
                                : QStringLiteral("%1 KB").arg(double(bytes) / 1024, 0, 'g', 4);
}

// All cores against one: a bar of the ratio against the threads, the most
// the cores can give.
void allCores(const Insight& insight, QList<ContextRow>& rows)
{
    const auto row = [&](const QString& name, const AllCoreFigure& figure) {
        const QString score =
            figure.score ? QString::number(*figure.score) : QStringLiteral("no score");
        rows.append({QStringLiteral("All cores"),
                     QStringLiteral("%1, %2 threads").arg(name).arg(insight.threads),
                     QStringLiteral("%1 (%2 passes), %3 x one thread")
                         .arg(score)
                         .arg(figure.passes)
                         .arg(figure.ratio, 0, 'f', 2),
                     share(figure.ratio, insight.threads)});
    };
    row(QStringLiteral("CPU"), insight.allCoreCpu);
    row(QStringLiteral("FPU"), insight.allCoreFpu);
}

void clock(const Insight& insight, QList<ContextRow>& rows)
{
    const ClockFigure& clock = insight.allCoreClock;
    const double most = std::max(clock.effectiveMHz, clock.counterMHz);
    const auto mhz = [](double value) { return QStringLiteral("%1 MHz").arg(value, 0, 'f', 0); };
    rows.append({QStringLiteral("Clock"), QStringLiteral("Effective, all cores"),
                 mhz(clock.effectiveMHz), share(clock.effectiveMHz, most)});
    rows.append({QStringLiteral("Clock"), QStringLiteral("Counter rate"), mhz(clock.counterMHz),
                 share(clock.counterMHz, most)});
}

void latency(const Insight& insight, QList<ContextRow>& rows)
{
    const QString fault = insight.unreliable.value(QStringLiteral("latency"));
    if (!fault.isEmpty()) {
        rows.append({QStringLiteral("Latency"), QStringLiteral("Not given"), fault, -1});
        return;
    }
    double most = 0;
    for (const LatencyFigure& point : insight.latency)
        most = std::max(most, point.nanoseconds);
    for (const LatencyFigure& point : insight.latency)
        rows.append({QStringLiteral("Latency"),
                     QStringLiteral("%1, %2").arg(point.level, size(point.workingSetBytes)),
                     QStringLiteral("%1 ns").arg(point.nanoseconds, 0, 'f', 1),
                     share(point.nanoseconds, most)});
}

// The sweep's reads and the streaming rates on one scale.
void bandwidth(const Insight& insight, QList<ContextRow>& rows)
{
    const bench::StreamingRates& streaming = insight.streaming;
    double most = double(std::max({streaming.read, streaming.write, streaming.copy}));
    for (const SweepFigure& point : insight.sweep)
        most = std::max(most, double(point.readRate));
    const QString group = QStringLiteral("Bandwidth");
    for (const SweepFigure& point : insight.sweep)
        rows.append({group, QStringLiteral("Read %1, %2").arg(size(point.blockBytes), point.level),
                     rate(point.readRate), share(double(point.readRate), most)});
    const QString threads = QStringLiteral(", %1 threads").arg(streaming.threads);
    rows.append({group, QStringLiteral("Streaming read") + threads, rate(streaming.read),
                 share(double(streaming.read), most)});
    rows.append({group, QStringLiteral("Streaming write") + threads, rate(streaming.write),
                 share(double(streaming.write), most)});
    rows.append({group, QStringLiteral("Streaming copy") + threads, rate(streaming.copy),
                 share(double(streaming.copy), most)});
}

} // namespace

Insight MeasureWindowContext(const InsightKernels& kernels, const Session& session)
{
    const LoggedFigures logged{session.reference(), session.memoryResult(), {}};
    Insight insight = MeasureInsight(kernels, logged);
    if (session.memoryResult() <= 0 && insight.notMeasured.isEmpty())
        insight.memoryLine =
            QStringLiteral("no memory figure yet to put beside the streaming read: run the "
                           "memory page first");
    return insight;
}

QList<ContextRow> ContextRows(const Insight& insight)
{
    if (!insight.notMeasured.isEmpty())
        return {{QStringLiteral("Not measured"), insight.notMeasured, {}, -1}};
    QList<ContextRow> rows;
    allCores(insight, rows);
    clock(insight, rows);
    latency(insight, rows);
    bandwidth(insight, rows);
    return rows;
}

} // namespace report
