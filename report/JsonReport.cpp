#include "report/JsonReport.h"

#include "report/Statistics.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace report {
namespace {

QJsonValue orNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

// A figure over the runs that measured it; null when none did.
QJsonValue figure(const QList<AllTestsResults>& runs, const NamedFigure& named)
{
    const QList<std::int32_t> values = MeasuredRuns(runs, named);
    if (values.isEmpty())
        return QJsonValue();
    const FigureStatistics stats = Summarise(values);
    QJsonArray each;
    for (const std::int32_t value : values)
        each.append(value);
    return QJsonObject{{"unit", named.unit},     {"runs", each},
                       {"median", stats.median}, {"min", stats.min},
                       {"max", stats.max},       {"cv", std::round(stats.cv * 100.0) / 100.0}};
}

// The processor page's score with its pass counts: null when the page did
// not run; the score's members null when there was nothing to score against.
QJsonValue processorFigure(const QList<AllTestsResults>& runs, const NamedFigure& score,
                           const NamedFigure& passes)
{
    const QJsonValue counts = figure(runs, passes);
    if (counts.isNull())
        return QJsonValue();
    QJsonValue scored = figure(runs, score);
    QJsonObject object =
        scored.isNull()
            ? QJsonObject{{"unit", score.unit},  {"runs", QJsonValue()}, {"median", QJsonValue()},
                          {"min", QJsonValue()}, {"max", QJsonValue()},  {"cv", QJsonValue()}}
            : scored.toObject();
    object.insert("passes", counts);
    return object;
}

// Why a figure that no run measured was left out; empty when one did.
QString skipReason(const QList<AllTestsResults>& runs, const QString& key)
{
    QString reason;
    for (const AllTestsResults& run : runs) {
        if (!run.skipped.contains(key))
            return {};
        if (reason.isEmpty())
            reason = run.skipped.value(key);
    }
    return reason;
}

NamedFigure named(const QString& name, const QString& key, const QString& unit,
                  std::function<std::int32_t(const AllTestsResults&)> pick)
{
    return {name, key, unit, std::move(pick)};
}

NamedFigure cpuScore()
{
    return named("CPU score", "cpu", "relative",
                 [](const AllTestsResults& r) { return r.processor.cpuScore; });
}
NamedFigure cpuPasses()
{
    return named("CPU passes", "cpu", "passes",
                 [](const AllTestsResults& r) { return r.processor.cpuPasses; });
}
NamedFigure fpuScore()
{
    return named("FPU score", "fpu", "relative",
                 [](const AllTestsResults& r) { return r.processor.fpuScore; });
}
NamedFigure fpuPasses()
{
    return named("FPU passes", "fpu", "passes",
                 [](const AllTestsResults& r) { return r.processor.fpuPasses; });
}
NamedFigure memory()
{
    return named("Memory", "memory", "MiB/s", [](const AllTestsResults& r) { return r.memory; });
}
NamedFigure video()
{
    return named("Video", "video", "MiB/s", [](const AllTestsResults& r) { return r.video; });
}
// Drive figures are in 1,024-byte units: KiB/s (the log writes "KB/sec").
NamedFigure drive(qsizetype index, const QString& entry)
{
    return named(entry, entry, "KiB/s", [index](const AllTestsResults& r) {
        return r.drives.value(index).kilobytesPerSecond;
    });
}

QJsonObject overview(const sysinfo::OverviewFields& texts)
{
    return {{"processor", texts.processor},
            {"memory", texts.memory},
            {"video", texts.display},
            {"monitor", texts.monitor},
            {"hdd", texts.hdd},
            {"cdrom", texts.cdrom},
            {"mouse", texts.mouse},
            {"os", texts.os.value_or(QString())},
            {"computerName", texts.computerName},
            {"userName", texts.userName}};
}

QJsonObject results(const ReportDocument& document)
{
    const QList<AllTestsResults>& runs = document.runs;
    QJsonObject object{
        {"cpu", processorFigure(runs, cpuScore(), cpuPasses())},
        {"fpu", processorFigure(runs, fpuScore(), fpuPasses())},
        {"memory", figure(runs, memory())},
    };
    QJsonValue videoFigure = figure(runs, video());
    if (videoFigure.isObject()) {
        QJsonObject withMethod = videoFigure.toObject();
        withMethod.insert("method", orNull(document.videoMethod));
        videoFigure = withMethod;
    }
    object.insert("video", videoFigure);

    QJsonObject skipped;
    for (const QString key : {"cpu", "fpu", "memory", "video"}) {
        const QString reason = skipReason(runs, key);
        if (!reason.isEmpty())
            skipped.insert(key, reason);
    }
    QJsonArray drives;
    for (qsizetype i = 0; i < runs.front().drives.size(); ++i) {
        const QString entry = runs.front().drives[i].entry;
        const QJsonValue measured = figure(runs, drive(i, entry));
        QJsonObject item = measured.isObject() ? measured.toObject() : QJsonObject{};
        item.insert("drive", entry);
        if (!measured.isObject())
            item.insert("skipped", skipReason(runs, entry));
        drives.append(item);
    }
    object.insert("drives", drives);
    object.insert("skipped", skipped);
    return object;
}

// The tests that measured something, by the names --tests takes.
QJsonArray testsRun(const QList<AllTestsResults>& runs)
{
    QJsonArray names;
    for (const NamedFigure& page : {cpuPasses(), fpuPasses(), memory(), video()})
        if (!MeasuredRuns(runs, page).isEmpty())
            names.append(page.key);
    for (qsizetype i = 0; i < runs.front().drives.size(); ++i)
        if (!MeasuredRuns(runs, drive(i, runs.front().drives[i].entry)).isEmpty()) {
            names.append(QStringLiteral("disk"));
            break;
        }
    return names;
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
        {"schemaVersion", kResultSchemaVersion},
        {"program", document.program},
        {"version", document.version},
        {"time", document.time.toUTC().toString(Qt::ISODate)},
        {"runs", document.runs.size()},
        {"tests", testsRun(document.runs)},
        {"overview", overview(document.runs.front().overview)},
        {"reference", QJsonObject{{"PIIMultCPU", reference.PIIMultCPU},
                                  {"PIIMultFPU", reference.PIIMultFPU},
                                  {"PIIFreq", reference.PIIFreq}}},
        {"results", results(document)},
        {"environment", environment(document.environment)},
        {"warnings", QJsonArray::fromStringList(document.warnings)},
        {"error", orNull(document.error)},
    };
    if (!document.insight.isEmpty()) {
        root.insert("insight", document.insight);
        QJsonObject environment = root.value("environment").toObject();
        environment.insert("allCorePriority", QStringLiteral("normal"));
        root.insert("environment", environment);
    }
    return QJsonDocument(root);
}

QJsonDocument ErrorJson(const QString& message)
{
    return QJsonDocument(QJsonObject{{"schemaVersion", kResultSchemaVersion}, {"error", message}});
}

QList<NamedFigure> Figures(const AllTestsResults& first)
{
    QList<NamedFigure> figures;
    if (first.processor.scored)
        figures << cpuScore() << fpuScore();
    else
        figures << cpuPasses() << fpuPasses();
    figures << memory() << video();
    for (qsizetype i = 0; i < first.drives.size(); ++i)
        figures << drive(i, first.drives[i].entry);
    return figures;
}

QList<std::int32_t> MeasuredRuns(const QList<AllTestsResults>& runs, const NamedFigure& figure)
{
    QList<std::int32_t> values;
    for (const AllTestsResults& run : runs) {
        const bool unscored = figure.unit == QLatin1String("relative") && !run.processor.scored;
        if (!run.skipped.contains(figure.key) && !unscored)
            values << figure.pick(run);
    }
    return values;
}

} // namespace report
