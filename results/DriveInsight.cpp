// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/DriveInsight.h"

#include "bench/BenchError.h"
#include "platform/DiskDirectory.h"
#include "results/SavedResult.h"

#include <QFile>

#include <cmath>

namespace report {
namespace {

double tenths(double value)
{
    return std::round(value * 10.0) / 10.0;
}

QJsonValue text(const std::string& value)
{
    return value.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(value));
}

QJsonObject deviceJson(const std::optional<platform::BlockDevice>& device)
{
    if (!device)
        return {};
    const auto link = device->interfaceBytesPerSecond;
    return {{"name", QString::fromStdString(device->name)},
            {"model", text(device->model)},
            {"rotational", device->rotational ? QJsonValue(*device->rotational) : QJsonValue()},
            {"linkMBs", link ? QJsonValue(static_cast<qint64>(*link / 1'000'000)) : QJsonValue()}};
}

QJsonObject figureJson(const bench::DriveJobFigure& figure)
{
    const platform::IoJob job = bench::JobOf(figure.job, 0, 0);
    QJsonObject object{{"blockBytes", static_cast<qint64>(job.blockBytes)},
                       {"depth", job.depth},
                       {"write", job.write},
                       {"random", job.random},
                       {"fdatasync", job.syncEach}};
    const bool reliable = figure.contradiction.empty();
    const auto value = [reliable](double number) {
        return reliable ? QJsonValue(tenths(number)) : QJsonValue();
    };
    object.insert("mibs", value(figure.mibs));
    object.insert("iops", value(figure.iops));
    object.insert("meanLatencyUs", value(figure.meanUs));
    object.insert("medianLatencyUs", value(figure.medianUs));
    object.insert("p99LatencyUs", value(figure.p99Us));
    QJsonArray slices;
    for (const double iops : figure.sliceIops)
        slices.append(reliable ? QJsonValue(tenths(iops)) : QJsonValue());
    object.insert("sliceIops", slices);
    return object;
}

QJsonObject driveJson(const DriveInsight& drive)
{
    const bench::DriveContextFigures& figures = drive.figures;
    QJsonObject object{{"mountPoint", QString::fromUtf8(drive.mountPoint)},
                       {"device", deviceJson(figures.device)},
                       {"skipped", text(figures.skipped)}};
    if (!figures.skipped.empty())
        return object;
    QJsonObject jobs;
    QJsonObject unreliable;
    for (const bench::DriveJobFigure& figure : figures.jobs) {
        const QString key = QString::fromStdString(bench::JobKey(figure.job));
        jobs.insert(key, figureJson(figure));
        if (!figure.contradiction.empty())
            unreliable.insert(key, QString::fromStdString(figure.contradiction));
    }
    object.insert("directory", QString::fromStdString(figures.directory));
    object.insert("scratchBytes", static_cast<qint64>(figures.scratchBytes));
    object.insert("windowSeconds", figures.windowSeconds);
    object.insert("direct", figures.direct);
    object.insert("cached", text(figures.cached));
    object.insert("submission", QString::fromStdString(figures.submission));
    object.insert("fallback", text(figures.fallback));
    object.insert("figures", jobs);
    object.insert("unreliable", unreliable);
    return object;
}

QString deviceText(const std::optional<platform::BlockDevice>& device)
{
    if (!device)
        return QStringLiteral("no block device");
    QString line = QString::fromStdString(device->name);
    if (!device->model.empty())
        line += QStringLiteral(" (%1)").arg(QString::fromStdString(device->model));
    if (device->rotational)
        line += *device->rotational ? QStringLiteral(", rotational")
                                    : QStringLiteral(", not rotational");
    return line;
}

QString figureLine(const bench::DriveJobFigure& figure)
{
    const QString name = QString::fromStdString(bench::JobName(figure.job));
    if (!figure.contradiction.empty())
        return QStringLiteral("  %1: not given: %2")
            .arg(name, QString::fromStdString(figure.contradiction));
    if (figure.job == bench::DriveJob::SyncWrite)
        return QStringLiteral("  %1: median %2 us, 99 % %3 us (%4 a second)")
            .arg(name)
            .arg(figure.medianUs, 0, 'f', 0)
            .arg(figure.p99Us, 0, 'f', 0)
            .arg(figure.iops, 0, 'f', 0);
    return QStringLiteral("  %1: %2 MiB/s, %3 IOPS, latency mean %4 us, 99 % %5 us")
        .arg(name, -30)
        .arg(figure.mibs, 0, 'f', 1)
        .arg(figure.iops, 0, 'f', 0)
        .arg(figure.meanUs, 0, 'f', 0)
        .arg(figure.p99Us, 0, 'f', 0);
}

QStringList driveLines(const DriveInsight& drive)
{
    const bench::DriveContextFigures& figures = drive.figures;
    QStringList lines{QStringLiteral("Drive %1 : %2")
                          .arg(QString::fromUtf8(drive.mountPoint), deviceText(figures.device))};
    if (!figures.skipped.empty())
        return lines << QStringLiteral("  not measured: ") +
                            QString::fromStdString(figures.skipped);
    lines << QStringLiteral("  %1 MiB scratch file in %2, %3, depth 32 through %4, %5 s a figure")
                 .arg(figures.scratchBytes >> 20)
                 .arg(QString::fromStdString(figures.directory))
                 .arg(figures.direct ? QStringLiteral("direct I/O")
                                     : QString::fromStdString(figures.cached))
                 .arg(QString::fromStdString(figures.submission))
                 .arg(figures.windowSeconds);
    if (!figures.fallback.empty())
        lines << QStringLiteral("  threads, not io_uring: ") +
                     QString::fromStdString(figures.fallback);
    for (const bench::DriveJobFigure& figure : figures.jobs)
        lines << figureLine(figure);
    return lines;
}

} // namespace

DriveContextKernel RealDriveContext()
{
    return [](const std::string& mountPoint) {
        const auto directory = platform::DiskTestDirectory(mountPoint);
        if (!directory) {
            bench::DriveContextFigures figures;
            figures.device = platform::BlockDeviceHolding(mountPoint);
            figures.skipped = "no directory on the drive where the user may write";
            return figures;
        }
        return bench::MeasureDriveContext(*directory);
    };
}

QList<DriveInsight> MeasureDriveInsights(const DriveContextKernel& kernel,
                                         const QList<QByteArray>& mountPoints)
{
    QList<DriveInsight> drives;
    for (const QByteArray& mountPoint : mountPoints) {
        DriveInsight drive{mountPoint, {}};
        try {
            drive.figures = kernel(mountPoint.toStdString());
        } catch (const std::exception& error) {
            drive.figures = {};
            drive.figures.skipped = error.what();
        }
        drives << drive;
    }
    return drives;
}

QJsonArray DriveInsightJson(const QList<DriveInsight>& drives)
{
    QJsonArray array;
    for (const DriveInsight& drive : drives)
        array.append(driveJson(drive));
    return array;
}

QStringList DriveInsightText(const QList<DriveInsight>& drives)
{
    QStringList lines;
    for (const DriveInsight& drive : drives)
        lines << driveLines(drive);
    return lines;
}

QStringList DriveInsightWarnings(const QList<DriveInsight>& drives)
{
    QStringList warnings;
    for (const DriveInsight& drive : drives) {
        const QString name =
            QStringLiteral("drive %1 in context: ").arg(QString::fromUtf8(drive.mountPoint));
        const bench::DriveContextFigures& figures = drive.figures;
        if (!figures.skipped.empty())
            warnings << name + QStringLiteral("not measured: ") +
                            QString::fromStdString(figures.skipped);
        if (!figures.fallback.empty())
            warnings << name + QString::fromStdString(figures.fallback) +
                            QStringLiteral("; depth 32 ran on threads");
        for (const bench::DriveJobFigure& figure : figures.jobs) {
            if (!figure.contradiction.empty())
                warnings << name + QString::fromStdString(bench::JobName(figure.job)) +
                                QStringLiteral(" not given: ") +
                                QString::fromStdString(figure.contradiction);
        }
    }
    return warnings;
}

QList<SavedFigure> DriveInsightFigures(const QJsonObject& insight)
{
    QList<SavedFigure> saved;
    for (const QJsonValue& drive : insight.value("drives").toArray()) {
        const QString mountPoint = drive.toObject().value("mountPoint").toString();
        const QJsonObject figures = drive.toObject().value("figures").toObject();
        for (const bench::DriveJob job : bench::kDriveJobs) {
            const QJsonObject figure =
                figures.value(QString::fromStdString(bench::JobKey(job))).toObject();
            if (!figure.value("iops").isDouble())
                continue;
            // One window, not runs: its fifths follow each other under the same
            // conditions and would make any difference between two reports look
            // significant.
            saved << SavedFigure{QStringLiteral("Drive %1 %2")
                                     .arg(mountPoint, QString::fromStdString(bench::JobName(job))),
                                 QStringLiteral("IOPS"),
                                 {},
                                 figure.value("iops").toDouble(),
                                 false,
                                 {}};
        }
    }
    return saved;
}

} // namespace report
