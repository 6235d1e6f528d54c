// SPDX-License-Identifier: GPL-3.0-or-later
// Times opening the History window on many kept results: reading the files,
// building the plots and the table, and painting the window once. Run it on
// an idle machine:
//   QT_QPA_PLATFORM=offscreen ./bench_history [results] [opens]
#include "Summary.h"
#include "shell/HistoryWindow.h"

#include "report/History.h"
#include "report/JsonReport.h"
#include "results/ResultStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A result of three runs a day, each figure a little different.
QByteArray Result(int day, const QDateTime& time)
{
    report::ReportDocument document;
    document.program = report::kProgramName;
    document.version = QStringLiteral("1.03");
    document.time = time;
    document.reference = {400, 200, 300, {}, {}, {}};
    sysinfo::OverviewFields overview;
    overview.computerName = QStringLiteral("benchhost");
    for (int run = 0; run < 3; ++run) {
        const int wobble = (day * 7 + run * 13) % 50;
        document.runs << report::AllTestsResults{
            overview,
            {1000 + wobble, 600 + wobble, 900 + wobble, 300 + wobble, true},
            5000 + 3 * wobble,
            700 + wobble,
            {{QStringLiteral("Drive /"), 80000 + 100 * wobble, QStringLiteral("ext4"), "/"},
             {QStringLiteral("Drive /home"), 90000 + 90 * wobble, QStringLiteral("ext4"), "/home"}},
            {}};
    }
    return report::ReportJson(document).toJson();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int results = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int opens = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir directory;
    const QDateTime first({2024, 1, 1}, {12, 0}, Qt::UTC);
    for (int day = 0; day < results; ++day)
        report::SaveResult(directory.path(), first.addDays(day), Result(day, first.addDays(day)));

    std::vector<double> ms;
    std::vector<double> readMs;
    for (int i = 0; i < opens; ++i) {
        QElapsedTimer reading;
        reading.start();
        const report::History read = report::LoadHistory(report::KeptResults(directory.path()));
        readMs.push_back(double(reading.nsecsElapsed()) / 1e6);
        QElapsedTimer timer;
        timer.start();
        HistoryWindow window;
        window.resize(800, 700);
        window.showDirectory(directory.path());
        window.show();
        window.grab(); // one full paint of the window with its plots
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (window.history().results.size() != results)
            return std::fprintf(stderr, "read %lld of %d results\n",
                                static_cast<long long>(window.history().results.size()), results),
                   1;
    }
    const Summary summary = summarise(ms);
    const Summary reading = summarise(readMs);
    std::printf("History window on %d results, %d opens: median %.1f ms, min %.1f, max %.1f, "
                "cv %.1f %%\n",
                results, opens, summary.median, summary.min, summary.max, summary.cv);
    std::printf("of which reading the files alone: median %.1f ms\n", reading.median);
    std::printf("load average: %s\n", loadAverage().c_str());
    return 0;
}
