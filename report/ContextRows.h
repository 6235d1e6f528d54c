// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/Insight.h"

#include <QList>
#include <QString>

namespace report {

class Session;

// The context measurements for the window: the logged figures are the
// session's (its reference machine and comparative memory figure; no
// processor run timed a chain). Where the memory page has not measured,
// the memory line says so instead of comparing a 0.
Insight MeasureWindowContext(const InsightKernels& kernels, const Session& session);

// One row of the window's table: a figure, its value as text, and a bar of
// `fraction` (0 to 1) of the column's width against the figures of its
// group; no bar where `fraction` is negative.
struct ContextRow
{
    QString group; // "All cores", "Clock", "Latency", "Bandwidth"
    QString name;
    QString value;
    double fraction = -1;
};

// The rows of the figures; the memory line and the warnings are sentences
// the window shows beside them.
QList<ContextRow> ContextRows(const Insight& insight);

} // namespace report
