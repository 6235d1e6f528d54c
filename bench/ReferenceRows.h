// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/BarColors.h"

#include <QList>
#include <QString>

class ComparisonDatabase;
class Chart;

namespace bench {

// One of the page's own bars, added at value 0 before the reference rows.
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
// key that is listed but gone by the time it is read, its own bars and the
// bars of each row (each row is preceded by a spacer).
struct ChartPageRows
{
    QString section;
    QString missingKeyDefault;
    QList<OwnBarLook> ownBars;
    QList<RowBarLook> rowBars;
};

// Rebuilds `chart` from the page's reference rows in file order. A row value
// that TextToInteger rejects raises its DatabaseError; the bars added so far
// stay and automatic redraw stays off. Rows that would not fit whole into
// the chart's fixed number of bars are left out.
void LoadReferenceRows(Chart& chart, const ComparisonDatabase& database, const ChartPageRows& page);

// The processor page: own bars "Your CPU" and "FPU"; per row "<key> CPU" from
// field 0 and "FPU" from field 1.
ChartPageRows ProcessorPageRows();

// The memory (comparative mode), video and HDD pages: one own bar, and per
// row one bar captioned with the key holding the whole value.
ChartPageRows MemoryPageRows();
ChartPageRows VideoPageRows();
ChartPageRows DrivePageRows();

} // namespace bench
