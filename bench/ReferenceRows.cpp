// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/ReferenceRows.h"

#include "controls/Chart.h"
#include "database/ComparisonDatabase.h"
#include "database/DatabaseError.h"
#include "database/ListKinds.h"
#include "database/ValueText.h"

namespace bench {
namespace {

void addBar(Chart& chart, const QString& caption, std::int32_t value, const BarColors& colors)
{
    const int index = chart.AddBar(caption, value, colors.color);
    if (index >= 0)
        chart.bars().Items[index].GradientColor = colors.gradientColor;
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

bool rowFits(const Chart& chart, const ChartPageRows& page)
{
    return chart.bars().Count + 1 + page.rowBars.size() <= TMyChartBars::Capacity;
}

ChartPageRows singleValuePage(const QString& section, const QString& missingKeyDefault,
                              const QString& ownCaption)
{
    return {section,
            missingKeyDefault,
            {{ownCaption, kOwnBar}},
            {{true, QString(), -1, kReferenceBar}}};
}

} // namespace

void LoadReferenceRows(Chart& chart, const ComparisonDatabase& database, const ChartPageRows& page)
{
    chart.BeginUpdate();
    chart.Clear();
    for (const OwnBarLook& own : page.ownBars)
        addBar(chart, own.caption, 0, own.colors);
    const QStringList keys = database.ListKeys(page.section);
    for (const QString& key : keys) {
        if (!rowFits(chart, page))
            break;
        chart.AddBar(QString(), 0, kSpacerColor);
        const QString text = database.ReadText(page.section, key, page.missingKeyDefault);
        for (const RowBarLook& bar : page.rowBars) {
            const QString caption = bar.captionFromKey ? key + bar.captionText : bar.captionText;
            addBar(chart, caption, barValue(page.section, key, text, bar.field), bar.colors);
        }
    }
    chart.EndUpdate();
}

ChartPageRows ProcessorPageRows()
{
    return {ShapeOf(lkProcessor).section,
            QStringLiteral("0,0"),
            {{QStringLiteral("Your CPU"), kOwnBar}, {QStringLiteral("FPU"), kOwnFpuBar}},
            {{true, QStringLiteral(" CPU"), 0, kReferenceBar},
             {false, QStringLiteral("FPU"), 1, kReferenceFpuBar}}};
}

ChartPageRows MemoryPageRows()
{
    return singleValuePage(ShapeOf(lkMemory).section, QStringLiteral("0"),
                           QStringLiteral("Your memory"));
}

// "0,0" is not an integer: a key that vanishes between listing and reading
// stops the refresh with the usual conversion error.
ChartPageRows VideoPageRows()
{
    return singleValuePage(ShapeOf(lkVideo).section, QStringLiteral("0,0"),
                           QStringLiteral("Your video"));
}

ChartPageRows DrivePageRows()
{
    return singleValuePage(ShapeOf(lkHdd).section, QStringLiteral("0,0"),
                           QStringLiteral("Your drive"));
}

} // namespace bench
