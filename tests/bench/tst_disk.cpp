// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_disk.h"

#include "ChildProcess.h"
#include "TestMounts.h"

#include "bench/BenchError.h"
#include "bench/DiskKernel.h"
#include "bench/DiskPage.h"
#include "bench/DriveContext.h"
#include "bench/TestBuffer.h"
#include "database/ComparisonDatabase.h"
#include "platform/ScratchFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <tuple>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace bench;

namespace {

// The message of the BenchError that `run` raises; empty when none.
QString errorOf(const std::function<void()>& run)
{
    try {
        run();
    } catch (const BenchError& error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

QString failure(const QString& what, const QString& path, int error)
{
    return what + " " + path + ": " + QString::fromLocal8Bit(std::strerror(error));
}

QStringList entriesOf(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System |
                                     QDir::Hidden);
}

bool writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// What is at a path, without following a link: type, owner, names, where a
// link points, what a directory or file holds.
QString describe(const QString& path)
{
    struct stat info
    {
    };
    if (lstat(path.toLocal8Bit(), &info) != 0)
        return QStringLiteral("nothing");
    QFile file(path);
    const bool regular = S_ISREG(info.st_mode) && file.open(QIODevice::ReadOnly);
    return QString("%1 uid %2 links %3 '%4' [%5] '%6'")
        .arg(info.st_mode, 0, 8)
        .arg(info.st_uid)
        .arg(info.st_nlink)
        .arg(QFileInfo(path).symLinkTarget(), entriesOf(path).join(','),
             regular ? QString::fromLatin1(file.readAll()) : QString());
}

// Interrupts a blocking open after a while (no SA_RESTART), so that a FIFO
// opened without O_NONBLOCK fails the test instead of hanging it.
struct AlarmGuard
{
    struct sigaction previous
    {
    };
    AlarmGuard()
    {
        struct sigaction action
        {
        };
        action.sa_handler = [](int) {};
        sigaction(SIGALRM, &action, &previous);
        alarm(10);
    }
    ~AlarmGuard()
    {
        alarm(0);
        sigaction(SIGALRM, &previous, nullptr);
    }
};

constexpr char kScratch[] = "temp.$$$";

} // namespace

void TestDiskKernel::init()
{
    AllocTestBuffer(static_cast<std::size_t>(kDiskBlockBytes));
}

void TestDiskKernel::cleanup()
{
    FreeTestBuffer();
}

void TestDiskKernel::rate_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("elapsedMs");
    QTest::addColumn<qint64>("bytesPerSecond");

    QTest::newRow("10 MiB in 500 ms") << 10 << 500.0 << qint64(20'971'520);
    QTest::newRow("no time passed") << 10 << 0.0 << qint64(0);
    QTest::newRow("a fraction of a millisecond counts") << 10 << 3.5 << qint64(2'995'931'429);
    QTest::newRow("rounded down below the half") << 10 << 7.0 << qint64(1'497'965'714);
    // 1000 x 2^21 ms: 5, 3 and 7 MiB give 2.5, 1.5 and 3.5 bytes a second.
    QTest::newRow("tie 2.5 to even") << 5 << 2'097'152'000.0 << qint64(2);
    QTest::newRow("tie 1.5 to even") << 3 << 2'097'152'000.0 << qint64(2);
    QTest::newRow("tie 3.5 to even") << 7 << 2'097'152'000.0 << qint64(4);
    QTest::newRow("beyond 32 bits") << 2047 << 1.0 << qint64(2'146'435'072'000);
}

void TestDiskKernel::rate()
{
    QFETCH(int, count);
    QFETCH(double, elapsedMs);
    QFETCH(qint64, bytesPerSecond);
    QCOMPARE(DiskRate(count, elapsedMs), bytesPerSecond);
}

void TestDiskKernel::writesAndRemovesTheFile_data()
{
    QTest::addColumn<QByteArray>("earlier"); // null: no earlier file
    QTest::addColumn<QString>("separator");

    QTest::newRow("empty directory") << QByteArray() << "/";
    QTest::newRow("directory named without a separator") << QByteArray() << "";
    QTest::newRow("earlier scratch file") << QByteArray(3 << 20, 'x') << "/";
}

void TestDiskKernel::writesAndRemovesTheFile()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QString, separator);
    const QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!earlier.isNull())
        QVERIFY(writeFile(dir.filePath(kScratch), earlier));

    QVERIFY(DiskTest((dir.path() + separator).toStdString(), 2) > 0);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

void TestDiskKernel::refusesWhatItMayNotReplace_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("driveContext"); // the drive's figures in context, same scratch file

    const std::tuple<const char*, const char*, int> plants[] = {
        {"link to a file", "link", ELOOP},
        {"dangling link", "dangling", ELOOP},
        {"FIFO without a reader", "fifo", ENXIO},
        {"FIFO with a reader", "read fifo", EEXIST},
        {"directory", "directory", EISDIR},
        {"file of another user", "foreign", EPERM},
        {"second name of an own file", "hard link", EMLINK},
        {"scratch file of a run still going", "in use", EBUSY},
    };
    for (const bool driveContext : {false, true}) {
        for (const auto& [name, planted, reason] : plants) {
            // Opened for reading too, a FIFO opens at once; then it is refused as not a
            // regular file.
            const int refusal = driveContext && QByteArray(planted) == "fifo" ? EEXIST : reason;
            QTest::newRow(QByteArray(name) + (driveContext ? ", drive in context" : ""))
                << planted << refusal << driveContext;
        }
    }
}

void TestDiskKernel::refusesWhatItMayNotReplace()
{
    QFETCH(QString, planted);
    QFETCH(int, reason);
    QFETCH(bool, driveContext);
    const QTemporaryDir dir;
    const QString path = dir.filePath(kScratch);
    const QString other = dir.filePath("other");
    const QByteArray native = path.toLocal8Bit();
    if (planted == "foreign" && geteuid() != 0)
        QSKIP("giving a file to nobody needs root");
    if (planted == "link" || planted == "hard link")
        QVERIFY(writeFile(other, "keep"));
    if (planted == "link" || planted == "dangling")
        QCOMPARE(symlink(other.toLocal8Bit(), native), 0);
    if (planted == "hard link")
        QCOMPARE(link(other.toLocal8Bit(), native), 0);
    if (planted.endsWith("fifo"))
        QCOMPARE(mkfifo(native, 0600), 0);
    const int reader = planted == "read fifo" ? open(native, O_RDONLY | O_NONBLOCK) : -1;
    // Another run's scratch file: written and locked, as that run holds it.
    const int running = planted == "in use" ? open(native, O_RDWR | O_CREAT, 0600) : -1;
    if (planted == "in use")
        QVERIFY(running >= 0 && write(running, "keep", 4) == 4 && flock(running, LOCK_EX) == 0);
    if (planted == "directory")
        QVERIFY(QDir().mkpath(path + "/inside"));
    if (planted == "foreign")
        QVERIFY(writeFile(path, "keep") && chown(native, 65534, 65534) == 0);
    const QStringList before{describe(path), describe(other)};

    QString message;
    {
        const AlarmGuard guard;
        message = errorOf([&] {
            if (driveContext)
                MeasureDriveContext(dir.path().toStdString(), {0.05, 64 << 20});
            else
                DiskTest(dir.path().toStdString(), 1);
        });
    }
    if (reader >= 0)
        close(reader);
    if (running >= 0)
        close(running);

    QCOMPARE(message, failure("Cannot create file", path, reason));
    QCOMPARE((QStringList{describe(path), describe(other)}), before);
}

void TestDiskKernel::mountedFilesystem_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("what"); // empty: no error
    QTest::addColumn<int>("reason");

    QTest::newRow("room for every block") << QByteArray("size=2m") << 2 << "" << 0;
    QTest::newRow("no room for the second block")
        << QByteArray("size=1m") << 3 << "Unable to write to" << ENOSPC;
    QTest::newRow("second block written in part")
        << QByteArray("size=1536k") << 2 << "Unable to write to" << ENOSPC;
    QTest::newRow("read-only") << QByteArray("ro,size=2m") << 1 << "Cannot create file" << EROFS;
}

void TestDiskKernel::mountedFilesystem()
{
    QFETCH(QByteArray, options);
    QFETCH(int, count);
    QFETCH(QString, what);
    QFETCH(int, reason);
    const QTemporaryDir dir;
    const auto mounted = TestMount::Tmpfs(dir.path(), options);
    if (!mounted)
        QSKIP("mounting a filesystem needs root");

    std::int64_t rate = 0;
    const QString message = errorOf([&] { rate = DiskTest(dir.path().toStdString(), count); });

    QCOMPARE(message, what.isEmpty() ? QString() : failure(what, dir.filePath(kScratch), reason));
    QCOMPARE(rate > 0, what.isEmpty());
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

// A file-size limit below the test's size: the write fails with EFBIG (the
// program is not killed by SIGXFSZ), the error is reported and the file goes.
void TestDiskKernel::fileSizeLimit()
{
    const QTemporaryDir dir;
    const QString expected = failure("Unable to write to", dir.filePath(kScratch), EFBIG);
    const ChildResult child = RunInChild([&] {
        const rlimit limit{kDiskBlockBytes + kDiskBlockBytes / 2, RLIM_INFINITY};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return kChildCannotSetUp;
        const QString message = errorOf([&] { DiskTest(dir.path().toStdString(), 3); });
        return message == expected ? 0 : 1;
    });
    QVERIFY(child.finished);
    QCOMPARE(child.signal, 0);
    QCOMPARE(child.exitCode, 0);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

void TestDiskKernel::endingSignalRemovesTheFile_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT (Ctrl+C)") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP (terminal closed)") << SIGHUP;
    QTest::newRow("SIGXFSZ sent by another") << SIGXFSZ;
}

// The signal arrives while the scratch file holds a block: the file goes and
// the signal still ends the process.
void TestDiskKernel::endingSignalRemovesTheFile()
{
    QFETCH(int, signal);
    const QTemporaryDir dir;
    const std::string path = dir.filePath(kScratch).toStdString();
    const ChildResult child = RunInChild([&] {
        std::signal(signal, SIG_DFL);
        platform::ScratchFile file(path);
        file.Append(TestBufferAddress(), kDiskBlockBytes);
        if (!QFileInfo::exists(QString::fromStdString(path)))
            return 2;
        raise(signal);
        return 1; // the signal did not end the process
    });
    QVERIFY(child.finished);
    QCOMPARE(child.signal, signal);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

namespace {

// A base.ini with two drive rows.
struct DiskPageFixture
{
    QTemporaryDir dir;
    std::unique_ptr<ComparisonDatabase> database;

    DiskPageFixture()
    {
        writeFile(dir.filePath("base.ini"), "[Drive]\nD1=500\nD2= 700\n");
        database = std::make_unique<ComparisonDatabase>(dir.filePath("base.ini"));
    }

    // The chart's values with the own bar at `rate`.
    QList<int> values(std::int32_t rate) const
    {
        const TMyChartBars bars = DriveBars(ReadReferenceRows(*database, DrivePageRows()), rate);
        QList<int> values;
        for (int i = 0; i < bars.Count; ++i)
            values << bars.Items[i].Value;
        return values;
    }
};

} // namespace

void TestDiskPage::measuresOnlyWithRoom_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<qint64>("available"); // -1: the query fails
    QTest::addColumn<qint64>("rate");      // -1: the test does not run
    QTest::addColumn<int>("bar");

    const qint64 plenty = qint64(1) << 40;
    QTest::newRow("one byte more than 10 MiB")
        << "/d" << true << qint64(10'485'761) << qint64(20'971'520) << 20'480;
    QTest::newRow("exactly 10 MiB") << "/d" << true << qint64(10'485'760) << qint64(-1) << 0;
    QTest::newRow("query fails") << "/d" << true << qint64(-1) << qint64(-1) << 0;
    QTest::newRow("nowhere to write") << "/d" << false << plenty << qint64(-1) << 0;
    QTest::newRow("no fixed drive") << "" << true << plenty << qint64(-1) << 0;
    QTest::newRow("KB/s truncated") << "/d" << true << plenty << qint64(2047) << 1;
    QTest::newRow("beyond the bar") << "/d" << true << plenty << (qint64(1) << 41) << 2'147'483'647;
}

void TestDiskPage::measuresOnlyWithRoom()
{
    QFETCH(QString, mountPoint);
    QFETCH(bool, writable);
    QFETCH(qint64, available);
    QFETCH(qint64, rate);
    QFETCH(int, bar);
    DiskPageFixture fixture;
    QStringList calls;
    std::size_t buffer = 0;
    const DiskKernels kernels{
        [&](const std::string& mount) -> std::optional<std::string> {
            calls << "directory of " + QString::fromStdString(mount);
            return writable ? std::optional<std::string>("/dir/") : std::nullopt;
        },
        [&](const std::string& directory) -> std::optional<std::uint64_t> {
            calls << "space in " + QString::fromStdString(directory);
            return available < 0 ? std::nullopt : std::optional<std::uint64_t>(available);
        },
        [&](const std::string& directory, std::int32_t count) {
            calls << QString("%1 MiB to %2").arg(count).arg(QString::fromStdString(directory));
            buffer = TestBufferSize();
            return rate;
        }};

    const std::int32_t measured = MeasureDrive(mountPoint.toStdString(), kernels);

    QStringList expected{"directory of /d", "space in /dir/", "10 MiB to /dir/"};
    expected = expected.mid(0, mountPoint.isEmpty() ? 0 : !writable ? 1 : rate < 0 ? 2 : 3);
    QCOMPARE(calls, expected);
    QCOMPARE(measured, bar);
    QCOMPARE(fixture.values(measured), (QList<int>{bar, 0, 500, 0, 700}));
    QCOMPARE(buffer, std::size_t(rate < 0 ? 0 : 1'048'576));
    QCOMPARE(TestBufferSize(), std::size_t(0));
    // The report names why a drive was not measured.
    QCOMPARE(DiskSkipReason(mountPoint.toStdString(), kernels).empty(), rate >= 0);
}

void TestDiskPage::failedTestGivesTheBufferBack()
{
    std::size_t buffer = 0;
    const DiskKernels kernels{
        [](const std::string&) { return std::optional<std::string>("/dir/"); },
        [](const std::string&) { return std::optional<std::uint64_t>(1ULL << 40); },
        [&](const std::string&, std::int32_t) -> std::int64_t {
            buffer = TestBufferSize();
            throw BenchError("Cannot write");
        }};

    QCOMPARE(errorOf([&] { MeasureDrive("/d", kernels); }), QString("Cannot write"));

    // The block is given back.
    QCOMPARE(buffer, std::size_t(1'048'576));
    QCOMPARE(TestBufferSize(), std::size_t(0));
}

void TestDiskPage::realKernelsOnATemporaryDrive_data()
{
    QTest::addColumn<QByteArray>("tmpfsSize"); // empty: the temporary directory as it is
    QTest::addColumn<bool>("measured");

    QTest::newRow("temporary directory") << QByteArray() << true;
    QTest::newRow("10 MiB filesystem") << QByteArray("10m") << false;
    QTest::newRow("11 MiB filesystem") << QByteArray("11m") << true;
}

void TestDiskPage::realKernelsOnATemporaryDrive()
{
    QFETCH(QByteArray, tmpfsSize);
    QFETCH(bool, measured);
    const QTemporaryDir drive;
    std::unique_ptr<TestMount> mounted;
    if (!tmpfsSize.isEmpty() && !(mounted = TestMount::Tmpfs(drive.path(), "size=" + tmpfsSize)))
        QSKIP("mounting a filesystem needs root");

    QCOMPARE(MeasureDrive(drive.path().toStdString()) > 0, measured);
    QCOMPARE(DiskSkipReason(drive.path().toStdString()).empty(), measured);
    QCOMPARE(entriesOf(drive.path()), QStringList());
}
