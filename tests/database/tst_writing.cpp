// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_writing.h"

#include "DatabaseFiles.h"

#include "database/ComparisonDatabase.h"

#include "ChildProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/resource.h>

void TestWriting::writeText_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("key keeps its spelling") << QByteArray("[A]\r\nKey=1\r\n") << "a"
                                            << "KEY"
                                            << "2" << QByteArray("[A]\r\nKey=2\r\n");
    QTest::newRow("leading blanks of value removed") << QByteArray("[A]\nx=1\n") << "A"
                                                     << "x"
                                                     << " \t 5 " << QByteArray("[A]\nx=5 \n");
    QTest::newRow("whole line rewritten") << QByteArray("[A]\n  x = 1  ; note\n") << "A"
                                          << "x"
                                          << "9" << QByteArray("[A]\nx=9\n");
    QTest::newRow("new key after last entry")
        << QByteArray("[A]\nx=1\nloose line\n\n;c\n[B]\ny=2\n") << "A"
        << "z"
        << "3" << QByteArray("[A]\nx=1\nz=3\nloose line\n\n;c\n[B]\ny=2\n");
    QTest::newRow("new key in a section without entries")
        << QByteArray("[A]\n;c\n[B]\n") << "A"
        << "z"
        << "3" << QByteArray("[A]\nz=3\n;c\n[B]\n");
    QTest::newRow("new section at the end, CR LF")
        << QByteArray("; top\r\n\r\n[A]\r\nx=1\r\n\r\n") << "B"
        << "y"
        << "2" << QByteArray("; top\r\n\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("new key, no final line ending") << QByteArray("[A]\r\nx=1") << "A"
                                                   << "y"
                                                   << "2" << QByteArray("[A]\r\nx=1\r\ny=2\r\n");
    QTest::newRow("new section, no final line ending")
        << QByteArray("[A]\r\nx=1") << "B"
        << "y"
        << "2" << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    QTest::newRow("header only, no line ending") << QByteArray("[A]") << "A"
                                                 << "x"
                                                 << "1" << QByteArray("[A]\nx=1\n");
    QTest::newRow("empty file") << QByteArray() << "A"
                                << "x"
                                << "1" << QByteArray("[A]\nx=1\n");
    QTest::newRow("CR line endings") << QByteArray("[A]\rx=1\r") << "A"
                                     << "y"
                                     << "2" << QByteArray("[A]\rx=1\ry=2\r");
    QTest::newRow("first line's ending is the file's") << QByteArray("[A]\r\nx=1\n") << "A"
                                                       << "y"
                                                       << "2" << QByteArray("[A]\r\nx=1\ny=2\r\n");
    QTest::newRow("first section written") << QByteArray("[A]\nx=1\n[a]\ny=2\n") << "A"
                                           << "y"
                                           << "3" << QByteArray("[A]\nx=1\ny=3\n[a]\ny=2\n");
    QTest::newRow("first key written") << QByteArray("[A]\nx=1\nX=2\n") << "A"
                                       << "x"
                                       << "3" << QByteArray("[A]\nx=3\nX=2\n");
    QTest::newRow("names trimmed") << QByteArray("[A]\n") << " B "
                                   << " y "
                                   << "2" << QByteArray("[A]\n[B]\ny=2\n");
    QTest::newRow("line breaks written as blanks") << QByteArray("[A]\n") << "A"
                                                   << "x"
                                                   << "a\r\nb\nc" << QByteArray("[A]\nx=a  b c\n");
    QTest::newRow("line breaks in names") << QByteArray("[A B]\nx y=1\n") << "A\nB"
                                          << "x\ry"
                                          << "2" << QByteArray("[A B]\nx y=2\n");
    QTest::newRow("value keeps = and quotes") << QByteArray("[A]\n") << "A"
                                              << "x"
                                              << "\"a=b\"" << QByteArray("[A]\nx=\"a=b\"\n");
    QTest::newRow("byte-order mark kept") << QByteArray("\xef\xbb\xbf[A]\nx=1\n") << "A"
                                          << "x"
                                          << "2" << QByteArray("\xef\xbb\xbf[A]\nx=2\n");
    QTest::newRow("a second byte-order mark is text")
        << QByteArray("\xef\xbb\xbf\xef\xbb\xbf[A]\nx=1\n") << "A"
        << "x"
        << "2" << QByteArray("\xef\xbb\xbf\xef\xbb\xbf[A]\nx=1\n[A]\nx=2\n");
    QTest::newRow("byte-order mark kept, the stray byte re-encoded")
        << QByteArray("\xef\xbb\xbf[A]\nx=1\n\xff\n") << "A"
        << "x"
        << "2" << QByteArray("\xef\xbb\xbf[A]\nx=2\n\xd1\x8f\n");
    QTest::newRow("NUL bytes elsewhere kept")
        << Bytes("[A]\nx=1\n\0junk\0\n[B]\0\ny=\0\n") << "B"
        << "z"
        << "1" << Bytes("[A]\nx=1\n\0junk\0\n[B]\0\ny=\0\nz=1\n");
}

void TestWriting::writeText()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    TempBase base;
    base.write(before);
    ComparisonDatabase(base.path()).WriteText(section, key, value);
    QCOMPARE(base.read(), after);
}

void TestWriting::removeSection_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("header to next header")
        << QByteArray("[DATA]\r\na=1\r\n[Processor]\r\nx=1\r\n; note\r\n\r\n[Memory]\r\nm=1\r\n")
        << "processor" << QByteArray("[DATA]\r\na=1\r\n[Memory]\r\nm=1\r\n");
    QTest::newRow("first of two") << QByteArray("[P]\na=1\n[p]\nb=2\n") << "P"
                                  << QByteArray("[p]\nb=2\n");
    QTest::newRow("last, no final line ending")
        << QByteArray("[A]\nx=1\n[P]\ny=2") << "P" << QByteArray("[A]\nx=1\n");
    QTest::newRow("only section") << QByteArray("[P]\ny=2\n") << "P" << QByteArray();
    QTest::newRow("missing: file untouched")
        << QByteArray("[A]\r\nx=1") << "P" << QByteArray("[A]\r\nx=1");
    QTest::newRow("missing: Windows-1251 not re-encoded")
        << QByteArray("[A]\nx=\xc0\n") << "P" << QByteArray("[A]\nx=\xc0\n");
}

void TestWriting::removeSection()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QByteArray, after);
    TempBase base;
    base.write(before);
    ComparisonDatabase(base.path()).RemoveSection(section);
    QCOMPARE(base.read(), after);
}

void TestWriting::writeReencodesWindows1251()
{
    TempBase base;
    base.write("[DATA]\r\nPIIFreq=400\r\n[Memory]\r\n\xcf\xca=180\r\n");
    ComparisonDatabase database(base.path());
    database.WriteText("Memory", "ПК", "200");
    QCOMPARE(base.read(), QByteArray("[DATA]\r\nPIIFreq=400\r\n[Memory]\r\nПК=200\r\n"));

    TempBase missing;
    ComparisonDatabase(missing.path()).RemoveSection("Memory");
    QVERIFY(!missing.exists());
}

void TestWriting::keepsPermissionsAndLinks()
{
    TempBase base;
    base.write("[A]\nx=1\n");
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(base.path(), mode));
    const auto before = QFileInfo(base.path()).permissions();
    ComparisonDatabase(base.path()).WriteText("A", "x", "2");
    QCOMPARE(QFileInfo(base.path()).permissions(), before);
    QVERIFY(!(before & QFileDevice::ReadOther));

    const QString link = base.dir() + "/link.ini";
    QVERIFY(QFile::link(base.path(), link));
    ComparisonDatabase(link).WriteText("A", "x", "3");
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(base.read(), QByteArray("[A]\nx=3\n"));
}

void TestWriting::failedWrite_data()
{
    QTest::addColumn<QString>("place");

    QTest::newRow("directory in place of the file") << "directory";
    QTest::newRow("path under a regular file") << "under file";
    QTest::newRow("no room for the temporary name") << "long name";
}

void TestWriting::failedWrite()
{
    QFETCH(QString, place);
    TempBase scratch;
    QString path = scratch.dir() + "/base.ini";
    QByteArray old;
    if (place == "directory") {
        QVERIFY(QDir().mkdir(path));
    } else if (place == "under file") {
        scratch.write("[A]\n");
        path += "/base.ini";
    } else {
        // A name as long as a name can be: the file is there, but a temporary
        // file beside it cannot be made, even by root.
        path = scratch.dir() + '/' + QString(255, u'n');
        old = "[A]\r\nx=1\r\n[Memory]\r\nm=1\r\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    ComparisonDatabase database(path);
    const QString message = "Unable to write to " + QFileInfo(path).absoluteFilePath();
    const auto expectError = [&](auto operation) {
        try {
            operation();
            QFAIL("no error raised");
        } catch (const DatabaseError& error) {
            QCOMPARE(QString::fromUtf8(error.what()), message);
        }
    };
    expectError([&] { database.WriteText("A", "x", "2"); });
    if (place != "under file") // nowhere to remove anything from otherwise
        expectError([&] { database.RemoveSection("Memory"); });
    expectError([&] { database.ReplaceLists({{{"k", "1,1"}}, {}, {}, {}}); });
    if (place == "directory")
        QVERIFY(QFileInfo(path).isDir());
    if (place == "long name") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(scratch.dir()).entryList(QDir::Files).size(), 1); // no temporary left
    }
}

void TestWriting::shortWrite_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("WriteText") << "WriteText";
    QTest::newRow("RemoveSection") << "RemoveSection";
    QTest::newRow("ReplaceLists, the editor's OK") << "ReplaceLists";
}

// The disk takes only the first 30 bytes: a file-size limit in a child
// process cuts the write short, as a full disk or a quota would.
void TestWriting::shortWrite()
{
    QFETCH(QString, operation);
    TempBase base;
    QByteArray old = "[DATA]\r\nPIIMultCPU=120\r\nPIIMultFPU=95\r\nPIIFreq=400\r\n";
    for (const char* section : {"Processor", "Memory", "Video", "Drive"}) {
        old += QByteArray("[") + section + "]\r\n";
        for (int row = 1; row <= 4; ++row)
            old += "Reference machine " + QByteArray::number(row) + "=" +
                   QByteArray::number(row * 150) + "," + QByteArray::number(row * 7) + "\r\n";
    }
    QVERIFY(old.size() > 400);
    base.write(old);
    const QString message = "Unable to write to " + QFileInfo(base.path()).absoluteFilePath();

    const ChildResult child = RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead
        const rlimit limit{30, RLIM_INFINITY};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return kChildCannotSetUp;
        ComparisonDatabase database(base.path());
        try {
            if (operation == "WriteText")
                database.WriteText("DATA", "PIIFreq", "500");
            else if (operation == "RemoveSection")
                database.RemoveSection("Memory");
            else
                database.ReplaceLists({{{"k", "1,1"}}, {}, {}, {}});
        } catch (const DatabaseError& error) {
            return QString::fromUtf8(error.what()) == message ? 0 : 2;
        }
        return 1; // no error raised
    });
    QVERIFY(child.finished);
    QCOMPARE(child.exitCode, 0);
    QCOMPARE(base.read(), old);
    QCOMPARE(QDir(base.dir()).entryList(QDir::Files), QStringList{"base.ini"}); // no temporary left
}
