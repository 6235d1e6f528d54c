// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialogs.h"

#include "ErrorReport.h"
#include "controls/DialogFlags.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

namespace Dialogs {
namespace {

std::function<void(const QString&)> g_nextError;
std::function<int(QDialog*)> g_nextModal;
std::function<QString(const SaveRequest&)> g_nextSave;

// The folder of a chosen file, when it does not exist; empty otherwise.
QString MissingFolder(const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    return QFileInfo(folder).isDir() ? QString() : folder;
}

void ShowMissingFolder(const QString& folder)
{
    ShowError(QStringLiteral("%1\nThe folder does not exist. Check the folder name and try again.")
                  .arg(QDir::toNativeSeparators(folder)));
}

// The save dialog that stays open while the chosen folder does not exist.
class SaveFileDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        const QString missing = files.isEmpty() ? QString() : MissingFolder(files.constFirst());
        if (!missing.isEmpty()) {
            ShowMissingFolder(missing);
            return;
        }
        QFileDialog::accept();
    }
};

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

std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget* parent, const SaveRequest& request)
{
    auto dialog =
        std::make_unique<SaveFileDialog>(parent, request.title, QString(), request.filters);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(request.defaultSuffix);
    dialog->selectFile(request.suggestedName);
    // The folder must exist; an existing file is replaced only when confirmed.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    return dialog;
}

QString GetSaveFileName(QWidget* parent, const SaveRequest& request)
{
    if (auto answer = std::exchange(g_nextSave, nullptr))
        return answer(request);
    const auto dialog = MakeSaveDialog(parent, request);
    for (;;) {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return QString();
        // A desktop's own dialog does not ask the one above: it opens again.
        const QString file = dialog->selectedFiles().constFirst();
        const QString missing = MissingFolder(file);
        if (missing.isEmpty())
            return file;
        ShowMissingFolder(missing);
    }
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
