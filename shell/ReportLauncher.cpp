// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportLauncher.h"

#include "Application.h"
#include "ApplicationStart.h"
#include "DisplayPlan.h"
#include "Locations.h"
#include "QtArguments.h"
#include "QtMessages.h"
#include "Unit2.h"
#include "VideoSurface.h"

#include "platform/Terminal.h"
#include "report/AddReference.h"
#include "report/CommandLine.h"
#include "report/ReportCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <utility>

namespace {

class SurfaceWindow
{
public:
    bench::TestSurface& get()
    {
        if (!m_surface) {
            m_window = std::make_unique<TForm2>();
            m_surface = std::make_unique<VideoSurface>(*m_window);
        }
        return *m_surface;
    }
    bool fillsThroughX11() const { return m_surface && m_surface->FillsThroughX11(); }

private:
    std::unique_ptr<TForm2> m_window;
    std::unique_ptr<VideoSurface> m_surface;
};

} // namespace

report::ReportSurface MakeReportSurface(const QString& videoSkipped)
{
    report::ReportSurface surface;
    surface.unavailable = videoSkipped;
    if (!videoSkipped.isEmpty())
        return surface;
    // Made when the video test first runs: the application object exists by then.
    auto window = std::make_shared<SurfaceWindow>();
    surface.surface = [window] { return &window->get(); };
    surface.method = [window] {
        return window->fillsThroughX11() ? report::kVideoMethodX11
                                         : report::kVideoMethodBackingStore;
    };
    return surface;
}

QString VideoSkippedReason()
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QString();
    return QStringLiteral("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
}

int AnswerVersionVerbose(QIODevice& out)
{
    // The name gives the configuration directory, as in the window.
    QCoreApplication::setApplicationName(QStringLiteral("quorvix"));
    QStringList lines{report::VersionText()};
    lines << DescribeLocations(CurrentProgramDirs(), QDir::currentPath());
    out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return report::kExitOk;
}

int AddReferences(const report::AddReferenceOptions& options, QIODevice& out, QIODevice& err)
{
    // The name gives the configuration directory, as in the window.
    QCoreApplication::setApplicationName(QStringLiteral("quorvix"));
    const QString database =
        options.database.isEmpty() ? LocateProgramDatabase().path : options.database;
    return report::RunAddReference(options, database, out, err);
}

namespace {

// Results that standard output did not take (a full disk, a closed
// descriptor) are lost: that is status 1, and why on stderr.
int CheckedOutput(const QFile& out, QFile& err, int status)
{
    if (out.error() == QFileDevice::NoError)
        return status;
    err.write(
        QStringLiteral("Cannot write to standard output: %1\n").arg(out.errorString()).toUtf8());
    return status == report::kExitOk ? report::kExitTestFailed : status;
}

int RunReportCommand(const char* program, const report::CommandLine& line, QFile& out, QFile& err)
{
    // Qt's messages are not the report's: stderr stays quiet without --verbose.
    RouteQtMessages(line.options.verbose);
    // Without a display the program starts on the offscreen platform, and
    // the video test, which needs a surface on a screen, is left out. Where
    // an X server answers, the video test fills through it.
    QString videoSkipped = VideoSkippedReason();
    DisplayPlan plan;
    if (videoSkipped.isEmpty()) {
        plan = PlanDisplay(QProcessEnvironment::systemEnvironment(), line.qtOptionNames,
                           platform::X11DisplayReachable);
        videoSkipped = plan.noDisplay;
    }
    if (!videoSkipped.isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QtArguments qtArguments(program, line.qtOptions, plan.platform);
    const auto application = StartApplication(
        qtArguments.argc(), qtArguments.argv(),
        QStringLiteral("Quorvix 2000 could not open the display for the video test: Qt could not "
                       "connect to it (%1).\nWithout a display the report leaves the video test "
                       "out:\n\n  DISPLAY= quorvix --report\n")
            .arg(DisplayVariables()));

    report::ReportSetup setup;
    setup.databasePath =
        line.options.database.isEmpty() ? LocateProgramDatabase().path : line.options.database;
    setup.surface = MakeReportSurface(videoSkipped);
    setup.out = &out;
    setup.err = &err;
    setup.errIsTerminal = platform::StandardErrorIsTerminal();
    setup.insight = report::InsightKernels{};
    return report::RunReport(line.options, setup);
}

} // namespace

int RunCommandLine(const char* program, const report::CommandLine& line)
{
    // The descriptors themselves, unbuffered: every write's error is seen
    // here, none is left to a stdio buffer flushed at exit.
    QFile out;
    QFile err;
    out.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(fileno(stderr), QIODevice::WriteOnly | QIODevice::Unbuffered);
    int status = 0;
    if (line.action == report::CommandLine::Action::Report)
        status = RunReportCommand(program, line, out, err);
    else if (line.action == report::CommandLine::Action::Version && line.options.verbose)
        status = AnswerVersionVerbose(out);
    else if (line.action == report::CommandLine::Action::AddReference)
        status = AddReferences(line.addReference, out, err);
    else
        status = report::AnswerCommandLine(line, out, err);
    return CheckedOutput(out, err, status);
}
