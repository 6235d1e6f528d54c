// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/FullRun.h"

#include "bench/MemoryPage.h"
#include "session/Environment.h"
#include "session/Session.h"

namespace report {
namespace {

void skip(AllTestsResults& results, const RunTest& test, const QString& why)
{
    for (const FigureKey& key : test.keys)
        results.skipped.insert(key, why);
}

// The refresh of a page that measures tests of the table.
RunTest pageTest(TestPage page)
{
    RunTest test{page, {}, {}};
    for (const TestId id : PageTests(page)) {
        test.keys << FigureKey{id};
        test.name = Test(id).label;
    }
    return test;
}

// Runs `measure` inside the view's frame for `test`.
template <typename Measure> void runTest(FullRunView& view, const RunTest& test, Measure measure)
{
    view.testBegins(test);
    measure();
    view.testEnded(test);
}

void runProcessor(Session& session, FullRunView& view, AllTestsResults& results)
{
    const RunTest test = pageTest(TestPage::Processor);
    if (!view.asks(test))
        return skip(results, test, kNotAskedFor);
    const bool unscored =
        !MissingReferenceKeys(session.reference()).isEmpty() && view.countsWithoutReference();
    runTest(view, test, [&] {
        if (unscored)
            session.runProcessorUnscored();
        else
            session.runProcessor();
    });
    const bench::ProcessorResult r = session.results().processor.value_or(bench::ProcessorResult{});
    results.processor = unscored
                            ? ProcessorFigures{0, r.cpuPasses, 0, r.fpuPasses, false}
                            : ProcessorFigures{r.cpuScore, r.cpuPasses, r.fpuScore, r.fpuPasses};
}

// The comparative figure; in the full mode the full test runs first, then
// the mode turns comparative and that test runs again.
void runMemory(Session& session, FullRunView& view, AllTestsResults& results)
{
    const RunTest test = pageTest(TestPage::Memory);
    if (!view.asks(test))
        return skip(results, test, kNotAskedFor);
    runTest(view, test, [&] { session.runMemory(); });
    if (session.memoryMode() != bench::MemoryMode::Comparative) {
        session.setMemoryMode(bench::MemoryMode::Comparative);
        runTest(view, test, [&] { session.runMemory(); });
    }
    results.memory = session.memoryResult();
}

void runVideo(Session& session, FullRunView& view, AllTestsResults& results)
{
    const RunTest test = pageTest(TestPage::Video);
    if (!view.asks(test))
        return skip(results, test, kNotAskedFor);
    bench::TestSurface* surface = view.testSurface();
    if (surface == nullptr) {
        session.showVideoRows();
        skip(results, test, view.noSurfaceReason());
    } else {
        runTest(view, test, [&] { session.runVideo(*surface); });
    }
    results.video = session.videoResult();
    results.videoBackingStore = session.videoFromBackingStore();
}

std::int32_t runDrive(Session& session, FullRunView& view, AllTestsResults& results)
{
    const QString entry = session.selectedDriveEntry();
    const RunTest test{
        TestPage::Drive, {{TestId::Disk, session.mountPoint(session.selectedDrive())}}, entry};
    if (!view.asks(test)) {
        skip(results, test, kNotAskedFor);
        return 0;
    }
    const QString unmeasured = session.driveSkipReason();
    runTest(view, test, [&] { session.runDrive(); });
    if (!unmeasured.isEmpty())
        skip(results, test, unmeasured);
    return session.driveResult();
}

// Writes the lines of the log that `reached` adds to what the session holds.
void logReached(Session& session, const AllTestsResults& results, RunStage reached)
{
    session.appendLog(ComposeLog(results, reached).mid(session.log().size()));
}

} // namespace

AllTestsResults RunAllTests(Session& session, FullRunView& view)
{
    AllTestsResults results;
    RunAllTests(session, view, results);
    return results;
}

void RunAllTests(Session& session, FullRunView& view, AllTestsResults& results)
{
    session.clearLog();
    view.logCleared();
    results.overview = session.overview();
    logReached(session, results, RunStage::Overview);

    runProcessor(session, view, results);
    logReached(session, results, RunStage::Processor);
    runMemory(session, view, results);
    logReached(session, results, RunStage::Memory);
    runVideo(session, view, results);
    logReached(session, results, RunStage::Video);

    for (int i = 0; i < session.drives().size(); ++i) {
        session.selectDrive(i);
        view.showDrive(i);
        const DriveFigure drive{session.selectedDriveEntry(), runDrive(session, view, results),
                                session.driveFilesystem(i), session.mountPoint(i)};
        results.drives.append(drive);
        logReached(session, results, RunStage::Drives);
    }
    logReached(session, results, RunStage::Closed);
}

QStringList ComposeLog(const AllTestsResults& results, RunStage reached)
{
    QStringList lines = OpeningLines() + OverviewLines(results.overview);
    if (reached >= RunStage::Processor) {
        const ProcessorFigures& p = results.processor;
        lines << PerformanceHeadingLines() << CpuLine(p.cpuScore, p.cpuPasses)
              << FpuLine(p.fpuScore, p.fpuPasses);
    }
    if (reached >= RunStage::Memory)
        lines << MemoryLine(results.memory);
    if (reached >= RunStage::Video)
        lines << VideoLine(results.video, results.videoBackingStore);
    if (reached >= RunStage::Drives)
        for (const DriveFigure& drive : results.drives)
            lines << DriveLine(drive.entry, drive.kilobytesPerSecond);
    if (reached >= RunStage::Closed)
        lines << ClosingLines();
    return lines;
}

} // namespace report
