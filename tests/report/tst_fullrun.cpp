#include "tst_report.h"

#include "ScriptedSteps.h"

#include "report/AllTests.h"

#include <QTest>

#include <stdexcept>

using namespace report;

namespace {

ScriptedSteps stepsWithDrives(int count)
{
    ScriptedSteps steps;
    steps.overview.processor = "Test CPU";
    steps.processor = {100, 200, 300, 400};
    steps.memoryComparative = 5000;
    steps.memoryFull = 1234;
    steps.video = 800;
    const QStringList names{"Drive /", "Drive /home", "Drive /srv"};
    for (int i = 0; i < count; ++i)
        steps.drives.append({names[i], 1000 * (i + 1)});
    return steps;
}

} // namespace

void TestAllTests::stepOrder_data()
{
    QTest::addColumn<bool>("comparative");
    QTest::addColumn<int>("drives");
    QTest::addColumn<QStringList>("journal");

    const QStringList start{"overview", "processor"};
    QTest::newRow("comparative, no drive")
        << true << 0 << start + QStringList{"memory comparative", "video"};
    // The full test runs in the page's mode; selecting the comparative mode
    // runs the comparative test, whose figure is logged.
    QTest::newRow("full mode, one drive")
        << false << 1
        << start + QStringList{"memory full", "memory comparative", "video", "select Drive /",
                               "disk Drive /"};
    QTest::newRow("comparative, three drives")
        << true << 3 << start + QStringList{"memory comparative", "video",
                                            "select Drive /",     "disk Drive /",
                                            "select Drive /home", "disk Drive /home",
                                            "select Drive /srv",  "disk Drive /srv"};
}

void TestAllTests::stepOrder()
{
    QFETCH(bool, comparative);
    QFETCH(int, drives);
    QFETCH(QStringList, journal);
    ScriptedSteps steps = stepsWithDrives(drives);
    steps.comparative = comparative;

    MemoryLog log;
    const AllTestsResults results = RunAllTests(steps, log);
    QCOMPARE(steps.journal, journal);
    QVERIFY(steps.comparative); // the page is left in comparative mode
    QCOMPARE(results.memory, 5000);
    QVERIFY(log.lines.contains("Memory : 5000 (Mb/sec)"));
    QCOMPARE(results.drives, steps.drives);
    QCOMPARE(log.lines.size(), 23 + drives);
}

void TestAllTests::secondRunReplacesTheLog()
{
    ScriptedSteps steps = stepsWithDrives(1);
    MemoryLog log;
    QCOMPARE(log.lines, QStringList{InitialLogText});
    RunAllTests(steps, log);
    const QStringList first = log.lines;
    steps.video = 900;
    RunAllTests(steps, log);
    QCOMPARE(log.lines.size(), first.size());
    QVERIFY(!log.lines.contains(InitialLogText));
    QCOMPARE(log.lines.count("Video : 900 (Mb/sec)"), 1);
    QVERIFY(!log.lines.contains("Video : 800 (Mb/sec)"));
}

void TestAllTests::errorEndsTheRunWhereItIs_data()
{
    QTest::addColumn<bool>("comparative"); // the mode the memory page is in
    QTest::addColumn<QString>("failAt");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("lines");
    QTest::newRow("processor") << true << "processor"
                               << "User name : " << 14;
    QTest::newRow("memory") << true << "memory comparative"
                            << "FPU : 300 (400)" << 19;
    // The comparative test the run selects after the full one.
    QTest::newRow("memory after the full test") << false << "memory comparative"
                                                << "FPU : 300 (400)" << 19;
    QTest::newRow("video") << true << "video"
                           << "Memory : 5000 (Mb/sec)" << 20;
    QTest::newRow("second drive") << true << "disk Drive /home"
                                  << "Drive / : 1000 (KB/sec)" << 22;
}

void TestAllTests::errorEndsTheRunWhereItIs()
{
    QFETCH(bool, comparative);
    QFETCH(QString, failAt);
    QFETCH(QString, lastLine);
    QFETCH(int, lines);
    ScriptedSteps steps = stepsWithDrives(3);
    steps.comparative = comparative;
    steps.failAt = failAt;

    MemoryLog log;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, RunAllTests(steps, log));
    QCOMPARE(log.lines.size(), lines);
    QCOMPARE(log.lines.last(), lastLine);
    QVERIFY(!log.lines.contains(ClosingHeading));
    QCOMPARE(steps.journal.last(), failAt); // nothing ran after the failing step
}

void TestAllTests::composedLogEqualsTheRunsLog()
{
    ScriptedSteps steps = stepsWithDrives(3);
    steps.processor = {-5, 7, 0, -1};
    MemoryLog log;
    const AllTestsResults results = RunAllTests(steps, log);
    QCOMPARE(ComposeLog(results), log.lines);
}
