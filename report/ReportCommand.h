// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/CommandLine.h"
#include "report/HeadlessView.h"
#include "report/Insight.h"
#include "session/Environment.h"
#include "session/Session.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace report {

// Exit status of the command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitTestFailed = 1;
inline constexpr int kExitBadCommandLine = 2;

// What a report run needs from outside: the database, what the session
// probes and runs, where the video test draws, where the environment is
// read, and the two output streams.
struct ReportSetup
{
    QString databasePath;
    MachineProbes probes;
    SessionKernels kernels;
    ReportSurface surface;
    EnvironmentSources environment;
    QIODevice* out = nullptr; // the results: log, JSON or rows
    QIODevice* err = nullptr; // progress, warnings and errors
    bool errIsTerminal = false;
    QString resultsDirectory;         // where --save keeps results; empty: the user's
    std::function<QDateTime()> clock; // the time of the run; empty: now
    // What puts the figures in context; none: the report leaves it out.
    std::optional<InsightKernels> insight;
};

// The report: runs all tests `options.repeat` times through the same run as
// the window's "All tests" (overview refreshed first), then prints the log
// with each figure's median, the JSON document or the base.ini rows, and
// saves the log to `options.output` when given. With `options.save` the JSON
// document is kept among the saved results and its path printed on `err`.
// Progress and warnings go to `err` only when it is a terminal or --verbose
// is given; errors always. Returns 0, or 1 when a test failed (its message on
// `err`, the log so far on `out`), the database could not be read, or the
// output or the saved result could not be written.
int RunReport(const ReportOptions& options, ReportSetup& setup);

// The answers that run no test: help and version on `out` (status 0), a
// command-line error with the usage on `err` (status 2), and the comparison
// of saved results (statuses of RunCompare).
int AnswerCommandLine(const CommandLine& line, QIODevice& out, QIODevice& err);

} // namespace report
