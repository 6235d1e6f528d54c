// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Comparison.h"

#include "report/NoiseTest.h"

#include <QFileInfo>

#include <algorithm>

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
    for (const SavedResult& result : results)
        for (const SavedFigure& figure : result.figures)
            if (std::none_of(rows.begin(), rows.end(),
                             [&](const ComparedFigure& row) { return row.name == figure.name; }))
                rows.append({figure.name, figure.unit, {}});
    return rows;
}

Verdict judge(const NoiseTest& test, double change, double threshold)
{
    if (test.p >= kSignificance)
        return Verdict::WithinNoise;
    if (test.t > 0)
        return change > threshold ? Verdict::Better : Verdict::SlightlyBetter;
    return change < -threshold ? Verdict::Worse : Verdict::SlightlyWorse;
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
    cell.change = 100.0 * (*figure->median - *base->median) / *base->median;
    const std::optional<NoiseTest> test = WelchTest(base->runs, figure->runs);
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

void warnPair(const SavedResult& base, const SavedResult& other, QStringList& warnings)
{
    const QString a = ResultName(base);
    const QString b = ResultName(other);
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

} // namespace

Comparison CompareResults(const QList<SavedResult>& results, double threshold)
{
    Comparison comparison;
    comparison.threshold = threshold;
    if (results.isEmpty())
        return comparison;
    const SavedResult& base = results.front();
    for (qsizetype i = 1; i < results.size(); ++i)
        warnPair(base, results[i], comparison.warnings);
    comparison.warnings.removeDuplicates();

    comparison.figures = figureRows(results);
    for (ComparedFigure& row : comparison.figures) {
        const SavedFigure* first = base.figure(row.name);
        for (const SavedResult& result : results) {
            const bool sameReference =
                !base.reference || !result.reference || *base.reference == *result.reference;
            ComparedCell cell =
                compare(first, result.figure(row.name), sameReference || !relative(row), threshold);
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
    const QString time = result.time.isValid()
                             ? result.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                             : QString();
    const QString machine =
        result.machine.isEmpty() ? QFileInfo(result.source).fileName() : result.machine;
    return time.isEmpty() ? machine : machine + QLatin1Char(' ') + time;
}

} // namespace report
