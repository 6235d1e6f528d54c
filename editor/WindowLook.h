#pragma once

#include <QFont>

class QKeyEvent;

// Both editor windows: Tahoma, 8 points at 96 dots per inch.
QFont EditorFont();

// Esc is bound to no button in the editor windows: true (the event ignored)
// for the key a dialog would cancel with.
bool IgnoresEscape(QKeyEvent* event);
