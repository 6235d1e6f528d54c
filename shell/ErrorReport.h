// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// The caption of every message box: the application's title.
inline const QString ApplicationTitle = QStringLiteral("Quorvix 2000");

// The text the error box shows: a full stop is appended unless the message is
// empty or already ends in "." or a character that sorts before it.
QString ErrorBoxText(const QString& message);

// Shows the error box (error icon, application title, ErrorBoxText) modally.
void ShowErrorMessage(const QString& message);

// Raised by a step of a command that finds the main window closed: it ends
// the command without a message, as the program is ending. Not a
// std::exception, so that no handler of errors takes it for one.
struct WindowClosed
{
};

// Runs one command; an exception it raises ends it and is shown in the error
// box (WindowClosed ends it silently). The program then goes on from the
// state reached.
void RunGuarded(const std::function<void()>& command);
