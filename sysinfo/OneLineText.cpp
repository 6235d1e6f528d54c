// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneLineText.h"

namespace sysinfo {

QString OneLineText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x20 || code == 0x7F)
            shown += QStringLiteral("\\%1").arg(unsigned(code), 3, 8, QLatin1Char('0'));
        else if (code >= 0x80 && code < 0xA0) // C1 controls: their two UTF-8 bytes
            shown += QStringLiteral("\\302\\%1").arg(unsigned(code), 3, 8, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

} // namespace sysinfo
