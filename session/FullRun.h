// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/ResultsLog.h"
#include "session/Tests.h"
#include "sysinfo/Overview.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace bench {
class TestSurface;
} // namespace bench

namespace report {

class Session;

// What the processor page leaves behind: the scores of its two own bars and
// the pass counts of the same refresh.
struct ProcessorFigures
{
    std::int32_t cpuScore = 0;
    std::int32_t cpuPasses = 0;
    std::int32_t fpuScore = 0;
    std::int32_t fpuPasses = 0;
    bool scored = true; // false: no reference machine to score against, the scores are 0

    bool operator==(const ProcessorFigures&) const = default;
};

struct DriveFigure
{
    QString entry; // the drive list's text, "Drive <name>"
    std::int32_t kilobytesPerSecond = 0;
    QString filesystem{};    // its type, "ext4"; empty when unknown
    QByteArray mountPoint{}; // what the run knows it by: entries may repeat

    bool operator==(const DriveFigure&) const = default;
};

// What a figure is measured by: a test, and for the disk test the drive's
// mount point.
struct FigureKey
{
    TestId test;
    QByteArray mountPoint{};

    bool operator==(const FigureKey&) const = default;
    friend bool operator<(const FigureKey& a, const FigureKey& b)
    {
        return a.test != b.test ? a.test < b.test : a.mountPoint < b.mountPoint;
    }
};

// Everything one run logs.
struct AllTestsResults
{
    sysinfo::OverviewFields overview;
    ProcessorFigures processor;
    std::int32_t memory = 0; // MiB/s, comparative test
    std::int32_t video = 0;  // MiB/s
    QList<DriveFigure> drives;
    // Figures that were not measured, with why. They log as 0.
    QMap<FigureKey, QString> skipped;
    // The video figure was filled into a backing store: not comparable.
    bool videoBackingStore = false;

    bool operator==(const AllTestsResults&) const = default;
};

// One page refresh of the run: the figures it measures and the name it is
// announced by.
struct RunTest
{
    TestPage page;
    QList<FigureKey> keys;
    QString name; // "Processor", "Memory", "Video", the drive's entry
};

// What the run asks of whoever shows it: the main window (its busy frame,
// drive list and test surface) or the report without one.
class FullRunView
{
public:
    virtual ~FullRunView() = default;

    // After the log is cleared (the window lets it be painted).
    virtual void logCleared() {}
    // Whether the run measures `test`; the report may leave tests out.
    virtual bool asks(const RunTest& /*test*/) const { return true; }
    // Around each test that runs: the window's busy frame. A test that fails
    // leaves it open, as a failed page refresh does.
    virtual void testBegins(const RunTest& test) = 0;
    virtual void testEnded(const RunTest& /*test*/) {}
    // Where the base.ini has no reference machine: count the passes anyway,
    // against a neutral one (the report), or let the page fail (the window).
    virtual bool countsWithoutReference() const { return false; }
    // The drive list shows entry `index`, without raising its change event.
    virtual void showDrive(int /*index*/) {}
    // Where the video test draws. Null where it cannot run (the video chart
    // then shows its rows with the own bar at 0, and `noSurfaceReason` says
    // why); the window raises the error of a missing surface instead.
    virtual bench::TestSurface* testSurface() = 0;
    virtual QString noSurfaceReason() const { return {}; }
};

// The all-tests run on the session's pages: clears the log, logs the
// overview as it stands, then each page's result in a fixed order
// (processor, memory in comparative mode, video, every drive), 23 lines plus
// one per drive. Whatever the session's memory mode was, the log holds the
// comparative figure and the mode is left comparative. A test the view does
// not ask for logs 0, and so does a drive the test cannot write to.
//
// An error in a test ends the run there: the lines so far stay, the closing
// line is not written, and the error propagates; `results` then holds the
// figures measured so far.
void RunAllTests(Session& session, FullRunView& view, AllTestsResults& results);
AllTestsResults RunAllTests(Session& session, FullRunView& view);

// How far a run has come: the overview, each test in its order, every
// drive in `drives` so far, the closing lines.
enum class RunStage
{
    Overview,
    Processor,
    Memory,
    Video,
    Drives,
    Closed,
};

// The results log, line for line, as far as a run with these results has
// reached: the one composer of the log. The run writes it as it goes (each
// stage appends what it adds); the report prints it for the medians of its
// runs.
QStringList ComposeLog(const AllTestsResults& results, RunStage reached = RunStage::Closed);

// Why a test was not asked for, in `skipped`.
inline const QString kNotAskedFor = QStringLiteral("not asked for (--tests, --drive)");

} // namespace report
