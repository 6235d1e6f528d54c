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

// The last colour VideoTest draws after SeedPseudoRandom(seed): per fill
// blue, green and red, in that order.
TColor lastColorAfter(std::uint64_t seed)
{
    bench::SeedPseudoRandom(seed);
    TColor color = 0;
    for (int fill = 0; fill < bench::kVideoFills; ++fill) {
        const std::uint32_t blue = bench::PseudoRandom(256);
        const std::uint32_t green = bench::PseudoRandom(256);
        color = bench::Rgb(bench::PseudoRandom(256), green, blue);
    }
    return color;
}

// Pixel (x, y) of the screen as the platform grabs it (on X11 a GetImage of
// the root window), past the canvas. Hex, for readable failures.
QString screenPixel(int x, int y)
{
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0, x, y, 1, 1).toImage();
    const QRgb pixel = image.pixel(0, 0);
    return QString::number(bench::Rgb(qRed(pixel), qGreen(pixel), qBlue(pixel)), 16);
}

} // namespace

void TestVideoSurface::lastFillIsWhatTheDisplayShows()
{
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    TForm2 form;
    VideoSurface surface(form);
    const QSize screen = surface.ScreenSize();

    surface.ShowAt(QRect(QPoint(0, 0), screen));

    QVERIFY(form.isVisible() && form.windowHandle()->isExposed());
    QCOMPARE(form.geometry(), QGuiApplication::primaryScreen()->geometry());
    QCOMPARE(surface.FillsThroughX11(), x11);
    // Xvfb at depth 24 stores 32 bits a pixel; so does the offscreen screen.
    QCOMPARE(surface.BitsPerPixel(), 32);

    const QString expected = QString::number(lastColorAfter(7), 16);
    bench::SeedPseudoRandom(7);
    QVERIFY(bench::VideoTest(surface.Canvas(), screen.width(), screen.height()) > 0);

    QCOMPARE(QString::number(surface.Canvas().GetPixel(0, 0), 16), expected);
    QCOMPARE(screenPixel(0, 0), expected);
    QCOMPARE(screenPixel(screen.width() - 1, screen.height() - 1), expected);
    surface.Close();
    QVERIFY(!form.isVisible());
}
