// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_insight.h"

#include "bench/AllCore.h"
#include "bench/BenchError.h"
#include "bench/ClockChain.h"
#include "bench/Kernels.h"
#include "bench/MemoryContext.h"
#include "bench/PinnedThreads.h"
#include "platform/Threads.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <atomic>
#include <cstring>
#include <set>
#include <system_error>
#include <thread>

using namespace bench;

void TestInsightKernels::clockFromTheChain_data()
{
    QTest::addColumn<quint64>("adds");
    QTest::addColumn<double>("milliseconds");
    QTest::addColumn<quint64>("ticks");
    QTest::addColumn<double>("effective");
    QTest::addColumn<double>("counter");
    QTest::newRow("3 GHz both") << quint64(150'000'000) << 50.0 << quint64(150'000'000) << 3000.0
                                << 3000.0;
    QTest::newRow("turbo above the counter")
        << quint64(4'500'000'000) << 1000.0 << quint64(3'000'000'000) << 4500.0 << 3000.0;
    QTest::newRow("power saving") << quint64(80'000'000) << 100.0 << quint64(290'000'000) << 800.0
                                  << 2900.0;
    QTest::newRow("no time") << quint64(1000) << 0.0 << quint64(1000) << 0.0 << 0.0;
}

void TestInsightKernels::clockFromTheChain()
{
    QFETCH(quint64, adds);
    QFETCH(double, milliseconds);
    QFETCH(quint64, ticks);
    QFETCH(double, effective);
    QFETCH(double, counter);
    const ChainTiming timing{adds, milliseconds, ticks, milliseconds};
    QCOMPARE(EffectiveClockMHz(timing), effective);
    QCOMPARE(CounterRateMHz(timing), counter);
}

// One add a cycle holds only when every add waits for the one before: the
// object code must be the adds of one register into another, back to back,
// and nothing else in the round but the counter's step and the branch.
void TestInsightKernels::chainIsDependentAdditions()
{
#if defined(QUORVIX_X86_KERNELS) && defined(__x86_64__)
    QProcess objdump;
    objdump.start("objdump",
                  {"-d", "--no-show-raw-insn", "--disassemble=_ZN5bench18DependentAddRoundsEm",
                   QCoreApplication::applicationFilePath()});
    QVERIFY2(objdump.waitForFinished(60000), "objdump (binutils) did not run");
    const QString listing = QString::fromLocal8Bit(objdump.readAllStandardOutput());
    static const QRegularExpression line("^\\s*([0-9a-f]+):\\s+(.+?)\\s*$",
                                         QRegularExpression::MultilineOption);
    QList<QPair<QString, QString>> code;
    for (auto it = line.globalMatch(listing); it.hasNext();) {
        const auto match = it.next();
        code.append({match.captured(1), match.captured(2)});
    }
    static const QRegularExpression add("^add +%(e\\w\\w|r\\d+d),%(e\\w\\w|r\\d+d)$");
    qsizetype first = 0;
    while (first < code.size() && !add.match(code[first].second).hasMatch())
        ++first;
    QVERIFY2(first + qsizetype(kChainAddsPerRound) + 2 <= code.size(), qPrintable(listing));
    const auto head = add.match(code[first].second);
    QVERIFY(head.captured(1) != head.captured(2)); // a constant into the running sum
    for (qsizetype k = 0; k < qsizetype(kChainAddsPerRound); ++k)
        QCOMPARE(code[first + k].second, code[first].second);
    const qsizetype after = first + qsizetype(kChainAddsPerRound);
    QVERIFY2(code[after].second.startsWith("dec"), qPrintable(code[after].second));
    QVERIFY2(code[after + 1].second.startsWith("jne") &&
                 code[after + 1].second.contains(code[first].first + " <"),
             qPrintable(code[after + 1].second));
#else
    QSKIP("the x86-64 chain only");
#endif
}

void TestInsightKernels::sweepSizes_data()
{
    QTest::addColumn<quint64>("top");
    QTest::addColumn<int>("count");
    QTest::addColumn<quint64>("last");
    QTest::newRow("the full test's sizes") << quint64(4 << 20) << 13 << quint64(4 << 20);
    QTest::newRow("to 128 MB") << quint64(128 << 20) << 18 << quint64(128 << 20);
    QTest::newRow("a top between powers") << quint64(3000) << 3 << quint64(3000);
    QTest::newRow("twice a 36608 KB cache") << quint64(73216 << 10) << 18 << quint64(73216 << 10);
    QTest::newRow("below 1 KB") << quint64(512) << 0 << quint64(0);
}

void TestInsightKernels::sweepSizes()
{
    QFETCH(quint64, top);
    QFETCH(int, count);
    QFETCH(quint64, last);
    const std::vector<std::uint64_t> sizes = SweepSizes(top);
    QCOMPARE(int(sizes.size()), count);
    if (count > 0) {
        QCOMPARE(sizes.front(), 1024u);
        QCOMPARE(sizes.back(), last);
    }
    // Powers of two, then the top, which may lie between two of them.
    for (std::size_t i = 1; i + 1 < sizes.size(); ++i)
        QCOMPARE(sizes[i], sizes[i - 1] * 2);
    if (sizes.size() > 1) {
        QVERIFY(sizes.back() > sizes[sizes.size() - 2]);
        QVERIFY(sizes.back() <= sizes[sizes.size() - 2] * 2);
    }
}

void TestInsightKernels::streamReadSeesEveryByte_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("marked");
    QTest::newRow("first byte") << 4096 << 0;
    QTest::newRow("last byte") << 4096 << 4095;
    QTest::newRow("middle of a short block") << 256 << 131;
    QTest::newRow("nothing marked") << 1024 << -1;
}

// A read that skipped a lane or the tail of the block would miss the mark.
void TestInsightKernels::streamReadSeesEveryByte()
{
    QFETCH(int, bytes);
    QFETCH(int, marked);
    alignas(64) static unsigned char block[4096];
    std::fill(std::begin(block), std::end(block), 0);
    if (marked >= 0)
        block[marked] = 0x80;
    const std::uint64_t seen = StreamRead(block, std::size_t(bytes));
    QCOMPARE(seen != 0, marked >= 0);
    if (marked >= 0)
        QCOMPARE(seen, std::uint64_t{0x80} << (8 * (marked % 8)));
}

void TestInsightKernels::streamFillAndCopyStayInTheirBlock_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("bytes");
    QTest::newRow("one line") << 64 << 64;
    QTest::newRow("odd number of lines") << 128 << 192;
    QTest::newRow("many lines, 32-byte aligned") << 32 << 4096;
}

// Every byte of the block written, none beside it: a kernel that skipped its
// tail or ran past it would show here.
void TestInsightKernels::streamFillAndCopyStayInTheirBlock()
{
    QFETCH(int, offset);
    QFETCH(int, bytes);
    alignas(64) static unsigned char from[8192];
    alignas(64) static unsigned char to[8192];
    for (std::size_t i = 0; i < sizeof from; ++i)
        from[i] = static_cast<unsigned char>(i * 7 + 1);
    std::fill(std::begin(to), std::end(to), 0);
    StreamFill(to + offset, std::size_t(bytes), 0xA5);
    for (int i = 0; i < int(sizeof to); ++i)
        QCOMPARE(int(to[i]), i >= offset && i < offset + bytes ? 0xA5 : 0);
    std::fill(std::begin(to), std::end(to), 0);
    StreamCopy(to + offset, from + offset, std::size_t(bytes));
    for (int i = 0; i < int(sizeof to); ++i)
        QCOMPARE(int(to[i]), i >= offset && i < offset + bytes ? int(from[i]) : 0);
}

void TestInsightKernels::pinnedThreadsRunEachIndexOnce()
{
    const std::vector<int> cpus = platform::UsableCpus();
    std::vector<std::atomic<int>> runs(cpus.size());
    std::atomic<bool> released{false};
    std::atomic<int> early{0};
    const double elapsed = RunPinnedTogether(
        cpus,
        [&](std::size_t i) {
            runs[i].fetch_add(1);
            if (!released.load())
                early.fetch_add(1);
        },
        [&] { released.store(true); });
    for (const auto& count : runs)
        QCOMPARE(count.load(), 1);
    QCOMPARE(early.load(), 0);
    QVERIFY(elapsed >= 0.0);
    QCOMPARE(RunPinnedTogether({}, [](std::size_t) {}), 0.0);
}

// A thread the system refuses must not end the program: the ones already
// started are released without working and joined, and the error says which.
void TestInsightKernels::pinnedThreadsRefusedStart_data()
{
    QTest::addColumn<int>("refused"); // 1-based
    QTest::newRow("the first") << 1;
    QTest::newRow("the second while the first waits") << 2;
    QTest::newRow("the last of three") << 3;
}

void TestInsightKernels::pinnedThreadsRefusedStart()
{
    QFETCH(int, refused);
    const int cpu = platform::UsableCpus().front();
    std::atomic<int> started{0};
    std::atomic<int> ended{0};
    std::atomic<int> worked{0};
    const ThreadStarter start = [&](std::function<void()> body) {
        if (++started == refused)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                    "thread");
        return std::thread([&ended, body = std::move(body)] {
            body();
            ++ended;
        });
    };
    try {
        RunPinnedTogether(
            {cpu, cpu, cpu}, [&](std::size_t) { ++worked; }, {}, {}, start);
        QFAIL("no error for a refused thread");
    } catch (const BenchError& error) {
        QVERIFY2(QString(error.what())
                     .startsWith(QStringLiteral("could not start thread %1 of 3: ").arg(refused)),
                 error.what());
    }
    QCOMPARE(ended.load(), refused - 1); // every thread started was joined
    QCOMPARE(worked.load(), 0);
}

void TestInsightKernels::allCoreRunsOnEveryUsableCpu()
{
    const std::vector<int> cpus = platform::UsableCpus();
    const AllCoreWindows windows = AllCoreCpuTest();
    const std::vector<ThreadWindow>& threads = windows.threads;
    QCOMPARE(threads.size(), cpus.size());
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < threads.size(); ++i) {
        QCOMPARE(threads[i].cpu, cpus[i]);
        QVERIFY(threads[i].passes >= 1); // the pass that crosses the end counts
        QVERIFY(threads[i].milliseconds > 0.0);
        QVERIFY(threads[i].chain.adds > 0);
        QCOMPARE(threads[i].chain.adds % kChainAddsPerRound, 0u);
        sum += threads[i].passes;
    }
    QCOMPARE(TotalPasses(threads), sum);
    // Three rounds of one-all-all-one: six pairs.
    QCOMPARE(windows.ones.size(), 6u);
    QCOMPARE(windows.alls.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        QVERIFY(windows.ones[i].passes >= 1);
        QVERIFY(windows.alls[i].passes >= std::int64_t(cpus.size()));
        QVERIFY(windows.ones[i].cpuMilliseconds > 0.0);
    }
    QCOMPARE(windows.ones.front().cpu, cpus.front());
    QCOMPARE(windows.ones.back().cpu, cpus.back());
    const double share = ProcessorShare(Summed(windows.alls));
    QVERIFY2(share > 0.0 && share <= 1.01, qPrintable(QString::number(share)));
    QVERIFY(ScalingRatio(windows) > 0.0);
}

void TestInsightKernels::scalingRatio_data()
{
    // Each pair: one thread's passes and processor ms, then all threads'.
    QTest::addColumn<int>("threads");
    QTest::addColumn<QList<QList<double>>>("pairs");
    QTest::addColumn<double>("ratio");
    QTest::newRow("two threads as fast as one")
        << 2 << QList<QList<double>>{{1000, 500, 2000, 1000}} << 2.0;
    // One thread alone had a processor half as long as each of two: its
    // passes are fewer, not slower.
    QTest::newRow("one thread crowded out")
        << 2 << QList<QList<double>>{{500, 250, 2000, 1000}} << 2.0;
    QTest::newRow("shared core") << 2 << QList<QList<double>>{{1000, 500, 1200, 1000}} << 1.2;
    QTest::newRow("four threads") << 4 << QList<QList<double>>{{1000, 100, 3600, 400}} << 3.6;
    // Other work only slows a window: the fastest of each kind decide, so a
    // lone thread slowed in one pair does not raise the ratio.
    QTest::newRow("a slowed lone thread") << 2
                                          << QList<QList<double>>{{1000, 500, 2000, 1000},
                                                                  {500, 500, 2000, 1000},
                                                                  {1000, 500, 1900, 1000}}
                                          << 2.0;
    QTest::newRow("slowed threads together")
        << 2 << QList<QList<double>>{{1000, 500, 1500, 1000}, {900, 500, 1800, 1000}} << 1.8;
    QTest::newRow("a window without the single thread")
        << 2 << QList<QList<double>>{{0, 0, 2000, 1000}, {1000, 500, 1800, 1000}} << 2.0;
    QTest::newRow("no single thread at all")
        << 2 << QList<QList<double>>{{0, 0, 2000, 1000}} << 0.0;
    QTest::newRow("no pairs") << 2 << QList<QList<double>>{} << 0.0;
}

void TestInsightKernels::scalingRatio()
{
    QFETCH(int, threads);
    QFETCH(QList<QList<double>>, pairs);
    QFETCH(double, ratio);
    AllCoreWindows windows;
    windows.threads.resize(std::size_t(threads));
    for (const QList<double>& pair : pairs) {
        windows.ones.push_back({0, std::int64_t(pair[0]), {}, 1000.0, pair[1]});
        windows.alls.push_back({0, std::int64_t(pair[2]), {}, 1000.0, pair[3]});
    }
    QCOMPARE(ScalingRatio(windows), ratio);
    const ThreadWindow all = Summed(windows.alls);
    QCOMPARE(ProcessorShare(all),
             pairs.isEmpty() ? 0.0 : all.cpuMilliseconds / 1000.0 / double(pairs.size()));
}

void TestInsightKernels::latencyOrder_data()
{
    QTest::addColumn<QList<QList<double>>>("measured"); // what each measurement gives
    QTest::addColumn<int>("measurements");
    QTest::addColumn<bool>("inOrder");
    QTest::addColumn<double>("lastDram");
    const QList<double> good{1.2, 4.0, 30.0, 90.0};
    const QList<double> l3AboveDram{1.2, 4.0, 95.0, 90.0};
    const QList<double> tie{1.2, 4.0, 4.0, 90.0};
    QTest::newRow("in order the first time") << QList<QList<double>>{good} << 1 << true << 90.0;
    QTest::newRow("out of order, then in order")
        << QList<QList<double>>{l3AboveDram, good} << 2 << true << 90.0;
    QTest::newRow("out of order twice")
        << QList<QList<double>>{l3AboveDram, {1.2, 40.0, 30.0, 91.0}, good} << 2 << false << 91.0;
    QTest::newRow("two levels alike are not in order")
        << QList<QList<double>>{tie, tie} << 2 << false << 90.0;
    QTest::newRow("one level only") << QList<QList<double>>{{80.0}} << 1 << true << 80.0;
}

void TestInsightKernels::latencyOrder()
{
    QFETCH(QList<QList<double>>, measured);
    QFETCH(int, measurements);
    QFETCH(bool, inOrder);
    QFETCH(double, lastDram);
    int calls = 0;
    const OrderedLatency result = MeasureLatencyInOrder([&] {
        std::vector<LatencyPoint> points;
        for (const double ns : measured.value(calls))
            points.push_back({std::uint64_t{1024} << points.size(), ns});
        ++calls;
        return points;
    });
    QCOMPARE(calls, measurements);
    QCOMPARE(result.measurements, measurements);
    QCOMPARE(result.inOrder, inOrder);
    QCOMPARE(LatencyInOrder(result.points), inOrder);
    QCOMPARE(result.points.back().nanoseconds, lastDram);
}

// A chain of several cycles would chase a smaller working set than it names.
void TestInsightKernels::latencyChainIsOneCycle_data()
{
    QTest::addColumn<int>("workingSet");
    QTest::addColumn<int>("lines");
    QTest::newRow("two lines at least") << 64 << 2;
    QTest::newRow("a part line left out") << 4096 + 100 << 65;
    QTest::newRow("256 KB") << 256 * 1024 << 4096;
}

void TestInsightKernels::latencyChainIsOneCycle()
{
    QFETCH(int, workingSet);
    QFETCH(int, lines);
    std::vector<std::byte> memory(std::size_t(lines + 1) * 64 + 64);
    auto* base = reinterpret_cast<std::byte*>(
        (reinterpret_cast<std::uintptr_t>(memory.data()) + 63) / 64 * 64);
    QVERIFY(DependentLoadNanoseconds(base, std::size_t(workingSet)) > 0.0);
    std::set<const void*> seen;
    const void* p = base;
    for (int i = 0; i < lines; ++i) {
        QVERIFY(seen.insert(p).second);
        const auto at = static_cast<const std::byte*>(p);
        QVERIFY(at >= base && at < base + std::ptrdiff_t(lines) * 64);
        QCOMPARE((at - base) % 64, 0);
        std::memcpy(&p, p, sizeof p);
    }
    QCOMPARE(p, static_cast<const void*>(base)); // back at the start after every line
}

void TestInsightKernels::memoryContextShape()
{
    const std::uint64_t top = 1 << 20;
    const MemoryContextFigures figures = MeasureMemoryContext(top, {4096, 65536, 1 << 20});
    QCOMPARE(figures.sweep.size(), SweepSizes(top).size());
    for (std::size_t i = 0; i < figures.sweep.size(); ++i)
        QCOMPARE(figures.sweep[i].blockBytes, SweepSizes(top)[i]);
    QCOMPARE(figures.streaming.threads, int(platform::UsableCpus().size()));
    QCOMPARE(figures.streaming.bufferBytes, top);
    QCOMPARE(figures.bufferBytes, top);
    QCOMPARE(figures.latency.size(), 3u);
    QCOMPARE(figures.latency[1].workingSetBytes, 65536u);
    QVERIFY(figures.latencyMeasurements >= 1 &&
            figures.latencyMeasurements <= kLatencyMeasurements);
    QCOMPARE(figures.latencyInOrder, LatencyInOrder(figures.latency));
}

void TestInsightKernels::memoryContextRefusesSizes_data()
{
    QTest::addColumn<quint64>("top");
    QTest::newRow("below one block") << quint64(512);
    QTest::newRow("beyond 32-bit blocks") << quint64(4ull << 30);
    QTest::newRow("not whole words") << quint64(4097);
}

void TestInsightKernels::memoryContextRefusesSizes()
{
    QFETCH(quint64, top);
    QVERIFY_THROWS_EXCEPTION(BenchError, MeasureMemoryContext(top, {}));
}
