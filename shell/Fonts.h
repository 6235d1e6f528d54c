#pragma once

#include <QString>

// Directory that holds Tahoma and Fixedsys (fonts-wine, outside fontconfig).
inline const QString WineFontDirectory = QStringLiteral("/usr/share/wine/fonts");

// Registers tahoma.ttf, tahomabd.ttf and fixedsys.ttf from the directory.
// Missing files are skipped: Qt then falls back to its default font.
// Returns how many were registered.
int RegisterFonts(const QString& directory = WineFontDirectory);
