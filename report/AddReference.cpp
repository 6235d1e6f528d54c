// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/AddReference.h"

#include "bench/BenchError.h"
#include "bench/Scores.h"
#include "database/IniEncoding.h"
#include "database/IniReader.h"
#include "database/ValueText.h"
#include "report/HeadlessView.h"
#include "report/IniRows.h"
#include "results/SavedResult.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace report {
namespace {

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

// A description from another file as a key, its control characters blanks:
// a row's text reaches the terminal and the charts.
QString printable(QString text)
{
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return text;
}

QString rowKey(const QString& text, const Anonymiser& anonymiser)
{
    return IniKey(anonymiser.apply(printable(text)));
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
        anonymiser.add({{result.machine, result.userName}, {}});
        if (!result.userName.isEmpty() && result.userName != kAnonymousWord)
            anonymiser.add({{}, {QStringLiteral("/home/") + result.userName}});
    }
    const auto describe = [&anonymiser](ListKind kind, const QString& text) {
        return rowKey(OwnRowDescription(kind, text), anonymiser);
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
                                  .arg(section, rowKey(key, rules.anonymiser), printable(value));
                continue;
            }
            const std::optional<QString> scaled =
                kind == lkProcessor ? rescaled(value, data, rules.target) : value;
            if (!scaled) {
                file.notes << QStringLiteral("no Processor row for '%1': its scores cannot be "
                                             "put on the scale of this DATA")
                                  .arg(rowKey(key, rules.anonymiser));
                continue;
            }
            file.rows << ReferenceRow{kind, rowKey(key, rules.anonymiser), *scaled};
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

} // namespace report
