// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/ReferenceRows.h"

#include "controls/Chart.h"
#include "database/ComparisonDatabase.h"
#include "database/DatabaseError.h"
#include "database/ListKinds.h"
#include "database/ValueText.h"

namespace bench {
namespace {

void addBar(TMyChartBars& bars, const QString& caption, std::int32_t value, const BarColors& colors)
{
    AppendBar(bars, caption, value, colors.color, colors.gradientColor);
}

// Longer values are quoted cut short in the error, which then names the row.
constexpr qsizetype kLongestQuotedValue = 40;

std::int32_t barValue(const QString& section, const QString& key, const QString& text, int field)
{
    const QString value = field < 0 ? text : ExtractField(text, field);
    if (value.size() <= kLongestQuotedValue || ParseInteger(value))
        return TextToInteger(value);
    const QString shown = value.left(kLongestQuotedValue).replace(QChar(0), u' ');
    throw DatabaseError(
        QStringLiteral("'%1...' in [%2] %3 is not a valid integer value").arg(shown, section, key));
}

// Whether one more row fits whole after `rows` rows.
bool rowFits(const ChartPageRows& page, qsizetype rows)
{
    const qsizetype barsPerRow = 1 + page.rowBars.size();
    return page.ownBars.size() + (rows + 1) * barsPerRow <= TMyChartBars::Capacity;
}

ChartPageRows singleValuePage(const QString& section, const QString& missingKeyDefault,
                              TColor chartGradientColor, const QString& ownCaption)
{
    return {section,
            missingKeyDefault,
            chartGradientColor,
            {{ownCaption, kOwnBar}},
            {{true, QString(), -1, kReferenceBar}}};
}

} // namespace

ReferenceRowList ReadReferenceRows(const ComparisonDatabase& database, const ChartPageRows& page)
{
    ReferenceRowList rows;
    const QStringList keys = database.ListKeys(page.section);
    for (const QString& key : keys) {
        if (!rowFits(page, rows.size()))
            break;
        const QString text = database.ReadText(page.section, key, page.missingKeyDefault);
        ReferenceRow row{key, {}};
        for (const RowBarLook& bar : page.rowBars)
            row.values << barValue(page.section, key, text, bar.field);
        rows << row;
    }
    return rows;
}

TMyChartBars ChartWithRows(const ChartPageRows& page, const ReferenceRowList& rows,
                           const QList<std::int32_t>& ownValues)
{
    TMyChartBars bars;
    for (qsizetype i = 0; i < page.ownBars.size(); ++i)
        addBar(bars, page.ownBars[i].caption, ownValues.value(i), page.ownBars[i].colors);
    for (const ReferenceRow& row : rows) {
        AppendBar(bars, QString(), 0, kSpacerColor, page.chartGradientColor);
        for (qsizetype i = 0; i < page.rowBars.size(); ++i) {
            const RowBarLook& bar = page.rowBars[i];
            const QString caption =
                bar.captionFromKey ? row.key + bar.captionText : bar.captionText;
            addBar(bars, caption, row.values.value(i), bar.colors);
        }
    }
    return bars;
}

ChartPageRows ProcessorPageRows()
{
    return {ShapeOf(lkProcessor).section,
            QStringLiteral("0,0"),
            kNavy,
            {{QStringLiteral("Your CPU"), kOwnBar}, {QStringLiteral("FPU"), kOwnFpuBar}},
            {{true, QStringLiteral(" CPU"), 0, kReferenceBar},
             {false, QStringLiteral("FPU"), 1, kReferenceFpuBar}}};
}

ChartPageRows MemoryPageRows()
{
    return singleValuePage(ShapeOf(lkMemory).section, QStringLiteral("0"), kNavy,
                           QStringLiteral("Your memory"));
}

// "0,0" is not an integer: a key that vanishes between listing and reading
// stops the refresh with the usual conversion error.
ChartPageRows VideoPageRows()
{
    return singleValuePage(ShapeOf(lkVideo).section, QStringLiteral("0,0"), kBlack,
                           QStringLiteral("Your video"));
}

ChartPageRows DrivePageRows()
{
    return singleValuePage(ShapeOf(lkHdd).section, QStringLiteral("0,0"), kBlack,
                           QStringLiteral("Your drive"));
}

} // namespace bench
