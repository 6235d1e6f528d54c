// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "FakeInsight.h"
#include "SavedResults.h"
#include "SetFigures.h"

#include "report/CompareCommand.h"
#include "report/ContextRows.h"
#include "report/History.h"
#include "report/KeptResults.h"
#include "results/Comparison.h"
#include "results/ResultStore.h"
#include "session/Session.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace report;

using FigureValues = QMap<QString, int>;

namespace {

const QDateTime kKeptAt({2026, 12, 8}, {6, 1, 2}, Qt::UTC);

// A window's session on set figures: drives at "/" (1000 KB/s) and "/home"
// (2000 KB/s), a reference machine to score against.
struct WindowSession
{
    WindowSession()
    {
        QFile file(directory.filePath("base.ini"));
        if (file.open(QIODevice::WriteOnly))
            file.write("[DATA]\nPIIMultCPU=600\nPIIMultFPU=300\nPIIFreq=100\n"
                       "[Processor]\nRef=1,2\n[Memory]\nRef=3\n[Video]\nRef=4\n[Drive]\nRef=5\n");
        file.close();
        figures.disk = [](const std::string& mount) { return mount == "/" ? 1000 : 2000; };
        MachineProbes probes;
        probes.gatherOverview = [] {
            sysinfo::OverviewFields fields;
            fields.processor = "Test CPU";
            fields.computerName = "testhost";
            return fields;
        };
        probes.listFixedDrives = [] {
            sysinfo::FixedDriveListing listing;
            listing.items = {"Drive /", "Drive /home"};
            listing.paths = {"/", "/home"};
            return listing;
        };
        session =
            std::make_unique<Session>(directory.filePath("base.ini"), probes, figures.kernels());
        session->loadReferenceMachine();
        session->refreshOverview();
    }

    QTemporaryDir directory;
    SetFigures figures;
    std::unique_ptr<Session> session;
};

struct WindowView : FullRunView
{
    void testBegins(const RunTest&) override {}
    bench::TestSurface* testSurface() override { return &surface; }
    MemorySurface surface;
};

// Figure name -> value of the figures `run` holds as measured.
FigureValues measuredFigures(const AllTestsResults& run)
{
    FigureValues figures;
    for (const NamedFigure& figure : AllFigures(run))
        if (!MeasuredRuns({run}, figure).isEmpty())
            figures.insert(figure.name, figure.pick(run));
    return figures;
}

QString writeResult(const QString& directory, const QJsonObject& document, const QDateTime& time)
{
    QJsonObject dated = document;
    dated.insert("time", time.toString(Qt::ISODate));
    return SaveResult(directory, time, QJsonDocument(dated).toJson());
}

} // namespace

void TestKeptResults::latestResults_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<FigureValues>("figures");
    const FigureValues all{{"CPU score", 100},  {"CPU passes", 600},  {"FPU score", 100},
                           {"FPU passes", 300}, {"Memory", 5000},     {"Video", 700},
                           {"Drive /", 1000},   {"Drive /home", 2000}};
    QTest::newRow("nothing measured") << QStringList{} << FigureValues{};
    QTest::newRow("processor page")
        << QStringList{"processor"}
        << FigureValues{
               {"CPU score", 100}, {"CPU passes", 600}, {"FPU score", 100}, {"FPU passes", 300}};
    QTest::newRow("drive page, the selected drive")
        << QStringList{"select 1", "drive"} << FigureValues{{"Drive /home", 2000}};
    QTest::newRow("all tests") << QStringList{"all"} << all;
    FigureValues faster = all;
    faster["Memory"] = 6000;
    faster["Drive /"] = 1500;
    QTest::newRow("pages after all tests replace its figures")
        << QStringList{"all", "memory 6000", "select 0", "drive 1500"} << faster;
    QTest::newRow("a failed refresh keeps no zero")
        << QStringList{"fail memory", "memory"} << FigureValues{};
}

// What File > Keep results keeps: the last all-tests run with what the pages
// measured since in its place; nothing unmeasured counts as a figure.
void TestKeptResults::latestResults()
{
    QFETCH(QStringList, steps);
    QFETCH(FigureValues, figures);
    WindowSession w;
    std::optional<AllTestsResults> lastRun;
    for (const QString& step : steps) {
        const QString value = step.section(' ', 1);
        if (step == "all") {
            WindowView view;
            lastRun = RunAllTests(*w.session, view);
        } else if (step == "processor") {
            w.session->runProcessor();
        } else if (step.startsWith("memory")) {
            if (!value.isEmpty())
                w.figures.memory = [value] { return value.toInt(); };
            try {
                w.session->runMemory();
            } catch (const bench::BenchError&) {
            }
        } else if (step.startsWith("drive")) {
            if (!value.isEmpty())
                w.figures.disk = [value](const std::string&) { return value.toInt(); };
            w.session->runDrive();
        } else if (step.startsWith("select")) {
            w.session->selectDrive(value.toInt());
        } else if (step.startsWith("fail")) {
            w.figures.memory = []() -> std::int32_t { throw bench::BenchError("no memory"); };
        }
    }
    const AllTestsResults run = LatestResults(*w.session, lastRun);
    QCOMPARE(measuredFigures(run), figures);
    QCOMPARE(HasMeasured(run), !figures.isEmpty());
    QCOMPARE(run.overview.computerName, "testhost");
    if (!lastRun && !figures.contains("Memory"))
        QCOMPARE(run.skipped.value(FigureKey{TestId::Memory}), kNotMeasuredInWindow);
}

// Kept results are --save's: read back by the comparison, listed by the
// store, a second keep of the same time beside the first.
void TestKeptResults::keptFileReadsAsSaved()
{
    WindowSession w;
    w.session->runProcessor();
    w.session->runDrive();
    const AllTestsResults run = LatestResults(*w.session, std::nullopt);
    KeptEnvironment kept;
    kept.environment.processor = "Fake CPU";
    kept.environment.priority = platform::ObtainedPriority::Neither;
    kept.warnings << "measured at normal priority";
    const QString store = w.directory.filePath("results");
    const QString first = KeepResults(store, *w.session, run, kKeptAt, kept);
    const QString second = KeepResults(store, *w.session, run, kKeptAt, kept);
    QCOMPARE(KeptResults(store), (QStringList{first, second}));
    QVERIFY(second.endsWith("20261208T060102Z-2.json"));

    const SavedResult saved = LoadSavedResult(first);
    QCOMPARE(saved.time, kKeptAt);
    QCOMPARE(saved.machine, "testhost");
    QCOMPARE(saved.runs, 1);
    QVERIFY(saved.figure("CPU score") != nullptr);
    QCOMPARE(*saved.figure("CPU score")->median, 100.0);
    QCOMPARE(*saved.figure("Drive /")->median, 1000.0);
    QCOMPARE(saved.figure("Memory"), nullptr);
    QVERIFY(saved.conditions.contains({QString("measured at normal priority"), true}));
    const QJsonObject root =
        QJsonDocument::fromJson(KeptResultJson(*w.session, run, kKeptAt, kept)).object();
    QCOMPARE(root.value("results").toObject().value("skipped").toObject().value("memory"),
             kNotMeasuredInWindow);
    QCOMPARE(root.value("warnings").toArray().first(), "measured at normal priority");
}

// The history reads every result in time order whatever their names, says
// which files it left out, and plots a line a figure with the runs' spread.
void TestKeptResults::history()
{
    QTemporaryDir directory;
    const QString late =
        writeResult(directory.path(), SavedDocument({5000, 5200, 4900}), kKeptAt.addDays(2));
    const QString early = writeResult(directory.path(), SavedDocument({4000}), kKeptAt);
    QJsonObject noVideo = SavedDocument({4500});
    SetMember(noVideo, "results.video", QJsonValue());
    const QString middle = writeResult(directory.path(), noVideo, kKeptAt.addDays(1));
    const QString broken = directory.filePath("broken.json");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{ not json");
    file.close();

    const History read = LoadHistory({late, broken, early, middle, late});
    QCOMPARE(read.results.size(), 3);
    QCOMPARE(read.results[0].source, early);
    QCOMPARE(read.results[2].source, late);
    QCOMPARE(read.unreadable.size(), 1);
    QVERIFY(read.unreadable[0].contains("broken.json"));

    QMap<QString, PlotSeries> series;
    QStringList order;
    for (const PlotSeries& s : HistorySeries(read.results)) {
        series.insert(s.name, s);
        order << s.name;
    }
    QCOMPARE(order, (QStringList{"CPU score", "FPU score", "Memory", "Video", "Drive /"}));
    QCOMPARE(series["Memory"].points.size(), 3);
    const PlotPoint last = series["Memory"].points[2];
    QCOMPARE(last.msecsSinceEpoch, kKeptAt.addDays(2).toMSecsSinceEpoch());
    QCOMPARE(last.median, 5000.0);
    QCOMPARE(last.low, 4900.0);
    QCOMPARE(last.high, 5200.0);
    QCOMPARE(series["Video"].points.size(), 2);

    const HistoryRow row = HistoryRowOf(read.results[0]);
    QCOMPARE(row.time, "2026-12-08 06:01:02");
    QCOMPARE(row.version, "1.03");
    QCOMPARE(row.warnings, QString());
}

void TestKeptResults::verdictsAsCompare_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("one run each: spread unknown") << QList<int>{5000} << QList<int>{4000};
    QTest::newRow("worse beyond noise and threshold")
        << QList<int>{5000, 5010, 4990} << QList<int>{4000, 4010, 3990};
    QTest::newRow("within noise") << QList<int>{5000, 5300, 4700} << QList<int>{5010, 5290, 4720};
}

// Two rows chosen give what --compare prints for the older and the newer,
// whichever row was chosen first.
void TestKeptResults::verdictsAsCompare()
{
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QTemporaryDir directory;
    const QString older = writeResult(directory.path(), SavedDocument(before), kKeptAt);
    const QString newer = writeResult(directory.path(), SavedDocument(after), kKeptAt.addDays(1));
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    RunCompare({{older, newer}, false, kDefaultThreshold}, directory.path(), out, err);
    QStringList printed = QString::fromUtf8(out.data()).split('\n');
    printed.removeLast(); // after the last line's end
    const History read = LoadHistory({newer, older});
    QCOMPARE(HistoryVerdicts(read.results[1], read.results[0]), printed);
    QCOMPARE(HistoryVerdicts(read.results[0], read.results[1]), printed);
    QVERIFY(printed.join('\n').contains(VerdictText(before.size() < 3 ? Verdict::SpreadUnknown
                                                    : before[1] - before[0] == 10
                                                        ? Verdict::Worse
                                                        : Verdict::WithinNoise)));
}

void TestKeptResults::contextRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<double>("fraction");
    // 2,200 passes on two threads against 1,100 on one: all they can give.
    QTest::newRow("all cores, integer") << "CPU, 2 threads"
                                        << "366 (2200 passes), 2.00 x one thread" << 1.0;
    QTest::newRow("all cores, floating point") << "FPU, 2 threads"
                                               << "300 (900 passes), 2.00 x one thread" << 1.0;
    QTest::newRow("effective clock below the counter") << "Effective, all cores"
                                                       << "2850 MHz" << 0.95;
    QTest::newRow("counter rate") << "Counter rate"
                                  << "3000 MHz" << 1.0;
    QTest::newRow("latency in L1") << "L1, 16 KB"
                                   << "1.5 ns" << 0.5;
    QTest::newRow("latency beyond the caches") << "DRAM, 8 MB"
                                               << "3.0 ns" << 1.0;
    QTest::newRow("sweep read against streaming") << "Read 1 KB, L1"
                                                  << "6000 MiB/s" << 0.1;
    QTest::newRow("streaming read") << "Streaming read, 2 threads"
                                    << "60000 MiB/s" << 1.0;
    QTest::newRow("streaming write") << "Streaming write, 2 threads"
                                     << "30000 MiB/s" << 0.5;
}

// The window's rows: values as the report words them, bars on one scale per
// group.
void TestKeptResults::contextRows()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(double, fraction);
    WindowSession w;
    const Insight insight = MeasureWindowContext(FakeInsightKernels(), *w.session);
    const QList<ContextRow> rows = ContextRows(insight);
    const auto row = std::find_if(rows.cbegin(), rows.cend(),
                                  [&](const ContextRow& r) { return r.name == name; });
    QVERIFY2(row != rows.cend(), qPrintable(name));
    QCOMPARE(row->value, value);
    QCOMPARE(row->fraction, fraction);
}

// Before the memory page has measured, the memory line says so instead of
// calling 0 MiB/s a share of the streaming read; a failed measurement is
// one row that says why.
void TestKeptResults::contextWithoutMemoryFigure()
{
    WindowSession w;
    Insight insight = MeasureWindowContext(FakeInsightKernels(), *w.session);
    QVERIFY(insight.memoryLine.contains("run the memory page first"));
    w.session->runMemory();
    insight = MeasureWindowContext(FakeInsightKernels(), *w.session);
    QVERIFY(insight.memoryLine.startsWith("the logged 5000 MiB/s"));
    QCOMPARE(ContextRows(insight).last().name, "Streaming copy, 2 threads");
    const QList<ContextRow> failed = ContextRows(NotMeasured("no memory"));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed[0].name, "no memory");
    QCOMPARE(failed[0].fraction, -1.0);
}
