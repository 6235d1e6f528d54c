// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/CompareCommand.h"

#include "results/ComparisonOutput.h"
#include "results/ResultStore.h"
#include "results/SavedResult.h"

#include <QIODevice>

namespace report {

QStringList ResolveResults(const QStringList& names, const QStringList& kept,
                           const QString& directory)
{
    QStringList files;
    for (const QString& name : names) {
        const int back = name == QLatin1String("last")       ? 1
                         : name == QLatin1String("previous") ? 2
                                                             : 0;
        if (back == 0) {
            files << name;
            continue;
        }
        if (kept.size() < back)
            throw ResultFileError(QStringLiteral("'%1' needs %2 saved result%3 in %4, and it holds "
                                                 "%5 (save one with --report --save)")
                                      .arg(name)
                                      .arg(back)
                                      .arg(back == 1 ? "" : "s")
                                      .arg(directory)
                                      .arg(kept.size()));
        files << kept[kept.size() - back];
    }
    return files;
}

int RunCompare(const CompareOptions& options, const QString& resultsDirectory, QIODevice& out,
               QIODevice& err)
{
    QList<SavedResult> results;
    try {
        const QStringList files =
            ResolveResults(options.results, KeptResults(resultsDirectory), resultsDirectory);
        for (const QString& file : files)
            results << LoadSavedResult(file);
    } catch (const ResultFileError& error) {
        err.write(QByteArray(error.what()) + '\n');
        return kExitUnusableResult;
    }
    const Comparison comparison = CompareResults(results, options.threshold);
    if (options.json) {
        out.write(ComparisonJson(results, comparison).toJson());
    } else {
        for (const QString& line : ComparisonLines(results, comparison))
            out.write(line.toUtf8() + '\n');
    }
    return comparison.worse ? kExitGotWorse : 0;
}

} // namespace report
