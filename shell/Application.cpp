// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "ErrorReport.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The name gives the configuration directory ~/.config/quorvix and the
    // X11 window class. No display name: Qt would append it to every title.
    setApplicationName(QStringLiteral("quorvix"));
    setDesktopFileName(QStringLiteral(QUORVIX_APP_ID));
    setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const WindowClosed&) {
        return true; // the window closed during a command: nothing to show
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromUtf8(error.what()));
        return true;
    }
}
