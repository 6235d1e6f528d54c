#pragma once

#include "report/AllTests.h"

#include <QString>
#include <QStringList>

namespace report {

// This machine's results as base.ini rows under the four list headings,
// described as the database editor describes a row it adds: the processor
// text; "Ваши <size> Mb" from the memory text; the display adapter text;
// each drive's entry. Where the video test did not run, its section holds a
// comment saying why instead of a row.
QStringList IniRows(const AllTestsResults& results, const QString& videoSkipped);

// A description as a key that reads back as itself: one line, no '=' (the
// key ends at the first), no blanks at the ends, not empty.
QString IniKey(const QString& description);

} // namespace report
