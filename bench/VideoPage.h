// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ReferenceRows.h"
#include "bench/VideoKernel.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

namespace bench {

// The test surface window as the video page uses it.
class TestSurface
{
public:
    virtual ~TestSurface() = default;
    // The screen's size in pixels.
    virtual QSize ScreenSize() const = 0;
    // Places the window at `geometry` and shows it. Returns once the window
    // can be drawn on; raises BenchError when it cannot.
    virtual void ShowAt(const QRect& geometry) = 0;
    // What the display stores per pixel.
    virtual int BitsPerPixel() const = 0;
    // What the kernel fills; valid while the window is shown.
    virtual VideoCanvas& Canvas() = 0;
    // Hides the window.
    virtual void Close() = 0;
    // Whether the last showing filled the toolkit's backing store instead of
    // the display through its server (a Wayland or offscreen platform): the
    // figure then measures raster painting and does not compare with the
    // reference machines.
    virtual bool FillsBackingStore() const { return false; }
};

// Added to the own bar's caption ("Your video") when the figure was filled
// into a backing store.
inline const QString kBackingStoreCaption = QStringLiteral(" (backing store)");

// The kernel the video page runs; tests put a fast fake here.
struct VideoKernels
{
    std::function<std::int64_t(VideoCanvas&, int width, int height)> videoTest;
};

// VideoTest on the precise clock.
VideoKernels RealVideoKernels();

// The video page's measurement: the surface shown over the whole screen,
// the kernel on it, the surface hidden; the rate in MiB/s at the display's
// bytes per pixel. An error leaves the surface as it is (shown, once
// shown): a click on it hides it.
std::int32_t MeasureVideo(TestSurface& surface, const VideoKernels& kernels = RealVideoKernels());

// The video chart: "Your video" with `rate`, then the rows. A figure filled
// into a backing store is marked in the own bar's caption.
TMyChartBars VideoBars(const ReferenceRowList& rows, std::int32_t rate, bool backingStore = false);

} // namespace bench
