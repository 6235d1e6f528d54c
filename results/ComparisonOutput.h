// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/Comparison.h"

#include <QJsonDocument>
#include <QStringList>

namespace report {

// The comparison as a table: the results one per line, then per figure its
// unit, the first result's median and for every other result its median,
// change and verdict, then the warnings.
QStringList ComparisonLines(const QList<SavedResult>& results, const Comparison& comparison);

// The same as one JSON document; the README lists its members.
QJsonDocument ComparisonJson(const QList<SavedResult>& results, const Comparison& comparison);

} // namespace report
