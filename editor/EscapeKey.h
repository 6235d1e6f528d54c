// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

// Esc is bound to no button in the editor windows: true (the event ignored)
// for the key a dialog would cancel with.
bool IgnoresEscape(QKeyEvent* event);
