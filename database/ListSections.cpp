#include "database/ListSections.h"

QList<std::pair<QString, const QList<DatabaseRow>*>> ListSections(const DatabaseLists& lists)
{
    return {
        {QStringLiteral("Processor"), &lists.processor},
        {QStringLiteral("Memory"), &lists.memory},
        {QStringLiteral("Video"), &lists.video},
        {QStringLiteral("Drive"), &lists.drive},
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
            editor.WriteText(name, row.key, row.value);
        changed = changed || !rows->isEmpty();
    }
    return changed;
}
