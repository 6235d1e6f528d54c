// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_scores.h"

#include "bench/BenchError.h"
#include "bench/ReferenceMachine.h"
#include "bench/Scores.h"
#include "database/ComparisonDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <limits>

#include <sys/stat.h>

using bench::BenchError;

void TestScores::scaling_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("referenceCount");
    QTest::addColumn<int>("referenceScore");
    QTest::addColumn<int>("score");

    QTest::newRow("600 of 400 at 300") << 600 << 400 << 300 << 450;
    QTest::newRow("449.25 truncated") << 599 << 400 << 300 << 449;
    QTest::newRow("equal count gives PIIFreq") << 123457 << 123457 << 733 << 733;
    QTest::newRow("449.997 truncated, not rounded") << 149999 << 1000 << 3 << 449;
    QTest::newRow("count 1") << 1 << 400 << 300 << 0;
    QTest::newRow("count 1, reference 1") << 1 << 1 << 300 << 300;
    // 25 / 3 rounded in extended times 15 lies just under 125; multiplying
    // first, or working in double, gives 125.
    QTest::newRow("division first, extended") << 25 << 3 << 15 << 124;
    // ...and here double gives 244 where extended gives 245.
    QTest::newRow("extended, not double") << 49 << 3 << 15 << 245;
    QTest::newRow("today's counts") << 6400000 << 1500000 << 450 << 1920;
    QTest::newRow("negative truncates toward zero") << -599 << 400 << 300 << -449;
    QTest::newRow("PIIFreq 0") << 600 << 400 << 0 << 0;
}

void TestScores::scaling()
{
    QFETCH(int, count);
    QFETCH(int, referenceCount);
    QFETCH(int, referenceScore);
    QFETCH(int, score);

    QCOMPARE(bench::ScaleCount(count, referenceCount, referenceScore, "PIIMultCPU"), score);
}

void TestScores::cpuAndFpuUseTheirOwnReference()
{
    const bench::ReferenceMachine reference{400, 200, 300, {}, {}, {}};
    QCOMPARE(bench::CpuScore(600, reference), 450);
    QCOMPARE(bench::FpuScore(600, reference), 900);
}

void TestScores::zeroReferenceNamesTheKey_data()
{
    QTest::addColumn<bool>("fpu");
    QTest::addColumn<int>("reference");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("message");

    QTest::newRow("CPU") << false << 0 << 600 << "PIIMultCPU is missing or 0 in base.ini";
    QTest::newRow("FPU") << true << 0 << 600 << "PIIMultFPU is missing or 0 in base.ini";
    QTest::newRow("CPU, count 0 too")
        << false << 0 << 0 << "PIIMultCPU is missing or 0 in base.ini";
    QTest::newRow("negative CPU") << false << -400 << 600
                                  << "PIIMultCPU in base.ini is negative: -400";
    QTest::newRow("negative FPU") << true << -1 << 600 << "PIIMultFPU in base.ini is negative: -1";
}

void TestScores::zeroReferenceNamesTheKey()
{
    QFETCH(bool, fpu);
    QFETCH(int, reference);
    QFETCH(int, count);
    QFETCH(QString, message);
    // The other reference is set, so the message must come from the right one.
    const bench::ReferenceMachine machine{
        fpu ? 400 : reference, fpu ? reference : 400, 300, {}, {}, {}};

    try {
        fpu ? bench::FpuScore(count, machine) : bench::CpuScore(count, machine);
        QFAIL("no error raised");
    } catch (const BenchError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void TestScores::unreadableDatabaseSaysWhy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    const QString missing = QStringLiteral("PIIMultCPU is missing or 0 in base.ini");
    QTest::newRow("missing: nothing to say") << "missing" << missing;
    QTest::newRow("readable, no DATA") << "empty" << missing;
    QTest::newRow("a directory") << "directory"
                                 << missing + ": base.ini cannot be read: it is a directory";
    QTest::newRow("a FIFO") << "fifo"
                            << missing + ": base.ini cannot be read: it is not a regular file";
    QTest::newRow("UTF-16") << "utf16"
                            << missing + ": base.ini cannot be read: it is UTF-16 text, not UTF-8";
}

void TestScores::unreadableDatabaseSaysWhy()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("base.ini"));
    if (kind == "directory") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "fifo") {
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind != "missing") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "utf16")
            file.write(QByteArray("\xFF\xFE[\0D\0A\0T\0A\0]\0", 14));
    }
    const bench::ReferenceMachine reference = bench::LoadScaling(ComparisonDatabase(path));
    try {
        bench::CpuScore(600, reference);
        QFAIL("no error raised");
    } catch (const BenchError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void TestScores::writtenReferenceSaysWhatIsWrong_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("message");
    const QString unusable = "PIIMultCPU in base.ini is no whole number from 1 to 2147483647: ";
    QTest::newRow("0") << QByteArray("0") << "PIIMultCPU is missing or 0 in base.ini";
    QTest::newRow("negative") << QByteArray("-5") << "PIIMultCPU in base.ini is negative: -5";
    QTest::newRow("beyond 32 bits") << QByteArray("99999999999") << unusable + "'99999999999'";
    QTest::newRow("text") << QByteArray("fast") << unusable + "'fast'";
    QTest::newRow("100 kB, cut") << QByteArray(100000, '7') + "x"
                                 << unusable + "'" + QString(40, '7') + "...'";
}

void TestScores::writtenReferenceSaysWhatIsWrong()
{
    QFETCH(QByteArray, written);
    QFETCH(QString, message);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("base.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[DATA]\nPIIMultCPU=" + written + "\nPIIMultFPU=400\nPIIFreq=300\n");
    file.close();
    const bench::ReferenceMachine reference = bench::LoadScaling(ComparisonDatabase(path));
    try {
        bench::CpuScore(600, reference);
        QFAIL("no error raised");
    } catch (const BenchError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void TestScores::scoreOutside32BitsRaises_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("referenceCount");
    QTest::addColumn<int>("referenceScore");
    QTest::addColumn<bool>("raises");
    QTest::addColumn<int>("score");

    const int max = std::numeric_limits<std::int32_t>::max();
    const int min = std::numeric_limits<std::int32_t>::min();
    QTest::newRow("largest score") << max << max << max << false << max;
    QTest::newRow("smallest score") << min << 1 << 1 << false << min;
    QTest::newRow("largest PIIFreq, quotient 1") << 2 << 2 << max << false << max;
    QTest::newRow("twice the largest") << 2 << 1 << max << true << 0;
    QTest::newRow("below the smallest") << 2 << 1 << min << true << 0;
    QTest::newRow("huge quotient") << max << 1 << 2 << true << 0;
}

void TestScores::scoreOutside32BitsRaises()
{
    QFETCH(int, count);
    QFETCH(int, referenceCount);
    QFETCH(int, referenceScore);
    QFETCH(bool, raises);
    QFETCH(int, score);

    if (raises) {
        QVERIFY_THROWS_EXCEPTION(
            BenchError, bench::ScaleCount(count, referenceCount, referenceScore, "PIIMultFPU"));
    } else {
        QCOMPARE(bench::ScaleCount(count, referenceCount, referenceScore, "PIIMultFPU"), score);
    }
}
