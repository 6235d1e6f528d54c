// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/FullRun.h"
#include "session/ResultFigures.h"

#include <QList>

#include <cstdint>

namespace report {

// One figure over the runs of a repeated report.
struct FigureStatistics
{
    std::int32_t median = 0; // the middle run; the mean of the two middle ones, truncated
    std::int32_t min = 0;
    std::int32_t max = 0;
    double cv = 0; // coefficient of variation in percent: sample deviation / mean; 0 for one run
};

// Needs at least one run.
FigureStatistics Summarise(const QList<std::int32_t>& runs);

// The results of several runs of the same machine with each figure at its
// median; the overview texts and drive entries of the first run.
AllTestsResults MedianResults(const QList<AllTestsResults>& runs);

// One figure of every run, measured or not.
QList<std::int32_t> FigureRuns(const QList<AllTestsResults>& runs, const NamedFigure& figure);

} // namespace report
