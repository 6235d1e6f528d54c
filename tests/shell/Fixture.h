#pragma once

#include "Form1View.h"
#include "shell/Program.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>

// The five real windows with the slow or external services replaced: a fixed
// overview (no clock measurement), two drives, a captured URL opener and a
// database path in a temporary directory.
struct ShellFixture
{
    // Without `runPages` the pages only record which handler ran (the command
    // table is under test, not the benchmarks); with it they do their work,
    // on fake kernels that count 600 integer and 300 floating-point passes
    // and move memory at (KB + 1000) MiB/s reading and (KB + 2000) writing
    // blocks of KB kilobytes, and fill 314,572,800 pixels a second (1024 x 768,
    // 400 times in 1 s). `adjust` changes the services before the
    // windows are made.
    // With `splashFirst` the windows are made as the program makes them:
    // the main window alone, the others once its splash is painted.
    explicit ShellFixture(bool runPages = false,
                          const std::function<void(TForm1Services&)>& adjust = {},
                          bool splashFirst = false);
    // With the given pages and drive list.
    ShellFixture(std::shared_ptr<BenchmarkPages> pages, const QStringList& drives);
    ~ShellFixture();

    TForm1& form() const { return *forms.Form1; }
    Form1View ui() const { return Form1View(*forms.Form1); }
    // Shows the main window and waits for its first activation.
    bool showAndActivate();
    // Names of the handlers run since the last call (FormActivate included).
    QStringList takeHandlers();

    QTemporaryDir directory;
    sysinfo::OverviewFields fields; // what the probes return
    int gatherCount = 0;
    bool splashVisibleWhileGathering = false;
    bool othersExistWhileGathering = false;
    bool hourglassWhileGathering = false;
    QString statusWhileGathering;
    std::function<void()> beforeGather; // tests make the probes fail here
    QList<QUrl> openedUrls;
    QStringList handlers;
    QStringList memoryCalls; // "read 1024": kernel and block size
    // Replaces the fake video kernel when set (tests watch the surface here).
    std::function<std::int64_t(bench::VideoCanvas&, int, int)> videoTest;
    TForms forms;

private:
    void create(std::shared_ptr<BenchmarkPages> pages, const sysinfo::FixedDriveListing& drives,
                const std::function<void(TForm1Services&)>& adjust, bool splashFirst = false);
};

// Records the page handlers that reach the benchmark pages, by name.
class RecordingPages : public BenchmarkPages
{
public:
    explicit RecordingPages(QStringList& handlers) : m_handlers(handlers) {}
    void RefreshProcessor(Chart&, const ComparisonDatabase&, bench::BenchState&) override
    {
        m_handlers.append(QStringLiteral("Button1Click"));
    }
    void RefreshMemory(Chart&, const ComparisonDatabase&, MemoryMode) override
    {
        m_handlers.append(QStringLiteral("Button3Click"));
    }
    void UpdateVideoChart(Chart&, const ComparisonDatabase&) override
    {
        m_handlers.append(QStringLiteral("UpdateVideoChart"));
    }
    void RefreshVideo(Chart&, const ComparisonDatabase&, bench::TestSurface&) override
    {
        m_handlers.append(QStringLiteral("Button5Click"));
    }
    void RefreshDrive(Chart&, const ComparisonDatabase&, const QByteArray&) override
    {
        m_handlers.append(QStringLiteral("Button4Click"));
    }

private:
    QStringList& m_handlers;
};
