#pragma once

#include "BenchmarkPages.h"
#include "report/HeadlessSteps.h"

#include <QString>

class QIODevice;

#include <memory>

// The report's page work done by the benchmark pages the window uses, with
// the overview and drive listing of this machine. `videoSkipped`, when not
// empty, leaves the video test out and says why.
report::ReportPages ReportPagesFor(std::shared_ptr<BenchmarkPages> pages,
                                   const QString& videoSkipped = QString());

// Why the video test cannot run here (no display to show its surface on);
// empty when it can.
QString VideoSkippedReason();

// `--version --verbose`: the version, then where the program finds its
// database and help document (see DescribeLocations).
int AnswerVersionVerbose(QIODevice& out);

// The command line of the program: help, version, usage errors, and the
// report run without the window. Returns the exit status.
int RunCommandLine(int argc, char** argv, const QStringList& arguments);
