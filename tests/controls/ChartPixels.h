// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>

#include <functional>

// Pixel helpers for the chart and image tests.
inline bool AnyPixel(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
{
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (test(image.pixel(x, y)))
                return true;
    return false;
}

inline bool AllPixels(const QImage& image, const QRect& area, QRgb colour)
{
    return !AnyPixel(image, area,
                     [colour](QRgb p) { return (p | 0xFF000000) != (colour | 0xFF000000); });
}

// Leftmost and rightmost columns in area whose pixels differ from background; (-1, -1) if none.
inline QPair<int, int> InkColumns(const QImage& image, const QRect& area, QRgb background)
{
    int first = -1, last = -1;
    for (int x = area.left(); x <= area.right(); ++x) {
        if (AnyPixel(image, QRect(x, area.top(), 1, area.height()), [background](QRgb p) {
                return (p | 0xFF000000) != (background | 0xFF000000);
            })) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

inline bool IsYellowish(QRgb p)
{
    return qRed(p) >= 230 && qGreen(p) >= 230 && qBlue(p) <= 120;
}

inline bool IsWhitish(QRgb p)
{
    return qRed(p) >= 230 && qGreen(p) >= 230 && qBlue(p) >= 230;
}
