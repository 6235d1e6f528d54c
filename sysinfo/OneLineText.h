// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sysinfo {

// A text from the system for a one-line field, the drive list and the log:
// each control character (U+0000 to U+001F and U+007F) is shown as the
// three-digit octal escape that mountinfo uses, so a newline reads "\012";
// a C1 control (U+0080 to U+009F, which some terminals obey) as the escapes
// of its two UTF-8 bytes, "\302\233" for U+009B.
QString OneLineText(const QString& text);

} // namespace sysinfo
