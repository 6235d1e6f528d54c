// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

// How the program starts the toolkit for its window or its video test.
struct DisplayPlan
{
    // The platform to start Qt on ("xcb"); empty leaves the choice to Qt.
    QString platform;
    // Why there is no display to open a window on; empty when there is one.
    QString noDisplay;
};

// Whether Qt's platform was chosen by the user: QT_QPA_PLATFORM set, or
// Qt's "-platform" among the command line's Qt options (their names, as
// report::CommandLine::qtOptionNames holds them).
bool PlatformChosen(const QProcessEnvironment& environment, const QStringList& qtOptionNames);

// Where an X server answers at DISPLAY (also Xwayland on a Wayland desktop)
// the program runs on Qt's xcb platform, so the video test fills through the
// X server: on its Wayland platform it would fill a backing store and
// measure something else. A platform the user chose is left to Qt.
// `xServerAnswers` connects to DISPLAY; it is asked at most once, and only
// where DISPLAY is set and no platform was chosen.
DisplayPlan PlanDisplay(const QProcessEnvironment& environment, const QStringList& qtOptionNames,
                        const std::function<bool()>& xServerAnswers);
