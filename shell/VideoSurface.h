// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/VideoPage.h"

#include <functional>
#include <memory>
#include <utility>

class QWidget;

// The test surface window as the video page draws on it. On Qt's X11
// platform the X server itself fills the window (xcb); elsewhere (offscreen,
// native Wayland) the fills go into the window's backing store, which
// measures the toolkit's raster painting instead of the display and is not
// comparable with the reference machines.
class VideoSurface : public bench::TestSurface
{
public:
    enum class Path
    {
        Automatic,   // X server where there is one
        BackingStore // always the backing store (for the benchmark program)
    };

    // How long a shown window may take to be mapped and exposed.
    static constexpr int ExposeTimeoutMs = 2000;

    explicit VideoSurface(QWidget& window, Path path = Path::Automatic);
    ~VideoSurface() override;

    QSize ScreenSize() const override;
    void ShowAt(const QRect& geometry) override;
    int BitsPerPixel() const override;
    bench::VideoCanvas& Canvas() override;
    void Close() override;

    // Called after each pass over window events while the shown surface
    // waits to be exposed; it may raise to end the measurement.
    void setAfterEvents(std::function<void()> check) { m_afterEvents = std::move(check); }

    // Whether the canvas of the last showing fills through the X server, or
    // into the backing store; neither before the first showing.
    bool FillsThroughX11() const { return m_x11; }
    bool FillsBackingStore() const override { return m_backingStore; }

private:
    void waitUntilExposed();
    void afterEvents();
    void openCanvas();

    QWidget& m_window;
    Path m_path;
    bool m_x11 = false;
    bool m_backingStore = false;
    int m_x11BitsPerPixel = 0;
    std::unique_ptr<bench::VideoCanvas> m_canvas;
    std::function<void()> m_afterEvents;
};
