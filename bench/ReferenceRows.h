// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/BarColors.h"

#include <QList>
#include <QString>

#include <cstdint>

class ComparisonDatabase;

namespace bench {

// One of the page's own bars, shown at 0 until its figure is measured.
struct OwnBarLook
{
    QString caption;
    BarColors colors;
};

// One bar of a reference row. The caption is the row's key followed by
// `captionText` when `captionFromKey`, else `captionText` alone. The value is
// field `field` of the row's text, or the whole text when `field` < 0.
struct RowBarLook
{
    bool captionFromKey;
    QString captionText;
    int field;
    BarColors colors;
};

// What a benchmark page shows: its section of base.ini, the text read for a
// key that is listed but gone by the time it is read, the gradient colour of
// its chart in the window (a spacer keeps it), its own bars and the bars of
// each row (each row is preceded by a spacer).
struct ChartPageRows
{
    QString section;
    QString missingKeyDefault;
    TColor chartGradientColor;
    QList<OwnBarLook> ownBars;
    QList<RowBarLook> rowBars;
};

// A reference row as read: its key and the values of its bars.
struct ReferenceRow
{
    QString key;
    QList<std::int32_t> values;

    bool operator==(const ReferenceRow&) const = default;
};
using ReferenceRowList = QList<ReferenceRow>;

// The page's reference rows in file order, read afresh. A row value that
// TextToInteger rejects raises its DatabaseError. Rows that would not fit
// whole into a chart's fixed number of bars beside the own bars are neither
// read nor returned.
ReferenceRowList ReadReferenceRows(const ComparisonDatabase& database, const ChartPageRows& page);

// The chart of a page: its own bars with `ownValues` (0 where none is
// given), then a spacer and the row's bars for each row.
TMyChartBars ChartWithRows(const ChartPageRows& page, const ReferenceRowList& rows,
                           const QList<std::int32_t>& ownValues);

// The processor page: own bars "Your CPU" and "FPU"; per row "<key> CPU" from
// field 0 and "FPU" from field 1.
ChartPageRows ProcessorPageRows();

// The memory (comparative mode), video and HDD pages: one own bar, and per
// row one bar captioned with the key holding the whole value.
ChartPageRows MemoryPageRows();
ChartPageRows VideoPageRows();
ChartPageRows DrivePageRows();

} // namespace bench
