// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_videosurface.h"

#include "shell/Unit2.h"
#include "shell/VideoSurface.h"

#include "bench/PseudoRandom.h"
#include "controls/ChartBars.h"
#include "platform/XFill.h"

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
        color = MakeColor(bench::PseudoRandom(256), green, blue);
    }
    return color;
}

// Pixel (x, y) of the screen as the platform grabs it (on X11 a GetImage of
// the root window), past the canvas. Hex, for readable failures.
QString screenPixel(int x, int y)
{
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0, x, y, 1, 1).toImage();
    const QRgb pixel = image.pixel(0, 0);
    return QString::number(MakeColor(qRed(pixel), qGreen(pixel), qBlue(pixel)), 16);
}

} // namespace

void TestVideoSurface::lastFillIsWhatTheDisplayShows()
{
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    TForm2 form;
    VideoSurface surface(form);
    const QSize screen = surface.ScreenSize();

    QVERIFY(!surface.FillsThroughX11() && !surface.FillsBackingStore());
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
    // Still known after the close: the figure is qualified by it.
    QCOMPARE(surface.FillsThroughX11(), x11);
    QCOMPARE(surface.FillsBackingStore(), !x11);
}

// The kernel's connection is not the toolkit's: a window the toolkit shows
// is filled and read back by its id on a connection of its own, and closing
// that connection leaves the toolkit's working.
void TestVideoSurface::fillsOnAConnectionOfItsOwn()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server");
    TForm2 form;
    VideoSurface surface(form);
    surface.ShowAt(QRect(QPoint(0, 0), surface.ScreenSize()));
    const auto window = static_cast<std::uint32_t>(form.winId());
    for (const platform::Rgb color :
         {platform::Rgb{0x12, 0x34, 0x56}, platform::Rgb{255, 0, 128}}) {
        auto fill = platform::XWindowFill::Connect(nullptr, window);
        QVERIFY(fill != nullptr);
        fill->Fill(64, 64, color);
        const auto pixel = fill->ReadPixel(10, 10);
        QVERIFY(pixel.has_value());
        QVERIFY(*pixel == color);
        fill.reset();
        const QString expected = QString::number(MakeColor(color.red, color.green, color.blue), 16);
        QCOMPARE(screenPixel(10, 10), expected);
    }
    surface.Close();
}

void TestVideoSurface::connectRefuses_data()
{
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<bool>("realWindow");
    QTest::newRow("no such display") << QByteArray(":4093") << true;
    QTest::newRow("no window") << QByteArray() << false;
}

void TestVideoSurface::connectRefuses()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server");
    QFETCH(QByteArray, display);
    QFETCH(bool, realWindow);
    TForm2 form;
    const auto window = realWindow ? static_cast<std::uint32_t>(form.winId()) : 0u;
    QVERIFY(platform::XWindowFill::Connect(display.isEmpty() ? nullptr : display.constData(),
                                           window) == nullptr);
}
