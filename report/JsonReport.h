#pragma once

#include "bench/Scaling.h"
#include "report/AllTests.h"
#include "report/Environment.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QList>
#include <QString>
#include <QStringList>

namespace report {

// Everything the machine-readable report holds. Field names are stable; the
// README lists them.
struct ReportDocument
{
    QString program;
    QString version;
    QDateTime time; // when the run started
    bench::ReferenceMachine reference;
    QList<AllTestsResults> runs; // at least one; after an error the last holds what it reached
    QString videoMethod;         // how the video test filled; empty when it did not run
    RunEnvironment environment;
    QStringList warnings;
    QString error; // why the run stopped; empty when it completed
};

// The version of the document's layout; it grows when a field changes
// meaning or goes away.
inline constexpr int kReportSchemaVersion = 2;

QJsonDocument ReportJson(const ReportDocument& document);

// One figure of the results with its unit and how it is picked from a run.
struct NamedFigure
{
    QString name; // "CPU score", "Drive /home", ...
    QString key;  // its name in AllTestsResults::skipped: "cpu", ..., the drive's entry
    QString unit;
    std::function<std::int32_t(const AllTestsResults&)> pick;
};

// The figures of a run in log order; drives as the first run lists them.
// The pass counts are left out where the scores stand for them.
QList<NamedFigure> Figures(const AllTestsResults& first);

// The values of a figure in the runs that measured it.
QList<std::int32_t> MeasuredRuns(const QList<AllTestsResults>& runs, const NamedFigure& figure);

} // namespace report
