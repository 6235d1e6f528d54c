// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/AddReference.h"

#include "database/IniEditor.h"
#include "database/IniFile.h"
#include "database/ListSections.h"
#include "database/ValueText.h"
#include "report/CompareCommand.h"
#include "results/SavedResult.h"
#include "session/Environment.h"
#include "session/FileNames.h"

#include <QFileInfo>

#include <QIODevice>

namespace report {
namespace {

QList<DatabaseRow>& listOf(DatabaseLists& lists, ListKind kind)
{
    switch (kind) {
    case lkProcessor:
        return lists.processor;
    case lkMemory:
        return lists.memory;
    case lkVideo:
        return lists.video;
    case lkHdd:
        break;
    }
    return lists.drive;
}

// Two values alike as the charts read them ("2590,2589" and "2590, 2589").
bool sameValue(ListKind kind, const QString& a, const QString& b)
{
    for (int i = 0; i < (HasTwoValues(kind) ? 2 : 1); ++i)
        if (ParseInteger(ExtractField(a, i)) != ParseInteger(ExtractField(b, i)))
            return false;
    return true;
}

const DatabaseRow* rowNamed(const QList<DatabaseRow>& list, const QString& key)
{
    for (const DatabaseRow& row : list)
        if (row.key.compare(key, Qt::CaseInsensitive) == 0)
            return &row;
    return nullptr;
}

QString rowText(const ReferenceRow& row, const QString& key)
{
    return QLatin1Char('[') + ShapeOf(row.kind).section + QStringLiteral("] ") + key +
           QLatin1Char('=') + row.value;
}

} // namespace

ReferenceMerge MergeReferenceRows(const DatabaseLists& present, const QList<ReferenceRow>& rows)
{
    ReferenceMerge merge;
    DatabaseLists all = present;
    for (const ReferenceRow& row : rows) {
        QList<DatabaseRow>& list = listOf(all, row.kind);
        QString key = row.description;
        for (int n = 2;; ++n) {
            const DatabaseRow* there = rowNamed(list, key);
            if (there == nullptr)
                break;
            if (sameValue(row.kind, there->value, row.value)) {
                merge.lines << QStringLiteral("skipped ") + rowText(row, key) +
                                   QStringLiteral(": already there");
                key.clear();
                break;
            }
            key = row.description + QStringLiteral(" (%1)").arg(n);
        }
        if (key.isEmpty())
            continue;
        list << DatabaseRow{key, row.value};
        listOf(merge.added, row.kind) << DatabaseRow{key, row.value};
        merge.lines << QStringLiteral("added ") + rowText(row, key);
        ++merge.addedCount;
    }
    return merge;
}

namespace {

DatabaseLists presentLists(const ComparisonDatabase& database)
{
    DatabaseLists lists;
    for (int k = 0; k < ListKindCount; ++k)
        listOf(lists, ListKind(k)) = database.ReadList(ShapeOf(ListKind(k)).section);
    return lists;
}

// The new rows after the present ones, every other line as it was, in one
// replacement of the file.
void writeAdded(const QString& path, const DatabaseLists& added)
{
    IniText ini = LoadIniForWriting(path);
    IniEditor editor(ini.text);
    for (const auto& [section, rows] : ListSections(added))
        for (const DatabaseRow& row : *rows)
            editor.WriteText(section, row.key, row.value);
    ini.text = editor.Text();
    SaveIni(path, ini);
}

void writeLine(QIODevice& device, const QString& line)
{
    device.write(FileNameBytes(line) + '\n');
}

// Why rows cannot go to the database: it is not there, cannot be read, or
// lacks the DATA the Processor rows are scored against. Reads as an empty
// database would turn each of these into rows scored against nothing.
QString unusableDatabase(const ComparisonDatabase& database, const bench::ReferenceMachine& target)
{
    const QString& path = database.path();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return path + QStringLiteral(": the database does not exist");
    if (const QString problem = database.ReadProblem(); !problem.isEmpty())
        return path + QStringLiteral(": ") + problem;
    const QStringList missing = MissingReferenceKeys(target);
    if (!missing.isEmpty())
        return path + QStringLiteral(": the database has no usable DATA value for ") +
               missing.join(QStringLiteral(", "));
    return QString();
}

} // namespace

DatabaseLists RowsToAdd(const QStringList& files, const DatabaseLists& present,
                        const bench::ReferenceMachine& target)
{
    ReferenceRules rules;
    rules.target = target;
    rules.version = ProgramVersion();
    QList<ReferenceRow> rows;
    for (const QString& fileName : files)
        rows << ReadReferenceFile(fileName, rules).rows;
    return MergeReferenceRows(present, rows).added;
}

int RunAddReference(const AddReferenceOptions& options, const QString& databasePath, QIODevice& out,
                    QIODevice& err)
{
    const ComparisonDatabase database(databasePath);
    ReferenceRules rules;
    rules.version = ProgramVersion();
    rules.force = options.force;
    if (options.anonymous)
        rules.anonymiser = ThisMachineAnonymiser();
    QList<ReferenceRow> rows;
    try {
        rules.target = bench::LoadScaling(database);
        if (const QString problem = unusableDatabase(database, rules.target); !problem.isEmpty())
            throw ResultFileError(problem);
        for (const QString& fileName : options.files) {
            const ReferenceFile file = ReadReferenceFile(fileName, rules);
            for (const QString& note : file.notes)
                writeLine(out, fileName + QStringLiteral(": ") + note);
            rows << file.rows;
        }
    } catch (const ResultFileError& error) {
        err.write(QByteArray(error.what()) + "\nNothing was added.\n");
        return kExitUnusableResult;
    } catch (const std::exception& error) {
        err.write(QByteArray(error.what()) + '\n');
        return 1;
    }
    const ReferenceMerge merge = MergeReferenceRows(presentLists(database), rows);
    for (const QString& line : merge.lines)
        writeLine(out, line);
    try {
        if (merge.addedCount > 0)
            writeAdded(databasePath, merge.added);
    } catch (const std::exception& error) {
        err.write(QByteArray(error.what()) + '\n');
        return 1;
    }
    writeLine(out, QStringLiteral("%1 row%2 added to %3, %4 skipped")
                       .arg(merge.addedCount)
                       .arg(merge.addedCount == 1 ? "" : "s")
                       .arg(databasePath)
                       .arg(merge.lines.size() - merge.addedCount));
    return 0;
}

} // namespace report
