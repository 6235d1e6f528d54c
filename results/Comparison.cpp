// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/Comparison.h"

#include "results/NoiseTest.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>
#include <functional>

namespace report {
namespace {

// Scores are relative to the reference machine of base.ini; pass counts and
// throughputs are not.
bool relative(const ComparedFigure& figure)
{
    return figure.unit == QLatin1String("relative");
}

// Every figure name of the results, the first result's order first.
QList<ComparedFigure> figureRows(const QList<SavedResult>& results)
{
    QList<ComparedFigure> rows;
    QSet<QString> named;
    for (const SavedResult& result : results)
        for (const SavedFigure& figure : result.figures)
            if (!named.contains(figure.name)) {
                named.insert(figure.name);
                rows.append({figure.name, figure.unit, {}});
            }
    return rows;
}

// A result's figures by name, the first of a name where a file repeats it,
// so that a row is found at once however many figures there are.
QHash<QString, const SavedFigure*> figuresByName(const SavedResult& result)
{
    QHash<QString, const SavedFigure*> byName;
    byName.reserve(result.figures.size());
    for (const SavedFigure& figure : result.figures)
        if (!byName.contains(figure.name))
            byName.insert(figure.name, &figure);
    return byName;
}

Verdict judge(const NoiseTest& test, double change, double threshold)
{
    if (test.p >= kSignificance)
        return Verdict::WithinNoise;
    if (test.t > 0)
        return change > threshold ? Verdict::Better : Verdict::SlightlyBetter;
    return change < -threshold ? Verdict::Worse : Verdict::SlightlyWorse;
}

// Figures so large that the change or the noise test overflowed give no
// verdict: a NaN would read as "slightly worse".
bool inRange(const ComparedCell& cell, const NoiseTest& test)
{
    return std::isfinite(*cell.median) && std::isfinite(*cell.change) && std::isfinite(test.p) &&
           !std::isnan(test.t);
}

ComparedCell compare(const SavedFigure* base, const SavedFigure* figure, bool comparable,
                     double threshold)
{
    ComparedCell cell;
    if (figure == nullptr)
        return cell;
    cell.median = figure->median;
    cell.runs = int(figure->runs.size());
    const auto measured = [](const SavedFigure* f) { return !f->skipped && *f->median > 0; };
    if (base == nullptr)
        return cell;
    if (!measured(base) || !measured(figure)) {
        cell.verdict = Verdict::NotMeasured;
        return cell;
    }
    if (!comparable) {
        cell.verdict = Verdict::NotComparable;
        return cell;
    }
    if (!base->method.isEmpty() && !figure->method.isEmpty() && base->method != figure->method) {
        cell.verdict = Verdict::OtherMethod;
        return cell;
    }
    cell.change = 100.0 * (*figure->median - *base->median) / *base->median;
    const std::optional<NoiseTest> test = WelchTest(base->runs, figure->runs);
    if (!std::isfinite(*base->median) || !inRange(cell, test.value_or(NoiseTest{}))) {
        cell.change.reset();
        cell.verdict = Verdict::OutOfRange;
        return cell;
    }
    if (!test) {
        cell.verdict = Verdict::SpreadUnknown;
        return cell;
    }
    cell.p = test->p;
    cell.verdict = judge(*test, *cell.change, threshold);
    return cell;
}

QString referenceText(const std::array<qint64, 3>& reference)
{
    return QStringLiteral("%1/%2/%3").arg(reference[0]).arg(reference[1]).arg(reference[2]);
}

void warnPair(const SavedResult& base, const SavedResult& other, const QString& a, const QString& b,
              QStringList& warnings)
{
    if (!base.version.isEmpty() && !other.version.isEmpty() && base.version != other.version)
        warnings << QStringLiteral("%1 was measured by version %2, %3 by version %4: the tests "
                                   "themselves may differ")
                        .arg(a, base.version, b, other.version);
    if (!base.processor.isEmpty() && !other.processor.isEmpty() &&
        base.processor != other.processor)
        warnings << QStringLiteral("%1 and %2 ran on different processors (%3; %4): the changes "
                                   "compare machines, not one machine before and after")
                        .arg(a, b, base.processor, other.processor);
    for (const auto& [condition, held] : base.conditions)
        for (const auto& [otherCondition, otherHeld] : other.conditions)
            if (condition == otherCondition && held != otherHeld)
                warnings << QStringLiteral("%1 %2, %3 did not: that alone can change its figures")
                                .arg(held ? a : b, condition, held ? b : a);
    if (base.reference && other.reference && *base.reference != *other.reference)
        warnings << QStringLiteral("%1 and %2 score against different reference machines in "
                                   "base.ini (DATA %3 and %4): compare their CPU and FPU passes, "
                                   "not their scores")
                        .arg(a, b, referenceText(*base.reference), referenceText(*other.reference));
}

QString nameWith(const SavedResult& result, const QString& timeFormat)
{
    const QString time =
        result.time.isValid() ? result.time.toUTC().toString(timeFormat) : QString();
    const QString machine =
        result.machine.isEmpty() ? QFileInfo(result.source).fileName() : result.machine;
    return time.isEmpty() ? machine : machine + QLatin1Char(' ') + time;
}

// The places of the names that another name equals.
QList<qsizetype> alikeNames(const QStringList& names)
{
    QHash<QString, int> count;
    for (const QString& name : names)
        ++count[name];
    QList<qsizetype> alike;
    for (qsizetype i = 0; i < names.size(); ++i)
        if (count.value(names[i]) > 1)
            alike << i;
    return alike;
}

} // namespace

Comparison CompareResults(const QList<SavedResult>& results, double threshold)
{
    Comparison comparison;
    comparison.threshold = threshold;
    if (results.isEmpty())
        return comparison;
    const SavedResult& base = results.front();
    comparison.names = ResultNames(results);
    for (qsizetype i = 1; i < results.size(); ++i)
        warnPair(base, results[i], comparison.names.front(), comparison.names[i],
                 comparison.warnings);
    comparison.warnings.removeDuplicates();

    QList<QHash<QString, const SavedFigure*>> byName;
    for (const SavedResult& result : results)
        byName << figuresByName(result);
    comparison.figures = figureRows(results);
    for (ComparedFigure& row : comparison.figures) {
        const SavedFigure* first = byName.front().value(row.name);
        for (qsizetype i = 0; i < results.size(); ++i) {
            const SavedResult& result = results[i];
            const bool sameReference =
                !base.reference || !result.reference || *base.reference == *result.reference;
            ComparedCell cell = compare(first, byName[i].value(row.name),
                                        sameReference || !relative(row), threshold);
            if (&result == &base && first != nullptr)
                cell = {first->median, int(first->runs.size()), {}, {}, Verdict::Baseline};
            comparison.worse = comparison.worse || cell.verdict == Verdict::Worse;
            row.cells << cell;
        }
    }
    return comparison;
}

QString VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Baseline:
        return QStringLiteral("baseline");
    case Verdict::Missing:
        return QStringLiteral("missing");
    case Verdict::NotMeasured:
        return QStringLiteral("not measured");
    case Verdict::NotComparable:
        return QStringLiteral("other reference");
    case Verdict::OtherMethod:
        return QStringLiteral("other method");
    case Verdict::OutOfRange:
        return QStringLiteral("out of range");
    case Verdict::SpreadUnknown:
        return QStringLiteral("spread unknown");
    case Verdict::WithinNoise:
        return QStringLiteral("within noise");
    case Verdict::Better:
        return QStringLiteral("better");
    case Verdict::SlightlyBetter:
        return QStringLiteral("slightly better");
    case Verdict::SlightlyWorse:
        return QStringLiteral("slightly worse");
    case Verdict::Worse:
        return QStringLiteral("worse");
    }
    return {};
}

QString ResultName(const SavedResult& result)
{
    return nameWith(result, QStringLiteral("yyyy-MM-dd HH:mm"));
}

QStringList ResultNames(const QList<SavedResult>& results)
{
    QStringList names;
    for (const SavedResult& result : results)
        names << ResultName(result);
    const QList<std::function<QString(qsizetype)>> closer{
        [&](qsizetype i) { return nameWith(results[i], QStringLiteral("yyyy-MM-dd HH:mm:ss")); },
        [&](qsizetype i) {
            return names[i] + QStringLiteral(" (%1)").arg(QFileInfo(results[i].source).fileName());
        },
        [&](qsizetype i) { return names[i] + QStringLiteral(" #%1").arg(i + 1); }};
    for (const auto& name : closer) {
        const QList<qsizetype> alike = alikeNames(names);
        if (alike.isEmpty())
            break;
        for (const qsizetype i : alike)
            names[i] = name(i);
    }
    return names;
}

} // namespace report
