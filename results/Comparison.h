// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/SavedResult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace report {

inline constexpr double kDefaultThreshold = 5.0; // percent

// How one figure of a result stands against the first result's.
enum class Verdict
{
    Baseline,       // the first result itself
    Missing,        // one of the two has no such figure
    NotMeasured,    // the test did not run or gave 0 on one side
    NotComparable,  // scores against different reference machines
    OtherMethod,    // measured another way (video filled by the X server or in a backing store)
    OutOfRange,     // too large for the arithmetic: a statistic would overflow
    SpreadUnknown,  // fewer than three runs on a side: no verdict
    WithinNoise,    // the change is no larger than the runs' spread
    Better,         // higher beyond the noise and the threshold
    SlightlyBetter, // higher beyond the noise, within the threshold
    SlightlyWorse,  // lower beyond the noise, within the threshold
    Worse,          // lower beyond the noise and the threshold
};

struct ComparedCell
{
    std::optional<double> median;
    int runs = 0;
    std::optional<double> change; // percent against the first result
    std::optional<double> p;      // of the noise test, where there was one
    Verdict verdict = Verdict::Missing;
};

// One figure across the results, one cell each in the results' order.
struct ComparedFigure
{
    QString name;
    QString unit;
    QList<ComparedCell> cells;
};

struct Comparison
{
    double threshold = kDefaultThreshold;
    QStringList names; // ResultNames of the results
    QList<ComparedFigure> figures;
    QStringList warnings; // comparisons that may be unfair, one sentence each
    bool worse = false;   // some figure got worse beyond the noise and the threshold
};

// Compares every result with the first. All figures are better when higher.
Comparison CompareResults(const QList<SavedResult>& results, double threshold = kDefaultThreshold);

// "within noise", "spread unknown", "worse", ...
QString VerdictText(Verdict verdict);

// A result's short name: its machine and the time of its run,
// "testhost 2026-12-07 15:20"; the file's name where the machine is unknown.
QString ResultName(const SavedResult& result);

// The results' names, told apart: where two are alike both get the
// seconds, then the file's name, then their place in the list.
QStringList ResultNames(const QList<SavedResult>& results);

} // namespace report
