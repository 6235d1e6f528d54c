// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/AddReference.h"

#include "bench/BenchError.h"
#include "bench/Scores.h"
#include "database/IniEncoding.h"
#include "database/IniReader.h"
#include "database/ValueText.h"
#include "report/CompareCommand.h"
#include "report/HeadlessView.h"
#include "report/IniRows.h"
#include "report/SavedResult.h"

#include "database/IniEditor.h"
#include "database/IniFile.h"
#include "database/ListSections.h"
#include "report/FileNames.h"

#include <QIODevice>

#include <array>
#include <cmath>
#include <limits>
#include <optional>

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

// A median as a bar value: whole, not negative, within 32 bits.
std::int32_t barValue(const SavedFigure& figure, const QString& source)
{
    const double value = std::nearbyint(*figure.median);
    if (!(value >= 0 && value <= std::numeric_limits<std::int32_t>::max()))
        throw ResultFileError(QStringLiteral("%1: broken result file (%2 is %3, outside the "
                                             "range of a bar)")
                                  .arg(source, figure.name)
                                  .arg(*figure.median));
    return std::int32_t(value);
}

void refuseUnlessForced(const SavedResult& result, const ReferenceRules& rules)
{
    if (rules.force)
        return;
    if (result.version != rules.version)
        throw ResultFileError(
            QStringLiteral("%1: measured by version %2 of the program, this is "
                           "%3 (--force adds it all the same)")
                .arg(result.source,
                     result.version.isEmpty() ? QStringLiteral("unknown") : result.version,
                     rules.version));
    const SavedFigure* video = result.figure(QStringLiteral("Video"));
    if (video != nullptr && video->method == kVideoMethodBackingStore)
        throw ResultFileError(QStringLiteral("%1: its video figure was filled into a backing "
                                             "store, not through an X server (--force adds its "
                                             "other rows)")
                                  .arg(result.source));
}

// The processor row, its scores formed from the pass counts against the
// DATA of the database the row goes to.
void processorRow(const SavedResult& result, const ReferenceRules& rules, ReferenceFile& file,
                  const QString& description)
{
    const SavedFigure* cpu = result.figure(QStringLiteral("CPU passes"));
    const SavedFigure* fpu = result.figure(QStringLiteral("FPU passes"));
    if (cpu == nullptr || fpu == nullptr) {
        file.notes << QStringLiteral("no Processor row: the result has no pass counts");
        return;
    }
    try {
        const std::int32_t cpuScore = bench::CpuScore(barValue(*cpu, result.source), rules.target);
        const std::int32_t fpuScore = bench::FpuScore(barValue(*fpu, result.source), rules.target);
        file.rows << ReferenceRow{
            lkProcessor, description,
            RowValue(lkProcessor, QString::number(cpuScore), QString::number(fpuScore))};
    } catch (const bench::BenchError& error) {
        file.notes << QStringLiteral("no Processor row: ") + QString::fromUtf8(error.what());
    }
}

ReferenceFile rowsFromResult(const SavedResult& result, const ReferenceRules& rules)
{
    refuseUnlessForced(result, rules);
    Anonymiser anonymiser;
    if (rules.anonymiser.active()) {
        anonymiser = rules.anonymiser;
        anonymiser.add(
            {{result.machine, result.userName}, {QStringLiteral("/home/") + result.userName}});
    }
    const auto describe = [&anonymiser](ListKind kind, const QString& text) {
        return IniKey(OwnRowDescription(kind, anonymiser.apply(text)));
    };
    ReferenceFile file;
    processorRow(result, rules, file, describe(lkProcessor, result.overviewProcessor));
    for (const SavedFigure& figure : result.figures) {
        const bool memory = figure.name == QLatin1String("Memory");
        const bool video = figure.name == QLatin1String("Video");
        if (video && figure.method == kVideoMethodBackingStore) {
            file.notes << QStringLiteral("no Video row: ") + kNoVideoRow;
            continue;
        }
        if (!memory && !video && !figure.name.startsWith(QLatin1String("Drive ")))
            continue; // the scores and pass counts make the Processor row
        const ListKind kind = memory ? lkMemory : video ? lkVideo : lkHdd;
        const QString text = memory  ? result.overviewMemory
                             : video ? result.overviewVideo
                                     : figure.name;
        file.rows << ReferenceRow{kind, describe(kind, text),
                                  QString::number(barValue(figure, result.source))};
    }
    return file;
}

// A base.ini value as the charts read it: whole numbers, two for a
// Processor row.
bool readableValue(ListKind kind, const QString& value)
{
    if (!ParseInteger(ExtractField(value, 0)))
        return false;
    return !HasTwoValues(kind) || ParseInteger(ExtractField(value, 1)).has_value();
}

// DATA of an INI text; 0 for a value that is missing or no whole number.
std::array<std::int32_t, 3> scaling(const QString& text)
{
    std::array<std::int32_t, 3> values{};
    const std::array<const char16_t*, 3> keys{u"PIIMultCPU", u"PIIMultFPU", u"PIIFreq"};
    for (std::size_t i = 0; i < keys.size(); ++i)
        values[i] =
            ParseInteger(ReadIniValue(text, u"DATA", keys[i]).value_or(QString())).value_or(0);
    return values;
}

// A Processor row's value on the target's scale: as it is under the same
// DATA, formed again from the pass counts it stands for under another.
std::optional<QString> rescaled(const QString& value, const std::array<std::int32_t, 3>& from,
                                const bench::ReferenceMachine& to)
{
    const std::array<std::int32_t, 3> target{to.PIIMultCPU, to.PIIMultFPU, to.PIIFreq};
    if (from == target)
        return value;
    const auto complete = [](const std::array<std::int32_t, 3>& data) {
        return data[0] > 0 && data[1] > 0 && data[2] > 0;
    };
    if (!complete(from) || !complete(target))
        return std::nullopt;
    QStringList scores;
    for (int i = 0; i < 2; ++i) {
        const long double passes =
            (long double)(*ParseInteger(ExtractField(value, i))) * from[i] / from[2];
        const long double score = std::trunc(passes * target[2] / target[i]);
        if (!(score >= 0 && score <= std::numeric_limits<std::int32_t>::max()))
            return std::nullopt;
        scores << QString::number(qint64(score));
    }
    return RowValue(lkProcessor, scores[0], scores[1]);
}

ReferenceFile rowsFromIni(const QString& text, const QString& source, const ReferenceRules& rules)
{
    ReferenceFile file;
    const std::array<std::int32_t, 3> data = scaling(text);
    bool known = ReadIniValue(text, u"DATA", u"PIIFreq").has_value();
    for (int k = 0; k < ListKindCount; ++k) {
        const ListKind kind = ListKind(k);
        const QString section = ShapeOf(kind).section;
        known = known || !ListIniKeys(text, section).isEmpty() ||
                text.contains(QLatin1Char('[') + section + QLatin1Char(']'), Qt::CaseInsensitive);
        for (const auto& [key, value] : ReadIniList(text, section)) {
            if (!readableValue(kind, value)) {
                file.notes << QStringLiteral("no %1 row for '%2': '%3' is no whole number")
                                  .arg(section, key, value);
                continue;
            }
            const std::optional<QString> scaled =
                kind == lkProcessor ? rescaled(value, data, rules.target) : value;
            if (!scaled) {
                file.notes << QStringLiteral("no Processor row for '%1': its scores cannot be "
                                             "put on the scale of this DATA")
                                  .arg(key);
                continue;
            }
            file.rows << ReferenceRow{kind, IniKey(rules.anonymiser.apply(key)), *scaled};
        }
    }
    if (!known)
        throw ResultFileError(QStringLiteral("%1: foreign file, neither a result the report "
                                             "saved nor a base.ini")
                                  .arg(source));
    return file;
}

} // namespace

ReferenceFile ReadReferenceFile(const QString& fileName, const ReferenceRules& rules)
{
    const QByteArray bytes = ReadResultFile(fileName).first;
    if (bytes.trimmed().startsWith('{'))
        return rowsFromResult(ReadSavedResult(bytes, fileName), rules);
    return rowsFromIni(DecodeIni(bytes).text, fileName, rules);
}

namespace {

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

} // namespace

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
        if (const QString problem = database.ReadProblem(); !problem.isEmpty())
            throw std::runtime_error(
                FileNameBytes(databasePath + QStringLiteral(": ") + problem).toStdString());
        rules.target = bench::LoadScaling(database);
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
