#pragma once

#include "report/ResultsLog.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace report {

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

    bool operator==(const DriveFigure&) const = default;
};

// Everything one run logs.
struct AllTestsResults
{
    OverviewTexts overview;
    ProcessorFigures processor;
    std::int32_t memory = 0; // MiB/s, comparative test
    std::int32_t video = 0;  // MiB/s
    QList<DriveFigure> drives;
    // Figures that were not measured, with why: "cpu", "fpu", "memory",
    // "video", or a drive's entry. They log as 0.
    QMap<QString, QString> skipped;

    bool operator==(const AllTestsResults&) const = default;
};

// The pages the run drives. The main window implements them with its page
// handlers and controls; a run without a window with charts in memory. Each
// run step returns when its chart holds the new result; errors propagate.
class AllTestsSteps
{
public:
    virtual ~AllTestsSteps() = default;

    // The ten overview texts as they stand (not refreshed).
    virtual OverviewTexts overviewTexts() = 0;
    // The processor refresh; then its two own bars and pass counts.
    virtual ProcessorFigures runProcessor() = 0;
    // The memory refresh in the mode the page has selected.
    virtual void runMemory() = 0;
    virtual bool comparativeModeSelected() = 0;
    // Selects the comparative mode, which runs the comparative test.
    virtual void selectComparativeMode() = 0;
    // Bar 0 of the memory chart.
    virtual std::int32_t memoryResult() = 0;
    // The video refresh with its measurement; then bar 0 of the video chart.
    virtual std::int32_t runVideo() = 0;
    // The entries of the drive list, in order.
    virtual QStringList driveEntries() = 0;
    // Selects entry `index` without raising the list's change event and
    // returns the list's text.
    virtual QString selectDrive(int index) = 0;
    // The disk refresh for the selected drive; then bar 0 of the disk chart.
    virtual std::int32_t runDisk() = 0;
};

// Where the log goes: the window's text field, or lines kept in memory.
class LogSink
{
public:
    virtual ~LogSink() = default;
    virtual void clear() = 0;
    virtual void append(const QString& line) = 0;
    // One pass over pending window events, so the cleared log is painted.
    virtual void processPendingEvents() = 0;
};

// The all-tests run: clears the log, then logs the overview as it stands and
// each page's result in a fixed order (processor, memory in comparative mode,
// video, every drive), 23 lines plus one per drive. An error in a step ends
// the run there: the lines so far stay, the closing line is not written, and
// the error propagates.
AllTestsResults RunAllTests(AllTestsSteps& steps, LogSink& log);
// The same, filling `results` as it goes: after an error it holds the
// figures measured so far.
void RunAllTests(AllTestsSteps& steps, LogSink& log, AllTestsResults& results);

// The log a run with these results writes, line for line.
QStringList ComposeLog(const AllTestsResults& results);

// A sink that keeps the lines, for runs without a window.
class MemoryLog : public LogSink
{
public:
    void clear() override { lines.clear(); }
    void append(const QString& line) override { lines << line; }
    void processPendingEvents() override {}

    QStringList lines{InitialLogText};
};

} // namespace report
