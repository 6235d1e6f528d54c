// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/FullRun.h"

#include "bench/MemoryPage.h"
#include "report/Environment.h"
#include "report/Session.h"

namespace report {
namespace {

void skip(AllTestsResults& results, const RunTest& test, const QString& why)
{
    for (const QString& key : test.keys)
        results.skipped.insert(key, why);
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
    const RunTest test{{QStringLiteral("cpu"), QStringLiteral("fpu")}, QStringLiteral("Processor")};
    if (!view.asks(test))
        return skip(results, test, kNotAskedFor);
    const bool unscored = !MissingReferenceKeys(session.benchState().reference).isEmpty() &&
                          view.countsWithoutReference();
    runTest(view, test, [&] {
        if (unscored)
            session.runProcessorUnscored();
        else
            session.runProcessor();
    });
    const bench::BenchState& state = session.benchState();
    results.processor = unscored
                            ? ProcessorFigures{0, state.LastCpuCount, 0, state.LastFpuCount, false}
                            : ProcessorFigures{session.cpuScore(), state.LastCpuCount,
                                               session.fpuScore(), state.LastFpuCount};
}

// The comparative figure; a page in the full mode runs that first and is
// then shown in the comparative mode, which runs again.
void runMemory(Session& session, FullRunView& view, AllTestsResults& results)
{
    const RunTest test{{QStringLiteral("memory")}, QStringLiteral("Memory")};
    if (!view.asks(test))
        return skip(results, test, kNotAskedFor);
    const bench::MemoryMode mode = view.memoryMode();
    runTest(view, test, [&] { session.runMemory(mode); });
    if (mode != bench::MemoryMode::Comparative) {
        view.showComparativeMode();
        runTest(view, test, [&] { session.runMemory(bench::MemoryMode::Comparative); });
    }
    results.memory = session.memoryResult();
}

void runVideo(Session& session, FullRunView& view, AllTestsResults& results)
{
    const RunTest test{{QStringLiteral("video")}, QStringLiteral("Video")};
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
}

std::int32_t runDrive(Session& session, FullRunView& view, AllTestsResults& results)
{
    const QString entry = session.selectedDriveEntry();
    const RunTest test{{entry}, entry};
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
    session.appendLog(OpeningLines());
    results.overview = session.overview();
    session.appendLog(OverviewLines(results.overview));

    runProcessor(session, view, results);
    session.appendLog(PerformanceHeadingLines());
    const ProcessorFigures& p = results.processor;
    session.appendLog({CpuLine(p.cpuScore, p.cpuPasses), FpuLine(p.fpuScore, p.fpuPasses)});

    runMemory(session, view, results);
    session.appendLog({MemoryLine(results.memory)});
    runVideo(session, view, results);
    session.appendLog({VideoLine(results.video)});

    for (int i = 0; i < session.drives().size(); ++i) {
        session.selectDrive(i);
        view.showDrive(i);
        const DriveFigure drive{session.selectedDriveEntry(), runDrive(session, view, results),
                                session.driveFilesystem(i)};
        results.drives.append(drive);
        session.appendLog({DriveLine(drive.entry, drive.kilobytesPerSecond)});
    }
    session.appendLog(ClosingLines());
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
