// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_replacelists.h"

#include "DatabaseFiles.h"

#include "database/ComparisonDatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(DatabaseLists)

namespace {

const QByteArray kMissing("<missing>");

void RemoveAndWrite(ComparisonDatabase& database, const DatabaseLists& lists)
{
    const QList<std::pair<QString, QList<DatabaseRow>>> sections = {
        {"Processor", lists.processor},
        {"Memory", lists.memory},
        {"Video", lists.video},
        {"Drive", lists.drive},
    };
    for (const auto& section : sections)
        database.RemoveSection(section.first);
    for (const auto& section : sections) {
        for (const DatabaseRow& row : section.second)
            database.WriteText(section.first, row.key, row.value);
    }
}

void AddFiles(const char* listsName, const DatabaseLists& lists)
{
    const QList<std::pair<const char*, QByteArray>> files = {
        {"missing", kMissing},
        {"empty", QByteArray()},
        {"typical", "[DATA]\r\nPIIMultCPU=1000\r\nPIIMultFPU=1000\r\nPIIFreq=400\r\n"
                    "[Processor]\r\nOld A=400,400\r\n; comment\r\n\r\n[Extra]\r\nkeep=me\r\n"
                    "[Memory]\r\nOld A=180\r\n[Video]\r\nOld A=95\r\n[Drive]\r\nOld=9000\r\n"},
        {"odd order, duplicates",
         "; top\n[drive]\nd=1\n[Memory]\nm=1\n[DATA]\nPIIFreq=1\n[PROCESSOR]\np=1\n"
         "[processor]\nmachine z=7,7\nq=2\n[Video]\nv=1"},
        {"lists only, CR", "[Processor]\rp=1\r[Memory]\rm=1\r[Video]\rv=1\r[Drive]\rd=1"},
        {"Windows-1251", "[DATA]\r\nPIIFreq=400\r\n[Memory]\r\n\xcf\xca=180\r\n[\xc4]\r\nx=1\r\n"},
        {"CR first, blank lines in LF", "[DATA]\rx=1\r[Memory]\r[memory]\rk=1\n\n;c\n\n"},
        {"junk lines", "[Memory]\nno equals\n=\n[Processor\n]x[=1\n[Video]\n;v=1\n"},
    };
    for (const auto& [fileName, bytes] : files)
        QTest::addRow("%s, %s", listsName, fileName) << bytes << lists;
}

} // namespace

void TestReplaceLists::sameAsRemoveAndWrite_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<DatabaseLists>("lists");

    AddFiles("no rows", {});
    AddFiles("typical rows", {{{"Machine A", "400,400"}, {"Machine B", "250,310"}},
                              {{"Machine A", "180"}, {"Machine B", "180,5"}},
                              {{"Machine A", "95"}},
                              {{"Drive A", "9000"}}});
    AddFiles("hard names",
             {{{" spaced ", " 1,1 "}, {"", "2,2"}, {"a=b", "3,3"}, {"b", "4,4"}, {";c", "5"}},
              {{"[Video]x", "6"}, {"m", "7"}, {"[q", "]"}, {"[r", "8"}, {"n", "9"}},
              {{"line\nbreak", "x\ry"}, {"Процессор", "Ёё"}},
              {{"[Drive]", "10"}, {"d", "11"}}});
}

// Keys alike but for case (and repeated keys) are rows of their own: each
// keeps a line, in order, whatever the file held before.
void TestReplaceLists::everyRowKept_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<DatabaseLists>("lists");

    AddFiles("rows differing in case",
             {{{"Machine A", "1,1"}, {"machine a", "2,2"}, {"MACHINE A", "3,3"}, {"B", "4,4"}},
              {},
              {{"v", "1"}, {"V", "2"}},
              {{"d", "5"}, {"d", "6"}}});
}

void TestReplaceLists::everyRowKept()
{
    QFETCH(QByteArray, file);
    QFETCH(DatabaseLists, lists);
    TempBase base;
    if (file != kMissing)
        base.write(file);
    ComparisonDatabase database(base.path());
    database.ReplaceLists(lists);
    const QString text = QString::fromUtf8(base.read()).replace("\r\n", "\n").replace('\r', '\n');
    const QList<std::pair<QString, QList<DatabaseRow>>> sections = {
        {"Processor", lists.processor}, {"Video", lists.video}, {"Drive", lists.drive}};
    for (const auto& [name, rows] : sections) {
        QStringList keys;
        QString lines;
        for (const DatabaseRow& row : rows) {
            keys << row.key;
            lines += row.key + "=" + row.value + "\n";
        }
        // After what a second section of the name held, which is kept.
        const QStringList listed = database.ListKeys(name);
        QCOMPARE(listed.mid(listed.size() - keys.size()), keys);
        QVERIFY2((text + "\n").contains(lines), qPrintable(text));
    }
}

void TestReplaceLists::sameAsRemoveAndWrite()
{
    QFETCH(QByteArray, file);
    QFETCH(DatabaseLists, lists);
    TempBase sequence;
    TempBase replaced;
    if (file != kMissing) {
        sequence.write(file);
        replaced.write(file);
    }
    ComparisonDatabase sequenceDatabase(sequence.path());
    RemoveAndWrite(sequenceDatabase, lists);
    ComparisonDatabase(replaced.path()).ReplaceLists(lists);
    QCOMPARE(replaced.read(), sequence.read());
}

void TestReplaceLists::resultingFile()
{
    TempBase base;
    base.write("[DATA]\r\nPIIMultCPU=1000\r\nPIIFreq=400\r\n[Drive]\r\nOld=1\r\n"
               "[Own]\r\n; kept\r\nk=v\r\n[Processor]\r\nOld=1,1\r\n");
    ComparisonDatabase(base.path())
        .ReplaceLists({{{"Machine A", "400,400"}, {"Machine B", "250,310"}, {"machine a", "1,2"}},
                       {},
                       {{"Machine A", "95"}},
                       {{"Drive A", "9000"}}});
    QCOMPARE(base.read(), QByteArray("[DATA]\r\nPIIMultCPU=1000\r\nPIIFreq=400\r\n"
                                     "[Own]\r\n; kept\r\nk=v\r\n"
                                     "[Processor]\r\nMachine A=400,400\r\nMachine B=250,310\r\n"
                                     "machine a=1,2\r\n"
                                     "[Video]\r\nMachine A=95\r\n[Drive]\r\nDrive A=9000\r\n"));
}

void TestReplaceLists::editorRoundTrip_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("written");

    QTest::newRow("Processor 300 250") << "Processor"
                                       << "300 250"
                                       << "300,250";
    QTest::newRow("Processor 300") << "Processor"
                                   << "300"
                                   << "300,300";
    QTest::newRow("Processor third field dropped") << "Processor"
                                                   << "1;2;3"
                                                   << "1,2";
    QTest::newRow("Processor ends in separator") << "Processor"
                                                 << "300,"
                                                 << "300,";
    QTest::newRow("Memory 180,5 unchanged") << "Memory"
                                            << "180,5"
                                            << "180,5";
    QTest::newRow("Drive text unchanged") << "Drive"
                                          << "fast"
                                          << "fast";
}

void TestReplaceLists::editorRoundTrip()
{
    // What the editor does: list each section, read its values, show Processor
    // values as two fields, then write every list back with ReplaceLists.
    QFETCH(QString, section);
    QFETCH(QString, stored);
    QFETCH(QString, written);
    TempBase base;
    base.write(QString("[DATA]\nPIIFreq=400\n[%1]\nM=%2\n").arg(section, stored).toUtf8());
    ComparisonDatabase database(base.path());
    DatabaseLists lists;
    for (const QString& key : database.ListKeys("Processor")) {
        const QString value = database.ReadText("Processor", key, "0,0");
        lists.processor.append({key, ExtractField(value, 0) + "," + ExtractField(value, 1)});
    }
    const QList<std::pair<QString, QList<DatabaseRow>*>> single = {
        {"Memory", &lists.memory}, {"Video", &lists.video}, {"Drive", &lists.drive}};
    for (const auto& [name, rows] : single) {
        for (const QString& key : database.ListKeys(name))
            rows->append({key, database.ReadText(name, key, "0")});
    }
    database.ReplaceLists(lists);
    QCOMPARE(database.ReadText(section, "M", "<default>"), written);
    QCOMPARE(database.ReadNumber("DATA", "PIIFreq", 0), 400);
    QCOMPARE(base.read(),
             QString("[DATA]\nPIIFreq=400\n[%1]\nM=%2\n").arg(section, written).toUtf8());
}
