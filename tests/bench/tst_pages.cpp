// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_pages.h"

#include "DatabaseFile.h"

#include "RecordingChart.h"

#include "bench/BarColors.h"
#include "bench/BenchError.h"
#include "bench/ProcessorPage.h"
#include "bench/ReferenceMachine.h"
#include "bench/ReferenceRows.h"
#include "database/ComparisonDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace bench;

namespace {

struct Bar
{
    QString caption;
    int value;
    TColor color;
    TColor gradientColor;

    bool operator==(const Bar&) const = default;
};

using Bars = QList<Bar>;

QString describe(const Bars& bars)
{
    QStringList lines;
    for (const Bar& bar : bars) {
        lines << QString("'%1' %2 %3/%4")
                     .arg(bar.caption)
                     .arg(bar.value)
                     .arg(bar.color, 6, 16, QChar('0'))
                     .arg(bar.gradientColor, 6, 16, QChar('0'));
    }
    return lines.join('\n');
}

Bars barsOf(const Chart& chart)
{
    Bars bars;
    for (int i = 0; i < chart.bars().Count; ++i) {
        const TMyChartBar& bar = chart.bars().Items[i];
        bars << Bar{bar.Caption, bar.Value, bar.Color, bar.GradientColor};
    }
    return bars;
}

Bar own(int value)
{
    return {"Your CPU", value, kOwnBar.color, kOwnBar.gradientColor};
}

Bar ownFpu(int value)
{
    return {"FPU", value, kOwnFpuBar.color, kOwnFpuBar.gradientColor};
}

Bar spacer()
{
    return {"", 0, kSpacerColor, kNavy};
}

Bar cpu(const QString& key, int value)
{
    return {key + " CPU", value, kReferenceBar.color, kReferenceBar.gradientColor};
}

Bar fpu(int value)
{
    return {"FPU", value, kReferenceFpuBar.color, kReferenceFpuBar.gradientColor};
}

// A processor chart as the main window sets it up.
struct ChartFixture
{
    RecordingChart chart;

    ChartFixture() { chart.GradientColor = kNavy; }

    int rendersAfterEvents() const { return chart.renders; }
};

// The reference machine of the tests: 400 and 200 passes score 300.
BenchState g_state;

ProcessorKernels fakeKernels(int cpuCount, int fpuCount)
{
    return {[cpuCount] { return cpuCount; }, [fpuCount] { return fpuCount; }};
}

QTemporaryDir* g_dir = nullptr;

ComparisonDatabase databaseWith(const QByteArray& contents)
{
    return DatabaseWith(*g_dir, contents);
}

} // namespace

void TestBenchmarkPages::init()
{
    g_dir = new QTemporaryDir;
    QVERIFY(g_dir->isValid());
    g_state = BenchState{{400, 200, 300, {}, {}, {}}, 0, 0};
}

void TestBenchmarkPages::cleanup()
{
    delete g_dir;
    g_dir = nullptr;
}

void TestBenchmarkPages::loadsRowsInFileOrder_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<Bars>("rows");

    QTest::newRow("empty section")
        << QByteArray("[DATA]\nPIIFreq=300\n[Processor]\n[Memory]\nM=5\n") << Bars{};
    QTest::newRow("missing section") << QByteArray("[Memory]\nM=5\n") << Bars{};
    QTest::newRow("one row") << QByteArray("[Processor]\nRef=300,250\n")
                             << Bars{spacer(), cpu("Ref", 300), fpu(250)};
    QTest::newRow("one field shows as both")
        << QByteArray("[Processor]\nOld=300\n") << Bars{spacer(), cpu("Old", 300), fpu(300)};
    QTest::newRow("blanks and semicolons") << QByteArray("[Processor]\nP 133 = 95 ; 80\n")
                                           << Bars{spacer(), cpu("P 133", 95), fpu(80)};
    QTest::newRow("three rows in file order, case-blind section")
        << QByteArray("; machines\n[processor]\nZeta=1,2\nAlpha=30,40\n\nMid=-5,6\n[Video]\nV=9\n")
        << Bars{spacer(), cpu("Zeta", 1), fpu(2),         spacer(), cpu("Alpha", 30),
                fpu(40),  spacer(),       cpu("Mid", -5), fpu(6)};
}

void TestBenchmarkPages::loadsRowsInFileOrder()
{
    QFETCH(QByteArray, contents);
    QFETCH(Bars, rows);
    ChartFixture fixture;
    const ComparisonDatabase database = databaseWith(contents);

    RefreshProcessorPage(fixture.chart, database, g_state, fakeKernels(600, 300));

    // 600 of 400 and 300 of 200 at 300: both 450.
    const Bars expected = Bars{own(450), ownFpu(450)} + rows;
    const Bars actual = barsOf(fixture.chart);
    QVERIFY2(actual == expected, qPrintable(describe(actual) + "\n---\n" + describe(expected)));
    QCOMPARE(g_state.LastCpuCount, 600);
    QCOMPARE(g_state.LastFpuCount, 300);
}

void TestBenchmarkPages::spacerKeepsTheChartsGradient()
{
    ChartFixture fixture;
    fixture.chart.GradientColor = kBlack;
    const ComparisonDatabase database = databaseWith("[Processor]\nRef=300,250\n");

    RefreshProcessorPage(fixture.chart, database, g_state, fakeKernels(1, 1));

    QCOMPARE(fixture.chart.bars().Count, 5);
    QCOMPARE(fixture.chart.bars().Items[2].GradientColor, kBlack);
    QCOMPARE(fixture.chart.bars().Items[3].GradientColor, kReferenceBar.gradientColor);
}

void TestBenchmarkPages::rowsThatDoNotFitAreLeftOut()
{
    // 2 + 3 x 33 = 101 bars fill the chart; the 34th row is not read at all,
    // so its bad value does not stop the refresh.
    QByteArray contents = "[Processor]\n";
    for (int row = 1; row <= 33; ++row)
        contents +=
            QByteArray("R") + QByteArray::number(row) + "=" + QByteArray::number(row) + ",7\n";
    contents += "R34=bad\n";
    ChartFixture fixture;

    RefreshProcessorPage(fixture.chart, databaseWith(contents), g_state, fakeKernels(600, 300));

    QCOMPARE(fixture.chart.bars().Count, TMyChartBars::Capacity);
    QCOMPARE(fixture.chart.bars().Items[99].Caption, QString("R33 CPU"));
    QCOMPARE(fixture.chart.bars().Items[99].Value, 33);
    QCOMPARE(fixture.chart.bars().Items[100].Value, 7);
}

void TestBenchmarkPages::rejectedValueStopsTheRefresh_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Bars>("rows");

    QTest::newRow("text in the FPU field")
        << QByteArray("[Processor]\nA=1,2\nB=300,x\nC=5,5\n") << "'x' is not a valid integer value"
        << Bars{spacer(), cpu("A", 1), fpu(2), spacer(), cpu("B", 300)};
    QTest::newRow("empty value") << QByteArray("[Processor]\nA=\n")
                                 << "'' is not a valid integer value" << Bars{spacer()};
    QTest::newRow("over-long value: cut, its row named")
        << QByteArray("[Processor]\nA=1,2\nB=" + QByteArray(100000, '9') + "x,1\n")
        << "'" + QString(40, '9') + "...' in [Processor] B is not a valid integer value"
        << Bars{spacer(), cpu("A", 1), fpu(2), spacer()};
    QTest::newRow("trailing separator leaves field 1 empty")
        << QByteArray("[Processor]\nA=300,\n") << "'' is not a valid integer value"
        << Bars{spacer(), cpu("A", 300)};
}

void TestBenchmarkPages::rejectedValueStopsTheRefresh()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    QFETCH(Bars, rows);
    ChartFixture fixture;
    g_state.LastCpuCount = 17;
    bool kernelRan = false;
    const ProcessorKernels kernels{[&] {
                                       kernelRan = true;
                                       return 1;
                                   },
                                   [&] {
                                       kernelRan = true;
                                       return 1;
                                   }};
    const ComparisonDatabase database = databaseWith(contents);
    const int rendersBefore = fixture.rendersAfterEvents();

    try {
        RefreshProcessorPage(fixture.chart, database, g_state, kernels);
        QFAIL("no error raised");
    } catch (const DatabaseError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }

    const Bars expected = Bars{own(0), ownFpu(0)} + rows;
    const Bars actual = barsOf(fixture.chart);
    QVERIFY2(actual == expected, qPrintable(describe(actual) + "\n---\n" + describe(expected)));
    QVERIFY(!kernelRan);
    QCOMPARE(g_state.LastCpuCount, 17);
    // Automatic redraw is still off: adding a bar renders nothing until
    // EndUpdate, which does.
    fixture.chart.AddBar("late", 1, 0);
    QCOMPARE(fixture.rendersAfterEvents(), rendersBefore);
    fixture.chart.EndUpdate();
    QVERIFY(fixture.rendersAfterEvents() > rendersBefore);
}

void TestBenchmarkPages::singleValuePages_data()
{
    QTest::addColumn<ChartPageRows>("page");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("ownCaption");

    QTest::newRow("memory") << MemoryPageRows() << "Memory"
                            << "Your memory";
    QTest::newRow("video") << VideoPageRows() << "Video"
                           << "Your video";
    QTest::newRow("drive") << DrivePageRows() << "Drive"
                           << "Your drive";
}

void TestBenchmarkPages::singleValuePages()
{
    QFETCH(ChartPageRows, page);
    QFETCH(QString, section);
    QFETCH(QString, ownCaption);
    ChartFixture fixture;
    fixture.chart.GradientColor = kBlack;
    const QByteArray contents =
        "[Processor]\nP=1,2\n[" + section.toUtf8() + "]\nP 200=1234\nK6= 77 \n[Other]\nX=5\n";

    LoadReferenceRows(fixture.chart, databaseWith(contents), page);

    const Bar blackSpacer{"", 0, kSpacerColor, kBlack};
    const Bars expected{{ownCaption, 0, kOwnBar.color, kOwnBar.gradientColor},
                        blackSpacer,
                        {"P 200", 1234, kReferenceBar.color, kReferenceBar.gradientColor},
                        blackSpacer,
                        {"K6", 77, kReferenceBar.color, kReferenceBar.gradientColor}};
    QVERIFY2(barsOf(fixture.chart) == expected, qPrintable(describe(barsOf(fixture.chart))));

    // These sections hold one number a row: two fields are rejected whole.
    try {
        LoadReferenceRows(fixture.chart, databaseWith("[" + section.toUtf8() + "]\nTwo=1,2\n"),
                          page);
        QFAIL("no error raised");
    } catch (const DatabaseError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QString("'1,2' is not a valid integer value"));
    }
    QCOMPARE(fixture.chart.bars().Count, 2);
}

void TestBenchmarkPages::fpuBarStaysZeroWhileTheIntegerKernelRuns()
{
    ChartFixture fixture;
    RecordingChart& chart = fixture.chart;
    Bars duringCpu, duringFpu;
    int rendersDuringCpu = 0, rendersDuringFpu = 0;
    const ProcessorKernels kernels{[&] {
                                       duringCpu = barsOf(chart).mid(0, 2);
                                       rendersDuringCpu = chart.renders;
                                       return 600;
                                   },
                                   [&] {
                                       duringFpu = barsOf(chart).mid(0, 2);
                                       rendersDuringFpu = chart.renders;
                                       return 100;
                                   }};

    const int rendersBefore = fixture.rendersAfterEvents();

    RefreshProcessorPage(chart, databaseWith("[Processor]\nRef=300,250\n"), g_state, kernels);

    QCOMPARE(duringCpu, (Bars{own(0), ownFpu(0)}));
    QCOMPARE(duringFpu, (Bars{own(450), ownFpu(0)}));
    QCOMPARE(barsOf(chart).mid(0, 2), (Bars{own(450), ownFpu(150)}));
    // Each score is drawn before the next step: the rows before the integer
    // kernel, the CPU score before the floating-point kernel, and the FPU
    // score at the end.
    QVERIFY(rendersDuringCpu > rendersBefore);
    QVERIFY(rendersDuringFpu > rendersDuringCpu);
    QVERIFY(chart.renders > rendersDuringFpu);
}

void TestBenchmarkPages::zeroReferenceStopsBeforeTheBarChanges()
{
    g_state.reference.PIIMultCPU = 0;
    ChartFixture fixture;
    bool fpuRan = false;
    const ProcessorKernels kernels{[] { return 600; },
                                   [&] {
                                       fpuRan = true;
                                       return 1;
                                   }};

    try {
        RefreshProcessorPage(fixture.chart, databaseWith("[Processor]\nRef=300,250\n"), g_state,
                             kernels);
        QFAIL("no error raised");
    } catch (const BenchError& error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QString("PIIMultCPU is missing or 0 in base.ini"));
    }
    QCOMPARE(g_state.LastCpuCount, 600);
    QCOMPARE(fixture.chart.bars().Items[0].Value, 0);
    QVERIFY(!fpuRan);
}

void TestBenchmarkPages::shippedDatabaseScoresTheReferenceAtItsClock()
{
    const ComparisonDatabase shipped(QStringLiteral(QUORVIX_TEST_DATA "/../../resources/base.ini"));
    g_state.reference = LoadScaling(shipped);
    const ReferenceMachine reference = g_state.reference;
    QVERIFY(reference.PIIMultCPU > 0 && reference.PIIMultFPU > 0 && reference.PIIFreq > 0);
    const QStringList rows = shipped.ListKeys(QStringLiteral("Processor"));
    QVERIFY(!rows.isEmpty());

    // A machine that counts what the reference counted scores its clock, and
    // every shipped row loads.
    ChartFixture fixture;
    const ProcessorKernels kernels{[&] { return reference.PIIMultCPU; },
                                   [&] { return reference.PIIMultFPU; }};
    RefreshProcessorPage(fixture.chart, shipped, g_state, kernels);
    QCOMPARE(fixture.chart.bars().Count, 2 + 3 * int(rows.size()));
    QCOMPARE(fixture.chart.bars().Items[0].Value, reference.PIIFreq);
    QCOMPARE(fixture.chart.bars().Items[1].Value, reference.PIIFreq);
}
