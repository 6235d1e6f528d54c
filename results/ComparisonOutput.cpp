// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/ComparisonOutput.h"

#include "results/NoiseTest.h"
#include "sysinfo/OneLineText.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

QString numberText(const std::optional<double>& value)
{
    if (!value)
        return QStringLiteral("-"); // the result has no such figure
    return QString::number(*value, 'f', *value == std::round(*value) ? 0 : 1);
}

QString changeText(const std::optional<double>& change)
{
    if (!change)
        return {};
    return QStringLiteral("%1%2 %").arg(*change >= 0 ? "+" : "").arg(*change, 0, 'f', 1);
}

// Names from a result file are shown on one line and cut to these widths
// in the middle: one name of a megabyte would otherwise widen every row.
constexpr qsizetype kNameWidth = 48;
constexpr qsizetype kUnitWidth = 16;
constexpr qsizetype kVersionWidth = 24;

// A text of a result file as the table shows it: control characters escaped
// as the overview escapes them, at most `width` characters.
QString shown(const QString& text, qsizetype width)
{
    const QString line = sysinfo::OneLineText(text);
    if (line.size() <= width)
        return line;
    const QString dots = QStringLiteral("...");
    qsizetype head = (width - dots.size()) / 2;
    qsizetype tail = width - dots.size() - head;
    // Never half of a surrogate pair.
    if (line[head - 1].isHighSurrogate())
        --head;
    if (line[line.size() - tail].isLowSurrogate())
        --tail;
    return line.left(head) + dots + line.right(tail);
}

qsizetype widest(const QStringList& texts)
{
    qsizetype w = 0;
    for (const QString& text : texts)
        w = std::max(w, text.size());
    return w;
}

// One cell's parts, padded per column so that numbers line up.
struct Column
{
    QStringList medians;
    QStringList changes;
    QStringList verdicts;
    qsizetype medianWidth = 0;
    qsizetype changeWidth = 0;

    void measure()
    {
        medianWidth = widest(medians);
        changeWidth = widest(changes);
    }

    QString cell(qsizetype row) const
    {
        QString text = medians[row].rightJustified(medianWidth);
        if (changeWidth > 0)
            text += QStringLiteral("  ") + changes[row].rightJustified(changeWidth);
        if (!verdicts[row].isEmpty())
            text += QStringLiteral("  ") + verdicts[row];
        return text;
    }
};

QStringList padded(const QList<QStringList>& table)
{
    QList<qsizetype> widths;
    for (const QStringList& row : table)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths << 0;
            widths[c] = std::max(widths[c], row[c].size());
        }
    QStringList lines;
    for (const QStringList& row : table) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row[c].leftJustified(widths[c] + 2) : row[c];
        lines << line;
    }
    return lines;
}

QString verdictCell(const ComparedCell& cell)
{
    if (cell.verdict == Verdict::Baseline || (cell.verdict == Verdict::Missing && !cell.median))
        return {};
    return VerdictText(cell.verdict);
}

QJsonValue optionalNumber(const std::optional<double>& value, int decimals)
{
    if (!value)
        return QJsonValue();
    const double scale = std::pow(10.0, decimals);
    return std::round(*value * scale) / scale;
}

} // namespace

QStringList ComparisonLines(const QList<SavedResult>& results, const Comparison& comparison)
{
    QStringList names;
    for (const QString& name : comparison.names)
        names << shown(name, kNameWidth);
    QList<QStringList> about;
    for (qsizetype i = 0; i < results.size(); ++i)
        about << QStringList{
            QStringLiteral("%1.").arg(i + 1), names[i],
            QStringLiteral("%1 run%2").arg(results[i].runs).arg(results[i].runs == 1 ? "" : "s"),
            QStringLiteral("version ") + shown(results[i].version, kVersionWidth),
            sysinfo::OneLineText(results[i].source)};
    QStringList lines = padded(about);

    QList<Column> columns(results.size());
    for (const ComparedFigure& figure : comparison.figures)
        for (qsizetype i = 0; i < figure.cells.size(); ++i) {
            columns[i].medians << numberText(figure.cells[i].median);
            columns[i].changes << changeText(figure.cells[i].change);
            columns[i].verdicts << verdictCell(figure.cells[i]);
        }
    for (Column& column : columns)
        column.measure();
    QList<QStringList> table{QStringList{QStringLiteral("Figure"), QStringLiteral("Unit")} + names};
    for (qsizetype row = 0; row < comparison.figures.size(); ++row) {
        QStringList cells{shown(comparison.figures[row].name, kNameWidth),
                          shown(comparison.figures[row].unit, kUnitWidth)};
        for (const Column& column : columns)
            cells << column.cell(row);
        table << cells;
    }
    lines << QString() << padded(table);

    const bool unknown = std::any_of(
        comparison.figures.begin(), comparison.figures.end(), [](const ComparedFigure& figure) {
            return std::any_of(figure.cells.begin(), figure.cells.end(), [](const ComparedCell& c) {
                return c.verdict == Verdict::SpreadUnknown;
            });
        });
    if (unknown || !comparison.warnings.isEmpty())
        lines << QString();
    if (unknown)
        lines << QStringLiteral("Note: a verdict needs %1 runs or more on both sides "
                                "(--report --save --repeat %1).")
                     .arg(kMinRunsForNoise);
    for (const QString& warning : comparison.warnings)
        lines << QStringLiteral("Warning: ") + sysinfo::OneLineText(warning);
    return lines;
}

QJsonDocument ComparisonJson(const QList<SavedResult>& results, const Comparison& comparison)
{
    QJsonArray about;
    for (qsizetype i = 0; i < results.size(); ++i) {
        const SavedResult& result = results[i];
        about.append(QJsonObject{{"file", result.source},
                                 {"name", comparison.names[i]},
                                 {"machine", result.machine},
                                 {"time", result.time.isValid()
                                              ? QJsonValue(result.time.toString(Qt::ISODate))
                                              : QJsonValue()},
                                 {"version", result.version},
                                 {"runs", result.runs}});
    }
    QJsonArray figures;
    for (const ComparedFigure& figure : comparison.figures) {
        QJsonArray cells;
        for (const ComparedCell& cell : figure.cells)
            cells.append(QJsonObject{{"median", optionalNumber(cell.median, 1)},
                                     {"runs", cell.runs},
                                     {"change", optionalNumber(cell.change, 2)},
                                     {"p", cell.p ? QJsonValue(*cell.p) : QJsonValue()},
                                     {"verdict", VerdictText(cell.verdict)}});
        figures.append(
            QJsonObject{{"figure", figure.name}, {"unit", figure.unit}, {"results", cells}});
    }
    return QJsonDocument(QJsonObject{{"threshold", comparison.threshold},
                                     {"results", about},
                                     {"figures", figures},
                                     {"warnings", QJsonArray::fromStringList(comparison.warnings)},
                                     {"worse", comparison.worse}});
}

} // namespace report
