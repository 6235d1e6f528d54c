// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_pages.h"

#include "DatabaseFile.h"

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

Bars barsOf(const TMyChartBars& chart)
{
    Bars bars;
    for (int i = 0; i < chart.Count; ++i) {
        const TMyChartBar& bar = chart.Items[i];
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

// The reference machine of the tests: 400 and 200 passes score 300.
const ReferenceMachine kReference{400, 200, 300, {}, {}, {}};

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
    const ComparisonDatabase database = databaseWith(contents);
    ProcessorResult result;

    MeasureProcessor(kReference, fakeKernels(600, 300), result);

    // 600 of 400 and 300 of 200 at 300: both 450.
    QCOMPARE(result, (ProcessorResult{450, 600, 450, 300}));
    const Bars expected = Bars{own(450), ownFpu(450)} + rows;
    const Bars actual =
        barsOf(ProcessorBars(ReadReferenceRows(database, ProcessorPageRows()), result));
    QVERIFY2(actual == expected, qPrintable(describe(actual) + "\n---\n" + describe(expected)));
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

    const ReferenceRowList rows = ReadReferenceRows(databaseWith(contents), ProcessorPageRows());

    QCOMPARE(rows.size(), 33);
    const TMyChartBars bars = ProcessorBars(rows, {});
    QCOMPARE(bars.Count, TMyChartBars::Capacity);
    QCOMPARE(bars.Items[99].Caption, QString("R33 CPU"));
    QCOMPARE(bars.Items[99].Value, 33);
    QCOMPARE(bars.Items[100].Value, 7);
}

void TestBenchmarkPages::rejectedValueStopsTheRefresh_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");

    QTest::newRow("text in the FPU field")
        << QByteArray("[Processor]\nA=1,2\nB=300,x\nC=5,5\n") << "'x' is not a valid integer value";
    QTest::newRow("empty value") << QByteArray("[Processor]\nA=\n")
                                 << "'' is not a valid integer value";
    QTest::newRow("over-long value: cut, its row named")
        << QByteArray("[Processor]\nA=1,2\nB=" + QByteArray(100000, '9') + "x,1\n")
        << "'" + QString(40, '9') + "...' in [Processor] B is not a valid integer value";
    QTest::newRow("trailing separator leaves field 1 empty")
        << QByteArray("[Processor]\nA=300,\n") << "'' is not a valid integer value";
}

void TestBenchmarkPages::rejectedValueStopsTheRefresh()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    const ComparisonDatabase database = databaseWith(contents);

    try {
        ReadReferenceRows(database, ProcessorPageRows());
        QFAIL("no error raised");
    } catch (const DatabaseError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void TestBenchmarkPages::singleValuePages_data()
{
    QTest::addColumn<ChartPageRows>("page");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("ownCaption");
    QTest::addColumn<TColor>("chartGradient");

    QTest::newRow("memory") << MemoryPageRows() << "Memory"
                            << "Your memory" << kNavy;
    QTest::newRow("video") << VideoPageRows() << "Video"
                           << "Your video" << kBlack;
    QTest::newRow("drive") << DrivePageRows() << "Drive"
                           << "Your drive" << kBlack;
}

void TestBenchmarkPages::singleValuePages()
{
    QFETCH(ChartPageRows, page);
    QFETCH(QString, section);
    QFETCH(QString, ownCaption);
    QFETCH(TColor, chartGradient);
    const QByteArray contents =
        "[Processor]\nP=1,2\n[" + section.toUtf8() + "]\nP 200=1234\nK6= 77 \n[Other]\nX=5\n";

    const TMyChartBars bars =
        ChartWithRows(page, ReadReferenceRows(databaseWith(contents), page), {9});

    // A spacer keeps the gradient colour of its chart in the window.
    const Bar spacer{"", 0, kSpacerColor, chartGradient};
    const Bars expected{{ownCaption, 9, kOwnBar.color, kOwnBar.gradientColor},
                        spacer,
                        {"P 200", 1234, kReferenceBar.color, kReferenceBar.gradientColor},
                        spacer,
                        {"K6", 77, kReferenceBar.color, kReferenceBar.gradientColor}};
    QVERIFY2(barsOf(bars) == expected, qPrintable(describe(barsOf(bars))));

    // These sections hold one number a row: two fields are rejected whole.
    try {
        ReadReferenceRows(databaseWith("[" + section.toUtf8() + "]\nTwo=1,2\n"), page);
        QFAIL("no error raised");
    } catch (const DatabaseError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QString("'1,2' is not a valid integer value"));
    }
}

void TestBenchmarkPages::fpuBarStaysZeroWhileTheIntegerKernelRuns()
{
    ProcessorResult result;
    ProcessorResult shownBetween, duringFpu;
    const ProcessorKernels kernels{[] { return 600; },
                                   [&] {
                                       duringFpu = result;
                                       return 100;
                                   }};

    MeasureProcessor(kReference, kernels, result, [&] { shownBetween = result; });

    // The integer score is known, and handed on, before the floating-point kernel runs.
    QCOMPARE(shownBetween, (ProcessorResult{450, 600, 0, 0}));
    QCOMPARE(duringFpu, shownBetween);
    QCOMPARE(result, (ProcessorResult{450, 600, 150, 100}));
}

void TestBenchmarkPages::zeroReferenceStopsBeforeTheBarChanges()
{
    ReferenceMachine reference = kReference;
    reference.PIIMultCPU = 0;
    bool fpuRan = false;
    const ProcessorKernels kernels{[] { return 600; },
                                   [&] {
                                       fpuRan = true;
                                       return 1;
                                   }};
    ProcessorResult result;

    try {
        MeasureProcessor(reference, kernels, result);
        QFAIL("no error raised");
    } catch (const BenchError& error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QString("PIIMultCPU is missing or 0 in base.ini"));
    }
    // The pass count is kept, the score stays 0.
    QCOMPARE(result, (ProcessorResult{0, 600, 0, 0}));
    QVERIFY(!fpuRan);
}

void TestBenchmarkPages::shippedDatabaseScoresTheReferenceAtItsClock()
{
    const ComparisonDatabase shipped(QStringLiteral(QUORVIX_TEST_DATA "/../../resources/base.ini"));
    const ReferenceMachine reference = LoadScaling(shipped);
    QVERIFY(reference.PIIMultCPU > 0 && reference.PIIMultFPU > 0 && reference.PIIFreq > 0);
    const QStringList rows = shipped.ListKeys(QStringLiteral("Processor"));
    QVERIFY(!rows.isEmpty());

    // A machine that counts what the reference counted scores its clock, and
    // every shipped row loads.
    const ProcessorKernels kernels{[&] { return reference.PIIMultCPU; },
                                   [&] { return reference.PIIMultFPU; }};
    ProcessorResult result;
    MeasureProcessor(reference, kernels, result);
    QCOMPARE(result.cpuScore, reference.PIIFreq);
    QCOMPARE(result.fpuScore, reference.PIIFreq);
    const TMyChartBars bars =
        ProcessorBars(ReadReferenceRows(shipped, ProcessorPageRows()), result);
    QCOMPARE(bars.Count, 2 + 3 * int(rows.size()));
}
