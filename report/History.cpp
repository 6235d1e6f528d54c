// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/History.h"

#include "results/Comparison.h"
#include "results/ComparisonOutput.h"
#include "session/ResultFigures.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace report {
namespace {

QString canonical(const QString& file)
{
    const QString path = QFileInfo(file).canonicalFilePath();
    return path.isEmpty() ? QFileInfo(file).absoluteFilePath() : path;
}

// The pass counts whose score has a value in `result`.
QSet<QString> countsStoodFor(const SavedResult& result)
{
    QSet<QString> counts;
    const QList<NamedFigure>& named = TestFigures();
    for (const NamedFigure& count : named) {
        if (!count.isPassCount())
            continue;
        for (const NamedFigure& score : named)
            if (score.isScore() && score.key == count.key && result.figure(score.name) != nullptr)
                counts.insert(count.name);
    }
    return counts;
}

PlotPoint pointOf(const SavedResult& result, const SavedFigure& figure)
{
    PlotPoint point{result.time.toMSecsSinceEpoch(), *figure.median, *figure.median,
                    *figure.median};
    for (const double run : figure.runs) {
        point.low = std::min(point.low, run);
        point.high = std::max(point.high, run);
    }
    return point;
}

} // namespace

History LoadHistory(const QStringList& files)
{
    History history;
    AddToHistory(history, files);
    return history;
}

void AddToHistory(History& history, const QStringList& files)
{
    QSet<QString> held;
    for (const SavedResult& result : history.results)
        held.insert(canonical(result.source));
    for (const QString& file : files) {
        if (held.contains(canonical(file)))
            continue;
        held.insert(canonical(file));
        try {
            history.results << LoadSavedResult(file);
        } catch (const ResultFileError& error) {
            history.unreadable << QString::fromUtf8(error.what());
        }
    }
    std::stable_sort(history.results.begin(), history.results.end(),
                     [](const SavedResult& a, const SavedResult& b) { return a.time < b.time; });
}

QList<PlotSeries> HistorySeries(const QList<SavedResult>& results)
{
    QList<PlotSeries> series;
    QHash<QString, qsizetype> byName;
    for (const SavedResult& result : results) {
        if (!result.time.isValid())
            continue;
        const QSet<QString> left = countsStoodFor(result);
        for (const SavedFigure& figure : result.figures) {
            if (figure.skipped || !figure.median || *figure.median <= 0 ||
                left.contains(figure.name))
                continue;
            if (!byName.contains(figure.name)) {
                byName.insert(figure.name, series.size());
                series.append({figure.name, figure.unit, {}});
            }
            series[byName.value(figure.name)].points << pointOf(result, figure);
        }
    }
    return series;
}

HistoryRow HistoryRowOf(const SavedResult& result)
{
    QStringList held;
    for (const auto& [condition, holds] : result.conditions)
        if (holds)
            held << condition;
    return {result.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), result.version,
            held.join(QStringLiteral("; ")), QFileInfo(result.source).fileName()};
}

QStringList HistoryVerdicts(const SavedResult& first, const SavedResult& second)
{
    QList<SavedResult> pair{first, second};
    if (second.time < first.time)
        std::swap(pair[0], pair[1]);
    return ComparisonLines(pair, CompareResults(pair));
}

} // namespace report
