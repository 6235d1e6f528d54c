// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/ChartBars.h"

#include <cstdint>
#include <functional>

namespace bench {

// Fills of the whole surface per measurement.
inline constexpr int kVideoFills = 400;

// What the video kernel draws on: the test surface's canvas.
class VideoCanvas
{
public:
    virtual ~VideoCanvas() = default;
    // Fills the rectangle from (0, 0) to (width, height) with `color`.
    virtual void FillRect(int width, int height, TColor color) = 0;
    // The colour of the pixel at (x, y). Returns only when every fill before
    // it has been carried out.
    virtual TColor GetPixel(int x, int y) = 0;
};

// Pixels per second of kVideoFills fills of width x height in `elapsedMs`:
// pixels / elapsed x 1000 in extended precision, rounded to nearest with
// ties to even. No time (or a clock that went back) gives 0; a rate beyond
// 64 bits gives the largest.
std::int64_t VideoPixelRate(int width, int height, double elapsedMs);

// The video kernel: kVideoFills fills of the rectangle from (0, 0) to
// (width, height) in random colours, each followed by reading pixel (0, 0),
// timed on `clock` (milliseconds) at time-critical priority. Pixels per
// second.
std::int64_t VideoTest(VideoCanvas& canvas, int width, int height,
                       const std::function<double()>& clock = {});

// Bytes a pixel of `bitsPerPixel` bits takes, rounded to nearest with ties
// to even (4 bits give 0).
int BytesPerPixel(int bitsPerPixel);

// A pixel rate as MiB/s of pixel data, truncated, capped at the largest bar
// value.
std::int32_t VideoRate(std::int64_t pixelRate, int bytesPerPixel);

} // namespace bench
