// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/CommandLine.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace report {

// Exit status of --compare besides 0 (nothing got worse).
inline constexpr int kExitUnusableResult = 2; // a result missing, broken or foreign
inline constexpr int kExitGotWorse = 3;

// The files `names` stand for: "last" and "previous" are the newest and the
// one before it of `kept` (oldest first); anything else is a file name.
// Raises ResultFileError when too few are kept.
QStringList ResolveResults(const QStringList& names, const QStringList& kept,
                           const QString& directory);

// Reads the results, compares each with the first and prints the table (or
// the JSON) on `out`. Returns 0, kExitGotWorse when a figure got worse beyond
// the noise and the threshold, or kExitUnusableResult with the reason on
// `err`.
int RunCompare(const CompareOptions& options, const QString& resultsDirectory, QIODevice& out,
               QIODevice& err);

} // namespace report
