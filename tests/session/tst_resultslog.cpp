// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_session.h"

#include "session/FullRun.h"
#include "session/ResultsLog.h"

#include <QTest>

#include <limits>

using namespace report;

namespace {

sysinfo::OverviewFields sampleOverview()
{
    sysinfo::OverviewFields fields;
    fields.processor = "Test CPU, 2600 MHz";
    fields.memory = "2048 Mb (used 31%)";
    fields.display = "Test display";
    fields.monitor = "Test monitor";
    fields.hdd = "/ 100 Gb; /home 200 Gb";
    fields.mouse = "Test mouse";
    fields.os = "Debian GNU/Linux 12 (bookworm)";
    fields.computerName = "testhost";
    fields.userName = "tester";
    return fields;
}

// What a log with these drive lines looks like, written out in full.
QStringList expectedLog(const QStringList& driveLines)
{
    QStringList lines{
        "Test results",
        "",
        "- System overview ---------------------",
        "",
        "Processor : Test CPU, 2600 MHz",
        "Memory    : 2048 Mb (used 31%)",
        "Video     : Test display",
        "Monitor   : Test monitor",
        "HDD       : / 100 Gb; /home 200 Gb",
        "CD-ROM    : ",
        "Mouse     : Test mouse",
        QString::fromUtf8("\xD0\x9ES        : Debian GNU/Linux 12 (bookworm)"),
        "Comp name : testhost",
        "User name : tester",
        "",
        "- Performance -------------------------",
        "",
        "CPU : 2590 (4718592)",
        "FPU : 4294967295 (0)",
        "Memory : 7013 (Mb/sec)",
        "Video : 2147483648 (Mb/sec)",
    };
    return lines + driveLines + QStringList{"", "- All tests completed -------------------"};
}

} // namespace

void TestResultsLog::unsignedText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0";
    QTest::newRow("positive") << 2590 << "2590";
    QTest::newRow("largest") << std::numeric_limits<int>::max() << "2147483647";
    QTest::newRow("-1") << -1 << "4294967295";
    QTest::newRow("smallest") << std::numeric_limits<int>::min() << "2147483648";
    QTest::newRow("-1000") << -1000 << "4294966296";
}

void TestResultsLog::unsignedText()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(UnsignedText(value), text);
}

void TestResultsLog::wholeLog_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("driveLines");
    QTest::newRow("no drive") << QStringList{} << QStringList{};
    QTest::newRow("one drive") << QStringList{"Drive /"} << QStringList{"Drive / : 81920 (KB/sec)"};
    QTest::newRow("three drives") << QStringList{"Drive /", "Drive /home", "Drive /srv"}
                                  << QStringList{"Drive / : 81920 (KB/sec)",
                                                 "Drive /home : 0 (KB/sec)",
                                                 "Drive /srv : 4294967196 (KB/sec)"};
}

void TestResultsLog::wholeLog()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, driveLines);
    AllTestsResults results;
    results.overview = sampleOverview();
    results.processor = {2590, 4718592, -1, 0};
    results.memory = 7013;
    results.video = std::numeric_limits<int>::min();
    const QList<int> rates{81920, 0, -100};
    for (int i = 0; i < entries.size(); ++i)
        results.drives.append({entries[i], rates[i]});

    const QStringList log = ComposeLog(results);
    QCOMPARE(log, expectedLog(driveLines));
    QCOMPARE(log.size(), 23 + entries.size());
}

void TestResultsLog::headingWidths()
{
    // The headings line up in a fixed font: words, then hyphens to the width.
    const QStringList opening = OpeningLines();
    QCOMPARE(opening[2].size(), 39);
    QCOMPARE(opening[2].count('-'), 1 + 21);
    const QString performance = PerformanceHeadingLines()[1];
    QCOMPARE(performance.size(), 39);
    QCOMPARE(performance.count('-'), 1 + 25);
    QCOMPARE(ClosingLines().last().size(), 41);
    QCOMPARE(ClosingLines().last().count('-'), 1 + 19);
    // Every overview label is 12 characters: name in 10, a colon and a blank.
    for (const QString& line : OverviewLines({}))
        QVERIFY2(line.size() == 12 && line.endsWith(" : "), qPrintable(line));
}

void TestResultsLog::driveLineKeepsPercentSigns()
{
    QCOMPARE(DriveLine("Drive /mnt/100%u", 5), QStringLiteral("Drive /mnt/100%u : 5 (KB/sec)"));
    QCOMPARE(DriveLine("Drive /%1", -2), QStringLiteral("Drive /%1 : 4294967294 (KB/sec)"));
}
