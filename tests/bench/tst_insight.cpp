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
#include <set>

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
    QTest::newRow("a top between powers") << quint64(3000) << 2 << quint64(2048);
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
    for (std::size_t i = 1; i < sizes.size(); ++i)
        QCOMPARE(sizes[i], sizes[i - 1] * 2);
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

void TestInsightKernels::allCoreRunsOnEveryUsableCpu()
{
    const std::vector<int> cpus = platform::UsableCpus();
    const std::vector<ThreadWindow> threads = AllCoreCpuTest();
    QCOMPARE(threads.size(), cpus.size());
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < threads.size(); ++i) {
        QCOMPARE(threads[i].cpu, cpus[i]);
        QVERIFY(threads[i].passes >= 1); // the pass that crosses the end counts
        QVERIFY(threads[i].chain.adds > 0);
        QCOMPARE(threads[i].chain.adds % kChainAddsPerRound, 0u);
        sum += threads[i].passes;
    }
    QCOMPARE(TotalPasses(threads), sum);
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
    QCOMPARE(figures.latency.size(), 3u);
    QCOMPARE(figures.latency[1].workingSetBytes, 65536u);
}

void TestInsightKernels::memoryContextRefusesSizes_data()
{
    QTest::addColumn<quint64>("top");
    QTest::newRow("below one block") << quint64(512);
    QTest::newRow("beyond 32-bit blocks") << quint64(4ull << 30);
}

void TestInsightKernels::memoryContextRefusesSizes()
{
    QFETCH(quint64, top);
    QVERIFY_THROWS_EXCEPTION(BenchError, MeasureMemoryContext(top, {}));
}
