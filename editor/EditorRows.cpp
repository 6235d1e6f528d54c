#include "editor/EditorRows.h"

#include "database/ComparisonDatabase.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

ListShape ShapeOf(ListKind kind)
{
    switch (kind) {
    case lkProcessor:
        return {QStringLiteral("Processor"), QStringLiteral("CPU"), QStringLiteral("FPU")};
    case lkMemory:
        return {QStringLiteral("Memory"), QStringLiteral("Mb/s"), QString()};
    case lkVideo:
        return {QStringLiteral("Video"), QStringLiteral("Mb/s"), QString()};
    case lkHdd:
        break;
    }
    return {QStringLiteral("Drive"), QStringLiteral("Kb/s"), QString()};
}

bool HasTwoValues(ListKind kind)
{
    return kind == lkProcessor;
}

EditorList LoadEditorList(const ComparisonDatabase& database, ListKind kind)
{
    EditorList rows;
    for (const DatabaseRow& entry : database.ReadList(ShapeOf(kind).section)) {
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

} // namespace

EditorRow NewEditorRow(ListKind kind, const MachineValues& machine)
{
    switch (kind) {
    case lkProcessor:
        return {machine.processor, BarText(machine.processorChart, machine.processorChart.first),
                BarText(machine.processorChart, machine.processorChart.second)};
    case lkMemory:
        return {QStringLiteral("Ваши ") + ExtractField(machine.memory, 0) + QStringLiteral(" Mb"),
                BarText(machine.memoryChart, machine.memoryChart.first), QString()};
    case lkVideo:
        return {machine.display, BarText(machine.videoChart, machine.videoChart.first), QString()};
    case lkHdd:
        break;
    }
    return {machine.drive, BarText(machine.driveChart, machine.driveChart.first), QString()};
}

QLocale CollationLocale()
{
    // The default locale: the user's, unless the program set one. C and
    // POSIX have no collation rules (code points: every capital first), so
    // they sort as English does: letters first, lower case before upper.
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : locale;
}

QList<qsizetype> DescriptionOrder(const QStringList& descriptions)
{
    QCollator collator(CollationLocale());
    collator.setCaseSensitivity(Qt::CaseSensitive);
    QList<qsizetype> order(descriptions.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return collator.compare(descriptions[a], descriptions[b]) < 0;
    });
    return order;
}

void SortByDescription(EditorList& rows)
{
    QStringList descriptions;
    descriptions.reserve(rows.size());
    for (const EditorRow& row : rows)
        descriptions.append(row.description);
    EditorList sorted;
    sorted.reserve(rows.size());
    for (qsizetype index : DescriptionOrder(descriptions))
        sorted.append(std::move(rows[index]));
    rows = std::move(sorted);
}

DatabaseLists ListsToWrite(const EditorLists& lists)
{
    const auto convert = [&lists](ListKind kind) {
        QList<DatabaseRow> rows;
        rows.reserve(lists[kind].size());
        for (const EditorRow& row : lists[kind]) {
            const QString value = HasTwoValues(kind) ? row.first + u',' + row.second : row.first;
            rows.append({row.description, value});
        }
        return rows;
    };
    return {convert(lkProcessor), convert(lkMemory), convert(lkVideo), convert(lkHdd)};
}

void WriteEditorLists(ComparisonDatabase& database, const EditorLists& lists)
{
    database.ReplaceLists(ListsToWrite(lists));
}
