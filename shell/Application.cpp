#include "Application.h"

#include "ErrorReport.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The name gives the configuration directory ~/.config/quorvix; titles keep
    // the display name.
    setApplicationName(QStringLiteral("quorvix"));
    setApplicationDisplayName(ApplicationTitle);
    setDesktopFileName(QStringLiteral(QUORVIX_APP_ID));
    setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromUtf8(error.what()));
        return true;
    }
}
