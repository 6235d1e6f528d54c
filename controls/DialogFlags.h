// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The title bar of every dialog of the program: caption, system menu and close
// box; no minimise and no maximise box. Asked for explicitly, so no toolkit or
// window-manager default adds buttons.
inline constexpr Qt::WindowFlags DialogTitleBar = Qt::Dialog | Qt::CustomizeWindowHint |
                                                  Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                  Qt::WindowCloseButtonHint;

// Gives `dialog` that title bar and makes it a dialog of `owner` (transient for
// it). Some window managers offer to minimise every dialog whatever it asks
// for; they then minimise and restore it together with its owner, instead of
// leaving the owner blocked behind a modal dialog that cannot be seen.
inline void MakeDialogOf(QWidget* dialog, QWidget* owner)
{
    dialog->setParent(owner, DialogTitleBar);
}
