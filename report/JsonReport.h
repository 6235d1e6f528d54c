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
    QList<AllTestsResults> runs; // at least one; after an error the last holds what it reached
    QString videoMethod;         // how the video test filled; empty when it did not run
    RunEnvironment environment;
    QStringList warnings;
    QString error;       // why the run stopped; empty when it completed
    QJsonObject insight; // empty when the report left the context out
};

QJsonDocument ReportJson(const ReportDocument& document);

// The document of a run that failed before it measured anything.
QJsonDocument ErrorJson(const QString& message);

} // namespace report
