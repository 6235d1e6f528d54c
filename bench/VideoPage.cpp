// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/VideoPage.h"

namespace bench {

VideoKernels RealVideoKernels()
{
    return {[](VideoCanvas& canvas, int width, int height) {
        return VideoTest(canvas, width, height);
    }};
}

std::int32_t MeasureVideo(TestSurface& surface, const VideoKernels& kernels)
{
    const QSize screen = surface.ScreenSize();
    surface.ShowAt(QRect(QPoint(0, 0), screen));
    const int bytesPerPixel = BytesPerPixel(surface.BitsPerPixel());
    const std::int64_t pixelRate =
        kernels.videoTest(surface.Canvas(), screen.width(), screen.height());
    const std::int32_t videoRate = VideoRate(pixelRate, bytesPerPixel);
    surface.Close();
    return videoRate;
}

TMyChartBars VideoBars(const ReferenceRowList& rows, std::int32_t rate, bool backingStore)
{
    TMyChartBars bars = ChartWithRows(VideoPageRows(), rows, {rate});
    // Beside the figure: it measures raster painting, not the display.
    if (backingStore)
        bars.Items[0].Caption += kBackingStoreCaption;
    return bars;
}

} // namespace bench
