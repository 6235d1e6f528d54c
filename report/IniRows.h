// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/FullRun.h"

#include <QString>
#include <QStringList>

namespace report {

// This machine's results as base.ini rows under the four list headings,
// described as the database editor describes a row it adds (one per drive,
// by its entry). Where a test did not run (or the processor could not be
// scored), a comment saying why stands instead of its row.
// A video figure filled into a backing store has no row either.
QStringList IniRows(const AllTestsResults& results);

// Why a video figure filled into a backing store gives no row.
inline const QString kNoVideoRow =
    QStringLiteral("the video figure was filled into a backing store, not through an X server, "
                   "and does not compare with the Video rows");

// A description as a key that reads back as itself: one line, no '=' (the
// key ends at the first), no blanks at the ends, not empty.
QString IniKey(const QString& description);

} // namespace report
