// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "SetFigures.h"

#include "bench/MemoryPage.h"
#include "controls/Chart.h"
#include "report/FullRun.h"
#include "report/HeadlessView.h"
#include "report/Session.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace report;

namespace {

// A view that writes down what the run asks of it.
struct ScriptedView : FullRunView
{
    void logCleared() override { journal << "log cleared"; }
    void testBegins(const RunTest& test) override { journal << test.name; }
    bench::MemoryMode memoryMode() const override { return mode; }
    void showComparativeMode() override
    {
        journal << "comparative shown";
        mode = bench::MemoryMode::Comparative;
    }
    void showDrive(int index) override { journal << "show " + QString::number(index); }
    bench::TestSurface* testSurface() override { return &surface; }

    bench::MemoryMode mode = bench::MemoryMode::Comparative;
    QStringList journal;
    MemorySurface surface;
};

// A session on charts in memory over a small base.ini, with `drives` drives
// mounted at "/", "/home" and "/srv".
struct RunFixture
{
    explicit RunFixture(int drives, const QByteArray& data = "PIIMultCPU=600\nPIIMultFPU=300\n"
                                                             "PIIFreq=100\n")
    {
        QFile file(directory.filePath("base.ini"));
        if (file.open(QIODevice::WriteOnly))
            file.write("[DATA]\n" + data +
                       "[Processor]\nRef=1,2\n[Memory]\nRef=3\n[Video]\nRef=4\n[Drive]\nRef=5\n");
        file.close();
        const QStringList mounts{"/", "/home", "/srv"};
        for (int i = 0; i < drives; ++i) {
            listing.items << "Drive " + mounts[i];
            listing.paths << mounts[i].toUtf8();
        }
        listing.sizes = "/ 100 Gb";
        figures.disk = [](const std::string& mount) { return mount == "/" ? 1000 : 2000; };
        MachineProbes probes;
        probes.gatherOverview = [this] {
            sysinfo::OverviewFields fields;
            fields.processor = "Test CPU";
            fields.os = os;
            return fields;
        };
        probes.listFixedDrives = [this] { return listing; };
        session = std::make_unique<Session>(directory.filePath("base.ini"),
                                            SessionCharts{processor, memory, video, drive}, probes,
                                            figures.kernels());
        session->loadReferenceMachine();
        session->refreshOverview();
    }

    QTemporaryDir directory;
    sysinfo::FixedDriveListing listing;
    std::optional<QString> os = QString("Debian");
    SetFigures figures;
    MemoryChart processor, memory, video, drive;
    std::unique_ptr<Session> session;
    ScriptedView view;
};

} // namespace

void TestFullRun::stepOrder_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("drives");
    QTest::addColumn<QStringList>("journal");

    const QStringList start{"log cleared", "Processor", "Memory"};
    QTest::newRow("comparative, no drive") << false << 0 << start + QStringList{"Video"};
    // The full test runs in the page's mode, then the comparative test, whose
    // figure is logged, with the page shown in that mode.
    QTest::newRow("full mode, one drive")
        << true << 1
        << start + QStringList{"comparative shown", "Memory", "Video", "show 0", "Drive /"};
    QTest::newRow("comparative, three drives")
        << false << 3 << start + QStringList{"Video",       "show 0", "Drive /",   "show 1",
                                             "Drive /home", "show 2", "Drive /srv"};
}

void TestFullRun::stepOrder()
{
    QFETCH(bool, full);
    QFETCH(int, drives);
    QFETCH(QStringList, journal);
    RunFixture f(drives);
    if (full)
        f.view.mode = bench::MemoryMode::Full;

    const AllTestsResults results = RunAllTests(*f.session, f.view);
    QCOMPARE(f.view.journal, journal);
    QCOMPARE(f.figures.journal.contains("read 1024"), full); // the full test's smallest block
    QCOMPARE(results.processor, (ProcessorFigures{100, 600, 100, 300}));
    QCOMPARE(results.memory, 5000);
    QCOMPARE(results.video, 700);
    QVERIFY(results.skipped.isEmpty());
    QVERIFY(f.session->log().contains("Memory : 5000 (Mb/sec)"));
    QCOMPARE(results.drives.size(), drives);
    if (drives == 3)
        QCOMPARE(results.drives[1], (DriveFigure{"Drive /home", 2000}));
    QCOMPARE(f.session->selectedDrive(), drives - 1); // the last drive stays selected
    QCOMPARE(f.session->log().size(), 23 + drives);
    QCOMPARE(ComposeLog(results), f.session->log());
}

void TestFullRun::secondRunReplacesTheLog()
{
    RunFixture f(1);
    QCOMPARE(f.session->log(), QStringList{InitialLogText});
    QStringList shown; // what a view of the log shows, from the signals
    QObject::connect(f.session.get(), &Session::logCleared, [&] { shown.clear(); });
    QObject::connect(f.session.get(), &Session::logAppended,
                     [&](const QString& line) { shown << line; });
    RunAllTests(*f.session, f.view);
    const QStringList first = f.session->log();
    f.figures.video = [] { return 900; };
    RunAllTests(*f.session, f.view);
    QCOMPARE(f.session->log().size(), first.size());
    QVERIFY(!f.session->log().contains(InitialLogText));
    QCOMPARE(f.session->log().count("Video : 900 (Mb/sec)"), 1);
    QVERIFY(!f.session->log().contains("Video : 700 (Mb/sec)"));
    QCOMPARE(shown, f.session->log());
}

void TestFullRun::errorEndsTheRunWhereItIs_data()
{
    QTest::addColumn<QString>("failAt");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("lines");
    QTest::newRow("processor") << "cpu" << false << "User name : " << 14;
    QTest::newRow("memory") << "read 4194304" << false << "FPU : 100 (300)" << 19;
    // The comparative test after the full one fails inside the run, not in a
    // handler of its own that would let the run go on.
    QTest::newRow("memory after the full test")
        << "read 4194304" << true << "FPU : 100 (300)" << 19;
    QTest::newRow("video") << "video" << false << "Memory : 5000 (Mb/sec)" << 20;
    QTest::newRow("second drive") << "disk /home" << false << "Drive / : 1000 (KB/sec)" << 22;
}

void TestFullRun::errorEndsTheRunWhereItIs()
{
    QFETCH(QString, failAt);
    QFETCH(bool, full);
    QFETCH(QString, lastLine);
    QFETCH(int, lines);
    RunFixture f(3);
    f.figures.failAt = failAt;
    if (full)
        f.view.mode = bench::MemoryMode::Full;

    AllTestsResults results;
    QVERIFY_THROWS_EXCEPTION(bench::BenchError, RunAllTests(*f.session, f.view, results));
    QCOMPARE(f.session->log().size(), lines);
    QCOMPARE(f.session->log().last(), lastLine);
    QVERIFY(!f.session->log().contains(ClosingHeading));
    QCOMPARE(f.figures.journal.last(), failAt); // nothing ran after the failing kernel
    QCOMPARE(results.drives.size(), failAt == "disk /home" ? 1 : 0);
}

// Without a reference machine, without a surface and with tests left out,
// the report's run still counts what it can and says what it left out.
void TestFullRun::headlessRunCountsWhatItCan()
{
    RunFixture f(3, "PIIMultCPU=600\n");
    f.figures.free = [](const std::string& mount) {
        return mount == "/srv" ? std::uint64_t{1024} : std::uint64_t{1} << 40;
    };
    QStringList progress;
    HeadlessView view(*f.session, {{}, "no display", {}},
                      [&](const QString& line) { progress << line; });
    QVERIFY(view.select({"disk"}, {"/proc"}).startsWith("--drive /proc: not on any"));
    QCOMPARE(view.select({"fpu", "video", "disk"}, {}), QString());

    const AllTestsResults results = RunAllTests(*f.session, view);
    QCOMPARE(results.processor, (ProcessorFigures{0, 600, 0, 300, false}));
    QCOMPARE(results.memory, 0);
    QCOMPARE(results.skipped.value("memory"), kNotAskedFor);
    QCOMPARE(results.skipped.value("video"), "no display");
    QVERIFY(f.video.bars().Count > 1); // the page's rows beside its own bar at 0
    QCOMPARE(results.video, 0);
    QCOMPARE(results.skipped.value("Drive /srv"), "10 MiB or less free in /srv");
    QCOMPARE(results.drives[0], (DriveFigure{"Drive /", 1000}));
    QCOMPARE(progress,
             (QStringList{"Processor ...", "Drive / ...", "Drive /home ...", "Drive /srv ..."}));
    QCOMPARE(view.measured(), (QStringList{"cpu", "fpu", "Drive /", "Drive /home", "Drive /srv"}));
}

void TestFullRun::sessionState()
{
    RunFixture f(2);
    QCOMPARE(f.session->overview().hdd, QStringLiteral("/ 100 Gb"));
    // A probe pass keeps the drive sizes, and the OS text when the version
    // cannot be read.
    f.os.reset();
    f.session->refreshOverview();
    QCOMPARE(f.session->overview().os, std::optional<QString>("Debian"));
    QCOMPARE(f.session->overview().hdd, QStringLiteral("/ 100 Gb"));

    f.session->selectDrive(1);
    f.session->runDrive();
    f.session->runProcessor();
    const MachineValues machine = f.session->machineValues();
    QCOMPARE(machine.processor, QStringLiteral("Test CPU"));
    QCOMPARE(machine.drive, QStringLiteral("Drive /home"));
    QCOMPARE(machine.driveChart.first, 2000);
    QCOMPARE(machine.processorChart.second, 100);
    QCOMPARE(machine.memoryChart.count, 0); // the memory page has not run

    f.session->selectDrive(7);
    QCOMPARE(f.session->selectedDrive(), -1);
    f.figures.journal.clear();
    f.session->runDrive(); // no drive: bar 0 stays 0, nothing written
    QCOMPARE(f.session->driveResult(), 0);
    QCOMPARE(f.figures.journal, QStringList{});
}
