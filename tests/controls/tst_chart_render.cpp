// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartPixels.h"
#include "ControlsTests.h"
#include "TestFont.h"
#include "controls/ChartGeometry.h"
#include "controls/ChartRender.h"

#include <QTest>

namespace {

const QRgb Panel = qRgb(96, 96, 96);
const QRgb Black = qRgb(0, 0, 0);
const TColor Navy = MakeColor(0, 0, 128);
const TColor Red = MakeColor(255, 0, 0);

struct Rendered
{
    QImage image;
    ChartGeometry geometry;
};

ChartLook Look(bool gradient = true)
{
    ChartLook look;
    look.font = ChartTestFont();
    look.background = QColor(Panel);
    look.captionColor = Qt::yellow;
    look.border = 10;
    look.gradient = gradient;
    return look;
}

void Add(TMyChartBars& bars, const QString& caption, int value, TColor start, TColor end)
{
    bars.Items[std::size_t(bars.Count++)] = {caption, start, end, value};
}

Rendered Render(const TMyChartBars& bars, QSize size = {400, 120}, const ChartLook& look = Look())
{
    Rendered r{QImage(size, QImage::Format_RGB32), {}};
    r.image.fill(Qt::magenta); // anything left unpainted shows
    RenderChart(r.image, look, bars);
    r.geometry = LayoutChart(r.image, look, bars);
    return r;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000;
}

} // namespace

void ChartRenderTest::initTestCase()
{
    qInfo("chart font: %s", qPrintable(QFontInfo(ChartTestFont()).family()));
}

void ChartRenderTest::emptyChartIsBackgroundOnly()
{
    const Rendered r = Render(TMyChartBars{});
    QVERIFY(AllPixels(r.image, r.image.rect(), Panel));
}

void ChartRenderTest::gradientBarShadowAndValue()
{
    TMyChartBars bars;
    Add(bars, "Cpu", 100, Navy, Red);
    const Rendered r = Render(bars);
    const ChartRow& row = r.geometry.rows[0];
    QVERIFY(row.right - row.left >= 128); // wide enough for all 32 bands

    QCOMPARE(At(r.image, row.left, row.top), qRgb(8, 0, 124)); // one step from navy already
    QCOMPARE(At(r.image, row.left, row.bottom - 5), qRgb(8, 0, 124));
    QCOMPARE(At(r.image, row.right - 1, row.top + 10), qRgb(255, 0, 0));
    QCOMPARE(At(r.image, row.left - 1, row.top + 10), Panel);

    // Shadow: strip along the right end from top + 4, and along the bottom from left + 4.
    QCOMPARE(At(r.image, row.right, row.top + 3), Panel);
    QVERIFY(AllPixels(r.image, QRect(row.right, row.top + 4, 4, row.bottom - row.top - 4), Black));
    QVERIFY(
        AllPixels(r.image, QRect(row.left + 4, row.bottom - 4, row.right - row.left, 4), Black));
    QCOMPARE(At(r.image, row.left + 3, row.bottom - 1), Panel);
    QCOMPARE(At(r.image, row.left + 10, row.bottom), Panel);

    const QRect valueArea(row.valueX, row.valueY, 40, r.geometry.textHeight);
    QVERIFY(AnyPixel(r.image, valueArea, IsWhitish));
    const QRect captionArea(10, row.captionY, row.left - 20, r.geometry.textHeight);
    QVERIFY(AnyPixel(r.image, captionArea, IsYellowish));
}

void ChartRenderTest::solidBarUsesBarColour()
{
    TMyChartBars bars;
    Add(bars, "Cpu", 100, Navy, MakeColor(0, 160, 0));
    const Rendered r = Render(bars, {400, 120}, Look(false));
    const ChartRow& row = r.geometry.rows[0];
    QVERIFY(AllPixels(r.image,
                      QRect(row.left, row.top, row.right - row.left, row.bottom - 4 - row.top),
                      qRgb(0, 160, 0)));
}

void ChartRenderTest::shortBarIsOneBandInEndColour()
{
    TMyChartBars bars;
    Add(bars, "Big", 1000, Navy, Red);
    Add(bars, "Small", 10, MakeColor(0, 0, 0), MakeColor(0, 200, 0));
    const Rendered r = Render(bars);
    const ChartRow& row = r.geometry.rows[1];
    const int length = row.right - row.left;
    QVERIFY2(length > 0 && length < 8, qPrintable(QString::number(length)));
    QVERIFY(AllPixels(r.image, QRect(row.left, row.top, length, row.bottom - 4 - row.top),
                      qRgb(0, 200, 0)));
}

void ChartRenderTest::widestCaptionStartsAtBorder()
{
    TMyChartBars bars;
    Add(bars, "Widest caption", 10, Navy, Red);
    Add(bars, "ab", 5, Navy, Red);
    const Rendered r = Render(bars);
    const int th = r.geometry.textHeight;
    const int barLeft = r.geometry.barLeft;

    const QRect wide(0, r.geometry.rows[0].captionY, barLeft - 5, th);
    const auto [wideFirst, wideLast] = InkColumns(r.image, wide, Panel);
    QVERIFY2(wideFirst >= 10 && wideFirst <= 12, qPrintable(QString::number(wideFirst)));
    QVERIFY2(wideLast < barLeft - 10 && wideLast >= barLeft - 13,
             qPrintable(QString::number(wideLast)));

    // Captions are right-aligned: the short one ends where the wide one does.
    const QRect narrow(0, r.geometry.rows[1].captionY, barLeft - 5, th);
    const auto [narrowFirst, narrowLast] = InkColumns(r.image, narrow, Panel);
    QVERIFY(narrowFirst > wideFirst + 20);
    QVERIFY2(narrowLast < barLeft - 10 && narrowLast >= barLeft - 13,
             qPrintable(QString::number(narrowLast)));
}

void ChartRenderTest::spacerRowDrawsNothing()
{
    TMyChartBars bars;
    Add(bars, "Cpu", 50, Navy, Red);
    Add(bars, "", 0, Navy, Red);
    Add(bars, "Fpu", 40, Navy, Red);
    const Rendered r = Render(bars);
    const int top = r.geometry.rows[1].top;
    const ChartRow& next = r.geometry.rows[2];
    const int end = std::min({next.top, next.captionY, next.valueY});
    QVERIFY(end > top + 20);
    QVERIFY(AllPixels(r.image, QRect(0, top, r.image.width(), end - top), Panel));
    QVERIFY(AnyPixel(r.image, QRect(0, r.geometry.rows[2].top, r.image.width(), 30),
                     [](QRgb p) { return qGray(p) == 0; }));
}

void ChartRenderTest::degenerateBarsDrawNoRectangle()
{
    TMyChartBars negative;
    Add(negative, "Widest", 100, Navy, Red);
    Add(negative, "Short", -5, Navy, Red);
    const Rendered r = Render(negative);
    const ChartRow& row = r.geometry.rows[1];
    QVERIFY(row.right < row.left);
    const QRect rowArea(0, row.top, r.image.width(), row.bottom - row.top);
    QVERIFY(!AnyPixel(r.image, rowArea, [](QRgb p) { return (p & 0xFFFFFF) == 0; }));
    QVERIFY(AnyPixel(r.image, rowArea, IsYellowish));
    QVERIFY(AnyPixel(r.image, rowArea, IsWhitish));

    TMyChartBars narrow;
    Add(narrow, "A caption wider than the chart", 100, Navy, Red);
    const Rendered n = Render(narrow, {60, 40});
    QVERIFY(n.geometry.rows[0].right < n.geometry.rows[0].left);
    QVERIFY(!AnyPixel(n.image, n.image.rect(), [](QRgb p) { return (p & 0xFFFFFF) == 0; }));
    QVERIFY(!AnyPixel(n.image, n.image.rect(), [](QRgb p) { return p == qRgb(255, 0, 255); }));
}
