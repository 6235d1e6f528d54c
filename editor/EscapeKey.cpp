// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EscapeKey.h"

#include <QKeyEvent>
#include <QKeySequence>

bool IgnoresEscape(QKeyEvent* event)
{
    if (!event->matches(QKeySequence::Cancel))
        return false;
    event->ignore();
    return true;
}
