// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ProgramFont.h"

#include <QFont>
#include <QString>

// Directory that holds Tahoma and Fixedsys (fonts-wine, outside fontconfig).
inline const QString WineFontDirectory = QStringLiteral("/usr/share/wine/fonts");

// Register tahoma.ttf, all that the splash and the windows draw with, and
// fixedsys.ttf, which only the All tests log uses, from the directory.
// Missing files are skipped: Qt then falls back to its default font.
// Each returns how many were registered.
int RegisterWindowFonts(const QString& directory = WineFontDirectory);
int RegisterLogFont(const QString& directory = WineFontDirectory);

// Fixedsys at the log's size.
QFont LogFont();

// Registers the windows' font and makes ProgramFont() the application's
// default, so that menus and tool tips, which are windows of their own and
// inherit nothing from the main window, use it too. RegisterLogFont follows
// once the splash is on the screen.
void SetUpWindowFonts(const QString& directory = WineFontDirectory);
