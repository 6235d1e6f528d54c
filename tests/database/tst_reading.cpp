// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_reading.h"

#include "DatabaseFiles.h"

#include "database/ComparisonDatabase.h"

#include <QTest>

namespace {
const QString kDefault = QStringLiteral("<default>");
}

void TestReading::readText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("blanks trimmed") << QByteArray("  [ DATA ]  \n  key  =  a b  \n") << "DATA"
                                    << "key"
                                    << "a b";
    QTest::newRow("tabs and controls trimmed")
        << QByteArray("\t[A]\t\x01\r\n\tx\t=\t1\t\x1f\r\n") << "A"
        << "x"
        << "1";
    QTest::newRow("names without regard to case") << QByteArray("[data]\nKEY=1\n") << "DATA"
                                                  << "key"
                                                  << "1";
    QTest::newRow("Cyrillic names without regard to case")
        << QByteArray("[Процессор]\nКлюч=1\n") << "ПРОЦЕССОР"
        << "ключ"
        << "1";
    QTest::newRow("arguments trimmed") << QByteArray("[A]\nx=1\n") << " A "
                                       << " x "
                                       << "1";
    QTest::newRow("line breaks in arguments read as blanks")
        << QByteArray("[A B]\nx y=1\n") << "A\nB"
        << "x\ry"
        << "1";
    QTest::newRow("first section wins") << QByteArray("[A]\nx=1\n[a]\nx=2\ny=3\n") << "A"
                                        << "x"
                                        << "1";
    QTest::newRow("second section unseen") << QByteArray("[A]\nx=1\n[a]\ny=3\n") << "A"
                                           << "y" << kDefault;
    QTest::newRow("first key wins") << QByteArray("[A]\nx=1\nX=2\n") << "A"
                                    << "x"
                                    << "1";
    QTest::newRow("double quotes") << QByteArray("[A]\nx=\"a b\"\n") << "A"
                                   << "x"
                                   << "a b";
    QTest::newRow("single quotes") << QByteArray("[A]\nx='a'\n") << "A"
                                   << "x"
                                   << "a";
    QTest::newRow("two quotes") << QByteArray("[A]\nx=\"\"\n") << "A"
                                << "x"
                                << "";
    QTest::newRow("one quote") << QByteArray("[A]\nx=\"\n") << "A"
                               << "x"
                               << "\"";
    QTest::newRow("mixed quotes") << QByteArray("[A]\nx=\"a'\n") << "A"
                                  << "x"
                                  << "\"a'";
    QTest::newRow("quote inside") << QByteArray("[A]\nx=a\"b\"\n") << "A"
                                  << "x"
                                  << "a\"b\"";
    QTest::newRow("empty value") << QByteArray("[A]\nx=\n") << "A"
                                 << "x"
                                 << "";
    QTest::newRow("value holds =") << QByteArray("[A]\nx = a=b\n") << "A"
                                   << "x"
                                   << "a=b";
    QTest::newRow("line without =") << QByteArray("[A]\nx\nx=2\n") << "A"
                                    << "x"
                                    << "2";
    QTest::newRow("comment") << QByteArray("[A]\n;x=1\n  ; x=3\nx=2\n") << "A"
                             << "x"
                             << "2";
    QTest::newRow("hash is no comment") << QByteArray("[A]\n#x=1\n") << "A"
                                        << "#x"
                                        << "1";
    QTest::newRow("key before any section") << QByteArray("x=1\n[A]\n") << "A"
                                            << "x" << kDefault;
    QTest::newRow("CR line endings") << QByteArray("[A]\rx=1\ry=2\r") << "A"
                                     << "y"
                                     << "2";
    QTest::newRow("mixed line endings") << QByteArray("[A]\r\nx=1\ny=2\rz=3") << "A"
                                        << "z"
                                        << "3";
    QTest::newRow("name up to last ]") << QByteArray("[a]b] ; c\nx=1\n") << "a]b"
                                       << "x"
                                       << "1";
    QTest::newRow("[ without ] is no header") << QByteArray("[B]\n[A\nx=1\n") << "B"
                                              << "x"
                                              << "1";
    QTest::newRow("[ without ] but with = is an entry") << QByteArray("[B]\n[A=1\n") << "B"
                                                        << "[A"
                                                        << "1";
    QTest::newRow("section ends at next header") << QByteArray("[A]\n[B]\nx=1\n") << "A"
                                                 << "x" << kDefault;
    QTest::newRow("missing section") << QByteArray("[A]\nx=1\n") << "B"
                                     << "x" << kDefault;
    QTest::newRow("empty file") << QByteArray() << "A"
                                << "x" << kDefault;
    QTest::newRow("empty key") << QByteArray("[A]\n=5\n") << "A"
                               << ""
                               << "5";
}

void TestReading::readText()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    TempBase base;
    base.write(file);
    QCOMPARE(ComparisonDatabase(base.path()).ReadText(section, key, kDefault), value);
}

void TestReading::listKeys_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("keys");

    QTest::newRow("file order, duplicates, no comments")
        << QByteArray("[P]\r\nb=1\r\n;c=2\r\na=3\r\nno equals\r\n\r\n B =4\r\n[Q]\r\nq=1\r\n")
        << "p" << QStringList{"b", "a", "B"};
    QTest::newRow("moving a line moves the key")
        << QByteArray("[P]\na=3\nb=1\n") << "P" << QStringList{"a", "b"};
    QTest::newRow("first section only")
        << QByteArray("[P]\na=1\n[Q]\nq=1\n[p]\nz=1\n") << "P" << QStringList{"a"};
    QTest::newRow("missing section") << QByteArray("[P]\na=1\n") << "Q" << QStringList{};
    QTest::newRow("empty section") << QByteArray("[P]\n[Q]\nq=1\n") << "P" << QStringList{};
    QTest::newRow("empty key listed")
        << QByteArray("[P]\n=1\nb=2\n") << "P" << QStringList{"", "b"};
}

void TestReading::listKeys()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QStringList, keys);
    TempBase base;
    base.write(file);
    QCOMPARE(ComparisonDatabase(base.path()).ListKeys(section), keys);
}

void TestReading::valueLimit_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");

    const QString full(2047, u'v');
    QTest::newRow("2047 kept") << full << full;
    QTest::newRow("2048 cut") << full + "w" << full;
    QTest::newRow("quotes removed before the cut") << '"' + full + "w\"" << full;
    QTest::newRow("characters, not bytes") << QString(3000, u'ж') << QString(2047, u'ж');
    const QString smile = QString::fromUtf8("\U0001F600");
    QTest::newRow("no pair split")
        << QString(2046, u'a') + smile + smile << QString(2046, u'a') + smile;
}

void TestReading::valueLimit()
{
    QFETCH(QString, stored);
    QFETCH(QString, read);
    TempBase base;
    base.write("[A]\nx=" + stored.toUtf8() + "\n");
    QCOMPARE(ComparisonDatabase(base.path()).ReadText("A", "x", kDefault), read);
}

void TestReading::keyListLimit_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("listed");

    // The list holds each name in UTF-8 plus a zero byte, and one final zero
    // byte, in 16,384 bytes.
    QTest::newRow("one name filling the list") << QStringList{QString(16382, u'k')} << 1;
    QTest::newRow("one byte too long") << QStringList{QString(16383, u'k')} << 0;
    QTest::newRow("two-byte characters fit") << QStringList{QString(8191, u'ж')} << 1;
    QTest::newRow("two-byte characters too long") << QStringList{QString(8192, u'ж')} << 0;
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many.append(QStringLiteral("%1").arg(i, 99, 10, QChar(u'0'))); // 100 bytes each
    QTest::newRow("163 of 200 names") << many << 163;
    QTest::newRow("nothing after a name that does not fit")
        << QStringList{QString(16000, u'a'), QString(500, u'b'), "c"} << 1;
}

void TestReading::keyListLimit()
{
    QFETCH(QStringList, names);
    QFETCH(int, listed);
    QByteArray file("[A]\n");
    for (const QString& name : names)
        file += name.toUtf8() + "=1\n";
    TempBase base;
    base.write(file);
    QCOMPARE(ComparisonDatabase(base.path()).ListKeys("A"), names.mid(0, listed));
}

void TestReading::encoding_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("UTF-8") << QByteArray("[A]\nПроцессор=Ёё\n") << "Процессор"
                           << "Ёё";
    QTest::newRow("Windows-1251") << QByteArray(
                                         "[A]\n\xcf\xf0\xee\xf6\xe5\xf1\xf1\xee\xf0=\xa8\xb8\n")
                                  << "Процессор"
                                  << "Ёё";
    QTest::newRow("Windows-1251 signs")
        << QByteArray("[A]\nx=\x88\xb9\x96\x85\xab\xbb\xc0\xff\xa5\xb4\n") << "x"
        << QString::fromUtf8("€№–…«»АяҐґ");
    QTest::newRow("one bad byte makes the file Windows-1251")
        << QByteArray("[A]\nx=ж\n\xff") << "x" << QString::fromUtf8("Р¶");
    QTest::newRow("overlong form is not UTF-8")
        << QByteArray("[A]\nx=\xc0\xaf\n") << "x" << QString::fromUtf8("АЇ");
    QTest::newRow("encoded surrogate is not UTF-8")
        << QByteArray("[A]\nx=\xed\xa0\x80\n") << "x" << QString::fromUtf8("н\u00A0Ђ");
    QTest::newRow("four-byte UTF-8")
        << QByteArray("[A]\nx=\xf0\x9f\x98\x80\n") << "x" << QString::fromUtf8("\U0001F600");
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf[A]\nx=1\n") << "x"
                                     << "1";
    QTest::newRow("byte-order mark and one stray byte")
        << QByteArray("\xef\xbb\xbf[A]\nx=1\n\xff\n") << "x"
        << "1";
}

void TestReading::encoding()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, value);
    TempBase base;
    base.write(file);
    QCOMPARE(ComparisonDatabase(base.path()).ReadText("A", key, kDefault), value);
}

void TestReading::readsFileAtEachCall()
{
    TempBase base;
    const ComparisonDatabase database(base.path()); // no file yet, nothing touched
    QVERIFY(!base.exists());
    QCOMPARE(database.ReadText("A", "x", kDefault), kDefault);
    base.write("[A]\nx=1\n");
    QCOMPARE(database.ReadText("A", "x", kDefault), QString("1"));
    base.write("[A]\ny=2\nx=3\n");
    QCOMPARE(database.ReadText("A", "x", kDefault), QString("3"));
    QCOMPARE(database.ListKeys("A"), QStringList({"y", "x"}));
    QVERIFY(QFile::remove(base.path()));
    QCOMPARE(database.ListKeys("A"), QStringList());
}

void TestReading::readListAsListKeysAndReadText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("count");

    QTest::newRow("missing file") << QByteArray("<missing>") << 0;
    QTest::newRow("missing section") << QByteArray("[Q]\nq=1\n") << 0;
    QTest::newRow("duplicates differing in case, first wins")
        << QByteArray(
               "[p]\r\nb=1\r\n;c=2\r\na=3\r\nno equals\r\n\r\n B =4\r\nA=5\r\n[Q]\r\nq=1\r\n")
        << 4;
    QTest::newRow("first section only") << QByteArray("[P]\na=1\n[Q]\nq=1\n[p]\nz=1\na=2\n") << 1;
    QTest::newRow("quotes, empty key and value")
        << QByteArray("[P]\nx=\"a b\"\ny='c'\n=1\nz=\nw=\"\n") << 5;
    QTest::newRow("Cyrillic names without regard to case")
        << QByteArray("[P]\nКлюч=1\nключ=2\nЁж=3\nёЖ=4\n") << 4;
    QTest::newRow("Windows-1251") << QByteArray("[P]\n\xcf\xca=180\n\xef\xea=5\n") << 2;
    QTest::newRow("long value cut") << "[P]\nx=" + QByteArray(3000, 'v') + "\n" << 1;
    QByteArray many("[P]\n");
    for (int i = 0; i < 200; ++i)
        many += QByteArray::number(i).rightJustified(99, '0') + "=" + QByteArray::number(i) + "\n";
    many += QByteArray(99, '0') + "=shadowed by the first of its name\n";
    QTest::newRow("beyond the key list limit") << many << 201;
}

void TestReading::readListAsListKeysAndReadText()
{
    QFETCH(QByteArray, file);
    QFETCH(int, count);
    TempBase base;
    if (file != "<missing>")
        base.write(file);
    const ComparisonDatabase database(base.path());
    const QList<DatabaseRow> rows = database.ReadList("P");
    QCOMPARE(rows.size(), count);
    // The listed keys first, then those the key list has no room for.
    const QStringList listed = database.ListKeys("P");
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i < listed.size())
            QCOMPARE(rows[i].key, listed[i]);
        QCOMPARE(rows[i].value, database.ReadText("P", rows[i].key, kDefault));
    }
}
