// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ListSections.h"

#include "database/ListKinds.h"

QList<std::pair<QString, const QList<DatabaseRow>*>> ListSections(const DatabaseLists& lists)
{
    return {
        {ShapeOf(lkProcessor).section, &lists.processor},
        {ShapeOf(lkMemory).section, &lists.memory},
        {ShapeOf(lkVideo).section, &lists.video},
        {ShapeOf(lkHdd).section, &lists.drive},
    };
}

bool ReplaceListSections(IniEditor& editor, const DatabaseLists& lists)
{
    const auto sections = ListSections(lists);
    bool changed = false;
    for (const auto& [name, rows] : sections)
        changed = editor.RemoveSection(name) || changed;
    for (const auto& [name, rows] : sections) {
        for (const DatabaseRow& row : *rows)
            editor.AppendEntry(name, row.key, row.value);
        changed = changed || !rows->isEmpty();
    }
    return changed;
}
