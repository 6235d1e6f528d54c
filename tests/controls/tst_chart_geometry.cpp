// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTests.h"
#include "controls/ChartGeometry.h"

#include <QHash>
#include <QTest>

namespace {

struct RowCheck
{
    int index, captionX, captionY, top, bottom, right, valueX, valueY;
};

using Bars = QList<QPair<QString, int>>;

TMyChartBars MakeBars(const Bars& list)
{
    TMyChartBars bars;
    for (const auto& [caption, value] : list)
        bars.Items[std::size_t(bars.Count++)] = {caption, 0, 0, value};
    return bars;
}

// Widths of the example; anything else is 6 pixels a character. "A" is 13 high.
ChartTextMeasure TableMeasure()
{
    static const QHash<QString, int> widths{{"Widest", 50}, {"Short", 30}, {"100", 20}, {"50", 14}};
    return {[](const QString& text) { return widths.value(text, 6 * int(text.size())); }, 13};
}

} // namespace

Q_DECLARE_METATYPE(RowCheck)

void ChartGeometryTest::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("border");
    QTest::addColumn<Bars>("bars");
    QTest::addColumn<int>("barLeft");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QList<RowCheck>>("checks");

    // index, captionX, captionY, top, bottom, right, valueX, valueY
    QTest::newRow("two bars share the scale of the tighter one")
        << 400 << 220 << 10 << Bars{{"Widest", 100}, {"Short", 50}} << 70 << 3.0f
        << QList<RowCheck>{{0, 10, 51, 10, 110, 370, 374, 51},
                           {1, 30, 151, 110, 210, 220, 224, 151}};
    // 80 / 3 in single precision lies below 26.6667, so 3 R truncates to 79.
    QTest::newRow("single precision row height")
        << 300 << 100 << 10 << Bars{{"a", 1}, {"a", 1}, {"a", 1}} << 26 << 258.0f
        << QList<RowCheck>{{0, 10, 14, 10, 36, 284, 288, 14},
                           {1, 10, 41, 36, 63, 284, 288, 40},
                           {2, 10, 68, 63, 89, 284, 288, 67}};
    // Rows lower than the text: (2 - 13) div 2 is -5, not -6.
    Bars many;
    for (int i = 0; i < 101; ++i)
        many.append({"Cpu", i * 37});
    QTest::newRow("101 rows") << 372 << 302 << 10 << many << 38 << 0.0810810774564743f
                              << QList<RowCheck>{{0, 10, 3, 10, 12, 38, 42, 3},
                                                 {1, 10, 6, 12, 15, 40, 44, 5},
                                                 {50, 10, 142, 149, 152, 187, 191, 142},
                                                 {100, 10, 282, 289, 292, 337, 341, 282}};
    // S = 314 / 7 rounds up in single precision, so 7 S is just above 314.
    QTest::newRow("fractional scale")
        << 400 << 220 << 10 << Bars{{"Widest", 7}, {"Short", 3}} << 70 << 44.85714340209961f
        << QList<RowCheck>{{0, 10, 51, 10, 110, 384, 388, 51},
                           {1, 30, 151, 110, 210, 204, 208, 151}};
    QTest::newRow("spacer caps the scale at 10000")
        << 30000 << 60 << 10 << Bars{{"x", 1}, {"", 0}} << 26 << 10000.0f
        << QList<RowCheck>{{0, 10, 11, 10, 30, 10026, 10030, 11}};
    QTest::newRow("negative value ends left of the bar origin")
        << 400 << 220 << 10 << Bars{{"Widest", 100}, {"Short", -5}} << 70 << 3.0f
        << QList<RowCheck>{{1, 30, 151, 110, 210, 55, 59, 151}};
    QTest::newRow("chart narrower than its captions")
        << 60 << 40 << 10 << Bars{{"Widest", 100}} << 70 << -0.4f
        << QList<RowCheck>{{0, 10, 11, 10, 30, 30, 34, 11}};
    QTest::newRow("no bars") << 200 << 100 << 10 << Bars{} << 20 << 100000.0f << QList<RowCheck>{};
}

void ChartGeometryTest::layout()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, border);
    QFETCH(Bars, bars);
    QFETCH(int, barLeft);
    QFETCH(float, scale);
    QFETCH(QList<RowCheck>, checks);

    const ChartGeometry g =
        ChartGeometry::Compute(width, height, border, MakeBars(bars), TableMeasure());
    QCOMPARE(g.barLeft, barLeft);
    QVERIFY2(g.scale == scale, qPrintable(QString::number(double(g.scale), 'g', 17)));
    QCOMPARE(int(g.rows.size()), int(bars.size()));
    for (std::size_t i = 0; i < g.rows.size(); ++i)
        QCOMPARE(g.rows[i].spacer, bars[qsizetype(i)].first.isEmpty());
    for (const RowCheck& c : checks) {
        const ChartRow& row = g.rows[std::size_t(c.index)];
        const QString where = QStringLiteral("row %1").arg(c.index);
        QVERIFY2(row.captionX == c.captionX, qPrintable(where));
        QVERIFY2(row.captionY == c.captionY, qPrintable(where));
        QVERIFY2(row.left == barLeft, qPrintable(where));
        QVERIFY2(row.top == c.top, qPrintable(where));
        QVERIFY2(row.bottom == c.bottom, qPrintable(where));
        QVERIFY2(row.right == c.right, qPrintable(where));
        QVERIFY2(row.valueX == c.valueX, qPrintable(where));
        QVERIFY2(row.valueY == c.valueY, qPrintable(where));
    }
}

void ChartGeometryTest::gradientBands_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<uint>("start");
    QTest::addColumn<uint>("end");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("first"); // left, right, r, g, b
    QTest::addColumn<QList<int>>("second");
    QTest::addColumn<QList<int>>("last");

    const uint navy = MakeColor(0, 0, 128);
    QTest::newRow("32 bands at most, navy to red")
        << 10 << 210 << navy << MakeColor(255, 0, 0) << 32 << QList<int>{10, 16, 8, 0, 124}
        << QList<int>{16, 22, 16, 0, 120} << QList<int>{203, 210, 255, 0, 0};
    QTest::newRow("halves round to even")
        << 10 << 18 << MakeColor(0, 0, 0) << MakeColor(5, 3, 1) << 2 << QList<int>{10, 14, 2, 2, 0}
        << QList<int>{14, 18, 5, 3, 1} << QList<int>{14, 18, 5, 3, 1};
    QTest::newRow("127.5 rounds to 128")
        << 10 << 18 << MakeColor(0, 0, 0) << MakeColor(255, 255, 255) << 2
        << QList<int>{10, 14, 128, 128, 128} << QList<int>{14, 18, 255, 255, 255}
        << QList<int>{14, 18, 255, 255, 255};
    QTest::newRow("inexact steps") << 10 << 22 << MakeColor(0, 0, 0) << MakeColor(100, 0, 0) << 3
                                   << QList<int>{10, 14, 33, 0, 0} << QList<int>{14, 18, 67, 0, 0}
                                   << QList<int>{18, 22, 100, 0, 0};
    QTest::newRow("shorter than 8 is one band in the end colour")
        << 10 << 17 << navy << MakeColor(0, 255, 0) << 1 << QList<int>{10, 17, 0, 255, 0}
        << QList<int>{} << QList<int>{10, 17, 0, 255, 0};
    QTest::newRow("empty bar is one empty band")
        << 10 << 10 << navy << MakeColor(9, 9, 9) << 1 << QList<int>{10, 10, 9, 9, 9}
        << QList<int>{} << QList<int>{10, 10, 9, 9, 9};
    QTest::newRow("slightly inverted is one inverted band")
        << 10 << 7 << navy << MakeColor(9, 9, 9) << 1 << QList<int>{10, 7, 9, 9, 9} << QList<int>{}
        << QList<int>{10, 7, 9, 9, 9};
    QTest::newRow("inverted by 4 or more has no band")
        << 10 << 6 << navy << MakeColor(9, 9, 9) << 0 << QList<int>{} << QList<int>{}
        << QList<int>{};
}

void ChartGeometryTest::gradientBands()
{
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(uint, start);
    QFETCH(uint, end);
    QFETCH(int, count);
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    QFETCH(QList<int>, last);

    const std::vector<GradientBand> bands = GradientBands(left, right, start, end);
    QCOMPARE(int(bands.size()), count);
    auto asList = [](const GradientBand& b) {
        return QList<int>{b.left, b.right, RedOf(b.color), GreenOf(b.color), BlueOf(b.color)};
    };
    if (count == 0)
        return;
    QCOMPARE(asList(bands.front()), first);
    QCOMPARE(asList(bands.back()), last);
    if (!second.isEmpty())
        QCOMPARE(asList(bands[1]), second);
    for (std::size_t i = 1; i < bands.size(); ++i)
        QCOMPARE(bands[i].left, bands[i - 1].right); // bands tile the bar
}
