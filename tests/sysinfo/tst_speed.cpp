// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeProcessor.h"
#include "SysInfoTests.h"
#include "platform/Clock.h"

#include <QTest>

#include <vector>

namespace {

// A counter that returns the given readings in turn, a clock that each sleep
// advances (the one-second sleep by `secondSleepMs`, as a sleep that wakes
// late would), and a record of every sleep and reading.
struct ScriptedCounter
{
    explicit ScriptedCounter(std::vector<std::uint64_t> values, double secondSleep = 1000)
        : readings(std::move(values)), secondSleepMs(secondSleep)
    {
    }

    std::vector<std::uint64_t> readings;
    double secondSleepMs;
    double nowMs = 5000;
    std::vector<unsigned> sleeps;
    std::vector<int> order; // 0 = sleep, 1 = counter read, 2 = clock read
    std::size_t next = 0;

    sysinfo::CounterSource Source()
    {
        sysinfo::CounterSource source;
        source.readCounter = [this] {
            order.push_back(1);
            return next < readings.size() ? readings[next++] : 0;
        };
        source.sleep = [this](unsigned ms) {
            order.push_back(0);
            sleeps.push_back(ms);
            nowMs += ms == 1000 ? secondSleepMs : ms;
        };
        source.milliseconds = [this] {
            order.push_back(2);
            return nowMs;
        };
        return source;
    }
};

const FakeProcessor kPentiumIII{586, "GenuineIntel", Signature(6, 7), {}};

} // namespace

void ProcessorSpeedTest::arithmetic_data()
{
    QTest::addColumn<quint64>("t0");
    QTest::addColumn<quint64>("t1");
    QTest::addColumn<double>("sleptMs");
    QTest::addColumn<quint32>("mhz");

    QTest::newRow("733.999999 MHz truncates")
        << quint64(1000) << quint64(1000 + 733999999) << 1000.0 << 733U;
    QTest::newRow("exactly 500 MHz") << quint64(0) << quint64(500000000) << 1000.0 << 500U;
    QTest::newRow("below 1 MHz") << quint64(5) << quint64(999999) << 1000.0 << 0U;
    QTest::newRow("2^32 ticks: 4294 MHz, not 0")
        << quint64(0) << quint64(4294967296) << 1000.0 << 4294U;
    QTest::newRow("5.2 GHz") << quint64(123456789) << quint64(123456789 + 5200000000) << 1000.0
                             << 5200U;
    QTest::newRow("high counter values")
        << quint64(0xFFFFFFFF00000000) << quint64(0xFFFFFFFF00000000 + 3000000000) << 1000.0
        << 3000U;
    QTest::newRow("counter went back") << quint64(2000000000) << quint64(1000) << 1000.0 << 0U;
    // The advance over the time that really passed, not over the nominal second.
    QTest::newRow("sleep woke 100 ms late") << quint64(0) << quint64(2689500000) << 1100.0 << 2445U;
    QTest::newRow("sleep woke 64 ms late")
        << quint64(7) << quint64(7 + 2601480000) << 1064.0 << 2445U;
    QTest::newRow("sleep woke 1.5 ms late") << quint64(0) << quint64(3004500000) << 1001.5 << 3000U;
    QTest::newRow("no time passed") << quint64(0) << quint64(3000000000) << 0.0 << 0U;
}

void ProcessorSpeedTest::arithmetic()
{
    QFETCH(quint64, t0);
    QFETCH(quint64, t1);
    QFETCH(double, sleptMs);
    QFETCH(quint32, mhz);
    ScriptedCounter counter({t0, t1}, sleptMs);
    QCOMPARE(sysinfo::GetProcessorSpeed(kPentiumIII.Source(), counter.Source()), mhz);
}

// The clock's readings enclose the counter's around the one-second sleep.
void ProcessorSpeedTest::sleepsTenThenOneThousandAroundTheCounter()
{
    ScriptedCounter counter({100, 200});
    sysinfo::GetProcessorSpeed(kPentiumIII.Source(), counter.Source());
    QCOMPARE(counter.sleeps, (std::vector<unsigned>{10, 1000}));
    QCOMPARE(counter.order, (std::vector<int>{0, 2, 1, 0, 1, 2}));
}

void ProcessorSpeedTest::noMeasurementBelowFamilyFive()
{
    for (int type : {386, 486, 8664}) {
        ScriptedCounter counter({0, 500000000});
        const FakeProcessor cpu{type, "GenuineIntel", Signature(6, 7), {}};
        QCOMPARE(sysinfo::GetProcessorSpeed(cpu.Source(), counter.Source()), 0U);
        QVERIFY(counter.order.empty());
    }
}

void ProcessorSpeedTest::measuresThisMachine_data()
{
    QTest::addColumn<unsigned>("lateMs");
    QTest::newRow("sleep as asked") << 0U;
    QTest::newRow("sleep wakes 150 ms late") << 150U;
}

void ProcessorSpeedTest::measuresThisMachine()
{
    QFETCH(unsigned, lateMs);
    // The test's own estimate of the counter's rate over 200 ms of the
    // monotonic clock, each clock reading fenced by two counter readings so a
    // preemption in between widens the range instead of skewing it.
    const std::uint64_t beforeStart = platform::ReadTimeStampCounter();
    const double startMs = platform::PreciseMilliseconds();
    const std::uint64_t afterStart = platform::ReadTimeStampCounter();
    platform::SleepMilliseconds(200);
    const std::uint64_t beforeEnd = platform::ReadTimeStampCounter();
    const double endMs = platform::PreciseMilliseconds();
    const std::uint64_t afterEnd = platform::ReadTimeStampCounter();
    const double spanMs = endMs - startMs;
    const double slowestMhz = double(beforeEnd - afterStart) / spanMs / 1000.0;
    const double fastestMhz = double(afterEnd - beforeStart) / spanMs / 1000.0;

    // The real sleep, made to overrun as it does on a busy machine.
    sysinfo::CounterSource counter;
    counter.sleep = [lateMs](unsigned ms) {
        platform::SleepMilliseconds(ms == 1000 ? ms + lateMs : ms);
    };
    const double before = platform::PreciseMilliseconds();
    const std::uint32_t mhz = sysinfo::GetProcessorSpeed({}, counter);
    const double elapsed = platform::PreciseMilliseconds() - before;
    QVERIFY2(elapsed >= 1010.0 + lateMs, qPrintable(QString::number(elapsed)));
    // However long the sleep took, the figure is the counter's rate: the
    // counter's readings lie inside the timed interval, so it cannot read
    // high, and only a preemption between adjacent readings makes it low.
    const double lowest = slowestMhz * 0.98 - 1;
    const double highest = fastestMhz * 1.01 + 1;
    QVERIFY2(
        mhz >= lowest && mhz <= highest,
        qPrintable(QStringLiteral("%1 MHz, expected %2 to %3").arg(mhz).arg(lowest).arg(highest)));
}
