#include "report/AllTests.h"

namespace report {
namespace {

void appendAll(LogSink& log, const QStringList& lines)
{
    for (const QString& line : lines)
        log.append(line);
}

} // namespace

AllTestsResults RunAllTests(AllTestsSteps& steps, LogSink& log)
{
    AllTestsResults results;
    RunAllTests(steps, log, results);
    return results;
}

void RunAllTests(AllTestsSteps& steps, LogSink& log, AllTestsResults& results)
{
    log.clear();
    log.processPendingEvents();
    appendAll(log, OpeningLines());
    results.overview = steps.overviewTexts();
    appendAll(log, OverviewLines(results.overview));

    results.processor = steps.runProcessor();
    appendAll(log, PerformanceHeadingLines());
    log.append(CpuLine(results.processor.cpuScore, results.processor.cpuPasses));
    log.append(FpuLine(results.processor.fpuScore, results.processor.fpuPasses));

    // Whatever mode the page was in, the log holds the comparative figure and
    // the page is left in that mode; the test runs twice only when the page
    // was in the full mode.
    steps.runMemory();
    if (!steps.comparativeModeSelected())
        steps.selectComparativeMode();
    results.memory = steps.memoryResult();
    log.append(MemoryLine(results.memory));

    results.video = steps.runVideo();
    log.append(VideoLine(results.video));

    const QStringList entries = steps.driveEntries();
    for (int i = 0; i < entries.size(); ++i) {
        const QString entry = steps.selectDrive(i);
        const std::int32_t rate = steps.runDisk();
        results.drives.append({entry, rate});
        log.append(DriveLine(entry, rate));
    }

    appendAll(log, ClosingLines());
}

QStringList ComposeLog(const AllTestsResults& results)
{
    QStringList lines =
        OpeningLines() + OverviewLines(results.overview) + PerformanceHeadingLines();
    const ProcessorFigures& p = results.processor;
    lines << CpuLine(p.cpuScore, p.cpuPasses) << FpuLine(p.fpuScore, p.fpuPasses)
          << MemoryLine(results.memory) << VideoLine(results.video);
    for (const DriveFigure& drive : results.drives)
        lines << DriveLine(drive.entry, drive.kilobytesPerSecond);
    return lines + ClosingLines();
}

} // namespace report
