#pragma once

#include "bench/Scaling.h"
#include "report/AllTests.h"
#include "report/Environment.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace report {

inline const QString kProgramName = QStringLiteral("Quorvix 2000");
// Raised when a member changes meaning or goes away; readers refuse newer
// documents. 2: `schemaVersion` and `time` added.
inline constexpr int kResultSchemaVersion = 2;

// Everything the machine-readable report holds. Field names are stable; the
// README lists them.
struct ReportDocument
{
    QString program;
    QString version;
    bench::ReferenceMachine reference;
    QList<AllTestsResults> runs; // at least one
    QString videoSkipped;        // why the video test did not run; empty when it ran
    RunEnvironment environment;
    QStringList warnings;
    QDateTime time;      // when the run started; UTC
    QJsonObject insight; // empty when the report left the context out
};

QJsonDocument ReportJson(const ReportDocument& document);

// One figure of the results with its unit and how it is picked from a run.
struct NamedFigure
{
    QString name; // "CPU score", "Drive /home", ...
    QString unit;
    std::function<std::int32_t(const AllTestsResults&)> pick;
};

// The figures of a run in log order; drives as the first run lists them.
QList<NamedFigure> Figures(const AllTestsResults& first);

} // namespace report
