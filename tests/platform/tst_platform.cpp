#include "ProbeTests.h"
#include "TestMain.h"
#include "platform/Clock.h"
#include "platform/Cpu.h"
#include "platform/Priority.h"
#include "platform/PublishedTick.h"

#include <csignal>

#include <QObject>
#include <QTest>

#include <sched.h>
#include <sys/resource.h>

class ClockTest : public QObject
{
    Q_OBJECT
private slots:
    void sleepWaitsAtLeastTheTime()
    {
        const double start = platform::PreciseMilliseconds();
        platform::SleepMilliseconds(20);
        QVERIFY(platform::PreciseMilliseconds() - start >= 20.0);
    }

    void tickCountersAgreeWithPreciseClock()
    {
        const std::uint32_t tick0 = platform::TickCount();
        const std::uint32_t mm0 = platform::TimeGetTime();
        platform::SleepMilliseconds(50);
        const std::uint32_t tickElapsed = platform::TickCount() - tick0;
        const std::uint32_t mmElapsed = platform::TimeGetTime() - mm0;
        // A sleep never ends early; how late it ends depends on the host's
        // load, so only the lower bounds are checked. The coarse tick may lag
        // by one jiffy (up to 10 ms) at each end.
        QVERIFY2(tickElapsed >= 40 && tickElapsed < 0x80000000U,
                 qPrintable(QString::number(tickElapsed)));
        QVERIFY2(mmElapsed >= 49 && mmElapsed < 0x80000000U,
                 qPrintable(QString::number(mmElapsed)));
    }
};

class PublishedTickTest : public QObject
{
    Q_OBJECT
private slots:
    void followsTheTickCount()
    {
        const platform::PublishedTickCount tick;
        QVERIFY(tick.published());
        const std::uint32_t first = tick();
        // Spin: the value must move while the thread never leaves the loop.
        // How soon depends on the host's load, so the bound is generous and
        // only ends the wait.
        const double start = platform::PreciseMilliseconds();
        while (tick() == first && platform::PreciseMilliseconds() - start < 10000.0) {
        }
        QVERIFY(tick() != first);
        // The published value is the clock as read at some earlier signal:
        // never ahead of it.
        const std::uint32_t published = tick();
        QVERIFY(static_cast<std::int32_t>(platform::TickCount() - published) >= 0);
    }

    void aSecondOneReadsTheClock()
    {
        const platform::PublishedTickCount first;
        const platform::PublishedTickCount second;
        QVERIFY(first.published());
        QVERIFY(!second.published());
        const std::uint32_t before = platform::TickCount();
        const std::uint32_t read = second();
        QVERIFY(read - before <= platform::TickCount() - before);
    }

    void aLateSignalDoesNotEndTheProcess()
    {
        {
            const platform::PublishedTickCount tick;
        }
        QCOMPARE(raise(SIGRTMIN), 0);
        const platform::PublishedTickCount again;
        QVERIFY(again.published());
    }
};

class CpuInstructionsTest : public QObject
{
    Q_OBJECT
private slots:
    void vendorIsTwelvePrintableCharacters()
    {
        const auto leaf0 = platform::Cpuid(0);
        const char* parts[] = {reinterpret_cast<const char*>(&leaf0.ebx),
                               reinterpret_cast<const char*>(&leaf0.edx),
                               reinterpret_cast<const char*>(&leaf0.ecx)};
        for (const char* part : parts)
            for (int i = 0; i < 4; ++i)
                QVERIFY(part[i] >= 0x20 && part[i] < 0x7f);
        QVERIFY(leaf0.eax >= 1); // leaf 1 exists on every x86-64 processor
    }

    void timeStampCounterAdvances()
    {
        const auto t0 = platform::ReadTimeStampCounter();
        platform::SleepMilliseconds(5);
        QVERIFY(platform::ReadTimeStampCounter() > t0);
    }

    void everyX86_64ProcessorIsOfThePentiumClass() { QCOMPARE(platform::ProcessorType(), 586); }
};

class PriorityTest : public QObject
{
    Q_OBJECT
private slots:
    void bracketAlwaysEndsAtNormalPriority()
    {
        {
            platform::TimeCriticalBracket bracket;
            // Either real-time was granted, or the nice fallback ran, or
            // neither was permitted; all three are allowed.
            const int policy = sched_getscheduler(0);
            QVERIFY(policy == SCHED_FIFO || policy == SCHED_OTHER);
        }
        QCOMPARE(sched_getscheduler(0), SCHED_OTHER);
        errno = 0;
        QCOMPARE(getpriority(PRIO_PROCESS, 0), 0);
    }

    void budgetWait_data()
    {
        QTest::addColumn<double>("lastBusyMs");
        QTest::addColumn<double>("sinceLastMs");
        QTest::addColumn<double>("waitMs");
        QTest::newRow("kernel window, at once") << 510.0 << 0.0 << 110.0;
        QTest::newRow("kernel window, partly waited") << 510.0 << 60.0 << 50.0;
        QTest::newRow("kernel window, long ago") << 510.0 << 200.0 << 0.0;
        QTest::newRow("clock measurement mostly slept") << 3.0 << 0.0 << 0.0;
        QTest::newRow("just within the budget") << 400.0 << 0.0 << 0.0;
        QTest::newRow("clock went backwards") << 510.0 << -5.0 << 0.0;
    }

    void budgetWait()
    {
        QFETCH(double, lastBusyMs);
        QFETCH(double, sinceLastMs);
        QFETCH(double, waitMs);
        QCOMPARE(platform::RealTimeBudgetWaitMs(lastBusyMs, sinceLastMs), waitMs);
    }
};

QUORVIX_TEST_MAIN(ClockTest, PublishedTickTest, CpuInstructionsTest, PriorityTest, FilesTest,
                  MemoryTest, IdentityTest, DrivesTest, EdidTest, InputTest, DevicesTest, XFillTest)

#include "tst_platform.moc"
