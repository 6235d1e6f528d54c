#include "Dialogs.h"

#include "ErrorReport.h"
#include "controls/DialogFlags.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include <utility>

namespace Dialogs {
namespace {

std::function<void(const QString&)> g_nextError;
std::function<int(QDialog*)> g_nextModal;
std::function<QString(const SaveRequest&)> g_nextSave;

} // namespace

void ShowError(const QString& text)
{
    if (auto answer = std::exchange(g_nextError, nullptr)) {
        answer(text);
        return;
    }
    MakeErrorBox(text)->exec();
}

std::unique_ptr<QMessageBox> MakeErrorBox(const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, ApplicationTitle, text,
                                             QMessageBox::Ok, QApplication::activeWindow());
    box->setWindowFlags(DialogTitleBar);
    return box;
}

int ExecModal(QDialog* dialog)
{
    if (auto answer = std::exchange(g_nextModal, nullptr))
        return answer(dialog);
    return dialog->exec();
}

QString GetSaveFileName(QWidget* parent, const SaveRequest& request)
{
    if (auto answer = std::exchange(g_nextSave, nullptr))
        return answer(request);
    QFileDialog dialog(parent, request.title, QString(), request.filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.suggestedName);
    // The folder must exist; an existing file is replaced only when confirmed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void SetNextErrorAnswer(std::function<void(const QString&)> answer)
{
    g_nextError = std::move(answer);
}

void SetNextModalAnswer(std::function<int(QDialog*)> answer)
{
    g_nextModal = std::move(answer);
}

void SetNextSaveAnswer(std::function<QString(const SaveRequest&)> answer)
{
    g_nextSave = std::move(answer);
}

} // namespace Dialogs
