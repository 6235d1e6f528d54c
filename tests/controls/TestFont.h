// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QFont>
#include <QFontDatabase>

// The chart font of the main window: Tahoma bold, 11 pixels, when the wine
// fonts are installed; otherwise the default family at that size.
inline QFont ChartTestFont()
{
    static const bool registered = [] {
        const QString path = QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf");
        return QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0;
    }();
    QFont font = registered ? QFont(QStringLiteral("Tahoma")) : QFont();
    font.setBold(true);
    font.setPixelSize(11);
    return font;
}
