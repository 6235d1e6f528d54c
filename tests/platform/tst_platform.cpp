// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"
#include "ProbeTests.h"
#include "TestMain.h"
#include "platform/Clock.h"
#include "platform/Cpu.h"
#include "platform/Priority.h"
#include "platform/PublishedTick.h"

#include <csignal>

#include <QObject>
#include <QTest>

#include <pthread.h>
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

    void tickCountAdvancesWithTheSleep()
    {
        const std::uint32_t tick0 = platform::TickCount();
        platform::SleepMilliseconds(50);
        const std::uint32_t tickElapsed = platform::TickCount() - tick0;
        // A sleep never ends early; how late it ends depends on the host's
        // load, so only the lower bound is checked. The coarse tick may lag
        // by one jiffy (up to 10 ms) at each end.
        QVERIFY2(tickElapsed >= 40 && tickElapsed < 0x80000000U,
                 qPrintable(QString::number(tickElapsed)));
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

    void leavesTheSignalAsItWas_data()
    {
        QTest::addColumn<QString>("disposition");
        QTest::addColumn<bool>("blocked");
        QTest::newRow("default, as programs started later inherit it") << "default" << false;
        QTest::newRow("default, blocked by the parent") << "default" << true;
        QTest::newRow("ignored") << "ignored" << false;
        QTest::newRow("a handler of the program's own") << "handler" << true;
    }

    // In a child: the disposition and the mask are the process's own. The
    // tick must move under each, and afterwards both are as they were; no
    // late signal of the timer arrives (by default it would end the child).
    void leavesTheSignalAsItWas()
    {
        QFETCH(QString, disposition);
        QFETCH(bool, blocked);
        const ChildResult child = RunInChild([&] {
            struct sigaction before
            {
            };
            before.sa_handler = disposition == "default"   ? SIG_DFL
                                : disposition == "ignored" ? SIG_IGN
                                                           : ownHandler;
            sigaction(SIGRTMIN, &before, nullptr);
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGRTMIN);
            pthread_sigmask(blocked ? SIG_BLOCK : SIG_UNBLOCK, &set, nullptr);
            {
                const platform::PublishedTickCount tick;
                const std::uint32_t first = tick();
                const double start = platform::PreciseMilliseconds();
                while (tick() == first && platform::PreciseMilliseconds() - start < 10000.0) {
                }
                if (!tick.published())
                    return 1; // the signal did not arrive
            }
            platform::SleepMilliseconds(20);
            struct sigaction after
            {
            };
            sigaction(SIGRTMIN, nullptr, &after);
            sigset_t mask;
            pthread_sigmask(SIG_BLOCK, nullptr, &mask);
            if (after.sa_handler != before.sa_handler)
                return 2;
            return (sigismember(&mask, SIGRTMIN) == 1) == blocked ? 0 : 3;
        });
        QVERIFY(child.finished);
        QCOMPARE(child.exitCode, 0);
    }

    // The signal blocked after the start: the value stops, and reads turn to
    // the clock once it lags by more than 50 ms.
    void fallsBackToTheClockWithoutTheSignal()
    {
        const ChildResult child = RunInChild([] {
            const platform::PublishedTickCount tick;
            if (!tick.published())
                return 1;
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGRTMIN);
            pthread_sigmask(SIG_BLOCK, &set, nullptr);
            const double start = platform::PreciseMilliseconds();
            while (tick.published() && platform::PreciseMilliseconds() - start < 10000.0)
                tick();
            if (tick.published())
                return 2;
            const std::uint32_t before = platform::TickCount();
            const std::uint32_t read = tick();
            return read - before <= platform::TickCount() - before ? 0 : 3;
        });
        QVERIFY(child.finished);
        QCOMPARE(child.exitCode, 0);
    }

private:
    static void ownHandler(int) {}
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
            // ...and the bracket says which, as the report's environment shows it.
            errno = 0;
            const int nice = getpriority(PRIO_PROCESS, 0);
            const auto expected = policy == SCHED_FIFO ? platform::ObtainedPriority::RealTime
                                  : nice == -20        ? platform::ObtainedPriority::Nice
                                                       : platform::ObtainedPriority::Neither;
            QCOMPARE(platform::LastObtainedPriority(), expected);
        }
        QCOMPARE(sched_getscheduler(0), SCHED_OTHER);
        errno = 0;
        QCOMPARE(getpriority(PRIO_PROCESS, 0), 0);
    }

    void realTimeLimit_data()
    {
        QTest::addColumn<qint64>("limitUs"); // -1: no limit
        QTest::addColumn<bool>("limited");
        QTest::newRow("no limit") << qint64(-1) << false;
        QTest::newRow("far above the bracket") << qint64(10'000'000) << false;
        QTest::newRow("shorter than the bracket") << qint64(100'000) << true;
        QTest::newRow("just above the bracket") << qint64(600'000) << true;
    }

    // A real-time CPU-time limit shorter than the bracket would end the
    // program with SIGXCPU: the bracket stays below the real-time class and
    // says why. The child keeps the processor busy for 300 ms of its own
    // CPU time inside the bracket.
    void realTimeLimit()
    {
        QFETCH(qint64, limitUs);
        QFETCH(bool, limited);
        const ChildResult child = RunInChild([&] {
            const rlimit limit{limitUs < 0 ? RLIM_INFINITY : rlim_t(limitUs), RLIM_INFINITY};
            if (setrlimit(RLIMIT_RTTIME, &limit) != 0)
                return kChildCannotSetUp;
            const platform::TimeCriticalBracket bracket(550);
            if (platform::LastRealTimeLimited() != limited)
                return 1;
            if (limited && sched_getscheduler(0) == SCHED_FIFO)
                return 2;
            if (!limited && sched_getscheduler(0) != SCHED_FIFO)
                return kChildCannotSetUp; // real-time not permitted here at all
            timespec used{};
            do
                clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
            while (used.tv_sec * 1000 + used.tv_nsec / 1'000'000 < 300);
            return 0;
        });
        QVERIFY(child.finished);
        QCOMPARE(child.signal, 0);
        if (child.exitCode == kChildCannotSetUp)
            QSKIP("the real-time class is not permitted here");
        QCOMPARE(child.exitCode, 0);
    }

    void budgetWait_data()
    {
        QTest::addColumn<double>("lastBusyMs");
        QTest::addColumn<double>("sinceLastMs");
        QTest::addColumn<double>("nextMs");
        QTest::addColumn<double>("waitMs");
        // Two processor windows back to back need the period less the budget
        // between them, however long each is.
        QTest::newRow("kernel window, at once") << 510.0 << 0.0 << 550.0 << 50.0;
        QTest::newRow("kernel window, partly waited") << 510.0 << 20.0 << 509.0 << 30.0;
        QTest::newRow("kernel window, waited long enough") << 510.0 << 50.0 << 509.0 << 0.0;
        QTest::newRow("kernel window, long ago") << 510.0 << 200.0 << 550.0 << 0.0;
        QTest::newRow("clock measurement mostly slept") << 3.0 << 0.0 << 550.0 << 0.0;
        QTest::newRow("just within the budget") << 400.0 << 0.0 << 550.0 << 0.0;
        QTest::newRow("a little over the budget") << 420.0 << 0.0 << 550.0 << 20.0;
        QTest::newRow("clock went backwards") << 510.0 << -5.0 << 550.0 << 0.0;
        QTest::newRow("a short bracket fits at once") << 510.0 << 0.0 << 200.0 << 0.0;
        QTest::newRow("a short one after a long busy one") << 900.0 << 0.0 << 200.0 << 50.0;
    }

    void budgetWait()
    {
        QFETCH(double, lastBusyMs);
        QFETCH(double, sinceLastMs);
        QFETCH(double, nextMs);
        QFETCH(double, waitMs);
        QCOMPARE(platform::RealTimeBudgetWaitMs(lastBusyMs, sinceLastMs, nextMs), waitMs);
    }

    void freshProcessors_data()
    {
        QTest::addColumn<std::vector<int>>("allowed");
        QTest::addColumn<int>("lastCpu");
        QTest::addColumn<std::vector<int>>("fresh");
        QTest::newRow("two processors") << std::vector{0, 1} << 0 << std::vector{1};
        QTest::newRow("the other way") << std::vector{0, 1} << 1 << std::vector{0};
        QTest::newRow("four") << std::vector{0, 1, 2, 3} << 2 << std::vector{0, 1, 3};
        QTest::newRow("only the used one") << std::vector{3} << 3 << std::vector<int>{};
        QTest::newRow("last one not allowed now") << std::vector{0, 1} << 5 << std::vector{0, 1};
        QTest::newRow("last one unknown") << std::vector{0, 1} << -1 << std::vector<int>{};
    }

    void freshProcessors()
    {
        QFETCH(std::vector<int>, allowed);
        QFETCH(int, lastCpu);
        QFETCH(std::vector<int>, fresh);
        QCOMPARE(platform::CpusWithFreshBudget(allowed, lastCpu), fresh);
    }

    // However the bracket placed the thread, it leaves it where it may run.
    void bracketLeavesTheProcessorsAsTheyWere()
    {
        cpu_set_t before;
        QCOMPARE(sched_getaffinity(0, sizeof before, &before), 0);
        for (int i = 0; i < 2; ++i) {
            const platform::TimeCriticalBracket bracket(940.0);
            const double start = platform::PreciseMilliseconds();
            while (platform::PreciseMilliseconds() - start < 30) {
            }
        }
        cpu_set_t after;
        QCOMPARE(sched_getaffinity(0, sizeof after, &after), 0);
        QVERIFY(CPU_EQUAL(&before, &after));
    }
};

QUORVIX_TEST_MAIN(ClockTest, PublishedTickTest, CpuInstructionsTest, PriorityTest, FilesTest,
                  MemoryTest, IdentityTest, DrivesTest, DiskDirectoryTest, EdidTest, InputTest,
                  DevicesTest, XFillTest, CachesTest, BlockDeviceTest)

#include "tst_platform.moc"
