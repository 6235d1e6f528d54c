// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/PlotSeries.h"
#include "results/SavedResult.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace report {

// Saved results read for the history, oldest first, and why the files that
// could not be read were left out.
struct History
{
    QList<SavedResult> results;
    QStringList unreadable; // one message a file
};

// Reads `files`; a file named twice is read once.
History LoadHistory(const QStringList& files);
// Adds `files` to `history`, in time order; files it holds already are left out.
void AddToHistory(History& history, const QStringList& files);

// One plot a figure, in the order the results first name them: each result
// that measured it is a point. Pass counts are left out where their score
// has a value in the same result.
QList<PlotSeries> HistorySeries(const QList<SavedResult>& results);

// A row of the table beneath the plots.
struct HistoryRow
{
    QString time;     // "2026-12-07 15:20:31" (UTC)
    QString version;  // of the program that measured
    QString warnings; // the conditions that held, "; " between them
    QString file;     // the file's name
};
HistoryRow HistoryRowOf(const SavedResult& result);

// The verdicts of two results as the comparison of saved results prints
// them, the older one first and so the baseline.
QStringList HistoryVerdicts(const SavedResult& first, const SavedResult& second);

// What the history window says where there is nothing to plot.
inline const QString kNoHistory =
    QStringLiteral("No results kept yet: run All tests, then File \u2192 Keep results");

} // namespace report
