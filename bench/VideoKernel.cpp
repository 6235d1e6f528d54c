// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/VideoKernel.h"

#include "bench/BarColors.h"
#include "bench/PseudoRandom.h"
#include "platform/Clock.h"
#include "platform/Priority.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace bench {
namespace {

constexpr std::int64_t kMebibyte = 1'048'576;

// Red is the third value drawn, green the second, blue the first.
TColor randomColor()
{
    const std::uint32_t blue = PseudoRandom(256);
    const std::uint32_t green = PseudoRandom(256);
    const std::uint32_t red = PseudoRandom(256);
    return MakeColor(int(red), int(green), int(blue));
}

} // namespace

std::int64_t VideoPixelRate(int width, int height, double elapsedMs)
{
    const std::int64_t pixels = std::int64_t{width} * kVideoFills * height;
    if (!(elapsedMs > 0) || pixels <= 0)
        return 0;
    const long double rate =
        static_cast<long double>(pixels) / static_cast<long double>(elapsedMs) * 1000.0L;
    const long double rounded = std::nearbyint(rate);
    // 2^63 is exact in long double; anything at or above it does not fit.
    if (rounded >= 9223372036854775808.0L)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(rounded);
}

std::int64_t VideoTest(VideoCanvas& canvas, int width, int height,
                       const std::function<double()>& clock)
{
    const auto now = [&clock] { return clock ? clock() : platform::PreciseMilliseconds(); };
    double elapsed = 0;
    {
        const platform::TimeCriticalBracket bracket;
        const double start = now();
        for (int fill = 0; fill < kVideoFills; ++fill) {
            canvas.FillRect(width, height, randomColor());
            canvas.GetPixel(0, 0);
        }
        elapsed = now() - start;
    }
    return VideoPixelRate(width, height, elapsed);
}

int BytesPerPixel(int bitsPerPixel)
{
    return static_cast<int>(std::nearbyint(bitsPerPixel / 8.0));
}

std::int32_t VideoRate(std::int64_t pixelRate, int bytesPerPixel)
{
    if (pixelRate <= 0 || bytesPerPixel <= 0)
        return 0;
    constexpr std::int32_t cap = std::numeric_limits<std::int32_t>::max();
    // A product beyond 64 bits is far beyond the cap as well.
    if (pixelRate > std::numeric_limits<std::int64_t>::max() / bytesPerPixel)
        return cap;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(pixelRate * bytesPerPixel / kMebibyte, cap));
}

} // namespace bench
