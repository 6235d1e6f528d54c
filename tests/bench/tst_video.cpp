// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_video.h"

#include "DatabaseFile.h"

#include "bench/BenchError.h"
#include "bench/ReferenceRows.h"
#include "bench/VideoPage.h"
#include "database/ComparisonDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace bench;

namespace {

// A canvas in memory: one colour, what the last fill left. It writes down
// every call in order.
struct MemoryCanvas : VideoCanvas
{
    TColor color = 0;
    QStringList calls;
    QList<TColor> fills;

    void FillRect(int width, int height, TColor fill) override
    {
        calls << QString("fill %1x%2").arg(width).arg(height);
        fills << fill;
        color = fill;
    }
    TColor GetPixel(int x, int y) override
    {
        calls << QString("pixel %1,%2").arg(x).arg(y);
        return color;
    }
};

} // namespace

void TestVideoKernel::pixelRate_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("elapsedMs");
    QTest::addColumn<qint64>("rate");

    QTest::newRow("1024x768 in a second") << 1024 << 768 << 1000.0 << qint64(314'572'800);
    QTest::newRow("fraction of a ms counts") << 1024 << 768 << 999.5 << qint64(314'730'165);
    QTest::newRow("rounded to nearest, not cut") << 1024 << 768 << 7.0 << qint64(44'938'971'429);
    QTest::newRow("tie goes down to even") << 1 << 1 << 256.0 << qint64(1562);
    QTest::newRow("tie goes up to even") << 3 << 1 << 256.0 << qint64(4688);
    QTest::newRow("8K screen, past 32 bits") << 7680 << 4320 << 1000.0 << qint64(13'271'040'000);
    QTest::newRow("no time passed") << 1024 << 768 << 0.0 << qint64(0);
    QTest::newRow("clock went back") << 1024 << 768 << -2.0 << qint64(0);
    QTest::newRow("beyond 64 bits")
        << 7680 << 4320 << 1e-9 << qint64(std::numeric_limits<qint64>::max());
}

void TestVideoKernel::pixelRate()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, elapsedMs);
    QFETCH(qint64, rate);
    QCOMPARE(VideoPixelRate(width, height, elapsedMs), rate);
}

void TestVideoKernel::bytesPerPixel_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("bytes");

    QTest::newRow("4, half rounds to even 0") << 4 << 0;
    QTest::newRow("8") << 8 << 1;
    QTest::newRow("12, one and a half rounds to 2") << 12 << 2;
    QTest::newRow("15") << 15 << 2;
    QTest::newRow("16") << 16 << 2;
    QTest::newRow("20, two and a half rounds to 2") << 20 << 2;
    QTest::newRow("24") << 24 << 3;
    QTest::newRow("32") << 32 << 4;
}

void TestVideoKernel::bytesPerPixel()
{
    QFETCH(int, bits);
    QFETCH(int, bytes);
    QCOMPARE(BytesPerPixel(bits), bytes);
}

void TestVideoKernel::fillsThenReadsBackOnTheInjectedClock()
{
    MemoryCanvas canvas;
    QList<double> readings{5000.25, 6000.25};

    const std::int64_t rate = VideoTest(canvas, 1024, 768, [&] { return readings.takeFirst(); });

    QCOMPARE(rate, qint64(314'572'800));
    QVERIFY(readings.isEmpty());
    QCOMPARE(canvas.calls.size(), 2 * kVideoFills);
    for (int i = 0; i < canvas.calls.size(); i += 2) {
        QCOMPARE(canvas.calls.at(i), QString("fill 1024x768"));
        QCOMPARE(canvas.calls.at(i + 1), QString("pixel 0,0"));
    }
}

void TestVideoKernel::sequenceDiffersBetweenRuns()
{
    MemoryCanvas first, second;
    VideoTest(first, 4, 4);
    VideoTest(second, 4, 4);
    QCOMPARE(first.fills.size(), kVideoFills);
    QVERIFY(first.fills != second.fills);
}

// The page ------------------------------------------------------------------

namespace {

// The test surface as the page sees it, writing down each step.
struct FakeSurface : TestSurface
{
    QSize screen{1024, 768};
    int bits = 32;
    bool failToShow = false;
    bool shown = false;
    bool backingStore = false;
    QStringList steps;
    MemoryCanvas canvas;

    QSize ScreenSize() const override { return screen; }
    void ShowAt(const QRect& r) override
    {
        steps << QString("show %1,%2 %3x%4")
                     .arg(r.left())
                     .arg(r.top())
                     .arg(r.width())
                     .arg(r.height());
        if (failToShow)
            throw BenchError("The test surface did not appear on the screen within 2 s");
        shown = true;
    }
    int BitsPerPixel() const override { return bits; }
    VideoCanvas& Canvas() override { return canvas; }
    void Close() override
    {
        steps << "close";
        shown = false;
    }
    bool FillsBackingStore() const override { return backingStore; }
};

QTemporaryDir* g_dir = nullptr;

ComparisonDatabase videoDatabase(const QByteArray& rows)
{
    return DatabaseWith(*g_dir, "[Processor]\nP=1,2\n[Video]\n" + rows + "[Drive]\nD=4\n");
}

} // namespace

void TestVideoPage::init()
{
    g_dir = new QTemporaryDir;
    QVERIFY(g_dir->isValid());
}

void TestVideoPage::cleanup()
{
    delete g_dir;
    g_dir = nullptr;
}

void TestVideoPage::refreshMeasuresOnTheShownSurface_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("bits");
    QTest::addColumn<qint64>("pixelRate");
    QTest::addColumn<int>("bar");
    QTest::addColumn<bool>("backingStore");
    QTest::addColumn<QString>("caption");

    const QString own("Your video");
    QTest::newRow("1024x768 at 32 bits")
        << QSize(1024, 768) << 32 << qint64(314'572'800) << 1200 << false << own;
    QTest::newRow("filled into a backing store")
        << QSize(1024, 768) << 32 << qint64(314'572'800) << 1200 << true
        << QString("Your video (backing store)");
    QTest::newRow("at 24 bits") << QSize(1024, 768) << 24 << qint64(314'572'800) << 900 << false
                                << own;
    QTest::newRow("at 16 bits") << QSize(1024, 768) << 16 << qint64(314'572'800) << 600 << false
                                << own;
    QTest::newRow("at 4 bits") << QSize(1024, 768) << 4 << qint64(314'572'800) << 0 << false << own;
    QTest::newRow("truncated") << QSize(1024, 768) << 8 << qint64(1'048'575) << 0 << false << own;
    QTest::newRow("8K, product past 32 bits")
        << QSize(7680, 4320) << 32 << qint64(13'271'040'000) << 50'625 << false << own;
    QTest::newRow("capped at the bar's range")
        << QSize(7680, 4320) << 32 << std::numeric_limits<qint64>::max()
        << std::numeric_limits<int>::max() << false << own;
}

void TestVideoPage::refreshMeasuresOnTheShownSurface()
{
    QFETCH(QSize, screen);
    QFETCH(int, bits);
    QFETCH(qint64, pixelRate);
    QFETCH(int, bar);
    QFETCH(bool, backingStore);
    QFETCH(QString, caption);
    FakeSurface surface;
    surface.backingStore = backingStore;
    surface.screen = screen;
    surface.bits = bits;
    bool onTheShownCanvas = false;
    const VideoKernels kernels{[&](VideoCanvas& canvas, int width, int height) {
        surface.steps << QString("test %1x%2").arg(width).arg(height);
        onTheShownCanvas = &canvas == &surface.canvas && surface.shown;
        return std::int64_t{pixelRate};
    }};

    QCOMPARE(MeasureVideo(surface, kernels), bar);

    const QString size = QString("%1x%2").arg(screen.width()).arg(screen.height());
    QCOMPARE(surface.steps, (QStringList{"show 0,0 " + size, "test " + size, "close"}));
    QVERIFY(onTheShownCanvas);
    const TMyChartBars bars =
        VideoBars(ReadReferenceRows(videoDatabase("Old=12\nNew=3400\n"), VideoPageRows()), bar,
                  surface.FillsBackingStore());
    QCOMPARE(bars.Count, 5);
    QCOMPARE(bars.Items[0].Caption, caption);
    QCOMPARE(bars.Items[0].Value, bar);
    QCOMPARE(bars.Items[4].Value, 3400);
}

void TestVideoPage::failedStepLeavesTheSurfaceAsItIs_data()
{
    QTest::addColumn<bool>("failToShow");
    QTest::addColumn<bool>("kernelFails");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("shown");

    QTest::newRow("surface does not appear: no test")
        << true << false << "The test surface did not appear on the screen within 2 s"
        << QStringList{"show 0,0 1024x768"} << false;
    QTest::newRow("kernel fails: stays shown")
        << false << true << "The test surface could not be read back"
        << QStringList{"show 0,0 1024x768", "test"} << true;
}

void TestVideoPage::failedStepLeavesTheSurfaceAsItIs()
{
    QFETCH(bool, failToShow);
    QFETCH(bool, kernelFails);
    QFETCH(QString, message);
    QFETCH(QStringList, steps);
    QFETCH(bool, shown);
    FakeSurface surface;
    surface.failToShow = failToShow;
    const VideoKernels kernels{[&](VideoCanvas&, int, int) -> std::int64_t {
        surface.steps << "test";
        if (kernelFails)
            throw BenchError("The test surface could not be read back");
        return 1;
    }};

    try {
        MeasureVideo(surface, kernels);
        QFAIL("no error raised");
    } catch (const std::runtime_error& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
    QCOMPARE(surface.steps, steps);
    QCOMPARE(surface.shown, shown);
}
