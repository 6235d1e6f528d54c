// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/FullRun.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace report {

// One figure of the results: its name in warnings and comparisons, its key,
// its unit and where a run holds it. The key finds it in
// AllTestsResults::skipped; a score and its pass counts share one, the counts
// nested in the score.
struct NamedFigure
{
    QString name; // "CPU score", "Drive /home", ...
    FigureKey key;
    QString unit;
    std::int32_t ProcessorFigures::*processorField = nullptr;
    std::int32_t AllTestsResults::*resultsField = nullptr;
    qsizetype drive = -1;

    // The figure in `run`; 0 for a drive the run does not list.
    std::int32_t pick(const AllTestsResults& run) const;
    void set(AllTestsResults& run, std::int32_t value) const;
    bool isScore() const;
    bool isPassCount() const;
};

// The figures of the processor, memory and video tests in log order.
const QList<NamedFigure>& TestFigures();
// Those tests in the same order.
QList<TestId> FigureTests();
// The speed of drive `index` of a run, which lists it as `drive`.
NamedFigure DriveSpeed(qsizetype index, const DriveFigure& drive);

// Every figure of a run; drives as the first run lists them.
QList<NamedFigure> AllFigures(const AllTestsResults& first);
// The same without the pass counts where the scores stand for them, or
// without the scores where there was nothing to score against.
QList<NamedFigure> Figures(const AllTestsResults& first);

// The values of a figure in the runs that measured it.
QList<std::int32_t> MeasuredRuns(const QList<AllTestsResults>& runs, const NamedFigure& figure);

} // namespace report
