// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartPixels.h"
#include "ControlsTests.h"
#include "PaintCounter.h"
#include "TestFont.h"
#include "controls/MyChart.h"

#include <QTest>

namespace {

const TColor Navy = MakeColor(0, 0, 128);

// A panel like the main window's: grey, with a bold yellow font, holding one chart.
struct Panel
{
    QWidget panel;
    TMyChart* chart = nullptr;

    explicit Panel(bool show = true)
    {
        QPalette pal = panel.palette();
        pal.setColor(QPalette::Window, QColor(96, 96, 96));
        pal.setColor(QPalette::WindowText, Qt::yellow);
        panel.setPalette(pal);
        panel.resize(372, 302);
        chart = new TMyChart(&panel);
        chart->setGeometry(0, 0, 372, 302);
        chart->setFont(ChartTestFont());
        chart->setBorder(10);
        chart->setGradient(true);
        if (show) {
            panel.show();
            QVERIFY(QTest::qWaitForWindowExposed(&panel));
        }
    }
};

} // namespace

void MyChartTest::initTestCase()
{
    ChartTestFont();
}

void MyChartTest::addBarStopsAtCapacity()
{
    TMyChart chart;
    chart.BeginUpdate();
    for (int i = 0; i < TMyChartBars::Capacity; ++i)
        QCOMPARE(chart.AddBar(QStringLiteral("bar %1").arg(i), i, 0), i);
    QCOMPARE(chart.AddBar("one too many", 1, 0), -1);
    QCOMPARE(chart.Bars.Count, 101);
    QCOMPARE(chart.Bars.Items[100].Caption, QStringLiteral("bar 100"));
    chart.Clear();
    QCOMPARE(chart.Bars.Count, 0);
    QCOMPARE(chart.AddBar("again", 1, 0), 0);
}

void MyChartTest::redrawRendersOncePerChange()
{
    Panel p;
    TMyChart& chart = *p.chart;
    const qint64 before = QUORVIX_PICTURE_KEY(chart);
    QCOMPARE(chart.AddBar("Your CPU", 0, 0xFF), 0);
    const qint64 first = QUORVIX_PICTURE_KEY(chart);
    QVERIFY(first != before);

    const QImage shown = chart.picture();
    chart.BeginUpdate();
    chart.Clear();
    QCOMPARE(chart.AddBar("a", 10, 0xFF), 0);
    QCOMPARE(chart.AddBar("b", 20, 0xFF00), 1);
    QCOMPARE(chart.AddBar("c", 30, 0xFF0000), 2);
    QCOMPARE(QUORVIX_PICTURE_KEY(chart), first);
    QCOMPARE(chart.picture(), shown);

    chart.EndUpdate();
    QVERIFY(QUORVIX_PICTURE_KEY(chart) != first);
    QVERIFY(chart.picture() != shown);
    QCOMPARE(chart.grab().toImage().convertToFormat(QImage::Format_RGB32), chart.picture());
}

// Bars given whole replace the chart's and are drawn at once, also while
// automatic redraw is off.
void MyChartTest::showsTheBarsItIsGiven()
{
    Panel p;
    TMyChart& chart = *p.chart;
    chart.BeginUpdate();
    chart.AddBar("old", 5, 0xFF);
    TMyChartBars given;
    AppendBar(given, "Your CPU", 40, 0xFF, 0x80);
    AppendBar(given, "FPU", 20, 0xFF00, 0x80);
    const qint64 before = QUORVIX_PICTURE_KEY(chart);

    chart.ShowBars(given);

    QCOMPARE(chart.Bars.Count, 2);
    QCOMPARE(chart.Bars.Items[1].Caption, QString("FPU"));
    QCOMPARE(chart.Bars.Items[1].GradientColor, TColor(0x80));
    QVERIFY(QUORVIX_PICTURE_KEY(chart) != before);
    QCOMPARE(chart.grab().toImage().convertToFormat(QImage::Format_RGB32), chart.picture());
}

void MyChartTest::repaintOfValidPictureOnlyCopies()
{
    Panel p;
    TMyChart& chart = *p.chart;
    chart.AddBar("Your CPU", 10, 0xFF);
    const qint64 rendered = QUORVIX_PICTURE_KEY(chart);
    const PaintCounter paints(&chart);
    chart.repaint();
    QCOMPARE(paints.count, 1);
    chart.update();
    QTRY_VERIFY(paints.count > 1);
    QCOMPARE(QUORVIX_PICTURE_KEY(chart), rendered);
    chart.Redraw();
    QVERIFY(QUORVIX_PICTURE_KEY(chart) != rendered);
}

void MyChartTest::resizeRerenders()
{
    Panel p;
    TMyChart& chart = *p.chart;
    chart.AddBar("Your CPU", 10, 0xFF);
    const qint64 rendered = QUORVIX_PICTURE_KEY(chart);
    chart.resize(200, 100);
    QTRY_VERIFY(QUORVIX_PICTURE_KEY(chart) != rendered);
    QCOMPARE(chart.picture().size(), QSize(200, 100));
}

void MyChartTest::storedValuesShowAtNextRedraw()
{
    Panel p;
    TMyChart& chart = *p.chart;
    chart.AddBar("Your CPU", 10, 0xFF);
    chart.AddBar("Other", 20, 0xFF00);
    const QImage shown = chart.picture();

    chart.setGradient(false);
    chart.setBorder(30);
    chart.Bars.Items[0].Value = 40;
    chart.repaint();
    QCOMPARE(chart.picture(), shown);
    QCOMPARE(chart.grab().toImage().convertToFormat(QImage::Format_RGB32), shown);

    chart.Redraw();
    QVERIFY(chart.picture() != shown);
    QCOMPARE(chart.picture().pixel(15, 15), qRgb(96, 96, 96)); // inside the new border
}

void MyChartTest::nestedBeginUpdateResumesOnOneEndUpdate()
{
    Panel p;
    TMyChart& chart = *p.chart;
    chart.BeginUpdate();
    chart.BeginUpdate();
    chart.AddBar("a", 1, 0);
    chart.EndUpdate();
    const qint64 resumed = QUORVIX_PICTURE_KEY(chart);
    chart.AddBar("b", 2, 0);
    const qint64 added = QUORVIX_PICTURE_KEY(chart);
    QVERIFY(added != resumed);
    chart.Clear();
    QVERIFY(QUORVIX_PICTURE_KEY(chart) != added);
}

void MyChartTest::coloursComeFromPaletteAndProperties()
{
    Panel p(false);
    TMyChart& chart = *p.chart;
    QVERIFY(chart.setProperty("Border", 10));
    QVERIFY(chart.setProperty("Gradient", true));
    QVERIFY(chart.setProperty("GradientColor", uint(Navy)));
    QCOMPARE(chart.gradientColor(), uint(Navy));
    QCOMPARE(chart.color(), MakeColor(96, 96, 96)); // inherited from the panel

    chart.BeginUpdate();
    chart.AddBar("Your CPU", 100, MakeColor(255, 0, 0));
    chart.setGradientColor(0);
    chart.AddBar("Other", 50, MakeColor(0, 255, 0));
    QCOMPARE(chart.Bars.Items[0].GradientColor, Navy);
    QCOMPARE(chart.Bars.Items[1].GradientColor, TColor(0));

    chart.PreparePicture();
    const QImage& image = chart.picture();
    QCOMPARE(image.pixel(0, 0), qRgb(96, 96, 96));
    QVERIFY(AnyPixel(image, QRect(0, 0, 60, image.height()), IsYellowish));

    chart.setColor(MakeColor(0, 0, 255));
    const qint64 stale = QUORVIX_PICTURE_KEY(chart);
    chart.Redraw(); // hidden: invalidates only, the next preparation renders
    QCOMPARE(QUORVIX_PICTURE_KEY(chart), stale);
    chart.PreparePicture();
    QVERIFY(QUORVIX_PICTURE_KEY(chart) != stale);
    QCOMPARE(chart.picture().pixel(0, 0), qRgb(0, 0, 255));
}
