// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "RunFixture.h"

#include "report/HeadlessView.h"

#include <QTest>

using namespace report;

// Without a reference machine, without a surface and with tests left out,
// the report's run still counts what it can and says what it left out.
void TestHeadlessView::runCountsWhatItCan()
{
    RunFixture f(3, "PIIMultCPU=600\n");
    f.figures.free = [](const std::string& mount) {
        return mount == "/srv" ? std::uint64_t{1024} : std::uint64_t{1} << 40;
    };
    QStringList progress;
    HeadlessView view(*f.session, {{}, "no display", {}},
                      [&](const QString& line) { progress << line; });
    QVERIFY(view.select({TestId::Disk}, {"/proc"}).startsWith("--drive /proc: not on any"));
    QCOMPARE(view.select({TestId::Fpu, TestId::Video, TestId::Disk}, {}), QString());

    const AllTestsResults results = RunAllTests(*f.session, view);
    QCOMPARE(results.processor, (ProcessorFigures{0, 600, 0, 300, false}));
    QCOMPARE(results.memory, 0);
    QCOMPARE(results.skipped.value({TestId::Memory}), kNotAskedFor);
    QCOMPARE(results.skipped.value({TestId::Video}), "no display");
    // The page's rows beside its own bar at 0.
    QCOMPARE(f.lastChart(ChartPage::Video), (QList<int>{0, 0, 4}));
    QCOMPARE(results.video, 0);
    QCOMPARE(results.skipped.value({TestId::Disk, "/srv"}), "10 MiB or less free in /srv");
    QCOMPARE(results.drives[0], (DriveFigure{"Drive /", 1000, {}, "/"}));
    QCOMPARE(progress,
             (QStringList{"Processor ...", "Drive / ...", "Drive /home ...", "Drive /srv ..."}));
    QCOMPARE(view.measured(), (QList<FigureKey>{{TestId::Cpu},
                                                {TestId::Fpu},
                                                {TestId::Disk, "/"},
                                                {TestId::Disk, "/home"},
                                                {TestId::Disk, "/srv"}}));
}
