// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_report.h"

#include "FakeInsight.h"
#include "ReportFixture.h"

#include "bench/BenchError.h"
#include "platform/Identity.h"
#include "report/Insight.h"
#include "results/SavedResult.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(std::vector<platform::CacheLevel>)

using namespace report;
using bench::ChainTiming;
using bench::ThreadWindow;

namespace {

constexpr std::int64_t kMiB = 1024 * 1024;

std::vector<platform::CacheLevel> serverCaches()
{
    return platform::ReadCaches(QUORVIX_TEST_DATA "/sysfs-caches-server");
}

// A chain of `mhz` additions a microsecond beside a counter of `counter` MHz.
ChainTiming chainAt(double mhz, double counter = 3000.0)
{
    return {std::uint64_t(mhz * 50'000), 50.0, std::uint64_t(counter * 50'000), 50.0};
}

// Every window 500 ms of processor time: the scaling is the passes' ratio.
// The threads had a processor all the time, one thread `oneShare` of it.
bench::AllCoreWindows windowsWith(const QList<qint64>& passes, qint64 onePasses,
                                  double mhz = 3000.0, double oneShare = 1.0)
{
    bench::AllCoreWindows windows;
    for (qsizetype i = 0; i < passes.size(); ++i)
        windows.threads.push_back({int(i), passes[i], chainAt(mhz), 500.0, 500.0});
    const double allMs = 500.0 * double(passes.size());
    windows.alls.push_back({0, bench::TotalPasses(windows.threads), {}, allMs, allMs});
    const double oneCpuMs = onePasses > 0 ? 500.0 : 0.0;
    windows.ones.push_back({0, onePasses, {}, oneCpuMs / oneShare, oneCpuMs});
    return windows;
}

// Kernels with known figures on the fixture server; `calls` counts every
// kernel called.
struct FakeInsight
{
    int calls = 0;
    std::uint64_t top = 0;
    std::vector<std::uint64_t> workingSets;
    QList<double> runClocks{3000.0};
    int runChains = 0;
    bool latencyInOrder = true;

    InsightKernels kernels()
    {
        InsightKernels k;
        k.runChain = [this] {
            ++calls;
            return chainAt(runClocks[runChains++ % runClocks.size()]);
        };
        k.allCoreCpu = [this] {
            ++calls;
            return windowsWith({1000, 1200}, 1100, 2850.0);
        };
        k.allCoreFpu = [this] {
            ++calls;
            return windowsWith({500, 400}, 450);
        };
        k.caches = [this] {
            ++calls;
            return serverCaches();
        };
        k.memoryContext = [this](std::uint64_t top, const std::vector<std::uint64_t>& sets) {
            ++calls;
            this->top = top;
            workingSets = sets;
            return FakeMemoryContext(top, sets, latencyInOrder);
        };
        k.driveContext = [this](const std::string& mountPoint) {
            ++calls;
            drivesMeasured << QString::fromStdString(mountPoint);
            if (mountPoint == failingDrive)
                throw bench::BenchError("Unable to read " + mountPoint + "temp.$$$: I/O error");
            bench::DriveContextFigures figures = driveFigures(mountPoint);
            const qsizetype call = drivesMeasured.size() - 1;
            for (bench::DriveJobFigure& figure : figures.jobs) {
                figure.iops = driveIops.value(call, figure.iops);
                if (call == flaggedSeqReadCall && figure.job == bench::DriveJob::SequentialRead)
                    figure.contradiction = "read beyond the link";
            }
            return figures;
        };
        return k;
    }

    QStringList drivesMeasured;
    std::string failingDrive;
    QList<double> driveIops;           // each call's IOPS for every job, where given
    qsizetype flaggedSeqReadCall = -1; // the call whose sequential read is flagged

    // Every job at 100 IOPS; the random reads at depth 1 contradict the rest.
    static bench::DriveContextFigures driveFigures(const std::string& mountPoint)
    {
        bench::DriveContextFigures figures;
        figures.directory = mountPoint;
        figures.device = platform::BlockDevice{"sdz", "Test Disk", true, 600'000'000};
        figures.scratchBytes = 64 * kMiB;
        figures.direct = true;
        figures.submission = "threads";
        figures.fallback = "io_uring refused";
        figures.windowSeconds = 1.5;
        for (const bench::DriveJob job : bench::kDriveJobs) {
            bench::DriveJobFigure figure{
                job, 50.0, 100.0, 10.0, 8.0, 40.0, {90, 100, 110, 100, 100}, {}, {}};
            if (job == bench::DriveJob::RandomRead1)
                figure.contradiction = "a cache answered";
            figures.jobs.push_back(figure);
        }
        return figures;
    }
};

LoggedFigures logged(QList<double> runClocks = {3000.0})
{
    LoggedFigures figures;
    figures.reference.PIIMultCPU = 400;
    figures.reference.PIIMultFPU = 200;
    figures.reference.PIIFreq = 300;
    figures.memoryMiBs = 6000;
    for (const double mhz : runClocks)
        figures.runChains << chainAt(mhz);
    return figures;
}

} // namespace

void TestInsight::allCoreFigures_data()
{
    QTest::addColumn<QList<qint64>>("passes");
    QTest::addColumn<int>("onePasses");
    QTest::addColumn<int>("referenceCount");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("score"); // -1: none
    QTest::addColumn<double>("ratio");
    // 2200 / 400 x 300, the division first as for one thread.
    QTest::newRow("two threads") << QList<qint64>{1000, 1200} << 1100 << 400 << qint64(2200)
                                 << qint64(1650) << 2.0;
    QTest::newRow("truncated, not rounded")
        << QList<qint64>{599} << 599 << 400 << qint64(599) << qint64(449) << 1.0;
    // Beyond 32 bits: a machine with many cores.
    QTest::newRow("many threads") << QList<qint64>(256, 20'000'000) << 20'000'000 << 400
                                  << qint64(5'120'000'000) << qint64(3'840'000'000) << 256.0;
    QTest::newRow("no reference count")
        << QList<qint64>{1000} << 1000 << 0 << qint64(1000) << qint64(-1) << 1.0;
    QTest::newRow("no single-thread window")
        << QList<qint64>{1000} << 0 << 400 << qint64(1000) << qint64(750) << 0.0;
}

void TestInsight::allCoreFigures()
{
    QFETCH(QList<qint64>, passes);
    QFETCH(int, onePasses);
    QFETCH(int, referenceCount);
    QFETCH(qint64, total);
    QFETCH(qint64, score);
    QFETCH(double, ratio);
    FakeInsight fake;
    InsightKernels kernels = fake.kernels();
    kernels.allCoreCpu = [&] { return windowsWith(passes, onePasses); };
    LoggedFigures figures = logged();
    figures.reference.PIIMultCPU = referenceCount;
    const Insight insight = MeasureInsight(kernels, figures);
    QCOMPARE(insight.threads, int(passes.size()));
    QCOMPARE(insight.allCoreCpu.passes, total);
    QCOMPARE(insight.allCoreCpu.score.has_value(), score >= 0);
    if (score >= 0)
        QCOMPARE(*insight.allCoreCpu.score, score);
    QCOMPARE(insight.allCoreCpu.ratio, ratio);
    // The floating-point figure keeps its own reference: 900 / 200 x 300.
    QCOMPARE(insight.allCoreFpu.passes, 900);
    QCOMPARE(*insight.allCoreFpu.score, 1350);
    QCOMPARE(insight.allCoreFpu.ratio, 2.0);
}

void TestInsight::scalingBeyondTheThreadsIsFlagged_data()
{
    QTest::addColumn<QList<qint64>>("cpuPasses");
    QTest::addColumn<qint64>("cpuOne");
    QTest::addColumn<qint64>("fpuOne");
    QTest::addColumn<QString>("flag"); // empty: none
    QTest::newRow("as many times as threads")
        << QList<qint64>{1000, 1000} << qint64(1000) << qint64(100) << "";
    QTest::newRow("within the noise")
        << QList<qint64>{1000, 1100} << qint64(1000) << qint64(100) << "";
    QTest::newRow("beyond two threads")
        << QList<qint64>{1100, 1100} << qint64(1000) << qint64(100)
        << "CPU 2.20 x one thread is beyond 2 threads: the windows did not run under the same "
           "conditions (one thread had a processor 50 % of the time, all threads 100 %)";
    QTest::newRow("both kernels beyond")
        << QList<qint64>{1100, 1100} << qint64(1000) << qint64(90)
        << "CPU 2.20 x one thread is beyond 2 threads: the windows did not run under the same "
           "conditions (one thread had a processor 50 % of the time, all threads 100 %); FPU "
           "2.22 x one thread is beyond 2 threads: the windows did not run under the same "
           "conditions (one thread had a processor 50 % of the time, all threads 100 %)";
    QTest::newRow("one thread six times itself")
        << QList<qint64>{6120} << qint64(1000) << qint64(100)
        << "CPU 6.12 x one thread is beyond 1 threads: the windows did not run under the same "
           "conditions (one thread had a processor 50 % of the time, all threads 100 %)";
}

void TestInsight::scalingBeyondTheThreadsIsFlagged()
{
    QFETCH(QList<qint64>, cpuPasses);
    QFETCH(qint64, cpuOne);
    QFETCH(qint64, fpuOne);
    QFETCH(QString, flag);
    FakeInsight fake;
    InsightKernels kernels = fake.kernels();
    kernels.allCoreCpu = [&] { return windowsWith(cpuPasses, cpuOne, 3000.0, 0.5); };
    kernels.allCoreFpu = [&] {
        return windowsWith(QList<qint64>(cpuPasses.size(), 100), fpuOne, 3000.0, 0.5);
    };
    const Insight insight = MeasureInsight(kernels, logged());
    QCOMPARE(insight.unreliable.value("allCore"), flag);
    const QJsonObject json = InsightJson(insight);
    QCOMPARE(json["unreliable"]["allCore"].toString(), flag);
    QCOMPARE(json["unreliable"].toObject().contains("allCore"), !flag.isEmpty());
    const QStringList text = InsightText(insight);
    QCOMPARE(text.contains("  not reliable: " + flag), !flag.isEmpty());
    QCOMPARE(insight.warnings.contains("the all-core scaling is not reliable: " + flag),
             !flag.isEmpty());
}

void TestInsight::clockWarnings_data()
{
    QTest::addColumn<QList<double>>("runs");
    QTest::addColumn<double>("allCore");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("steady at the counter's rate")
        << QList<double>{3000, 2990, 3010} << 2900.0 << QStringList{};
    QTest::newRow("turbo above it") << QList<double>{3900, 3905} << 3500.0 << QStringList{};
    QTest::newRow("one slow run")
        << QList<double>{3000, 1200, 2950} << 2900.0
        << QStringList{"in run 2 the cores ran at 1200 MHz, well below the time-stamp "
                       "counter's 3000 MHz: power saving or a thermal limit holds them back",
                       "the effective clock varies: coefficient of variation 43.0 % over 3 runs"};
    QTest::newRow("only with every core busy")
        << QList<double>{3000} << 2400.0
        << QStringList{"with every core busy the cores ran at 2400 MHz, well below the "
                       "time-stamp counter's 3000 MHz: power saving or a thermal limit holds "
                       "them back"};
    // 85 % of 3000 is the edge; 2700 is above it, yet the runs spread 6 %.
    QTest::newRow("varies without being slow")
        << QList<double>{3000, 2700, 3000} << 2900.0
        << QStringList{"the effective clock varies: coefficient of variation 6.0 % over 3 runs"};
}

void TestInsight::clockWarnings()
{
    QFETCH(QList<double>, runs);
    QFETCH(double, allCore);
    QFETCH(QStringList, warnings);
    FakeInsight fake;
    InsightKernels kernels = fake.kernels();
    kernels.allCoreCpu = [&] { return windowsWith({100, 100}, 100, allCore); };
    const Insight insight = MeasureInsight(kernels, logged(runs));
    QCOMPARE(insight.runClocks.size(), runs.size());
    for (qsizetype i = 0; i < runs.size(); ++i) {
        QCOMPARE(insight.runClocks[i].effectiveMHz, runs[i]);
        QCOMPARE(insight.runClocks[i].counterMHz, 3000.0);
    }
    QCOMPARE(insight.allCoreClock.effectiveMHz, allCore);
    QCOMPARE(insight.warnings, warnings);
}

void TestInsight::levelsOfTheFixtureMachines_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QStringList>("levels"); // of 1 KB, 32 KB, 64 KB, 4 MB, 64 MB
    QTest::addColumn<quint64>("top");
    // Twice the last level's instances together, in whole MiB.
    QTest::newRow("server") << "sysfs-caches-server" << QStringList{"L1", "L1", "L2", "L3", "DRAM"}
                            << quint64(143); // 2 x 2 x 35.75 MB
    QTest::newRow("hybrid") << "sysfs-caches-hybrid" << QStringList{"L1", "L1", "L2", "L3", "DRAM"}
                            << quint64(24); // 2 x 12 MB
    QTest::newRow("none published")
        << "sysfs-empty" << QStringList{"DRAM", "DRAM", "DRAM", "DRAM", "DRAM"} << quint64(64);
}

void TestInsight::levelsOfTheFixtureMachines()
{
    QFETCH(QString, tree);
    QFETCH(QStringList, levels);
    QFETCH(quint64, top);
    const auto caches = platform::ReadCaches(QUORVIX_TEST_DATA "/" + tree.toStdString());
    const QList<std::uint64_t> sizes{1024, 32 * 1024, 64 * 1024, 4 << 20, 64 << 20};
    for (qsizetype i = 0; i < sizes.size(); ++i)
        QCOMPARE(LevelHolding(sizes[i], caches), levels[i]);
    QCOMPARE(SweepTop(caches), top << 20);
}

void TestInsight::latencyWorkingSets_data()
{
    using platform::CacheLevel;
    QTest::addColumn<std::vector<CacheLevel>>("caches");
    QTest::addColumn<quint64>("top");
    QTest::addColumn<QList<quint64>>("sets");
    QTest::newRow("server fixture") << serverCaches() << quint64(143 << 20)
                                    << QList<quint64>{16 << 10, 185344, 6269568, 143 << 20};
    // Half of 48 KB would still fit in the 32 KB below.
    QTest::newRow("levels close together")
        << std::vector<CacheLevel>{{1, "Data", 32 << 10, 1, 2},
                                   {2, "Unified", 48 << 10, 1, 2},
                                   {3, "Unified", 16 << 20, 2, 1}}
        << quint64(32 << 20) << QList<quint64>{16 << 10, 40128, 908032, 32 << 20};
    QTest::newRow("a level no larger than the one below")
        << std::vector<CacheLevel>{{1, "Data", 64 << 10, 1, 2}, {2, "Unified", 64 << 10, 1, 2}}
        << quint64(8 << 20) << QList<quint64>{32 << 10, 8 << 20};
    QTest::newRow("none published")
        << std::vector<CacheLevel>{} << quint64(64 << 20) << QList<quint64>{64 << 20};
}

// Each working set beyond the level below and inside its own: a set that a
// lower level holds measures that level, and the order breaks.
void TestInsight::latencyWorkingSets()
{
    QFETCH(std::vector<platform::CacheLevel>, caches);
    QFETCH(quint64, top);
    QFETCH(QList<quint64>, sets);
    const std::vector<std::uint64_t> found = LatencyWorkingSets(caches, top);
    QCOMPARE(QList<quint64>(found.begin(), found.end()), sets);
    QStringList levels;
    for (const std::uint64_t set : found)
        levels << LevelHolding(set, caches);
    levels.removeDuplicates();
    QCOMPARE(levels.size(), qsizetype(found.size()));
}

void TestInsight::memoryMeasuredPastTheLastLevel()
{
    FakeInsight fake;
    const Insight insight = MeasureInsight(fake.kernels(), logged());
    QCOMPARE(fake.top, 143u << 20);
    QCOMPARE(insight.usedBytes, 143u << 20);
    QCOMPARE(fake.workingSets, (std::vector<std::uint64_t>{16 << 10, 185344, 6269568, 143u << 20}));
    QCOMPARE(insight.latency.size(), 4);
    QCOMPARE(insight.latency[0].level, "L1");
    QCOMPARE(insight.latency[2].level, "L3");
    QCOMPARE(insight.latency[3].level, "DRAM");
    QCOMPARE(insight.latency[3].nanoseconds, 6.0);
    QVERIFY(insight.unreliable.isEmpty());
    QCOMPARE(insight.sweep.size(), 19); // 1 KB to 128 MB, then 143 MB
    QCOMPARE(insight.sweep.front().level, "L1");
    QCOMPARE(insight.sweep.back().level, "DRAM");
    QCOMPARE(insight.memoryLine,
             "the logged 6000 MiB/s (string instructions over a 4 MB block, held in L3) is "
             "10.0 % of this machine's streaming read of 60000 MiB/s");
}

// Levels still out of order after the second measurement are given as the
// reason, never as figures.
void TestInsight::latencyOutOfOrderIsNoMeasurement()
{
    FakeInsight fake;
    fake.latencyInOrder = false;
    const Insight insight = MeasureInsight(fake.kernels(), logged());
    const QString reason = "the levels came out of order in 2 measurements (last: L1 1.5 ns, "
                           "L2 3.0 ns, L3 4.5 ns, DRAM 6.0 ns): other work disturbed them";
    QCOMPARE(insight.unreliable.value("latency"), reason);
    QVERIFY(insight.warnings.contains("the latency is not given: " + reason));
    const QJsonObject json = InsightJson(insight);
    QCOMPARE(json["unreliable"]["latency"].toString(), reason);
    const QJsonArray latency = json["latency"].toArray();
    QCOMPARE(latency.size(), 4);
    for (const QJsonValue point : latency) {
        QVERIFY(point["nanoseconds"].isNull());
        QVERIFY(!point["level"].toString().isEmpty());
    }
    const QStringList text = InsightText(insight);
    QCOMPARE(text.filter(QRegularExpression("^Latency")),
             QStringList{"Latency   : not given: " + reason});
}

void TestInsight::textSection()
{
    FakeInsight fake;
    const QStringList text = InsightText(MeasureInsight(fake.kernels(), logged({3000, 2990})));
    QCOMPARE(text.value(0), QString());
    QVERIFY2(text.value(1).startsWith("= In context"), qPrintable(text.value(1)));
    const auto line = [&text](const QString& start) {
        for (const QString& one : text)
            if (one.startsWith(start))
                return one;
        return QString();
    };
    QCOMPARE(line("All cores"), "All cores : 2 threads, pinned, at normal priority");
    QCOMPARE(line("  CPU"), "  CPU : 1650 (2200 passes), 2.00 x one thread");
    QCOMPARE(line("  FPU"), "  FPU : 1350 (900 passes), 2.00 x one thread");
    QCOMPARE(line("  not reliable"), QString());
    QCOMPARE(line("Clock     : run 2"), "Clock     : run 2 2990 MHz (counter 3000 MHz)");
    QCOMPARE(line("Clock     : all"), "Clock     : all cores 2850 MHz (counter 3000 MHz)");
    QCOMPARE(line("Caches"), "Caches    : L1 data 32 KB x3, L1 instruction 32 KB x3, L2 unified "
                             "1 MB x3, L3 unified 36608 KB x2 (shared by 2)");
    QCOMPARE(line("Full test"), "Full test : 1-32 KB in L1, 64-1024 KB in L2, 2048-4096 KB in L3");
    QCOMPARE(line("Streaming"),
             "Streaming : read 60000, write 30000, copy 40000 MiB/s (2 threads, 143 MB)");
    QCOMPARE(line("Latency"), "Latency   : L1 1.5 ns, L2 3.0 ns, L3 4.5 ns, DRAM 6.0 ns");
    QVERIFY(line("Memory").contains("10.0 %"));
    QCOMPARE(line("Used"), "Used      : 143 MB for the sweep, streaming and latency, one buffer");
    // One line per sweep point, under its heading.
    const qsizetype sweep = text.indexOf(line("Sweep"));
    QCOMPARE(text.value(sweep + 1), "      1 KB L1       6000     5000");
    QCOMPARE(text.value(sweep + 19), "    143 MB DRAM     6000     5000");
    QVERIFY(text.value(sweep + 20).startsWith("Streaming"));
}

void TestInsight::jsonMembers()
{
    FakeInsight fake;
    const QJsonObject json = InsightJson(MeasureInsight(fake.kernels(), logged()));
    QCOMPARE(json.keys(), (QStringList{"allCore", "caches", "clock", "fullTestLevels", "latency",
                                       "memory", "streaming", "sweep", "unreliable", "usedBytes"}));
    QCOMPARE(json["usedBytes"].toInteger(), 143 << 20);
    QVERIFY(json["unreliable"].toObject().isEmpty());
    const QJsonObject allCore = json["allCore"].toObject();
    QCOMPARE(allCore["threads"].toInt(), 2);
    QCOMPARE(allCore["priority"].toString(), "normal");
    QCOMPARE(allCore["cpu"]["score"].toInteger(), 1650);
    QCOMPARE(allCore["cpu"]["ratioToOneThread"].toDouble(), 2.0);
    QCOMPARE(json["clock"]["runs"].toArray().size(), 1);
    QCOMPARE(json["clock"]["allCore"]["effectiveMHz"].toDouble(), 2850.0);
    QCOMPARE(json["caches"].toArray().size(), 4);
    QCOMPARE(json["caches"][3]["bytes"].toInteger(), 36608 * 1024);
    const QJsonArray full = json["fullTestLevels"].toArray();
    QCOMPARE(full.size(), 13);
    QCOMPARE(full[5]["blockBytes"].toInteger(), 32 * 1024);
    QCOMPARE(full[5]["level"].toString(), "L1");
    QCOMPARE(full[12]["level"].toString(), "L3");
    QCOMPARE(json["sweep"][18]["readMiBs"].toInteger(), 6000);
    QCOMPARE(json["streaming"]["copyMiBs"].toInteger(), 40000);
    QCOMPARE(json["latency"][3]["workingSetBytes"].toInteger(), 143 << 20);
    QCOMPARE(json["latency"][3]["nanoseconds"].toDouble(), 6.0);
    // Without a reference count the score is null, not 0.
    LoggedFigures noReference = logged();
    noReference.reference.PIIMultCPU = 0;
    const QJsonObject bare = InsightJson(MeasureInsight(fake.kernels(), noReference));
    QVERIFY(bare["allCore"]["cpu"]["score"].isNull());
}

void TestInsight::reportRunAddsTheContextAfterTheLog()
{
    ReportFixture plain;
    QCOMPARE(plain.run({}), 0);
    FakeInsight fake;
    ReportFixture f;
    f.setup.insight = fake.kernels();
    ReportOptions options;
    options.repeat = 3;
    fake.runClocks = {3000, 3010, 2990};
    QCOMPARE(f.run(options), 0);
    // The log first, exactly as without the context, then the section.
    const QStringList lines = f.outLines();
    const QStringList log = plain.outLines();
    QCOMPARE(lines.mid(0, log.size()), log);
    QCOMPARE(lines.value(log.size()), QString());
    QVERIFY(lines.value(log.size() + 1).startsWith("= In context"));
    QCOMPARE(lines.filter(QRegularExpression("^Clock     : run \\d")).size(), 3);
    QCOMPARE(fake.runChains, 3); // one chain after each run's processor test

    ReportFixture json;
    json.setup.insight = fake.kernels();
    options.json = true;
    QCOMPARE(json.run(options), 0);
    const QJsonObject document = QJsonDocument::fromJson(json.out().toUtf8()).object();
    QCOMPARE(document["insight"]["allCore"]["threads"].toInt(), 2);
    QCOMPARE(document["environment"]["allCorePriority"].toString(), "normal");
}

void TestInsight::reportRunWithoutContext_data()
{
    QTest::addColumn<bool>("context");
    QTest::addColumn<bool>("ini");
    QTest::addColumn<bool>("kernels");
    QTest::newRow("--no-context") << false << false << true;
    QTest::newRow("--ini rows") << true << true << true;
    QTest::newRow("no kernels given") << true << false << false;
}

void TestInsight::reportRunWithoutContext()
{
    QFETCH(bool, context);
    QFETCH(bool, ini);
    QFETCH(bool, kernels);
    FakeInsight fake;
    ReportFixture f;
    if (kernels)
        f.setup.insight = fake.kernels();
    ReportOptions options;
    options.context = context;
    options.ini = ini;
    QCOMPARE(f.run(options), 0);
    QCOMPARE(fake.calls, 0);
    QVERIFY(!f.out().contains("In context"));
    options.ini = false;
    options.json = true;
    QCOMPARE(f.run(options), 0);
    // The JSON has the context exactly when it was asked for and can be measured.
    QCOMPARE(QJsonDocument::fromJson(f.out().toUtf8()).object().contains("insight"),
             context && kernels);
}

void TestInsight::savedLogStaysTheLog()
{
    FakeInsight fake;
    ReportFixture f;
    f.setup.insight = fake.kernels();
    ReportOptions options;
    options.output = f.directory.filePath("log.txt");
    QCOMPARE(f.run(options), 0);
    QFile saved(options.output);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(bytes.endsWith("- All tests completed -------------------\r\n"));
    QVERIFY(!bytes.contains("In context"));
    QVERIFY(f.out().startsWith("\n= In context"));
}

void TestInsight::failedContextIsNotMeasured_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a thread refused")
        << "allCoreCpu"
        << "could not start thread 2 of 2: Resource temporarily unavailable";
    QTest::newRow("no memory") << "memoryContext"
                               << "Not enough memory for the memory sweep";
}

// The section says why it is missing, in the text and the JSON, and the run
// ends as one without it.
void TestInsight::failedContextIsNotMeasured()
{
    QFETCH(QString, failing);
    QFETCH(QString, reason);
    FakeInsight fake;
    InsightKernels kernels = fake.kernels();
    const auto fail = [reason] { throw bench::BenchError(reason.toStdString()); };
    if (failing == "allCoreCpu")
        kernels.allCoreCpu = [fail]() -> bench::AllCoreWindows {
            fail();
            return {};
        };
    else
        kernels.memoryContext =
            [fail](std::uint64_t,
                   const std::vector<std::uint64_t>&) -> bench::MemoryContextFigures {
            fail();
            return {};
        };
    ReportFixture f;
    f.setup.insight = kernels;
    QCOMPARE(f.run({}), 0);
    const QStringList lines = f.outLines();
    const qsizetype header = lines.indexOf(QRegularExpression("= In context.*"));
    QVERIFY(header > 0);
    QCOMPARE(lines.value(header + 2), "Not measured: " + reason);
    QVERIFY(!f.out().contains("All cores"));

    ReportOptions options;
    options.json = true;
    ReportFixture json;
    json.setup.insight = kernels;
    QCOMPARE(json.run(options), 0);
    const QJsonObject document = QJsonDocument::fromJson(json.out().toUtf8()).object();
    // The drives are measured apart: they stand beside the reason.
    QCOMPARE(document["insight"].toObject().keys(), (QStringList{"drives", "notMeasured"}));
    QCOMPARE(document["insight"]["notMeasured"].toString(), reason);
    QVERIFY(document["error"].isNull());
    QVERIFY(document["warnings"].toArray().contains("the figures could not be put in context: " +
                                                    reason));
}

// --anonymous: the drives' context (mount points, scratch folders, the
// reason a drive was skipped) names no home folder and no user.
void TestInsight::anonymousDrivesInContext_data()
{
    QTest::addColumn<bool>("json");
    QTest::newRow("JSON") << true;
    QTest::newRow("log") << false;
}

void TestInsight::anonymousDrivesInContext()
{
    QFETCH(bool, json);
    const QString user = QString::fromStdString(platform::UserName());
    QVERIFY(!user.isEmpty());
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/tester");
    FakeInsight fake;
    fake.failingDrive = "/home/tester/data";
    ReportFixture f;
    f.driveEntries = {"Drive /home/tester/data", "Drive /media/" + user};
    f.setup.insight = fake.kernels();
    ReportOptions options;
    options.json = json;
    options.anonymous = true;
    const int status = f.run(options);
    qputenv("HOME", home);
    QCOMPARE(status, 0);
    QCOMPARE(fake.drivesMeasured, (QStringList{"/home/tester/data", "/media/" + user}));
    const QString out = f.out();
    QVERIFY2(!out.contains("/home/tester") && !out.contains("/media/" + user), qPrintable(out));
    QVERIFY(out.contains("/anonymous/data") && out.contains("/media/anonymous"));
    if (json) {
        const QJsonArray drives =
            QJsonDocument::fromJson(out.toUtf8())["insight"]["drives"].toArray();
        QCOMPARE(drives.size(), 2);
        QCOMPARE(drives[0]["mountPoint"].toString(), "/anonymous/data");
        QCOMPARE(drives[0]["skipped"].toString(),
                 "Unable to read /anonymous/datatemp.$$$: I/O error");
        QCOMPARE(drives[1]["mountPoint"].toString(), "/media/anonymous");
        QCOMPARE(drives[1]["directory"].toString(), "/media/anonymous");
    }
}

// With --repeat the drives are measured in every run, as the disk test is:
// each figure is the median with every run's IOPS beside it, and a figure
// that one run flagged is not given.
void TestInsight::drivesMeasuredInEveryRun()
{
    FakeInsight fake;
    fake.driveIops = {300, 100, 200};
    fake.flaggedSeqReadCall = 1;
    ReportFixture f;
    f.setup.insight = fake.kernels();
    f.driveEntries = {"Drive /"};
    ReportOptions options;
    options.json = true;
    options.repeat = 3;
    QCOMPARE(f.run(options), 0);
    QCOMPARE(fake.drivesMeasured, (QStringList{"/", "/", "/"}));
    const QJsonObject document = QJsonDocument::fromJson(f.out().toUtf8()).object();
    const QJsonObject figures = document["insight"]["drives"][0]["figures"].toObject();
    QCOMPARE(figures["randRead32"]["iops"].toDouble(), 200.0);
    QCOMPARE(figures["randRead32"]["runIops"].toArray(), (QJsonArray{300.0, 100.0, 200.0}));
    QVERIFY(figures["seqRead"]["iops"].isNull());
    QVERIFY(figures["seqRead"]["runIops"].toArray().isEmpty());
    QCOMPARE(document["insight"]["drives"][0]["unreliable"]["seqRead"].toString(),
             "read beyond the link");

    const SavedResult saved = ReadSavedResult(f.out().toUtf8(), "saved.json");
    const SavedFigure* queued = saved.figure("Drive / random read 4 KiB, depth 32");
    QVERIFY(queued != nullptr);
    QCOMPARE(queued->runs, (QList<double>{300, 100, 200}));

    ReportFixture text;
    text.setup.insight = fake.kernels();
    text.driveEntries = {"Drive /"};
    options.json = false;
    QCOMPARE(text.run(options), 0);
    QVERIFY(text.out().contains(", 1.5 s a figure, the median of 3 runs\n"));
}

// Each tested drive in the context's JSON and text; a flagged figure has no
// values, a drive that fails is skipped with the error and the others stand.
void TestInsight::drivesInContext()
{
    FakeInsight fake;
    fake.failingDrive = "/home";
    ReportFixture f;
    f.setup.insight = fake.kernels();
    ReportOptions options;
    options.json = true;
    QCOMPARE(f.run(options), 0);
    QCOMPARE(fake.drivesMeasured, (QStringList{"/", "/home"}));
    const QJsonObject document = QJsonDocument::fromJson(f.out().toUtf8()).object();
    const QJsonArray drives = document["insight"]["drives"].toArray();
    QCOMPARE(drives.size(), 2);
    const QJsonObject root = drives[0].toObject();
    QCOMPARE(root["mountPoint"].toString(), "/");
    QCOMPARE(root["device"]["model"].toString(), "Test Disk");
    QCOMPARE(root["device"]["rotational"].toBool(), true);
    QCOMPARE(root["fallback"].toString(), "io_uring refused");
    QVERIFY(root["cached"].isNull());
    QCOMPARE(root["figures"].toObject().keys().size(), 7);
    const QJsonObject queued = root["figures"]["randRead32"].toObject();
    QCOMPARE(queued["depth"].toInt(), 32);
    QCOMPARE(queued["blockBytes"].toInt(), 4096);
    QCOMPARE(queued["iops"].toDouble(), 100.0);
    QCOMPARE(queued["sliceIops"].toArray().size(), 5);
    QVERIFY(root["figures"]["randRead1"]["iops"].isNull());
    QCOMPARE(root["unreliable"].toObject(), (QJsonObject{{"randRead1", "a cache answered"}}));
    const QJsonObject failed = drives[1].toObject();
    QCOMPARE(failed["skipped"].toString(), "Unable to read /hometemp.$$$: I/O error");
    QVERIFY(!failed.contains("figures"));
    QVERIFY(document["warnings"].toArray().contains(
        "drive / in context: random read 4 KiB, depth 1 not given: a cache answered"));

    ReportFixture text;
    text.setup.insight = fake.kernels();
    QCOMPARE(text.run({}), 0);
    const QStringList lines = text.outLines();
    const qsizetype drive = lines.indexOf("Drive / : sdz (Test Disk), rotational");
    QVERIFY(drive > 0);
    QCOMPARE(lines.value(drive + 5), "  random read 4 KiB, depth 1: not given: a cache answered");
    QVERIFY(lines.contains("  not measured: Unable to read /hometemp.$$$: I/O error"));
}
