// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/CommandLine.h"
#include "report/HeadlessView.h"

#include <QString>
#include <QStringList>

class QIODevice;

// The report's test surface: a test surface window made when the video test
// first runs and kept for the whole run. `videoSkipped`, when not empty,
// leaves the video test out and says why.
report::ReportSurface MakeReportSurface(const QString& videoSkipped = QString());

// Why the video test cannot run here (no display to show its surface on);
// empty when it can.
QString VideoSkippedReason();

// `--version --verbose`: the version, then where the program finds its
// database and help document (see DescribeLocations).
int AnswerVersionVerbose(QIODevice& out);

// --add-reference into the database named on the command line, else the
// one the window uses.
int AddReferences(const report::AddReferenceOptions& options, QIODevice& out, QIODevice& err);

// The command line of the program: help, version, usage errors, and the
// report run without the window, whose application object gets the Qt
// options of `line`. Returns the exit status.
int RunCommandLine(const char* program, const report::CommandLine& line);
