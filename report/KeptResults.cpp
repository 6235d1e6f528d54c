// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/KeptResults.h"

#include "platform/Priority.h"
#include "report/CommandLine.h"
#include "report/HeadlessView.h"
#include "report/JsonReport.h"
#include "results/ResultStore.h"
#include "session/Session.h"

namespace report {
namespace {

void measured(AllTestsResults& run, TestId test)
{
    run.skipped.remove(FigureKey{test});
}

// A refresh that failed before its kernel measured holds 0: not a figure.
void takeProcessor(const PageResults& pages, AllTestsResults& run)
{
    if (!pages.processor || pages.processor->cpuPasses <= 0 || pages.processor->fpuPasses <= 0)
        return;
    const bench::ProcessorResult& p = *pages.processor;
    run.processor = {p.cpuScore, p.cpuPasses, p.fpuScore, p.fpuPasses,
                     p.cpuScore > 0 && p.fpuScore > 0};
    measured(run, TestId::Cpu);
    measured(run, TestId::Fpu);
}

void takeDrive(const Session& session, AllTestsResults& run)
{
    const int index = session.selectedDrive();
    if (index < 0 || session.results().drive.value_or(0) <= 0)
        return;
    const DriveFigure figure{session.selectedDriveEntry(), *session.results().drive,
                             session.driveFilesystem(index), session.mountPoint(index)};
    run.skipped.remove(FigureKey{TestId::Disk, figure.mountPoint});
    for (DriveFigure& drive : run.drives)
        if (drive.mountPoint == figure.mountPoint) {
            drive = figure;
            return;
        }
    run.drives.append(figure);
}

void skipUnmeasured(AllTestsResults& run, const PageResults& pages, bool fromRun)
{
    if (fromRun)
        return;
    const auto skip = [&](TestId test) {
        run.skipped.insert(FigureKey{test}, kNotMeasuredInWindow);
    };
    if (run.processor.cpuPasses <= 0) {
        skip(TestId::Cpu);
        skip(TestId::Fpu);
    }
    if (run.memory <= 0)
        skip(TestId::Memory);
    if (pages.video.value_or(0) <= 0)
        skip(TestId::Video);
}

} // namespace

AllTestsResults LatestResults(const Session& session, const std::optional<AllTestsResults>& lastRun)
{
    AllTestsResults run = lastRun.value_or(AllTestsResults{});
    run.overview = session.overview();
    const PageResults& pages = session.results();
    takeProcessor(pages, run);
    if (pages.memory.value_or(0) > 0) {
        run.memory = *pages.memory;
        measured(run, TestId::Memory);
    }
    if (pages.video.value_or(0) > 0) {
        run.video = *pages.video;
        run.videoBackingStore = pages.videoBackingStore;
        measured(run, TestId::Video);
    }
    takeDrive(session, run);
    skipUnmeasured(run, pages, lastRun.has_value());
    return run;
}

bool HasMeasured(const AllTestsResults& run)
{
    for (const NamedFigure& figure : AllFigures(run))
        if (!MeasuredRuns({run}, figure).isEmpty() && figure.pick(run) > 0)
            return true;
    return false;
}

KeptEnvironment ReadKeptEnvironment(const EnvironmentSources& sources)
{
    KeptEnvironment kept{ReadEnvironment(sources), {}};
    kept.environment.priority = ReadObtainedPriority(sources);
    kept.warnings = EnvironmentWarnings(kept.environment);
    const QString priority =
        PriorityWarning(kept.environment.priority, platform::LastRealTimeLimited());
    if (!priority.isEmpty())
        kept.warnings << priority;
    return kept;
}

QByteArray KeptResultJson(const Session& session, const AllTestsResults& run, const QDateTime& time,
                          const KeptEnvironment& kept)
{
    const bool video = !run.skipped.contains(FigureKey{TestId::Video});
    const QString method = !video                  ? QString()
                           : run.videoBackingStore ? kVideoMethodBackingStore
                                                   : kVideoMethodX11;
    const ReportDocument document{kProgramName,
                                  ProgramVersion(),
                                  time,
                                  session.reference(),
                                  {run},
                                  method,
                                  kept.environment,
                                  kept.warnings,
                                  {},
                                  {}};
    return ReportJson(document).toJson();
}

QString KeepResults(const QString& directory, const Session& session, const AllTestsResults& run,
                    const QDateTime& time, const KeptEnvironment& kept)
{
    return SaveResult(directory, time, KeptResultJson(session, run, time, kept));
}

} // namespace report
