// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/FullRun.h"

#include <QString>
#include <QStringList>

namespace report {

// This machine's results as base.ini rows under the four list headings,
// described as the database editor describes a row it adds (one per drive,
// by its entry). Where a test did not run (or the processor could not be
// scored), a comment saying why stands instead of its row.
QStringList IniRows(const AllTestsResults& results);

// A description as a key that reads back as itself: one line, no '=' (the
// key ends at the first), no blanks at the ends, not empty.
QString IniKey(const QString& description);

} // namespace report
