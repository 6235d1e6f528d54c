// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/ComparisonDatabase.h"
#include "database/IniEditor.h"

// The four list sections in the order they are removed and written.
QList<std::pair<QString, const QList<DatabaseRow>*>> ListSections(const DatabaseLists& lists);

// Removes the four list sections, then appends each list's rows in order,
// as RemoveSection and WriteText would one after the other, except that keys
// alike but for case each keep their own line. False when nothing changed
// (no section was there and there are no rows).
bool ReplaceListSections(IniEditor& editor, const DatabaseLists& lists);
