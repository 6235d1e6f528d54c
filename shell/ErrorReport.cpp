#include "ErrorReport.h"

#include "controls/DialogFlags.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

QString ErrorBoxText(const QString& message)
{
    if (message.isEmpty() || message.back() <= QLatin1Char('.'))
        return message;
    return message + QLatin1Char('.');
}

void ShowErrorMessage(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle, ErrorBoxText(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowFlags(DialogTitleBar);
    box.exec();
}

void RunGuarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromUtf8(error.what()));
    }
}
