// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QFileDialog;
class QMessageBox;
class QWidget;

// Every modal dialog of the program goes through here: the error box, the
// modal windows and the save-file dialog. GUI tests set the answer of the
// next dialog before the action that opens it, instead of waiting for a
// window to appear.
namespace Dialogs {

// The error box: error icon, the application's title, the given text.
void ShowError(const QString& text);
std::unique_ptr<QMessageBox> MakeErrorBox(const QString& text);

// Shows `dialog` modally and returns its result.
int ExecModal(QDialog* dialog);

// What the save dialog asks for.
struct SaveRequest
{
    QString title;
    QString suggestedName;
    QString filters;
    QString defaultSuffix;
};

// The save dialog, which stays open, saying why, while the chosen file's
// folder does not exist.
std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget* parent, const SaveRequest& request);

// The chosen file's path, empty when the user cancelled.
QString GetSaveFileName(QWidget* parent, const SaveRequest& request);

// Test seam. Each setter answers the next dialog of its kind once, in place
// of showing it; an error box with no answer set is shown as usual.
void SetNextErrorAnswer(std::function<void(const QString& text)> answer);
void SetNextModalAnswer(std::function<int(QDialog* dialog)> answer);
void SetNextSaveAnswer(std::function<QString(const SaveRequest& request)> answer);

} // namespace Dialogs
