#include "tst_videosurface.h"

#include "shell/Unit2.h"
#include "shell/VideoSurface.h"

#include "bench/BarColors.h"
#include "bench/PseudoRandom.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QRect screenRect(const VideoSurface& surface)
{
    return QRect(QPoint(0, 0), surface.ScreenSize());
}

// The colours VideoTest draws after SeedPseudoRandom(seed): blue, green,
// red in that order per fill.
TColor lastColorAfter(std::uint64_t seed)
{
    bench::SeedPseudoRandom(seed);
    TColor color = 0;
    for (int fill = 0; fill < bench::kVideoFills; ++fill) {
        const std::uint32_t blue = bench::PseudoRandom(256);
        const std::uint32_t green = bench::PseudoRandom(256);
        const std::uint32_t red = bench::PseudoRandom(256);
        color = bench::Rgb(red, green, blue);
    }
    return color;
}

// Pixel (x, y) of the screen, grabbed by the platform itself (on X11 a
// GetImage of the root window) rather than through the canvas.
TColor screenPixel(int x, int y)
{
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0, x, y, 1, 1).toImage();
    const QRgb pixel = image.pixel(0, 0);
    return bench::Rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

QString hex(TColor color)
{
    return QString::number(color, 16);
}

} // namespace

void TestVideoSurface::showsOverTheWholeScreenUntilClosed()
{
    TForm2 form;
    VideoSurface surface(form);
    const QSize screen = surface.ScreenSize();
    QVERIFY(screen.width() > 0 && screen.height() > 0);

    surface.ShowAt(screenRect(surface));

    QVERIFY(form.isVisible());
    QVERIFY(form.windowHandle()->isExposed());
    QCOMPARE(form.geometry(), QGuiApplication::primaryScreen()->geometry());
    QCOMPARE(surface.FillsThroughX11(), onX11());

    surface.Close();
    QVERIFY(!form.isVisible());
}

void TestVideoSurface::lastFillIsWhatTheDisplayShows()
{
    TForm2 form;
    VideoSurface surface(form);
    surface.ShowAt(screenRect(surface));
    const QSize screen = surface.ScreenSize();
    const TColor expected = lastColorAfter(7);
    bench::SeedPseudoRandom(7);

    const std::int64_t rate = bench::VideoTest(surface.Canvas(), screen.width(), screen.height());

    QVERIFY(rate > 0);
    bench::VideoCanvas& canvas = surface.Canvas();
    QCOMPARE(hex(canvas.GetPixel(0, 0)), hex(expected));
    QCOMPARE(hex(canvas.GetPixel(screen.width() - 1, screen.height() - 1)), hex(expected));
    QCOMPARE(hex(screenPixel(0, 0)), hex(expected));
    QCOMPARE(hex(screenPixel(screen.width() - 1, screen.height() - 1)), hex(expected));
    surface.Close();
}

void TestVideoSurface::bitsPerPixelAreWhatTheDisplayStores()
{
    TForm2 form;
    VideoSurface surface(form);
    surface.ShowAt(screenRect(surface));
    // Under Xvfb at depth 24 the server stores 32 bits a pixel, not 24; the
    // offscreen platform's screen is 32 bits deep.
    if (onX11())
        QCOMPARE(QGuiApplication::primaryScreen()->depth(), 24);
    QCOMPARE(surface.BitsPerPixel(), 32);
    surface.Close();
}
