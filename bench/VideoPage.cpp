// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/VideoPage.h"

#include "bench/ReferenceRows.h"
#include "controls/Chart.h"

namespace bench {

VideoKernels RealVideoKernels()
{
    return {[](VideoCanvas& canvas, int width, int height) {
        return VideoTest(canvas, width, height);
    }};
}

void UpdateVideoChart(Chart& chart, const ComparisonDatabase& database)
{
    LoadReferenceRows(chart, database, VideoPageRows());
}

void RefreshVideoPage(Chart& chart, const ComparisonDatabase& database, TestSurface& surface,
                      const VideoKernels& kernels)
{
    UpdateVideoChart(chart, database);

    const QSize screen = surface.ScreenSize();
    surface.ShowAt(QRect(QPoint(0, 0), screen));
    const int bytesPerPixel = BytesPerPixel(surface.BitsPerPixel());
    const std::int64_t pixelRate =
        kernels.videoTest(surface.Canvas(), screen.width(), screen.height());
    const std::int32_t videoRate = VideoRate(pixelRate, bytesPerPixel);

    surface.Close();
    chart.bars().Items[0].Value = videoRate;
    // Beside the figure: it measures raster painting, not the display.
    if (surface.FillsBackingStore())
        chart.bars().Items[0].Caption += kBackingStoreCaption;
    chart.Redraw();
}

} // namespace bench
