// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/DriveInsight.h"

#include "bench/BenchError.h"
#include "platform/DiskDirectory.h"
#include "results/SavedResult.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One job over the runs: the medians of the runs that measured it.
bench::DriveJobFigure medianFigure(bench::DriveJob job,
                                   const std::vector<const bench::DriveJobFigure*>& runs)
{
    bench::DriveJobFigure figure;
    figure.job = job;
    std::vector<double> mibs, mean, middle, p99;
    for (const bench::DriveJobFigure* run : runs) {
        if (!run->contradiction.empty()) {
            if (figure.contradiction.empty())
                figure.contradiction = run->contradiction;
            continue;
        }
        mibs.push_back(run->mibs);
        figure.runIops.push_back(run->iops);
        mean.push_back(run->meanUs);
        middle.push_back(run->medianUs);
        p99.push_back(run->p99Us);
    }
    if (!figure.contradiction.empty()) {
        figure.runIops.clear();
        return figure;
    }
    figure.mibs = median(mibs);
    figure.iops = median(figure.runIops);
    figure.meanUs = median(mean);
    figure.medianUs = median(middle);
    figure.p99Us = median(p99);
    if (runs.size() == 1)
        figure.sliceIops = runs.front()->sliceIops;
    return figure;
}

// One drive over the runs that measured it; the last one's setting.
DriveInsight medianDrive(const QList<const DriveInsight*>& runs)
{
    QList<const DriveInsight*> measured;
    for (const DriveInsight* run : runs)
        if (run->figures.skipped.empty())
            measured << run;
    if (measured.isEmpty())
        return *runs.last();
    DriveInsight drive = *measured.last();
    drive.figures.jobs.clear();
    for (const bench::DriveJob job : bench::kDriveJobs) {
        std::vector<const bench::DriveJobFigure*> figures;
        for (const DriveInsight* run : measured)
            for (const bench::DriveJobFigure& figure : run->figures.jobs)
                if (figure.job == job)
                    figures.push_back(&figure);
        if (!figures.empty())
            drive.figures.jobs.push_back(medianFigure(job, figures));
    }
    return drive;
}

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
    const auto values = [&](const std::vector<double>& numbers) {
        QJsonArray array;
        for (const double number : numbers)
            array.append(value(number));
        return array;
    };
    object.insert("sliceIops", values(figure.sliceIops));
    object.insert("runIops", values(figure.runIops));
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
    std::size_t runs = 0;
    for (const bench::DriveJobFigure& figure : figures.jobs)
        runs = std::max(runs, figure.runIops.size());
    if (runs > 1)
        lines.last() += QStringLiteral(", the median of %1 runs").arg(runs);
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

QList<DriveInsight> MedianDriveInsights(const QList<QList<DriveInsight>>& runs)
{
    QList<QByteArray> mountPoints;
    for (const QList<DriveInsight>& run : runs)
        for (const DriveInsight& drive : run)
            if (!mountPoints.contains(drive.mountPoint))
                mountPoints << drive.mountPoint;
    QList<DriveInsight> drives;
    for (const QByteArray& mountPoint : mountPoints) {
        QList<const DriveInsight*> measured;
        for (const QList<DriveInsight>& run : runs)
            for (const DriveInsight& drive : run)
                if (drive.mountPoint == mountPoint)
                    measured << &drive;
        drives << medianDrive(measured);
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
            // The runs' IOPS, not the fifths of one window: those follow each
            // other under the same conditions and would make any difference
            // between two reports look significant.
            QList<double> runs;
            for (const QJsonValue& run : figure.value("runIops").toArray())
                if (run.isDouble())
                    runs << run.toDouble();
            saved << SavedFigure{QStringLiteral("Drive %1 %2")
                                     .arg(mountPoint, QString::fromStdString(bench::JobName(job))),
                                 QStringLiteral("IOPS"),
                                 runs,
                                 figure.value("iops").toDouble(),
                                 false,
                                 {}};
        }
    }
    return saved;
}

} // namespace report
