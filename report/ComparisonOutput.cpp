// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ComparisonOutput.h"

#include "report/NoiseTest.h"

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

// One cell's parts, padded per column so that numbers line up.
struct Column
{
    QStringList medians;
    QStringList changes;
    QStringList verdicts;

    QString cell(qsizetype row) const
    {
        const auto width = [](const QStringList& texts) {
            qsizetype w = 0;
            for (const QString& text : texts)
                w = std::max(w, text.size());
            return w;
        };
        QString text = medians[row].rightJustified(width(medians));
        if (width(changes) > 0)
            text += QStringLiteral("  ") + changes[row].rightJustified(width(changes));
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
    QList<QStringList> about;
    for (qsizetype i = 0; i < results.size(); ++i)
        about << QStringList{
            QStringLiteral("%1.").arg(i + 1), ResultName(results[i]),
            QStringLiteral("%1 run%2").arg(results[i].runs).arg(results[i].runs == 1 ? "" : "s"),
            QStringLiteral("version ") + results[i].version, results[i].source};
    QStringList lines = padded(about);

    QList<Column> columns(results.size());
    for (const ComparedFigure& figure : comparison.figures)
        for (qsizetype i = 0; i < figure.cells.size(); ++i) {
            columns[i].medians << numberText(figure.cells[i].median);
            columns[i].changes << changeText(figure.cells[i].change);
            columns[i].verdicts << verdictCell(figure.cells[i]);
        }
    QList<QStringList> table{{QStringLiteral("Figure"), QStringLiteral("Unit")}};
    for (const SavedResult& result : results)
        table.front() << ResultName(result);
    for (qsizetype row = 0; row < comparison.figures.size(); ++row) {
        QStringList cells{comparison.figures[row].name, comparison.figures[row].unit};
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
        lines << QStringLiteral("Warning: ") + warning;
    return lines;
}

QJsonDocument ComparisonJson(const QList<SavedResult>& results, const Comparison& comparison)
{
    QJsonArray about;
    for (const SavedResult& result : results)
        about.append(QJsonObject{{"file", result.source},
                                 {"name", ResultName(result)},
                                 {"machine", result.machine},
                                 {"time", result.time.isValid()
                                              ? QJsonValue(result.time.toString(Qt::ISODate))
                                              : QJsonValue()},
                                 {"version", result.version},
                                 {"runs", result.runs}});
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
