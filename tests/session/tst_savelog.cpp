// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_session.h"

#include "session/FileNames.h"
#include "session/SaveLog.h"

#include "ChildProcess.h"
#include "TestMounts.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace report;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString saveError(const QString& path, const QStringList& lines)
{
    try {
        SaveLog(path, lines);
    } catch (const SaveError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

// A log of about 1.5 KB: small enough that a buffered writer holds all of it
// until the file is closed.
QStringList smallLog()
{
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines << QStringLiteral("Reference machine %1 : %2 (Mb/sec) ....................")
                     .arg(i, 2)
                     .arg(i * 37, 4);
    return lines;
}

// Whether this directory's filesystem gives unnamed temporary files.
bool unnamedFilesIn(const QString& directory)
{
    const int fd = open(QFile::encodeName(directory), O_TMPFILE | O_WRONLY, 0600);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

// Whether the process has a descriptor open on a file in `directory` (an
// unnamed one reads "<directory>/#<inode> (deleted)").
bool hasFileOpenIn(pid_t process, const QString& directory)
{
    const QByteArray fds = "/proc/" + QByteArray::number(process) + "/fd/";
    const QByteArray prefix = QFile::encodeName(directory) + '/';
    for (int fd = 0; fd < 64; ++fd) {
        char target[4096];
        const ssize_t length =
            readlink((fds + QByteArray::number(fd)).constData(), target, sizeof target);
        if (length > 0 && QByteArray(target, length).startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace

void TestSaveLog::fileBytes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("initial log") << QStringList{"Press Start ..."}
                                 << QByteArray("Press Start ...\r\n");
    QTest::newRow("empty lines kept")
        << QStringList{"a", "", "b", ""} << QByteArray("a\r\n\r\nb\r\n\r\n");
    // The OS label's first letter is the Cyrillic capital O: two bytes in UTF-8.
    QTest::newRow("Cyrillic label") << QStringList{QString::fromUtf8("\xD0\x9ES        : x")}
                                    << QByteArray("\xD0\x9ES        : x\r\n");
    QTest::newRow("closing line") << QStringList{"", "- All tests completed -------------------"}
                                  << QByteArray(
                                         "\r\n- All tests completed -------------------\r\n");
    QTest::newRow("nothing") << QStringList{} << QByteArray();
}

void TestSaveLog::fileBytes()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QCOMPARE(LogFileBytes(lines), bytes);

    QTemporaryDir directory;
    const QString path = directory.filePath("Testlog.txt");
    SaveLog(path, lines);
    QCOMPARE(readAll(path), bytes); // byte for byte: no BOM, CR LF after every line
}

void TestSaveLog::replacesWholeFile()
{
    QTemporaryDir directory;
    const QString path = directory.filePath("log.txt");
    QVERIFY(writeFile(path, QByteArray(5000, 'o')));
    SaveLog(path, {"new"});
    QCOMPARE(readAll(path), QByteArray("new\r\n"));
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files), QStringList{"log.txt"});
}

void TestSaveLog::followsSymbolicLink()
{
    QTemporaryDir directory;
    const QString target = directory.filePath("target.txt");
    const QString link = directory.filePath("link.txt");
    QVERIFY(writeFile(target, "old\n"));
    QVERIFY(QFile::link(target, link));
    SaveLog(link, {"new"});
    QCOMPARE(readAll(target), QByteArray("new\r\n"));
    QVERIFY(QFileInfo(link).isSymLink());
}

void TestSaveLog::unwritableTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing folder") << "missing/log.txt";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("below a file") << "file.txt/log.txt";
}

void TestSaveLog::unwritableTargets()
{
    QFETCH(QString, name);
    QTemporaryDir directory;
    QVERIFY(QDir(directory.path()).mkdir("folder"));
    QVERIFY(writeFile(directory.filePath("folder/inside.txt"), "inside"));
    QVERIFY(writeFile(directory.filePath("file.txt"), "file"));

    const QString path = directory.filePath(name);
    QCOMPARE(saveError(path, {"line"}), "Cannot create file " + path);
    QVERIFY(QFileInfo(directory.filePath("folder")).isDir());
    QCOMPARE(readAll(directory.filePath("folder/inside.txt")), QByteArray("inside"));
    QCOMPARE(readAll(directory.filePath("file.txt")), QByteArray("file"));
    QCOMPARE(
        QDir(directory.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList{"file.txt", "folder"}));
}

void TestSaveLog::failedWriteKeepsTheOldFile()
{
    // A file-size limit of 1 KiB makes the write of a 100 KB log fail, for
    // root too; SIGXFSZ ignored so the write returns an error instead.
    QTemporaryDir directory;
    const QString path = directory.filePath("log.txt");
    QVERIFY(writeFile(path, "old log\r\n"));
    QProcess helper;
    helper.start(
        "sh", {"-c", "trap '' XFSZ; ulimit -f 2; exec \"$0\" \"$1\"", QUORVIX_SAVE_HELPER, path});
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(helper.readAllStandardError()).trimmed(),
             "Cannot create file " + path);
    QCOMPARE(readAll(path), QByteArray("old log\r\n"));
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.txt"});

    // The same helper without the limit saves: the failure above was the limit's.
    helper.start(QUORVIX_SAVE_HELPER, {path});
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitCode(), 0);
    QCOMPARE(QFileInfo(path).size(), 1000 * 102);
}

void TestSaveLog::shortWriteKeepsTheOldLog_data()
{
    QTest::addColumn<QString>("limit");
    QTest::newRow("file-size limit of 512 bytes") << "file size";
    QTest::newRow("full filesystem") << "full";
}

// The disk takes part of the small log only; SIGXFSZ is left at its default,
// so the save itself must keep the limit from killing the program.
void TestSaveLog::shortWriteKeepsTheOldLog()
{
    QFETCH(QString, limit);
    QTemporaryDir directory;
    std::unique_ptr<TestMount> mounted;
    if (limit == "full") {
        mounted = TestMount::Tmpfs(directory.path(), "size=16k");
        if (!mounted)
            QSKIP("mounting a filesystem needs root");
    }
    const QString path = directory.filePath("log.txt");
    const QByteArray old = LogFileBytes(QStringList(20, "old line"));
    QVERIFY(writeFile(path, old));
    QVERIFY(LogFileBytes(smallLog()).size() > 1500);
    if (limit == "full") {
        QFile filler(directory.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(512, 'f')) == 512) {
        }
    }

    const ChildResult child = RunInChild([&] {
        const rlimit fileSize{512, RLIM_INFINITY};
        if (limit == "file size" && setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
            return kChildCannotSetUp;
        const QString message = saveError(path, smallLog());
        return message == "Cannot create file " + path ? 0 : 1;
    });
    QVERIFY(child.finished);
    QCOMPARE(child.signal, 0);
    QCOMPARE(child.exitCode, 0);
    QCOMPARE(readAll(path), old);
    QDir(directory.path()).remove("filler");
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.txt"});
}

// Killed while it writes, a save leaves the old log and no temporary file.
// The save runs over and over in a child; the kill comes once the child has
// a file open in the folder, its temporary.
void TestSaveLog::killedSaveLeavesNoTemporary()
{
    QTemporaryDir directory;
    if (!unnamedFilesIn(directory.path()))
        QSKIP("this filesystem has no unnamed temporary files");
    const QString path = directory.filePath("log.txt");
    QVERIFY(writeFile(path, "old\r\n"));
    const QByteArray big(32 << 20, 'x');
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        for (;;)
            ReplaceFile(path, big);
    }
    bool caught = false;
    for (int poll = 0; poll < 100000 && !caught; ++poll)
        caught = hasFileOpenIn(child, directory.path());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    QVERIFY(caught);
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.txt"});
    const qint64 size = QFileInfo(path).size();
    QVERIFY2(size == 5 || size == big.size(), qPrintable(QString::number(size)));
}

// A name that is not UTF-8 is saved under its own bytes, not under the name
// with U+FFFD that Qt's decoding would give.
void TestSaveLog::keepsBytesOfTheName()
{
    QTemporaryDir directory;
    const QByteArray name = QFile::encodeName(directory.path()) + "/log\xe9\xff.txt";
    const QString text = FileNameText(name);
    QCOMPARE(FileNameBytes(text), name);
    QCOMPARE(FileNameBytes(FileNameText("caf\xc3\xa9 \xf0\x9f\x98\x80 \xc3")),
             QByteArray("caf\xc3\xa9 \xf0\x9f\x98\x80 \xc3"));
    SaveLog(text, {"line"});
    // Removed by its bytes (Qt could not list or remove it): nothing else was made.
    QCOMPARE(unlink(name.constData()), 0);
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestSaveLog::deviceIsWrittenInPlace()
{
    // Device nodes of the machine's own null and full devices, made in a
    // temporary folder (needs root); the save must not replace them.
    QTemporaryDir directory;
    const QString null = directory.filePath("null");
    const QString full = directory.filePath("full");
    if (QProcess::execute("mknod", {null, "c", "1", "3"}) != 0 ||
        QProcess::execute("mknod", {full, "c", "1", "7"}) != 0)
        QSKIP("mknod is not permitted here");

    SaveLog(null, {"line"});
    QCOMPARE(saveError(full, {"line"}), "Cannot create file " + full);
    for (const QString& node : {null, full}) {
        const QFileInfo info(node);
        QVERIFY2(info.exists() && !info.isFile(), qPrintable(node + " was replaced"));
    }
}
