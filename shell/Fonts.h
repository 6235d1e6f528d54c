// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ProgramFont.h"

#include <QFont>
#include <QString>

// Directory that holds Tahoma and Fixedsys (fonts-wine, outside fontconfig).
inline const QString WineFontDirectory = QStringLiteral("/usr/share/wine/fonts");

// Registers tahoma.ttf and fixedsys.ttf from the directory.
// Missing files are skipped: Qt then falls back to its default font.
// Returns how many were registered.
int RegisterFonts(const QString& directory = WineFontDirectory);

// The same in two steps: Tahoma, all that the splash and the
// windows draw with, and Fixedsys, which only the All tests log uses.
int RegisterWindowFonts(const QString& directory = WineFontDirectory);
int RegisterLogFont(const QString& directory = WineFontDirectory);

// Fixedsys at the log's size.
QFont LogFont();

// Registers the fonts and makes ProgramFont() the application's default, so
// that menus and tool tips, which are windows of their own and inherit
// nothing from the main window, use it too.
void SetUpFonts(const QString& directory = WineFontDirectory);

// SetUpFonts without the log's font, for a start that shows the splash
// first; RegisterLogFont follows once it is on the screen.
void SetUpWindowFonts(const QString& directory = WineFontDirectory);
