// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorReport.h"

#include "Dialogs.h"

#include <exception>

QString ErrorBoxText(const QString& message)
{
    if (message.isEmpty() || message.back() <= QLatin1Char('.'))
        return message;
    return message + QLatin1Char('.');
}

void ShowErrorMessage(const QString& message)
{
    Dialogs::ShowError(ErrorBoxText(message));
}

void RunGuarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const WindowClosed&) {
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromUtf8(error.what()));
    }
}
