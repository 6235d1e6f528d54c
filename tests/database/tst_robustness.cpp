#include "tst_robustness.h"

#include "DatabaseFiles.h"

#include "database/ComparisonDatabase.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

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
    const QByteArray line(10 * 1024 * 1024, 'v');
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
