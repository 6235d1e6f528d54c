// SPDX-License-Identifier: GPL-3.0-or-later
#include "VideoSurface.h"

#include "bench/BenchError.h"
#include "controls/ChartRender.h"
#include "platform/XFill.h"

#include <QBackingStore>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace {

// Fills through the X server: one PolyFillRectangle per fill, and a GetImage
// of one pixel whose reply comes only after every fill before it is done.
class X11Canvas : public bench::VideoCanvas
{
public:
    explicit X11Canvas(std::unique_ptr<platform::XWindowFill> fill) : m_fill(std::move(fill)) {}

    void FillRect(int width, int height, TColor color) override
    {
        m_fill->Fill(width, height,
                     {static_cast<std::uint8_t>(RedOf(color)),
                      static_cast<std::uint8_t>(GreenOf(color)),
                      static_cast<std::uint8_t>(BlueOf(color))});
    }

    TColor GetPixel(int x, int y) override
    {
        const auto pixel = m_fill->ReadPixel(x, y);
        if (!pixel)
            throw bench::BenchError("The test surface could not be read back");
        return MakeColor(pixel->red, pixel->green, pixel->blue);
    }

private:
    std::unique_ptr<platform::XWindowFill> m_fill;
};

// Where there is no X server: the toolkit paints into the window's backing
// store and flushes it to the platform; a pixel is read back from the store.
// This measures raster painting and a copy, not the display's fill.
class BackingStoreCanvas : public bench::VideoCanvas
{
public:
    explicit BackingStoreCanvas(QWidget& window) : m_window(window) {}

    void FillRect(int width, int height, TColor color) override
    {
        QBackingStore* store = m_window.backingStore();
        const qreal ratio = m_window.devicePixelRatioF();
        const QRectF area(0, 0, width / ratio, height / ratio);
        const QRegion region(area.toAlignedRect());
        store->beginPaint(region);
        {
            QPainter painter(store->paintDevice());
            painter.fillRect(area, ToQColor(color));
        }
        store->endPaint();
        store->flush(region, m_window.windowHandle());
    }

    TColor GetPixel(int x, int y) override
    {
        const auto* image = dynamic_cast<const QImage*>(m_window.backingStore()->paintDevice());
        if (image == nullptr || !image->valid(x, y))
            throw bench::BenchError("The test surface could not be read back");
        const QRgb pixel = image->pixel(x, y);
        return MakeColor(qRed(pixel), qGreen(pixel), qBlue(pixel));
    }

private:
    QWidget& m_window;
};

QScreen* screenOf(const QWidget& window)
{
    QScreen* screen = window.screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

} // namespace

VideoSurface::VideoSurface(QWidget& window, Path path) : m_window(window), m_path(path) {}

VideoSurface::~VideoSurface() = default;

QSize VideoSurface::ScreenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    return (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
}

void VideoSurface::ShowAt(const QRect& geometry)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    m_window.setGeometry(
        QRectF(QPointF(geometry.topLeft()) / ratio, QSizeF(geometry.size()) / ratio)
            .toAlignedRect());
    // Top-most by its flags: shown, it covers everything else.
    m_window.show();
    m_window.activateWindow();
    waitUntilExposed();
    openCanvas();
}

// Window-system events only: a click made meanwhile waits, as it would
// during the measurement.
void VideoSurface::waitUntilExposed()
{
    const QDeadlineTimer deadline(ExposeTimeoutMs);
    while (m_window.windowHandle() == nullptr || !m_window.windowHandle()->isExposed()) {
        if (deadline.hasExpired())
            throw bench::BenchError("The test surface did not appear on the screen within 2 s");
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        afterEvents();
        QThread::msleep(1);
    }
    // Let the toolkit's first paint of the exposed window go out before the
    // measurement starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    afterEvents();
}

void VideoSurface::afterEvents()
{
    if (m_afterEvents)
        m_afterEvents();
}

void VideoSurface::openCanvas()
{
    m_canvas.reset();
    m_x11 = false;
    m_backingStore = false;
    // The offscreen platform may hold an X connection of its own (for GLX):
    // only the xcb platform's windows are X windows.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && QGuiApplication::platformName() == QLatin1String("xcb") &&
        m_path == Path::Automatic) {
        // The kernel fills on a connection of its own: on the toolkit's, its
        // event thread would read every reply and then wake the measuring
        // thread, at normal priority. The toolkit's map and first paint are
        // carried out before the first fill.
        platform::WaitForServer(x11->connection());
        auto fill =
            platform::XWindowFill::Connect(nullptr, static_cast<std::uint32_t>(m_window.winId()));
        if (!fill)
            throw bench::BenchError("The test surface cannot be drawn on");
        m_x11BitsPerPixel = fill->BitsPerPixel();
        m_canvas = std::make_unique<X11Canvas>(std::move(fill));
        m_x11 = true;
        return;
    }
    m_canvas = std::make_unique<BackingStoreCanvas>(m_window);
    m_backingStore = true;
}

int VideoSurface::BitsPerPixel() const
{
    if (m_x11)
        return m_x11BitsPerPixel;
    return screenOf(m_window)->depth();
}

bench::VideoCanvas& VideoSurface::Canvas()
{
    if (!m_canvas)
        throw bench::BenchError("The test surface is not shown");
    return *m_canvas;
}

void VideoSurface::Close()
{
    m_canvas.reset();
    m_window.close();
}
