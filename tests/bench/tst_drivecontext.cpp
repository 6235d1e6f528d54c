// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_drivecontext.h"

#include "ChildProcess.h"
#include "TestMounts.h"

#include "bench/BenchError.h"
#include "bench/DiskKernel.h"
#include "bench/DriveContext.h"
#include "platform/ScratchFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>

using namespace bench;

namespace {

constexpr quint64 kMiB = 1024 * 1024;
constexpr quint64 kGiB = 1024 * kMiB;

// Short windows on a small file: what is tested is what happens, not how fast.
DriveContextSettings quick(std::string (*refusal)() = platform::UringRefusal)
{
    return {0.1, 64 * kMiB, refusal};
}

std::string refusedForTheTest()
{
    return "io_uring refused for the test";
}

QStringList entriesOf(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System |
                                     QDir::Hidden);
}

DriveJobFigure figure(DriveJob job, double mibs)
{
    DriveJobFigure made;
    made.job = job;
    made.mibs = mibs;
    return made;
}

// io_uring_setup fails with EPERM from here on, as under a container's
// seccomp profile; every other call goes through.
bool refuseUringSetup()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_io_uring_setup, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

} // namespace

void TestDriveContext::scratchBytes_data()
{
    QTest::addColumn<quint64>("available");
    QTest::addColumn<quint64>("total");
    QTest::addColumn<qint64>("expected"); // -1: no room

    QTest::newRow("plenty: the largest") << 500 * kGiB << 1000 * kGiB << qint64(kGiB);
    QTest::newRow("a tenth of a large disk kept")
        << 10 * kGiB + 512 * kMiB << 100 * kGiB << qint64(512 * kMiB);
    QTest::newRow("1 GiB kept on a small disk")
        << kGiB + 200 * kMiB + 1000 << 4 * kGiB << qint64(200 * kMiB);
    QTest::newRow("below 64 MiB after what is kept") << kGiB + 63 * kMiB << 4 * kGiB << qint64(-1);
    QTest::newRow("exactly what is kept") << 10 * kGiB << 100 * kGiB << qint64(-1);
    QTest::newRow("less than what is kept") << 512 * kMiB << 2 * kGiB << qint64(-1);
    QTest::newRow("nothing") << quint64(0) << quint64(0) << qint64(-1);
}

void TestDriveContext::scratchBytes()
{
    QFETCH(quint64, available);
    QFETCH(quint64, total);
    QFETCH(qint64, expected);
    const auto bytes = ScratchBytes(available, total, kGiB);
    QCOMPARE(bytes ? qint64(*bytes) : qint64(-1), expected);
    if (bytes) // what stays free is never less than a tenth, nor 1 GiB
        QVERIFY(available - *bytes >= std::max<std::uint64_t>(total / 10, kGiB));
}

void TestDriveContext::contradictions_data()
{
    QTest::addColumn<std::optional<bool>>("rotational");
    QTest::addColumn<quint64>("link");        // 0: unknown
    QTest::addColumn<QStringList>("flagged"); // the keys of the flagged figures

    QTest::newRow("rotating disk, random faster")
        << std::optional<bool>(true) << quint64(0) << QStringList{"randRead1", "randWrite1"};
    QTest::newRow("solid state, random faster is no contradiction")
        << std::optional<bool>(false) << quint64(0) << QStringList{};
    QTest::newRow("rotation unknown") << std::optional<bool>() << quint64(0) << QStringList{};
    QTest::newRow("reads beyond a SATA link")
        << std::optional<bool>(false) << quint64(600'000'000) << QStringList{"randRead32"};
    QTest::newRow("a fast link") << std::optional<bool>(false) << quint64(8'000'000'000)
                                 << QStringList{};
}

// Sequential 500 MiB/s read and 400 written; random reads at depth 1 of
// 520 MiB/s and writes of 450 (faster than the sequential ones), at depth 32
// 900 and 300.
void TestDriveContext::contradictions()
{
    QFETCH(std::optional<bool>, rotational);
    QFETCH(quint64, link);
    QFETCH(QStringList, flagged);
    DriveContextFigures figures;
    figures.device = platform::BlockDevice{
        "sdz", "", rotational, link ? std::optional<std::uint64_t>(link) : std::nullopt};
    figures.jobs = {figure(DriveJob::SequentialWrite, 400), figure(DriveJob::SequentialRead, 500),
                    figure(DriveJob::RandomRead1, 520),     figure(DriveJob::RandomWrite1, 450),
                    figure(DriveJob::RandomRead32, 900),    figure(DriveJob::RandomWrite32, 300),
                    figure(DriveJob::SyncWrite, 1)};
    FlagContradictions(figures);
    QStringList marked;
    for (const DriveJobFigure& job : figures.jobs) {
        if (!job.contradiction.empty())
            marked << QString::fromStdString(JobKey(job.job));
    }
    marked.sort();
    flagged.sort();
    QCOMPARE(marked, flagged);
}

void TestDriveContext::measuresEveryJobAndRemovesTheFile_data()
{
    QTest::addColumn<bool>("forceThreads");
    QTest::newRow("io_uring where the system allows it") << false;
    QTest::newRow("threads when io_uring is refused") << true;
}

void TestDriveContext::measuresEveryJobAndRemovesTheFile()
{
    QFETCH(bool, forceThreads);
    const QTemporaryDir dir;
    const DriveContextFigures figures = MeasureDriveContext(
        dir.path().toStdString(), quick(forceThreads ? refusedForTheTest : platform::UringRefusal));
    if (!figures.skipped.empty())
        QSKIP(
            qPrintable("no room for the scratch file: " + QString::fromStdString(figures.skipped)));
    if (forceThreads) {
        QCOMPARE(figures.submission, std::string("threads"));
        QCOMPARE(figures.fallback, refusedForTheTest());
    } else {
        QCOMPARE(figures.submission, figures.fallback.empty() ? "io_uring" : "threads");
    }
    QCOMPARE(figures.jobs.size(), std::size(kDriveJobs));
    for (std::size_t i = 0; i < figures.jobs.size(); ++i) {
        const DriveJobFigure& job = figures.jobs[i];
        QCOMPARE(job.job, kDriveJobs[i]);
        QVERIFY2(job.iops > 0 && job.p99Us >= job.medianUs, JobKey(job.job).c_str());
        QCOMPARE(job.sliceIops.size(), std::size_t{5});
    }
    QVERIFY(figures.scratchBytes > 0 && figures.scratchBytes <= 64 * kMiB);
    QVERIFY(figures.scratchBytes % kMiB == 0);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

// A real refusal: the kernel's answer under a seccomp filter, in a child so
// that the filter stays there.
void TestDriveContext::seccompRefusesUring()
{
    const QTemporaryDir dir;
    const ChildResult child = RunInChild([&] {
        if (!refuseUringSetup())
            return kChildCannotSetUp;
        const std::string refusal = platform::UringRefusal();
        if (refusal.find(std::strerror(EPERM)) == std::string::npos)
            return 1;
        const DriveContextFigures figures = MeasureDriveContext(dir.path().toStdString(), quick());
        if (!figures.skipped.empty())
            return kChildCannotSetUp;
        return figures.submission == "threads" && figures.fallback == refusal &&
                       figures.jobs.size() == std::size(kDriveJobs)
                   ? 0
                   : 2;
    });
    QVERIFY(child.finished);
    if (child.exitCode == kChildCannotSetUp)
        QSKIP("no seccomp filter or no room here");
    QCOMPARE(child.exitCode, 0);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

// A file-size limit below the scratch file: reported as the write's error,
// the program not killed by SIGXFSZ, nothing left.
void TestDriveContext::fileSizeLimit()
{
    const QTemporaryDir dir;
    const QString expected = "Unable to write to " +
                             QString::fromStdString(ScratchPath(dir.path().toStdString())) + ": " +
                             QString::fromLocal8Bit(std::strerror(EFBIG));
    const ChildResult child = RunInChild([&] {
        const rlimit limit{8 * kMiB, RLIM_INFINITY};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return kChildCannotSetUp;
        try {
            const DriveContextFigures figures =
                MeasureDriveContext(dir.path().toStdString(), quick());
            return figures.skipped.empty() ? 1 : kChildCannotSetUp;
        } catch (const BenchError& error) {
            return QString::fromStdString(error.what()) == expected ? 0 : 2;
        }
    });
    QVERIFY(child.finished);
    QCOMPARE(child.signal, 0);
    if (child.exitCode == kChildCannotSetUp)
        QSKIP("no room for the scratch file here");
    QCOMPARE(child.exitCode, 0);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

// ramfs has no direct I/O: the file stays usable through the page cache.
void TestDriveContext::directIoRefused()
{
    const QTemporaryDir dir;
    const auto mounted = TestMount::Ramfs(dir.path());
    if (!mounted)
        QSKIP("mounting a filesystem needs root");
    {
        platform::ScratchFile file(ScratchPath(dir.path().toStdString()),
                                   platform::ScratchAccess::ReadWrite);
        QCOMPARE(file.UseDirectIo(), EINVAL);
        const platform::IoRun run =
            platform::RunIoJob(file, JobOf(DriveJob::SequentialWrite, 4 * kMiB, 0.05),
                               platform::IoSubmission::Synchronous);
        QVERIFY(run.operations > 0);
    }
    QCOMPARE(entriesOf(dir.path()), QStringList());
}
