// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Paths of the program's pictures inside its resources.
namespace resources {

inline const QString BackgroundPicture = QStringLiteral(":/pictures/background.jpg"); // 592 x 429
inline const QString SplashPicture = QStringLiteral(":/pictures/splash.jpg");         // 194 x 332
inline const QString AboutPicture = QStringLiteral(":/pictures/about.jpg");           // 100 x 135
inline const QString BandBackground = QStringLiteral(":/pictures/band.png"); // 128 x 128, tiled

// Tool-bar image list, 24 x 24: 0 processor, 1 memory, 2 video, 3 hard disk,
// 4 about, 5 overview, 6 database, 7 all tests.
inline constexpr int ToolBarImageCount = 8;
QString ToolBarImage(int index);

// The application icon as installed for the desktop entry, 48 x 48 and 256 x 256.
inline const QString AppIcon48 = QStringLiteral(":/appicon/48.png");
inline const QString AppIcon256 = QStringLiteral(":/appicon/256.png");

// The named 32 x 32 icons, ":/icons/<NAME>.png".
QString IconPath(const QString& name);

} // namespace resources
