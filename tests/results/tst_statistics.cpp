// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_results.h"

#include "results/Statistics.h"

#include <QTest>

#include <limits>

using namespace report;

void TestStatistics::summarise_data()
{
    QTest::addColumn<QList<std::int32_t>>("runs");
    QTest::addColumn<std::int32_t>("median");
    QTest::addColumn<std::int32_t>("min");
    QTest::addColumn<std::int32_t>("max");
    QTest::addColumn<double>("cv");

    constexpr std::int32_t top = std::numeric_limits<std::int32_t>::max();
    QTest::newRow("one run: no variation") << QList<std::int32_t>{7} << 7 << 7 << 7 << 0.0;
    QTest::newRow("odd count, unsorted")
        << QList<std::int32_t>{800, 400, 600} << 600 << 400 << 800 << 100.0 / 3;
    QTest::newRow("even count: middle mean truncated")
        << QList<std::int32_t>{1, 2} << 1 << 1 << 2 << 47.140452;
    QTest::newRow("largest values do not overflow")
        << QList<std::int32_t>{top, top - 2} << top - 1 << top - 2 << top << 0.0;
    QTest::newRow("mean 0: no variation") << QList<std::int32_t>{-5, 0, 5} << 0 << -5 << 5 << 0.0;
}

void TestStatistics::summarise()
{
    QFETCH(QList<std::int32_t>, runs);
    const FigureStatistics stats = Summarise(runs);
    QTEST(stats.median, "median");
    QTEST(stats.min, "min");
    QTEST(stats.max, "max");
    QFETCH(double, cv);
    QVERIFY2(qAbs(stats.cv - cv) < 1e-3 * qMax(1.0, cv), qPrintable(QString::number(stats.cv)));
}

namespace {

AllTestsResults Run(std::int32_t base, QList<DriveFigure> drives)
{
    AllTestsResults run;
    run.overview.processor = QStringLiteral("CPU %1").arg(base);
    run.processor = {base + 1, base + 2, base + 3, base + 4, true};
    run.memory = base + 5;
    run.video = base + 6;
    run.drives = std::move(drives);
    return run;
}

} // namespace

void TestStatistics::medianOfEveryFigure()
{
    // The first run holds neither median, so a figure left out keeps its
    // value; the last run lacks the second drive, which counts as 0 there.
    const QList<AllTestsResults> runs{
        Run(300, {{"Drive /", 3000}, {"Drive /home", 30}}),
        Run(100, {{"Drive /", 1000}, {"Drive /home", 10}}),
        Run(200, {{"Drive /", 2000}}),
    };
    const AllTestsResults median = MedianResults(runs);
    QCOMPARE(median.overview.processor, QStringLiteral("CPU 300"));
    QCOMPARE(median.processor, (ProcessorFigures{201, 202, 203, 204, true}));
    QCOMPARE(median.memory, 205);
    QCOMPARE(median.video, 206);
    QCOMPARE(median.drives, (QList<DriveFigure>{{"Drive /", 2000}, {"Drive /home", 10}}));
}
