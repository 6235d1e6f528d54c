// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ProgramFont.h"

QStringList FontFamilies(const QString& family)
{
    // Without Tahoma, faces whose bold captions still fit beside their
    // fields ("Computer name" in 96 pixels; DejaVu Sans needs 99).
    if (family == QLatin1String("Tahoma"))
        return {family, QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans Condensed")};
    if (family == QLatin1String("Fixedsys"))
        return {family, QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")};
    return {family};
}

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font;
    font.setFamilies(FontFamilies(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont ProgramFont()
{
    return PixelFont(QStringLiteral("Tahoma"), 11);
}
