#include "report/JsonReport.h"

#include "report/Statistics.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace report {
namespace {

using Pick = std::function<std::int32_t(const AllTestsResults&)>;

QJsonObject figure(const QList<AllTestsResults>& runs, const QString& unit, const Pick& pick)
{
    const QList<std::int32_t> values = FigureRuns(runs, pick);
    const FigureStatistics stats = Summarise(values);
    QJsonArray each;
    for (const std::int32_t value : values)
        each.append(value);
    return {{"unit", unit},     {"runs", each},     {"median", stats.median},
            {"min", stats.min}, {"max", stats.max}, {"cv", std::round(stats.cv * 100.0) / 100.0}};
}

QJsonObject processorFigure(const QList<AllTestsResults>& runs, const Pick& score,
                            const Pick& passes)
{
    QJsonObject object = figure(runs, QStringLiteral("relative"), score);
    object.insert("passes", figure(runs, QStringLiteral("passes"), passes));
    return object;
}

QJsonObject overview(const OverviewTexts& texts)
{
    return {{"processor", texts.processor},
            {"memory", texts.memory},
            {"video", texts.video},
            {"monitor", texts.monitor},
            {"hdd", texts.hdd},
            {"cdrom", texts.cdrom},
            {"mouse", texts.mouse},
            {"os", texts.os},
            {"computerName", texts.computerName},
            {"userName", texts.userName}};
}

QJsonObject results(const ReportDocument& document)
{
    const QList<AllTestsResults>& runs = document.runs;
    QJsonObject object{
        {"cpu", processorFigure(
                    runs, [](const AllTestsResults& r) { return r.processor.cpuScore; },
                    [](const AllTestsResults& r) { return r.processor.cpuPasses; })},
        {"fpu", processorFigure(
                    runs, [](const AllTestsResults& r) { return r.processor.fpuScore; },
                    [](const AllTestsResults& r) { return r.processor.fpuPasses; })},
        {"memory", figure(runs, "MiB/s", [](const AllTestsResults& r) { return r.memory; })},
    };
    QJsonObject video = figure(runs, "MiB/s", [](const AllTestsResults& r) { return r.video; });
    if (!document.videoSkipped.isEmpty())
        video.insert("skipped", document.videoSkipped);
    object.insert("video", video);

    QJsonArray drives;
    for (qsizetype i = 0; i < runs.front().drives.size(); ++i) {
        QJsonObject drive = figure(runs, "KB/s", [i](const AllTestsResults& r) {
            return r.drives.value(i).kilobytesPerSecond;
        });
        drive.insert("drive", runs.front().drives[i].entry);
        drives.append(drive);
    }
    object.insert("drives", drives);
    return object;
}

QJsonObject environment(const RunEnvironment& environment)
{
    return {{"processor", environment.processor},
            {"hypervisor", environment.hypervisor},
            {"governor", environment.governor ? QJsonValue(*environment.governor) : QJsonValue()},
            {"loadAverage",
             environment.loadAverage ? QJsonValue(*environment.loadAverage) : QJsonValue()},
            {"priority", PriorityName(environment.priority)},
            {"publishedTick", environment.publishedTick}};
}

} // namespace

QJsonDocument ReportJson(const ReportDocument& document)
{
    const bench::ReferenceMachine& reference = document.reference;
    QJsonObject root{
        {"program", document.program},
        {"version", document.version},
        {"schemaVersion", kResultSchemaVersion},
        {"time", document.time.toUTC().toString(Qt::ISODate)},
        {"runs", document.runs.size()},
        {"overview", overview(document.runs.front().overview)},
        {"reference", QJsonObject{{"PIIMultCPU", reference.PIIMultCPU},
                                  {"PIIMultFPU", reference.PIIMultFPU},
                                  {"PIIFreq", reference.PIIFreq}}},
        {"results", results(document)},
        {"environment", environment(document.environment)},
        {"warnings", QJsonArray::fromStringList(document.warnings)},
    };
    if (!document.insight.isEmpty()) {
        root.insert("insight", document.insight);
        QJsonObject environment = root.value("environment").toObject();
        environment.insert("allCorePriority", QStringLiteral("normal"));
        root.insert("environment", environment);
    }
    return QJsonDocument(root);
}

QList<NamedFigure> Figures(const AllTestsResults& first)
{
    QList<NamedFigure> figures{
        {"CPU score", "relative", [](const AllTestsResults& r) { return r.processor.cpuScore; }},
        {"CPU passes", "passes", [](const AllTestsResults& r) { return r.processor.cpuPasses; }},
        {"FPU score", "relative", [](const AllTestsResults& r) { return r.processor.fpuScore; }},
        {"FPU passes", "passes", [](const AllTestsResults& r) { return r.processor.fpuPasses; }},
        {"Memory", "MiB/s", [](const AllTestsResults& r) { return r.memory; }},
        {"Video", "MiB/s", [](const AllTestsResults& r) { return r.video; }},
    };
    for (qsizetype i = 0; i < first.drives.size(); ++i)
        figures.append({first.drives[i].entry, "KB/s", [i](const AllTestsResults& r) {
                            return r.drives.value(i).kilobytesPerSecond;
                        }});
    return figures;
}

} // namespace report
