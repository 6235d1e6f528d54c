// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"
#include "ProbeTests.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// Makes the named kind of file at path: a regular file holding `bytes`, a
// directory, a FIFO, or a symbolic link to a FIFO; anything else stays missing.
bool makeFile(const QString& kind, const fs::path& path, const QByteArray& bytes)
{
    if (kind == "regular") {
        std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
        return fs::is_regular_file(path);
    }
    if (kind == "directory")
        return fs::create_directory(path);
    if (kind == "FIFO")
        return mkfifo(path.c_str(), 0600) == 0;
    if (kind == "link to a FIFO") {
        const fs::path fifo = path.parent_path() / "fifo";
        return mkfifo(fifo.c_str(), 0600) == 0 && (fs::create_symlink(fifo, path), true);
    }
    return true;
}

} // namespace

void FilesTest::naturalOrder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("less");
    QTest::newRow("numbers by value") << "input2"
                                      << "input10" << true;
    QTest::newRow("reverse") << "input10"
                             << "input2" << false;
    QTest::newRow("equal") << "sr0"
                           << "sr0" << false;
    QTest::newRow("prefix first") << "card0"
                                  << "card0-DP-1" << true;
    QTest::newRow("letters") << "card0-DP-2"
                             << "card0-HDMI-A-1" << true;
    QTest::newRow("leading zeros count as value") << "x007"
                                                  << "x10" << true;
    QTest::newRow("pci addresses") << "0000:00:1f.3"
                                   << "0000:01:00.0" << true;
}

void FilesTest::naturalOrder()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, less);
    QCOMPARE(platform::NaturalLess(a.toStdString(), b.toStdString()), less);
}

void FilesTest::readFileBytes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("read");
    QTest::newRow("regular file") << "regular" << QByteArray("a\nb\0c", 5) << true;
    QTest::newRow("empty file") << "regular" << QByteArray() << true;
    QTest::newRow("larger than one read") << "regular" << QByteArray(100000, 'x') << true;
    QTest::newRow("missing") << "missing" << QByteArray() << false;
    QTest::newRow("directory: a read error after the open") << "directory" << QByteArray() << false;
    QTest::newRow("FIFO") << "FIFO" << QByteArray() << false;
    QTest::newRow("link to a FIFO") << "link to a FIFO" << QByteArray() << false;
}

// In a child, so that a read that blocks ends at the deadline as a failure.
void FilesTest::readFileBytes()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, read);
    QTemporaryDir dir;
    const fs::path path = dir.filePath(QStringLiteral("file")).toStdString();
    QVERIFY(makeFile(kind, path, bytes));
    const ChildResult child = RunInChild([&] {
        const auto contents = platform::ReadFileBytes(path);
        if (contents.has_value() != read)
            return 1;
        return !contents || *contents == bytes.toStdString() ? 0 : 2;
    });
    QVERIFY2(child.finished, "the read blocked");
    QCOMPARE(child.exitCode, 0);
}

void FilesTest::sizeLimit_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<quint64>("limit");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("at the limit") << "ten" << quint64(10) << false;
    QTest::newRow("one byte above") << "ten" << quint64(9) << true;
    // /proc reports a size of 0: the limit holds for what is read.
    QTest::newRow("pseudo-file within") << "/proc/self/mountinfo" << quint64(100000000) << false;
    QTest::newRow("pseudo-file above") << "/proc/self/mountinfo" << quint64(10) << true;
}

void FilesTest::sizeLimit()
{
    QFETCH(QString, file);
    QFETCH(quint64, limit);
    QFETCH(bool, tooLarge);
    QTemporaryDir dir;
    fs::path path = file.toStdString();
    if (file == "ten") {
        path = dir.filePath(file).toStdString();
        QVERIFY(makeFile("regular", path, "0123456789"));
    }
    const auto contents = platform::ReadRegularFile(path, limit);
    QCOMPARE(contents.outcome,
             tooLarge ? platform::ReadOutcome::TooLarge : platform::ReadOutcome::Read);
    if (tooLarge)
        QVERIFY(contents.bytes.empty());
    else
        QVERIFY(contents.bytes.size() >= 10 && contents.bytes.size() <= limit);
}

void FilesTest::executableDirectory()
{
    QCOMPARE(QString::fromStdString(platform::ExecutableDirectory()),
             QCoreApplication::applicationDirPath());
}

void FilesTest::executableDirectoryFromBytes_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("not UTF-8") << QByteArray("bin\xff\xfe");
    QTest::newRow("blank and line break") << QByteArray("my bin\nhere");
    QTest::newRow("plain") << QByteArray("bin");
}

// A copy of a small program that prints ExecutableDirectory(), run from a
// directory of the given name.
void FilesTest::executableDirectoryFromBytes()
{
    QFETCH(QByteArray, name);
    QTemporaryDir dir;
    const fs::path directory = dir.path().toStdString() + "/" + name.toStdString();
    const fs::path program = directory / "print_executable_directory";
    fs::create_directory(directory);
    fs::copy_file(QUORVIX_EXECUTABLE_DIRECTORY_HELPER, program);
    const fs::path output = dir.filePath(QStringLiteral("output")).toStdString();
    const ChildResult child = RunInChild([&] {
        if (!freopen(output.c_str(), "w", stdout))
            return 3;
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        return 4;
    });
    QVERIFY(child.finished);
    QCOMPARE(child.exitCode, 0);
    const auto printed = platform::ReadFileBytes(output);
    fs::remove_all(directory); // a name Qt cannot decode
    QCOMPARE(QByteArray::fromStdString(printed.value_or("")),
             QByteArray::fromStdString(directory.string()));
}
