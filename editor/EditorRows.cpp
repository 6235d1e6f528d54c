// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorRows.h"

#include "database/ComparisonDatabase.h"

#include <QLocale>

#include <utility>

EditorList LoadEditorList(const ComparisonDatabase& database, ListKind kind)
{
    return EditorRowsFrom(kind, database.ReadList(ShapeOf(kind).section));
}

EditorList EditorRowsFrom(ListKind kind, const QList<DatabaseRow>& entries)
{
    EditorList rows;
    for (const DatabaseRow& entry : entries) {
        if (HasTwoValues(kind))
            rows.append({entry.key, ExtractField(entry.value, 0), ExtractField(entry.value, 1)});
        else
            rows.append({entry.key, entry.value, QString()});
    }
    return rows;
}

namespace {

QString BarText(const OwnBars& bars, std::int32_t value)
{
    return bars.count <= 0 ? QStringLiteral("0") : QString::number(value);
}

// This machine's overview text and chart for a list.
std::pair<const QString&, const OwnBars&> OwnResults(ListKind kind, const MachineValues& machine)
{
    switch (kind) {
    case lkProcessor:
        return {machine.processor, machine.processorChart};
    case lkMemory:
        return {machine.memory, machine.memoryChart};
    case lkVideo:
        return {machine.display, machine.videoChart};
    case lkHdd:
        break;
    }
    return {machine.drive, machine.driveChart};
}

} // namespace

EditorRow NewEditorRow(ListKind kind, const MachineValues& machine)
{
    const auto [text, bars] = OwnResults(kind, machine);
    return {OwnRowDescription(kind, text), BarText(bars, bars.first),
            HasTwoValues(kind) ? BarText(bars, bars.second) : QString()};
}

QCollator DescriptionCollator()
{
    // The default locale: the user's, unless the program set one. C and
    // POSIX have no collation rules (code points: every capital first), so
    // they sort as English does: letters first, lower case before upper.
    const QLocale locale;
    QCollator collator(locale.language() == QLocale::C
                           ? QLocale(QLocale::English, QLocale::UnitedStates)
                           : locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

DatabaseLists ListsToWrite(const EditorLists& lists)
{
    const auto convert = [&lists](ListKind kind) {
        QList<DatabaseRow> rows;
        rows.reserve(lists[kind].size());
        for (const EditorRow& row : lists[kind])
            rows.append({row.description, RowValue(kind, row.first, row.second)});
        return rows;
    };
    return {convert(lkProcessor), convert(lkMemory), convert(lkVideo), convert(lkHdd)};
}

void WriteEditorLists(ComparisonDatabase& database, const EditorLists& lists)
{
    database.ReplaceLists(ListsToWrite(lists));
}
