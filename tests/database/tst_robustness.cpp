// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_robustness.h"

#include "DatabaseFiles.h"

#include "database/ComparisonDatabase.h"

#include "ChildProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

#include <sched.h>
#include <sys/mount.h>

void TestRobustness::nulBytes()
{
    TempBase base;
    base.write(Bytes("\0[A]\0\nx=a\0b\n\0\0\n[B]\ny=1\n"));
    ComparisonDatabase database(base.path());
    QCOMPARE(database.ReadText("A", "x", "-"), QString::fromUtf16(u"a\0b", 3));
    QCOMPARE(database.ListKeys("A"), QStringList{"x"});
    QCOMPARE(database.ReadNumber("B", "y", 0), 1);
}

void TestRobustness::hugeLine()
{
    const QByteArray line(6 * 1024 * 1024, 'v'); // 12 MiB in all: below the 16 MB limit
    TempBase base;
    base.write("[A]\r\nbig=" + line + "\r\n" + line + "\r\n[B]\r\nx=1\r\n");
    ComparisonDatabase database(base.path());
    QCOMPARE(database.ReadText("A", "big", "-"), QString(2047, u'v'));
    QCOMPARE(database.ListKeys("A"), QStringList{"big"});
    database.WriteText("B", "y", "2");
    QCOMPARE(base.read(), "[A]\r\nbig=" + line + "\r\n" + line + "\r\n[B]\r\nx=1\r\ny=2\r\n");
}

void TestRobustness::manyKeys()
{
    constexpr int count = 100000;
    QByteArray file("[DATA]\nPIIFreq=400\n[Memory]\n");
    DatabaseLists lists;
    for (int i = 0; i < count; ++i) {
        const QString key = QString::number(i);
        file += key.toUtf8() + "=" + QByteArray::number(i) + "\n";
        lists.memory.append({key, QString::number(count - i)});
    }
    TempBase base;
    base.write(file);
    ComparisonDatabase database(base.path());
    QCOMPARE(database.ReadText("Memory", "99999", "-"), QString("99999"));
    // Keys 0-9 take 2 bytes each, 10-99 3, 100-999 4 and 1000-3497 5: 16,381
    // bytes with the final zero; "3498" would need 5 more.
    const QStringList keys = database.ListKeys("Memory");
    QCOMPARE(keys.size(), 3498);
    QCOMPARE(keys.last(), QString("3497"));

    database.ReplaceLists(lists);
    QCOMPARE(database.ReadText("Memory", "0", "-"), QString::number(count));
    QCOMPARE(database.ReadText("Memory", "99999", "-"), QString("1"));
    QCOMPARE(base.read().count('\n'), 2 + 1 + count);
    QVERIFY(base.read().startsWith("[DATA]\nPIIFreq=400\n[Memory]\n0=100000\n1=99999\n"));
}

void TestRobustness::binaryJunk()
{
    QRandomGenerator random(2000);
    for (int round = 0; round < 20; ++round) {
        QByteArray junk(64 * 1024, Qt::Uninitialized);
        for (char& byte : junk)
            byte = char(random.bounded(256));
        TempBase base;
        base.write(junk);
        ComparisonDatabase database(base.path());
        database.ListKeys("A");
        database.ReadText("A", "x", "-");
        database.WriteText("Zq", "key", "value");
        QCOMPARE(database.ReadText("Zq", "key", "-"), QString("value"));
        database.RemoveSection("Zq");
        QCOMPARE(database.ReadText("Zq", "key", "-"), QString("-"));
    }
}

void TestRobustness::notARegularFile_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("directory") << QDir::tempPath();
    QTest::newRow("endless device") << "/dev/zero";
}

void TestRobustness::notARegularFile()
{
    QFETCH(QString, path);
    ComparisonDatabase database(path);
    QCOMPARE(database.ReadText("A", "x", "-"), QString("-"));
    QCOMPARE(database.ReadNumber("A", "x", 5), 5);
    QCOMPARE(database.ListKeys("A"), QStringList());
    // A write never replaces what it could not read.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, database.RemoveSection("A"));
}

void TestRobustness::missingFile()
{
    TempBase base;
    ComparisonDatabase database(base.path());
    QCOMPARE(database.ReadText("DATA", "PIIFreq", "-"), QString("-"));
    QCOMPARE(database.ReadNumber("DATA", "PIIFreq", 0), 0);
    QCOMPARE(database.ListKeys("Processor"), QStringList());
    database.RemoveSection("Processor");
    database.ReplaceLists({});
    QVERIFY(!base.exists());
    database.ReplaceLists({{}, {{"M", "1"}}, {}, {}});
    QCOMPARE(base.read(), QByteArray("[Memory]\nM=1\n"));
}

void TestRobustness::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("refused");
    QTest::newRow("16 MB") << qint64(16 * 1024 * 1024) << false;
    QTest::newRow("one byte more") << qint64(16 * 1024 * 1024 + 1) << true;
}

// Every query reads the whole file: one above 16 MB is refused with the
// reason, for reading and before a change, and stays as it was.
void TestRobustness::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, refused);
    TempBase base;
    base.write("[A]\nx=1\n");
    QVERIFY(QFile::resize(base.path(), size)); // the rest is NUL bytes
    ComparisonDatabase database(base.path());
    const QString message = "Unable to read " + QFileInfo(base.path()).absoluteFilePath() +
                            ": the file is larger than 16 MB";
    if (!refused) {
        QCOMPARE(database.ReadText("A", "x", "-"), QString("1"));
        return;
    }
    const auto expectRefused = [&](auto operation) {
        try {
            operation();
            QFAIL("no error raised");
        } catch (const DatabaseError& error) {
            QCOMPARE(QString::fromUtf8(error.what()), message);
        }
    };
    expectRefused([&] { database.ReadText("A", "x", "-"); });
    expectRefused([&] { database.ListKeys("A"); });
    expectRefused([&] { database.WriteText("A", "x", "2"); });
    expectRefused([&] { database.RemoveSection("A"); });
    QCOMPARE(QFileInfo(base.path()).size(), size);
}

// A pseudo-file that looks regular but blocks on read, as /proc/kmsg does:
// the tracing file system's trace_pipe, mounted in a child's own mount
// namespace, reached through a symbolic link named base.ini.
void TestRobustness::fileThatBlocks()
{
    TempBase base;
    const std::string tracing = (base.dir() + "/tracing").toStdString();
    QVERIFY(QDir().mkdir(base.dir() + "/tracing"));
    QVERIFY(QFile::link(base.dir() + "/tracing/trace_pipe", base.path()));
    const ChildResult child = RunInChild([&] {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("nodev", tracing.c_str(), "tracefs", 0, nullptr) != 0)
            return kChildCannotSetUp;
        ComparisonDatabase database(base.path());
        if (database.ReadText("A", "x", "-") != "-" || !database.ListKeys("A").isEmpty())
            return 1;
        try {
            database.WriteText("A", "x", "1");
        } catch (const DatabaseError&) {
            return 0; // never replaced what it could not read
        }
        return 2;
    });
    QVERIFY2(child.finished, "the read blocked");
    if (child.exitCode == kChildCannotSetUp)
        QSKIP("no permission to mount the tracing file system");
    QCOMPARE(child.exitCode, 0);
}
