// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_memory.h"

#include "DatabaseFile.h"

#include "bench/BenchError.h"
#include "bench/Kernels.h"
#include "bench/MemoryKernels.h"
#include "bench/MemoryPage.h"
#include "bench/PseudoRandom.h"
#include "bench/TestBuffer.h"
#include "database/ComparisonDatabase.h"
#include "database/DatabaseError.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

using namespace bench;

namespace {

constexpr std::uint32_t kSentinel = 0xA5A5A5A5u;

std::uint32_t wordsOf(std::uint32_t blockSize)
{
    return blockSize / 4;
}

} // namespace

void TestMemoryKernels::writePassesStoreRunningValues_data()
{
    QTest::addColumn<std::uint32_t>("blockSize");
    QTest::addColumn<std::uint32_t>("passes");
    QTest::addColumn<std::uint32_t>("start");

    QTest::newRow("one word, one pass") << 4u << 1u << 1000u;
    QTest::newRow("16 words, 3 passes") << 64u << 3u << 7u;
    QTest::newRow("value wraps at 2^32") << 32u << 5u << 0xFFFFFFF0u;
    QTest::newRow("1 KB over the whole transfer") << 1024u << 20480u << 2'399'999'999u;
}

void TestMemoryKernels::writePassesStoreRunningValues()
{
    QFETCH(std::uint32_t, blockSize);
    QFETCH(std::uint32_t, passes);
    QFETCH(std::uint32_t, start);
    const std::uint32_t words = wordsOf(blockSize);
    std::vector<std::uint32_t> buffer(words + 4, kSentinel);

    const std::uint32_t end = MemoryWritePasses(buffer.data(), blockSize, passes, start);

    // The last pass leaves its values; the value never restarts.
    for (std::uint32_t i = 0; i < words; ++i)
        QCOMPARE(buffer[i], start + (passes - 1) * words + i);
    QCOMPARE(end, start + passes * words);
    QCOMPARE(buffer[words], kSentinel);
}

void TestMemoryKernels::everyBlockSizeMovesTheTransfer_data()
{
    QTest::addColumn<std::uint32_t>("kilobytes");
    QTest::addColumn<std::uint32_t>("passes");
    for (std::uint32_t kilobytes = 1, passes = 20480; kilobytes <= 4096;
         kilobytes *= 2, passes /= 2)
        QTest::addRow("%u KB", kilobytes) << kilobytes << passes;
}

void TestMemoryKernels::everyBlockSizeMovesTheTransfer()
{
    QFETCH(std::uint32_t, kilobytes);
    QFETCH(std::uint32_t, passes);
    const std::uint32_t blockSize = kilobytes * 1024;
    std::vector<std::uint32_t> buffer(wordsOf(blockSize) + 1, kSentinel);

    QCOMPARE(MemoryPassCount(blockSize), passes);
    // One store per word moved: 20 MiB are 5,242,880 words.
    const std::uint32_t stores = MemoryWritePasses(buffer.data(), blockSize, passes, 0);
    QCOMPARE(stores, 5'242'880u);
    QCOMPARE(std::uint64_t{stores} * 4, std::uint64_t{kMemoryTransferBytes});
    // The reads end on the block's last word, the last value stored.
    QCOMPARE(MemoryReadPasses(buffer.data(), blockSize, passes), stores - 1);
    QCOMPARE(buffer.back(), kSentinel);
}

void TestMemoryKernels::writeTestStartsFromPseudoRandom()
{
    const ScopedTestBuffer buffer(4096);
    const std::uint32_t passes = MemoryPassCount(1024);
    const auto startOfLastCall = [&] { return TestBufferAddress()[0] - (passes - 1) * 256; };

    SeedPseudoRandom(20260101);
    const std::uint32_t drawn = PseudoRandom(kWriteStartRange);
    SeedPseudoRandom(20260101);
    MemoryWriteTest(1024);
    QCOMPARE(startOfLastCall(), drawn);
    MemoryWriteTest(1024);
    const std::uint32_t second = startOfLastCall();
    QVERIFY(second != drawn);
    QVERIFY(second < kWriteStartRange);
    // The timed kernel ran over the buffer's first KB only.
    QCOMPARE(TestBufferAddress()[255], second + passes * 256 - 1);
    QCOMPARE(TestBufferAddress()[256], 0u);
}

void TestMemoryKernels::rateFromTheInterval_data()
{
    QTest::addColumn<double>("milliseconds");
    QTest::addColumn<qint64>("rate");
    QTest::addColumn<int>("shown");

    QTest::newRow("40 ms") << 40.0 << qint64(524'288'000) << 500;
    QTest::newRow("no time") << 0.0 << qint64(0) << 0;
    QTest::newRow("clock stepped back") << -1.0 << qint64(0) << 0;
    QTest::newRow("above 2^31 kept whole") << 5.0 << qint64(4'194'304'000) << 4000;
    QTest::newRow("a fraction of a ms counts") << 2.5 << qint64(8'388'608'000) << 8000;
    QTest::newRow("truncated") << 3.0 << qint64(6'990'506'666) << 6666;
    QTest::newRow("2^-10 ms") << 0.0009765625 << qint64(21'474'836'480'000) << 20'480'000;
}

void TestMemoryKernels::rateFromTheInterval()
{
    QFETCH(double, milliseconds);
    QFETCH(qint64, rate);
    QFETCH(int, shown);
    QCOMPARE(MemoryRate(kMemoryTransferBytes, milliseconds), rate);
    QCOMPARE(MebibytesPerSecond(rate), shown);
}

void TestMemoryKernels::transferIsTimedBetweenTwoReadings()
{
    QList<double> readings{1000.25, 1040.25};
    int readsBeforePasses = -1;
    const std::int64_t rate = TimeTransfer([&] { return readings.takeFirst(); }, 4'194'304,
                                           [&] { readsBeforePasses = 2 - int(readings.size()); });
    QCOMPARE(readsBeforePasses, 1);
    QVERIFY(readings.isEmpty());
    QCOMPARE(rate, qint64(524'288'000));
}

void TestMemoryKernels::blocksOutsideTheBufferAreRefused_data()
{
    QTest::addColumn<std::uint32_t>("bufferSize");
    QTest::addColumn<std::uint32_t>("blockSize");
    QTest::newRow("no buffer") << 0u << 1024u;
    QTest::newRow("larger than the buffer") << 4096u << 8192u;
    QTest::newRow("not whole words") << 4096u << 1022u;
    QTest::newRow("empty block") << 4096u << 0u;
    QTest::newRow("larger than the transfer") << 25'165'824u << 25'165'824u;
}

void TestMemoryKernels::blocksOutsideTheBufferAreRefused()
{
    QFETCH(std::uint32_t, bufferSize);
    QFETCH(std::uint32_t, blockSize);
    if (bufferSize > 0)
        AllocTestBuffer(bufferSize);
    QVERIFY_THROWS_EXCEPTION(BenchError, MemoryReadTest(blockSize));
    QVERIFY_THROWS_EXCEPTION(BenchError, MemoryWriteTest(blockSize));
    FreeTestBuffer();
}

void TestMemoryKernels::passesAreTheWrittenInstructions_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QStringList>("body");
    // "loopl @n" loops back to instruction n of the body.
    QTest::newRow("read") << "_ZN5bench16MemoryReadPassesEPKjjj"
                          << QStringList{"push +%rcx",      "mov +\\(%\\w+\\),%rsi",
                                         "mov +%\\w+,%ecx", "rep lods ",
                                         "pop +%rcx",       "loopl @0"};
    QTest::newRow("write") << "_ZN5bench17MemoryWritePassesEPjjjj"
                           << QStringList{"push +%rcx",      "mov +\\(%\\w+\\),%rdi",
                                          "mov +%\\w+,%ecx", "stos +%eax,",
                                          "inc +%eax$",      "loopl @3",
                                          "pop +%rcx",       "loopl @0"};
}

void TestMemoryKernels::passesAreTheWrittenInstructions()
{
#if defined(QUORVIX_X86_KERNELS) && defined(__x86_64__)
    QFETCH(QString, symbol);
    QFETCH(QStringList, body);
    QProcess objdump;
    objdump.start("objdump", {"-d", "--no-show-raw-insn", "--disassemble=" + symbol,
                              QCoreApplication::applicationFilePath()});
    QVERIFY2(objdump.waitForFinished(60000), "objdump (binutils) did not run");
    const QString listing = QString::fromLocal8Bit(objdump.readAllStandardOutput());

    // Address and text of each instruction.
    static const QRegularExpression line("^\\s*([0-9a-f]+):\\s+(.+?)\\s*$",
                                         QRegularExpression::MultilineOption);
    QList<QPair<QString, QString>> code;
    for (auto it = line.globalMatch(listing); it.hasNext();) {
        const auto match = it.next();
        code.append({match.captured(1), match.captured(2)});
    }
    // The body stands as one run of instructions, nothing in between.
    const auto matchesAt = [&](qsizetype first) {
        for (qsizetype k = 0; k < body.size(); ++k) {
            const QStringList parts = body[k].split(" @");
            if (!code[first + k].second.contains(QRegularExpression("^" + parts[0])))
                return false;
            if (parts.size() == 2 &&
                !code[first + k].second.contains(code[first + parts[1].toInt()].first + " <"))
                return false;
        }
        return true;
    };
    bool found = false;
    for (qsizetype first = 0; first + body.size() <= code.size() && !found; ++first)
        found = matchesAt(first);
    QVERIFY2(found, qPrintable(listing));
#else
    QSKIP("the x86-64 instruction blocks only");
#endif
}

namespace {

QTemporaryDir* g_dir = nullptr;

ComparisonDatabase databaseWith(const QByteArray& contents)
{
    return DatabaseWith(*g_dir, contents);
}

// What a fake kernel saw when it was called.
struct KernelCall
{
    QString kernel;
    std::uint32_t blockSize;
    std::size_t bufferSize;

    bool operator==(const KernelCall&) const = default;
};

// Fake kernels giving `rate(kernel, blockSize)` and recording each call.
struct FakeKernels
{
    std::function<std::int64_t(const QString&, std::uint32_t)> rate;
    QList<KernelCall> calls = {};

    std::int64_t run(const QString& kernel, std::uint32_t blockSize)
    {
        calls.append({kernel, blockSize, TestBufferSize()});
        return rate(kernel, blockSize);
    }

    MemoryKernels kernels()
    {
        return {[this](std::uint32_t size) { return run("read", size); },
                [this](std::uint32_t size) { return run("write", size); }};
    }
};

struct Bar
{
    QString caption;
    int value;
    TColor color;
    TColor gradientColor;

    bool operator==(const Bar&) const = default;
};

QList<Bar> barsOf(const TMyChartBars& chart)
{
    QList<Bar> bars;
    for (int i = 0; i < chart.Count; ++i) {
        const TMyChartBar& bar = chart.Items[i];
        bars << Bar{bar.Caption, bar.Value, bar.Color, bar.GradientColor};
    }
    return bars;
}

Bar reference(const QString& key, int value)
{
    return {key, value, kReferenceBar.color, kReferenceBar.gradientColor};
}

const Bar kSpacer{"", 0, kSpacerColor, kNavy};

} // namespace

void TestMemoryPage::init()
{
    g_dir = new QTemporaryDir;
    QVERIFY(g_dir->isValid());
}

void TestMemoryPage::cleanup()
{
    FreeTestBuffer();
    delete g_dir;
    g_dir = nullptr;
}

void TestMemoryPage::comparativeShowsTheMeanBesideTheRows_data()
{
    QTest::addColumn<qint64>("readRate");
    QTest::addColumn<qint64>("writeRate");
    QTest::addColumn<int>("value");

    QTest::newRow("3,000,000 and 1,000,000") << qint64(3'000'000) << qint64(1'000'000) << 1;
    QTest::newRow("500 MiB/s each") << qint64(524'288'000) << qint64(524'288'000) << 500;
    QTest::newRow("truncated mean") << qint64(3'145'727) << qint64(1'048'576) << 1;
    QTest::newRow("sum above 2^31") << qint64(3'221'225'472) << qint64(2'147'483'648) << 2560;
    QTest::newRow("no time measured") << qint64(0) << qint64(0) << 0;
}

void TestMemoryPage::comparativeShowsTheMeanBesideTheRows()
{
    QFETCH(qint64, readRate);
    QFETCH(qint64, writeRate);
    QFETCH(int, value);
    FakeKernels fake{[&](const QString& kernel, std::uint32_t) {
        return kernel == "read" ? readRate : writeRate;
    }};

    QCOMPARE(MeasureComparativeMemory(fake.kernels()), value);

    // Both in the 4 MiB buffer with a 4 MiB block, given back afterwards.
    const QList<KernelCall> calls{{"read", 4'194'304, 4'194'304}, {"write", 4'194'304, 4'194'304}};
    QCOMPARE(fake.calls, calls);
    QCOMPARE(TestBufferAddress(), nullptr);
    const ReferenceRowList rows = ReadReferenceRows(
        databaseWith("[Memory]\nRef A=1200\nRef B= 800\n[Video]\nV=5\n"), MemoryPageRows());
    const QList<Bar> expected{{"Your memory", value, kOwnBar.color, kOwnBar.gradientColor},
                              kSpacer,
                              reference("Ref A", 1200),
                              kSpacer,
                              reference("Ref B", 800)};
    QCOMPARE(barsOf(ComparativeMemoryBars(rows, value)), expected);
}

void TestMemoryPage::fullTestBarsPerBlock_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("gradientBlue");
    const int blues[] = {80, 95, 109, 124, 138, 153, 168, 182, 197, 211, 226, 240, 255};
    const int gradients[] = {31, 37, 42, 48, 54, 60, 65, 71, 77, 82, 88, 94, 100};
    for (int i = 0; i < 13; ++i)
        QTest::addRow("%u Kb", 1u << i) << i << blues[i] << gradients[i];
}

void TestMemoryPage::fullTestBarsPerBlock()
{
    QFETCH(int, index);
    QFETCH(int, blue);
    QFETCH(int, gradientBlue);
    // Rates of (KB + 1000) and (KB + 2000) MiB/s, just short of the next.
    FakeKernels fake{[](const QString& kernel, std::uint32_t blockSize) {
        const std::int64_t mib = blockSize / 1024 + (kernel == "read" ? 1000 : 2000);
        return mib * 1'048'576 + 1'048'575;
    }};
    MemorySweep sweep{{1, 2}}; // an earlier test's pairs go

    MeasureFullMemory(sweep, {}, fake.kernels());

    QCOMPARE(sweep.size(), 13);
    const TMyChartBars bars = FullMemoryBars(sweep);
    QCOMPARE(bars.Count, 26);
    const QList<Bar> pair = barsOf(bars).mid(2 * index, 2);
    const int kilobytes = 1 << index;
    const QList<Bar> expected{
        {QString("%1 Kb read").arg(kilobytes), kilobytes + 1000, MakeColor(255, 0, blue),
         MakeColor(100, 0, gradientBlue)},
        {"write", kilobytes + 2000, MakeColor(0, 255, blue), MakeColor(0, 100, gradientBlue)}};
    QCOMPARE(pair, expected);
}

void TestMemoryPage::fullTestDrawsEachPairAsMeasured()
{
    FakeKernels fake{[](const QString&, std::uint32_t) { return 1; }};
    MemorySweep sweep;
    QList<qsizetype> pairsShown;

    MeasureFullMemory(
        sweep,
        [&] {
            pairsShown << sweep.size();
            QCOMPARE(fake.calls.size(), 2 * sweep.size());
        },
        fake.kernels());

    // Block i in the 4 MiB buffer; each pair handed on as soon as it is measured.
    QList<KernelCall> calls;
    for (int i = 0; i < 13; ++i) {
        const std::uint32_t blockSize = 1024u << i;
        calls.append({"read", blockSize, 4'194'304});
        calls.append({"write", blockSize, 4'194'304});
    }
    QCOMPARE(fake.calls, calls);
    QCOMPARE(pairsShown, (QList<qsizetype>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    QCOMPARE(TestBufferAddress(), nullptr);
}

void TestMemoryPage::failedRefreshReleasesTheBuffer_data()
{
    QTest::addColumn<MemoryMode>("mode");
    QTest::addColumn<QString>("failingKernel");
    QTest::addColumn<int>("pairs");

    QTest::newRow("comparative write fails") << MemoryMode::Comparative << "write" << 0;
    QTest::newRow("full read fails") << MemoryMode::Full << "read" << 0;
    QTest::newRow("full: the third write fails, two pairs kept")
        << MemoryMode::Full << "write 4096" << 2;
}

void TestMemoryPage::failedRefreshReleasesTheBuffer()
{
    QFETCH(MemoryMode, mode);
    QFETCH(QString, failingKernel);
    QFETCH(int, pairs);
    FakeKernels fake{[&](const QString& kernel, std::uint32_t block) -> std::int64_t {
        if (kernel == failingKernel || kernel + " " + QString::number(block) == failingKernel)
            throw BenchError("no memory");
        return 1;
    }};
    MemorySweep sweep;

    try {
        if (mode == MemoryMode::Full)
            MeasureFullMemory(sweep, {}, fake.kernels());
        else
            MeasureComparativeMemory(fake.kernels());
        QFAIL("no error raised");
    } catch (const std::runtime_error& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QString("no memory"));
    }
    QCOMPARE(TestBufferAddress(), nullptr);
    QCOMPARE(TestBufferSize(), std::size_t{0});
    QCOMPARE(sweep.size(), pairs);
}
