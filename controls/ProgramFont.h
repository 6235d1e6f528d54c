// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The family followed by the faces that stand in for it where it is absent.
QStringList FontFamilies(const QString& family);

// A font of the given family (with its stand-ins) and its character height
// in pixels: the windows are laid out in pixels and do not scale with the
// screen.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

// Tahoma with a character height of 11 pixels (8 points at 96 dots per inch):
// the font of every window, menu and tool tip unless a control has its own.
QFont ProgramFont();
