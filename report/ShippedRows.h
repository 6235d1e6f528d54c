// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/AddReference.h"

#include <QString>
#include <QStringList>

namespace report {

// What a row the project ships says of the machine a saved result was
// measured on: "2 CPUs, virtual, quorvix 1.03". Raises ResultFileError when
// the result does not tell how many CPUs ran (saved with --no-context) or
// whether a hypervisor was there.
QString MeasuredMachine(const QString& fileName);

// The rows of a saved result as base.ini lines under their headings, each
// description followed by the measured machine in brackets, scored against
// `target`; what gives no row as a comment.
QStringList ShippedRows(const QString& fileName, const bench::ReferenceMachine& target);

} // namespace report
