// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace report {

// What marks a saved result: the report writes these and the reader of saved
// results checks them.
inline const QString kProgramName = QStringLiteral("Quorvix 2000");
// Raised when a member changes meaning or goes away; readers refuse newer
// documents. 2: `schemaVersion`, `time`, `tests` and `error` added, skipped
// figures null.
inline constexpr int kResultSchemaVersion = 2;

} // namespace report
