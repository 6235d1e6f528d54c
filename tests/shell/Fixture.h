// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FindChild.h"
#include "shell/Program.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>

// The five real windows with the slow or external parts replaced: a fixed
// overview (no clock measurement), two drives, a captured URL opener, a
// base.ini with the DATA values in a temporary directory, and fake kernels.
// The kernels count 600 integer and 300 floating-point passes, move memory
// at (KB + 1000) MiB/s reading and (KB + 2000) writing blocks of KB
// kilobytes, fill 314,572,800 pixels a second (1024 x 768, 400 times in 1 s)
// and write to a disk at 81,920 KB/s. Each kernel writes down the handler
// that ran it, so tests see the command table at work.
struct ShellFixture
{
    // `adjust` changes the services before the windows are made. The windows
    // are made as the program makes them: the main window alone, its pages
    // and the other windows once its splash is painted. Unless `hidden`, the
    // main window is then shown and activated.
    explicit ShellFixture(const std::function<void(TForm1Services&)>& adjust = {},
                          bool hidden = false);
    // With these drive entries, listed without paths.
    explicit ShellFixture(const QStringList& drives);
    ~ShellFixture();

    TForm1& form() const { return *forms.Form1; }
    // The main window's component of that object name and type.
    template <typename W> W* widget(const char* name) const { return FindChild<W>(form(), name); }
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
    // Called in every processor, memory, video and disk kernel.
    std::function<void()> duringKernel;
    QMap<QString, std::int32_t> diskRates; // KB/s by mount point; else 81,920
    QString failingKernel; // "cpu", "memory", "video" or "disk": raises a BenchError
    TForms forms;

    // The kernels above (a fresh set, writing into this fixture).
    report::SessionKernels kernels();

private:
    void create(const sysinfo::FixedDriveListing& drives,
                const std::function<void(TForm1Services&)>& adjust, bool hidden);
    void duringOrFail(const QString& kernel);
    bool m_fullTest = false;
};
