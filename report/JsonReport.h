#pragma once

#include "bench/Scaling.h"
#include "report/AllTests.h"
#include "report/Environment.h"

#include <QJsonDocument>
#include <QJsonObject>
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
    bench::ReferenceMachine reference;
    QList<AllTestsResults> runs; // at least one
    QString videoSkipped;        // why the video test did not run; empty when it ran
    RunEnvironment environment;
    QStringList warnings;
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
