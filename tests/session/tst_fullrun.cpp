// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_session.h"

#include "RunFixture.h"

#include "bench/MemoryPage.h"
#include "database/DatabaseError.h"
#include "session/FullRun.h"
#include "session/ResultFigures.h"
#include "session/Session.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <functional>
#include <memory>

using namespace report;

void TestFullRun::stepOrder_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("drives");
    QTest::addColumn<QStringList>("journal");

    const QStringList start{"log cleared", "Processor", "Memory"};
    QTest::newRow("comparative, no drive") << false << 0 << start + QStringList{"Video"};
    // The full test runs in the page's mode, then the comparative test, whose
    // figure is logged, with the page shown in that mode.
    QTest::newRow("full mode, one drive")
        << true << 1 << start + QStringList{"mode 1", "Memory", "Video", "show 0", "Drive /"};
    QTest::newRow("comparative, three drives")
        << false << 3 << start + QStringList{"Video",       "show 0", "Drive /",   "show 1",
                                             "Drive /home", "show 2", "Drive /srv"};
}

void TestFullRun::stepOrder()
{
    QFETCH(bool, full);
    QFETCH(int, drives);
    QFETCH(QStringList, journal);
    RunFixture f(drives);
    if (full)
        f.session->setMemoryMode(bench::MemoryMode::Full);
    f.view.journal.clear();

    const AllTestsResults results = RunAllTests(*f.session, f.view);
    QCOMPARE(f.view.journal, journal);
    QCOMPARE(f.figures.journal.contains("read 1024"), full); // the full test's smallest block
    QCOMPARE(results.processor, (ProcessorFigures{100, 600, 100, 300}));
    QCOMPARE(results.memory, 5000);
    QCOMPARE(results.video, 700);
    QVERIFY(results.skipped.isEmpty());
    QVERIFY(f.session->log().contains("Memory : 5000 (Mb/sec)"));
    QCOMPARE(results.drives.size(), drives);
    if (drives == 3)
        QCOMPARE(results.drives[1], (DriveFigure{"Drive /home", 2000, {}, "/home"}));
    QCOMPARE(f.session->selectedDrive(), drives - 1); // the last drive stays selected
    QCOMPARE(f.session->log().size(), 23 + drives);
    QCOMPARE(ComposeLog(results), f.session->log());
    // The memory page is left comparative, its chart with the logged figure.
    QCOMPARE(f.session->memoryMode(), bench::MemoryMode::Comparative);
    QCOMPARE(f.lastChart(ChartPage::Memory), (QList<int>{5000, 0, 3}));
}

void TestFullRun::secondRunReplacesTheLog()
{
    RunFixture f(1);
    QCOMPARE(f.session->log(), QStringList{InitialLogText});
    QStringList shown; // what a view of the log shows, from the signals
    QObject::connect(f.session.get(), &Session::logCleared, [&] { shown.clear(); });
    QObject::connect(f.session.get(), &Session::logAppended,
                     [&](const QString& line) { shown << line; });
    RunAllTests(*f.session, f.view);
    const QStringList first = f.session->log();
    f.figures.video = [] { return 900; };
    RunAllTests(*f.session, f.view);
    QCOMPARE(f.session->log().size(), first.size());
    QVERIFY(!f.session->log().contains(InitialLogText));
    QCOMPARE(f.session->log().count("Video : 900 (Mb/sec)"), 1);
    QVERIFY(!f.session->log().contains("Video : 700 (Mb/sec)"));
    QCOMPARE(shown, f.session->log());
}

void TestFullRun::errorEndsTheRunWhereItIs_data()
{
    QTest::addColumn<QString>("failAt");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("lines");
    QTest::newRow("processor") << "cpu" << false << "User name : " << 14;
    QTest::newRow("memory") << "read 4194304" << false << "FPU : 100 (300)" << 19;
    // The comparative test after the full one fails inside the run, not in a
    // handler of its own that would let the run go on.
    QTest::newRow("memory after the full test")
        << "read 4194304" << true << "FPU : 100 (300)" << 19;
    QTest::newRow("video") << "video" << false << "Memory : 5000 (Mb/sec)" << 20;
    QTest::newRow("second drive") << "disk /home" << false << "Drive / : 1000 (KB/sec)" << 22;
}

void TestFullRun::errorEndsTheRunWhereItIs()
{
    QFETCH(QString, failAt);
    QFETCH(bool, full);
    QFETCH(QString, lastLine);
    QFETCH(int, lines);
    RunFixture f(3);
    f.figures.failAt = failAt;
    if (full)
        f.session->setMemoryMode(bench::MemoryMode::Full);

    AllTestsResults results;
    QVERIFY_THROWS_EXCEPTION(bench::BenchError, RunAllTests(*f.session, f.view, results));
    QCOMPARE(f.session->log().size(), lines);
    QCOMPARE(f.session->log().last(), lastLine);
    QVERIFY(!f.session->log().contains(ClosingHeading));
    QCOMPARE(f.figures.journal.last(), failAt); // nothing ran after the failing kernel
    QCOMPARE(results.drives.size(), failAt == "disk /home" ? 1 : 0);
}

void TestFullRun::sessionState()
{
    RunFixture f(2);
    QCOMPARE(f.session->overview().hdd, QStringLiteral("/ 100 Gb"));
    // A probe pass keeps the drive sizes, and the OS text when the version
    // cannot be read.
    f.os.reset();
    f.session->refreshOverview();
    QCOMPARE(f.session->overview().os, std::optional<QString>("Debian"));
    QCOMPARE(f.session->overview().hdd, QStringLiteral("/ 100 Gb"));

    f.session->selectDrive(1);
    f.session->runDrive();
    f.session->runProcessor();
    const MachineValues machine = f.session->machineValues();
    QCOMPARE(machine.processor, QStringLiteral("Test CPU"));
    QCOMPARE(machine.drive, QStringLiteral("Drive /home"));
    QCOMPARE(machine.driveChart.first, 2000);
    QCOMPARE(machine.processorChart.second, 100);
    QCOMPARE(machine.memoryChart.count, 0); // the memory page has not run

    f.session->selectDrive(7);
    QCOMPARE(f.session->selectedDrive(), -1);
    f.figures.journal.clear();
    f.session->runDrive(); // no drive: bar 0 stays 0, nothing written
    QCOMPARE(f.session->driveResult(), 0);
    QCOMPARE(f.figures.journal, QStringList{});
}

void TestFullRun::chartAtEachStep_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<QList<int>>>("charts"); // the values of each chart sent

    // The rows first with the own bars at 0, then each figure once measured:
    // the integer score before the floating-point kernel runs.
    QTest::newRow("processor") << int(ChartPage::Processor)
                               << QList<QList<int>>{
                                      {0, 0, 0, 1, 2}, {100, 0, 0, 1, 2}, {100, 100, 0, 1, 2}};
    QTest::newRow("memory") << int(ChartPage::Memory) << QList<QList<int>>{{0, 0, 3}, {5000, 0, 3}};
    QTest::newRow("video") << int(ChartPage::Video) << QList<QList<int>>{{0, 0, 4}, {700, 0, 4}};
    QTest::newRow("drive") << int(ChartPage::Drive) << QList<QList<int>>{{0, 0, 5}, {1000, 0, 5}};
}

void TestFullRun::chartAtEachStep()
{
    QFETCH(int, page);
    QFETCH(QList<QList<int>>, charts);
    RunFixture f(1);
    const auto chartPage = ChartPage(page);
    QList<QList<int>> sent;
    QObject::connect(f.session.get(), &Session::chartChanged,
                     [&](ChartPage from, const TMyChartBars& bars) {
                         QCOMPARE(from, chartPage);
                         sent << QList<int>{};
                         for (int i = 0; i < bars.Count; ++i)
                             sent.last() << bars.Items[i].Value;
                     });
    QSignalSpy results(f.session.get(), &Session::resultsChanged);
    QVERIFY(!f.session->hasResult(chartPage));

    const std::array<std::function<void()>, 4> runs{
        [&] { f.session->runProcessor(); }, [&] { f.session->runMemory(); },
        [&] { f.session->runVideo(f.view.surface); }, [&] { f.session->runDrive(); }};
    runs[std::size_t(page)]();

    QCOMPARE(sent, charts);
    QCOMPARE(results.count(), 1);
    QVERIFY(f.session->hasResult(chartPage));
}

// The full test draws each pair as measured; the editor's new row then takes
// the first bar the chart shows, the smallest block's read rate.
void TestFullRun::fullMemoryTestPairByPair()
{
    RunFixture f(1);
    f.session->setMemoryMode(bench::MemoryMode::Full);

    f.session->runMemory();

    QCOMPARE(f.charts.size(), bench::kFullTestBlocks);
    for (int i = 0; i < f.charts.size(); ++i)
        QCOMPARE(f.charts[i].second.Count, 2 * (i + 1));
    QCOMPARE(f.session->results().memorySweep->size(), bench::kFullTestBlocks);
    QCOMPARE(f.session->machineValues().memoryChart.first, 5000);
    QCOMPARE(f.session->memoryResult(), 0); // no comparative figure yet
}

// A rejected row sends no chart: the window keeps what it showed. The page
// counts as refreshed, with its figures at 0, as its own bars were.
void TestFullRun::rejectedRowSendsNoChart()
{
    RunFixture f(1);
    f.session->runProcessor();
    QFile file(f.directory.filePath("base.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[DATA]\nPIIMultCPU=600\nPIIMultFPU=300\nPIIFreq=100\n[Processor]\nBad=1,x\n");
    file.close();
    f.charts.clear();
    f.figures.journal.clear();

    QVERIFY_THROWS_EXCEPTION(DatabaseError, f.session->runProcessor());

    QVERIFY(f.charts.isEmpty());
    QVERIFY(f.figures.journal.isEmpty());
    QVERIFY(f.session->hasResult(ChartPage::Processor));
    QCOMPARE(f.session->cpuScore(), 0);
    QCOMPARE(f.session->machineValues().processorChart.count, 2);
}

// Mount points whose bytes are no UTF-8 can show as the same entry; each
// keeps its own figure and its own reason for being left out.
void TestFullRun::drivesKeyedByMountPoint()
{
    const QByteArray measured = "/mnt/\xff";
    const QByteArray full = "/mnt/\xfe";
    RunFixture f(2, "PIIMultCPU=600\nPIIMultFPU=300\nPIIFreq=100\n", {measured, full});
    f.figures.free = [&full](const std::string& mount) {
        return mount == full.toStdString() ? std::uint64_t{1024} : std::uint64_t{1} << 40;
    };

    const AllTestsResults results = RunAllTests(*f.session, f.view);
    QCOMPARE(results.drives.size(), 2);
    QCOMPARE(results.drives[0].entry, results.drives[1].entry);
    QVERIFY(!results.skipped.contains({TestId::Disk, measured}));
    QVERIFY(results.skipped.value({TestId::Disk, full}).startsWith("10 MiB or less free"));
    const QList<AllTestsResults> runs{results};
    QCOMPARE(MeasuredRuns(runs, DriveSpeed(0, results.drives[0])), QList<std::int32_t>{2000});
    QVERIFY(MeasuredRuns(runs, DriveSpeed(1, results.drives[1])).isEmpty());
}
