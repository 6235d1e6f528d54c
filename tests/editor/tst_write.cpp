// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "CrashChild.h"
#include "EditorFixture.h"
#include "FindChild.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

enum Edit
{
    Nothing,
    EmptyMemory,
    CaseVariants,
    OneRowEach,
};

void ApplyEdit(EditorFixture& f, int edit)
{
    if (edit == EmptyMemory) {
        FindChild<QTabWidget>(f.form3, "PageControl1")->setCurrentIndex(lkMemory);
        while (f.list(lkMemory)->model()->rowCount() > 0) {
            f.pressOn(lkMemory, 0, Qt::LeftButton);
            f.form3.N2Click();
        }
    } else if (edit == CaseVariants) {
        f.add(lkProcessor, Accept("Machine A", "1", "2"));
        f.add(lkProcessor, Accept("machine a", "3", "4"));
    } else if (edit == OneRowEach) {
        f.add(lkProcessor, Accept("P", "5", "6"));
        f.add(lkMemory, Accept("M", "7"));
        f.add(lkVideo, Accept("V", "x"));
        f.add(lkHdd, Accept("D", ""));
    }
}

// Permission checks for the file system as an unprivileged user, even when
// the tests run as root (whose fs capabilities go with its fs user id).
class FileSystemUser
{
public:
    FileSystemUser() : m_previous(::setfsuid(geteuid() == 0 ? 65534 : geteuid())) {}
    ~FileSystemUser() { ::setfsuid(m_previous); }
    bool unprivileged() const { return ::setfsuid(uid_t(-1)) != 0; }

private:
    int m_previous;
};

QByteArray ListFile(const QByteArray& header, const EditorLists& lists)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("base.ini");
    WriteBytes(path, header);
    ComparisonDatabase database(path);
    WriteEditorLists(database, lists);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestEditorWrite::okWritesLists_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("edit");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("unchanged lists: Processor as two fields, others as loaded")
        << QByteArray("[DATA]\r\nPIIFreq=400\r\n; note\r\n[Processor]\r\nA=300\r\nB=300 250 7\r\n"
                      "[Extra]\r\nkeep=me\r\n[Memory]\r\nM=180,5\r\n")
        << int(Nothing)
        << QByteArray("[DATA]\r\nPIIFreq=400\r\n; note\r\n[Extra]\r\nkeep=me\r\n"
                      "[Processor]\r\nA=300,300\r\nB=300,250\r\n[Memory]\r\nM=180,5\r\n");
    QTest::newRow("emptied list removes its section")
        << QByteArray("[Memory]\nVIA=180\nSiS=150\n[DATA]\nPIIFreq=400\n[Video]\nV=1\n")
        << int(EmptyMemory) << QByteArray("[DATA]\nPIIFreq=400\n[Video]\nV=1\n");
    QTest::newRow("descriptions differing in case each keep their row")
        << QByteArray("[Processor]\nP=1,1\n") << int(CaseVariants)
        << QByteArray("[Processor]\nP=1,1\nMachine A=1,2\nmachine a=3,4\n");
    QTest::newRow("missing file created")
        << QByteArray("<missing>") << int(OneRowEach)
        << QByteArray("[Processor]\nP=5,6\n[Memory]\nM=7\n[Video]\nV=x\n[Drive]\nD=\n");
    QByteArray longNames("[Processor]\n");
    for (int row = 0; row < 200; ++row)
        longNames += QByteArray::number(row).rightJustified(99, 'k') + "=1,2\n";
    QTest::newRow("rows beyond 16 KB of names kept") << longNames << int(Nothing) << longNames;
    QTest::newRow("missing file, no rows: nothing written")
        << QByteArray("<missing>") << int(Nothing) << QByteArray("<missing>");
}

void TestEditorWrite::okWritesLists()
{
    QFETCH(QByteArray, file);
    QFETCH(int, edit);
    QFETCH(QByteArray, expected);
    EditorFixture f(file == "<missing>" ? std::nullopt : std::optional(file));
    QVERIFY(f.open());
    ApplyEdit(f, edit);
    QTest::mouseClick(FindChild<QPushButton>(f.form3, "Button1"), Qt::LeftButton);
    QVERIFY(!f.form3.isVisible());
    QCOMPARE(f.form3.result(), int(QDialog::Accepted));
    QCOMPARE(f.errors, QStringList());
    QCOMPARE(f.fileBytes(), expected);
}

void TestEditorWrite::enterWritesAtOnce()
{
    EditorFixture f("[DATA]\r\nPIIFreq=400\r\n[Video]\r\nRiva TNT=95\r\n");
    QVERIFY(f.open());
    f.add(lkVideo, Accept("My video", "120"));
    f.pressOn(lkVideo, 0, Qt::LeftButton);
    QTest::keyClick(f.list(lkVideo), Qt::Key_Return);
    QVERIFY(!f.form3.isVisible());
    QCOMPARE(f.form3.result(), int(QDialog::Accepted));
    QCOMPARE(f.fileBytes(),
             QByteArray("[DATA]\r\nPIIFreq=400\r\n[Video]\r\nRiva TNT=95\r\nMy video=120\r\n"));
}

void TestEditorWrite::failedWriteShowsMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("readOnlyDirectory");

    QTest::newRow("read-only directory") << "ro/base.ini" << true;
    QTest::newRow("no room for the temporary name") << QString(255, u'n') << false;
}

void TestEditorWrite::failedWriteShowsMessage()
{
    QFETCH(QString, name);
    QFETCH(bool, readOnlyDirectory);
    const QByteArray old = "[DATA]\nPIIFreq=400\n[Processor]\nA=1,2\n[Memory]\nM=3\n";
    EditorFixture f(old, name);
    const QString folder = QFileInfo(f.path).path();
    QVERIFY(f.open());
    f.add(lkProcessor, Accept("B", "5", "6"));
    {
        std::optional<FileSystemUser> user;
        if (readOnlyDirectory) {
            // Readable and searchable by everyone, writable by no one.
            const auto open = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
            QVERIFY(QFile::setPermissions(f.directory.path(), open | QFile::WriteOwner));
            QVERIFY(QFile::setPermissions(folder, open));
            user.emplace();
            if (!user->unprivileged())
                QSKIP("cannot drop the file-system privileges here");
        }
        QTest::mouseClick(FindChild<QPushButton>(f.form3, "Button1"), Qt::LeftButton);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(f.errors, QStringList{"Unable to write to " + QFileInfo(f.path).absoluteFilePath()});
    QVERIFY(!f.form3.isVisible());
    QCOMPARE(f.form3.result(), int(QDialog::Accepted));
    QCOMPARE(f.fileBytes(), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             QStringList{QFileInfo(f.path).fileName()});
}

void TestEditorWrite::killedWriteLeavesOldOrNew()
{
    const QByteArray header = "[DATA]\r\nPIIFreq=400\r\n; reference machine\r\n";
    const QByteArray old = ListFile(header, CrashLists(0));
    const QByteArray written = ListFile(old, CrashLists(1));
    QCOMPARE(ListFile(written, CrashLists(0)), old);

    QTemporaryDir dir;
    const QString path = dir.filePath("base.ini");
    QRandomGenerator random(2000); // the same moments on every run
    int sawNew = 0;
    int leftovers = 0;
    for (int trial = 0; trial < 100; ++trial) {
        WriteBytes(path, old);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {CrashChildOption, path});
        QVERIFY(child.waitForReadyRead(30000));
        QThread::usleep(random.bounded(25000));
        child.kill();
        QVERIFY(child.waitForFinished(30000));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(bytes == old || bytes == written, qPrintable(QString("trial %1").arg(trial)));
        sawNew += bytes == written;
        // Only base.ini is ever read; a temporary name left by a kill between
        // linking and renaming must not be it.
        for (const QString& entry : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
            if (entry == "base.ini")
                continue;
            QVERIFY2(entry.startsWith("base.ini."), qPrintable(entry));
            ++leftovers;
            QFile::remove(dir.filePath(entry));
        }
    }
    qInfo("100 kills: %d left the new file, %d the old; %d temporary files left", sawNew,
          100 - sawNew, leftovers);
}
