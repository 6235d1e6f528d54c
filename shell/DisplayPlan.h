// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// How the program starts the toolkit for its window or its video test.
struct DisplayPlan
{
    // The platform to start Qt on ("xcb"); empty leaves the choice to Qt.
    QString platform;
    // Why there is no display to open a window on; empty when there is one.
    QString noDisplay;
};

// Whether Qt's platform was chosen by the user: QT_QPA_PLATFORM set, or
// "-platform NAME" ("--platform NAME") among the arguments as Qt reads them.
bool PlatformChosen(const QProcessEnvironment& environment, const QStringList& arguments);

// Where an X server answers at DISPLAY (also Xwayland on a Wayland desktop)
// the program runs on Qt's xcb platform, so the video test fills through the
// X server: on its Wayland platform it would fill a backing store and
// measure something else. A platform the user chose is left to Qt.
// `xServerAnswers` connects to DISPLAY; it is asked at most once, and only
// where DISPLAY is set and no platform was chosen.
DisplayPlan PlanDisplay(const QProcessEnvironment& environment, const QStringList& arguments,
                        const std::function<bool()>& xServerAnswers);

// The program's arguments for the application object, with "-platform NAME"
// added when `platform` is not empty (Qt takes the two out again). Lives as
// long as the application object.
class QtArguments
{
public:
    QtArguments(int argc, char** argv, const QString& platform);
    QtArguments(const QtArguments&) = delete;
    QtArguments& operator=(const QtArguments&) = delete;

    int& argc() { return m_argc; }
    char** argv() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_added;
    std::vector<char*> m_pointers;
    int m_argc = 0;
};
