// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/VideoKernel.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

class Chart;
class ComparisonDatabase;

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

// The video chart from its reference rows, the own bar at 0; no test.
void UpdateVideoChart(Chart& chart, const ComparisonDatabase& database);

// The work of the video page's refresh between the caller's busy-frame
// steps: the chart from its rows, the surface shown over the whole screen,
// the kernel on it, the surface hidden, and the rate in MiB/s into bar 0
// (its caption marked where the surface filled a backing store), redrawn.
// An error leaves the surface as it is (shown, once shown): a
// click on it hides it.
void RefreshVideoPage(Chart& chart, const ComparisonDatabase& database, TestSurface& surface,
                      const VideoKernels& kernels = RealVideoKernels());

} // namespace bench
