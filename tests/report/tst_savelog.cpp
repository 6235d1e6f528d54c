#include "tst_report.h"

#include "report/SaveLog.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
