// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Far outside any screen, yet safe to add small offsets to in int.
constexpr long double CoordLimit = 1 << 24;

// Truncation toward zero, clamped so that absurd values cannot overflow.
int Trunc(long double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::clamp(std::trunc(v), -CoordLimit, CoordLimit));
}

int ClampCoord(long long v)
{
    return int(std::clamp<long long>(v, -(1LL << 24), 1LL << 24));
}

float ScaleFor(const TMyChartBars& bars, int count, const std::vector<ChartRow>& rows,
               int innerWidth, int barLeft, int border, const ChartTextMeasure& measure)
{
    float scale = 100000.0f;
    for (int i = 0; i < count; ++i) {
        const std::int32_t value = bars.Items[std::size_t(i)].Value;
        long double candidate = 10000.0L;
        if (value > 0) {
            const long long room = (long long)innerWidth - barLeft + border -
                                   measure.width(rows[std::size_t(i)].valueText);
            candidate = (long double)room / value;
        }
        if (candidate < scale)
            scale = float(candidate);
    }
    return scale;
}

ChartRow PlaceRow(const ChartGeometry& g, int i, const TMyChartBar& bar, int captionWidth)
{
    ChartRow row;
    row.caption = bar.Caption;
    row.valueText = QString::number(bar.Value);
    row.spacer = bar.Caption.isEmpty();
    const long double r = g.rowHeight;
    const long double s = g.scale;
    row.captionX = g.barLeft - 10 - captionWidth;
    row.captionY = ClampCoord((long long)Trunc((r - g.textHeight) / 2 + i * r) + g.border - 2);
    row.left = g.barLeft;
    row.top = ClampCoord((long long)Trunc(i * r) + g.border);
    row.right = ClampCoord((long long)Trunc(bar.Value * s) + g.barLeft);
    row.bottom = ClampCoord((long long)Trunc(i * r + r) + g.border);
    row.valueX = ClampCoord((long long)row.right + 4);
    // Integer division truncates toward zero, also when the row is lower than the text.
    row.valueY = ClampCoord((long long)row.top - 2 + (Trunc(r) - g.textHeight) / 2);
    return row;
}

} // namespace

ChartGeometry ChartGeometry::Compute(int width, int height, int border, const TMyChartBars& bars,
                                     const ChartTextMeasure& measure)
{
    ChartGeometry g;
    g.width = width;
    g.height = height;
    g.border = border;
    g.innerWidth = width - 2 * border;
    g.innerHeight = height - 2 * border;
    const int count = std::clamp(bars.Count, 0, TMyChartBars::Capacity);
    g.rowHeight = count > 0 ? float((long double)g.innerHeight / count) : 0.0f;
    g.textHeight = measure.height;

    std::vector<int> captionWidths(std::size_t(count), 0);
    g.rows.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const TMyChartBar& bar = bars.Items[std::size_t(i)];
        g.rows[std::size_t(i)].valueText = QString::number(bar.Value);
        if (!bar.Caption.isEmpty())
            captionWidths[std::size_t(i)] = measure.width(bar.Caption);
        g.widestCaption = std::max(g.widestCaption, captionWidths[std::size_t(i)]);
    }
    g.barLeft = g.widestCaption + border + 10;

    g.scale = ScaleFor(bars, count, g.rows, g.innerWidth, g.barLeft, border, measure);
    for (int i = 0; i < count; ++i)
        g.rows[std::size_t(i)] =
            PlaceRow(g, i, bars.Items[std::size_t(i)], captionWidths[std::size_t(i)]);
    return g;
}

std::vector<GradientBand> GradientBands(int left, int right, TColor start, TColor end)
{
    const int span = right - left;
    int n = span / 4;
    if (n > 32)
        n = 32;
    if (n == 0)
        n = 1;
    if (n < 0)
        return {};

    float r = float(RedOf(start)), g = float(GreenOf(start)), b = float(BlueOf(start));
    const float dr = (RedOf(end) - r) / n;
    const float dg = (GreenOf(end) - g) / n;
    const float db = (BlueOf(end) - b) / n;
    const float dx = float(span) / n;
    float x = 0;

    auto channel = [](float v) { return std::clamp(int(std::nearbyint(v)), 0, 255); };
    std::vector<GradientBand> bands;
    bands.reserve(std::size_t(n));
    for (int k = 0; k < n; ++k) {
        r += dr;
        g += dg;
        b += db;
        const float x0 = x;
        x += dx;
        bands.push_back({int(std::trunc(x0)) + left, int(std::trunc(x)) + left,
                         MakeColor(channel(r), channel(g), channel(b))});
    }
    return bands;
}
