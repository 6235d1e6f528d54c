// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/JsonReport.h"

#include "report/CommandLine.h"
#include "report/Statistics.h"
#include "report/Tests.h"

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
QString skipReason(const QList<AllTestsResults>& runs, const FigureKey& key)
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

// The figures the table lists under a test's key: a score with its pass
// counts nested in it, or one figure.
QJsonValue testFigure(const QList<AllTestsResults>& runs, const FigureKey& key)
{
    const NamedFigure* main = nullptr;
    const NamedFigure* passes = nullptr;
    for (const NamedFigure& named : TestFigures())
        if (named.key == key)
            (named.isPassCount() ? passes : main) = &named;
    return passes != nullptr ? processorFigure(runs, *main, *passes) : figure(runs, *main);
}

bool measuredAny(const QList<AllTestsResults>& runs, const FigureKey& key)
{
    for (const NamedFigure& named : TestFigures())
        if (named.key == key && !MeasuredRuns(runs, named).isEmpty())
            return true;
    return false;
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

// The results of a run that stopped before its first test: every figure
// null, for the reason a failed run gives what it did not reach.
QJsonObject noResults()
{
    QJsonObject object;
    QJsonObject skipped;
    for (const TestEntry& test : Tests()) {
        if (test.page == TestPage::Drive)
            continue;
        object.insert(test.jsonKey, QJsonValue());
        skipped.insert(test.jsonKey, QStringLiteral("not reached: the run stopped at the error"));
    }
    object.insert(Test(TestId::Disk).jsonKey, QJsonArray());
    object.insert("skipped", skipped);
    return object;
}

QJsonObject results(const ReportDocument& document)
{
    const QList<AllTestsResults>& runs = document.runs;
    if (runs.isEmpty())
        return noResults();
    QJsonObject object;
    QJsonObject skipped;
    for (const TestEntry& test : Tests()) {
        if (test.page == TestPage::Drive)
            continue;
        object.insert(test.jsonKey, testFigure(runs, {test.id}));
        const QString reason = skipReason(runs, {test.id});
        if (!reason.isEmpty())
            skipped.insert(test.jsonKey, reason);
    }
    const QString videoKey = Test(TestId::Video).jsonKey;
    if (const QJsonValue videoFigure = object.value(videoKey); videoFigure.isObject()) {
        QJsonObject withMethod = videoFigure.toObject();
        withMethod.insert("method", orNull(document.videoMethod));
        object.insert(videoKey, withMethod);
    }

    QJsonArray drives;
    for (qsizetype i = 0; i < runs.front().drives.size(); ++i) {
        const QString entry = runs.front().drives[i].entry;
        const NamedFigure speed = DriveSpeed(i, runs.front().drives[i]);
        const QJsonValue measured = figure(runs, speed);
        QJsonObject item = measured.isObject() ? measured.toObject() : QJsonObject{};
        item.insert("drive", entry);
        if (!runs.front().drives[i].filesystem.isEmpty())
            item.insert("filesystem", runs.front().drives[i].filesystem);
        if (!measured.isObject())
            item.insert("skipped", skipReason(runs, speed.key));
        drives.append(item);
    }
    object.insert(Test(TestId::Disk).jsonKey, drives);
    object.insert("skipped", skipped);
    return object;
}

// The tests that measured something, by the names --tests takes.
QJsonArray testsRun(const QList<AllTestsResults>& runs)
{
    QJsonArray names;
    if (runs.isEmpty())
        return names;
    for (const TestId id : FigureTests())
        if (measuredAny(runs, {id}))
            names.append(TestName(id));
    for (qsizetype i = 0; i < runs.front().drives.size(); ++i)
        if (!MeasuredRuns(runs, DriveSpeed(i, runs.front().drives[i])).isEmpty()) {
            names.append(TestName(TestId::Disk));
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
        {"overview", document.runs.isEmpty()
                         ? QJsonValue()
                         : QJsonValue(overview(document.runs.front().overview))},
        {"reference", QJsonObject{{"PIIMultCPU", reference.PIIMultCPU},
                                  {"PIIMultFPU", reference.PIIMultFPU},
                                  {"PIIFreq", reference.PIIFreq}}},
        {"results", results(document)},
        {"environment", environment(document.environment)},
        {"warnings", QJsonArray::fromStringList(document.warnings)},
        {"error", orNull(document.error)},
        {"anonymous", document.anonymous},
    };
    if (!document.insight.isEmpty()) {
        root.insert("insight", document.insight);
        QJsonObject environment = root.value("environment").toObject();
        environment.insert("allCorePriority", QStringLiteral("normal"));
        root.insert("environment", environment);
    }
    return QJsonDocument(root);
}

QJsonDocument ErrorJson(const QString& message, bool anonymous)
{
    ReportDocument document;
    document.anonymous = anonymous;
    document.program = kProgramName;
    document.version = ProgramVersion();
    document.error = message;
    QJsonObject root = ReportJson(document).object();
    // Nothing was read: no start, no reference machine, no environment.
    for (const char* member : {"time", "reference", "environment"})
        root.insert(QLatin1String(member), QJsonValue());
    return QJsonDocument(root);
}

} // namespace report
