#pragma once

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
    // With `runPages` the page handlers do their work, on fake kernels that
    // count 600 integer and 300 floating-point passes.
    explicit ShellFixture(bool runPages = false);
    ~ShellFixture();

    TForm1& form() const { return *forms.Form1; }
    // Shows the main window and waits for its first activation.
    bool showAndActivate();
    // Names of the handlers run since the last call (FormActivate included).
    QStringList takeHandlers();

    QTemporaryDir directory;
    sysinfo::OverviewFields fields; // what the probes return
    int gatherCount = 0;
    bool splashVisibleWhileGathering = false;
    bool hourglassWhileGathering = false;
    QString statusWhileGathering;
    std::function<void()> beforeGather; // tests make the probes fail here
    QList<QUrl> openedUrls;
    QStringList handlers;
    TForms forms;
};

// Runs `action` on the next modal dialog that opens (within a second).
void onNextModal(const std::function<void(QWidget*)>& action);
