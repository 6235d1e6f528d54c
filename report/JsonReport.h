// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ReferenceMachine.h"
#include "report/Environment.h"
#include "report/FullRun.h"
#include "report/ResultFigures.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace report {

inline const QString kProgramName = QStringLiteral("Quorvix 2000");
// Raised when a member changes meaning or goes away; readers refuse newer
// documents. 2: `schemaVersion`, `time`, `tests` and `error` added, skipped
// figures null.
inline constexpr int kResultSchemaVersion = 2;

// Everything the machine-readable report holds. Field names are stable; the
// README lists them.
struct ReportDocument
{
    QString program;
    QString version;
    QDateTime time; // when the run started
    bench::ReferenceMachine reference;
    QList<AllTestsResults> runs; // after an error the last holds what it reached; none when
                                 // the run stopped before its first test
    QString videoMethod;         // how the video test filled; empty when it did not run
    RunEnvironment environment;
    QStringList warnings;
    QString error;          // why the run stopped; empty when it completed
    QJsonObject insight;    // empty when the report left the context out
    bool anonymous = false; // private names left out
};

// Every document has the same members; without runs the overview is null,
// no test ran and every figure is null.
QJsonDocument ReportJson(const ReportDocument& document);

// The document of a run that failed before it knew anything of the machine:
// the members of every document, `time`, `reference` and `environment` null.
QJsonDocument ErrorJson(const QString& message, bool anonymous = false);

} // namespace report
