// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_kernels.h"

#include "ChildProcess.h"
#include "bench/Kernels.h"
#include "bench/TimedWindow.h"
#include "platform/PublishedTick.h"

#include <QList>
#include <QTest>

#include <cmath>
#include <csignal>
#include <cstdint>
#include <pthread.h>

namespace {

// A tick counter under the test's control: it first returns the scripted
// readings (the wait for the edge), then `now`, which the passes move on.
struct FakeTick
{
    QList<std::uint32_t> script;
    std::uint32_t now = 0;
    int reads = 0;

    std::uint32_t read()
    {
        ++reads;
        return script.isEmpty() ? now : script.takeFirst();
    }
};

std::int32_t runWindow(FakeTick& tick, std::uint32_t millisecondsPerPass)
{
    return bench::CountPassesInWindow([&tick] { return tick.read(); },
                                      [&tick, millisecondsPerPass](std::int32_t& count) {
                                          tick.now += millisecondsPerPass;
                                          ++count;
                                      });
}

// Real time in milliseconds, seen through a tick that steps by `step`; every
// reading takes a microsecond.
struct SteppingClock
{
    double now = 0;
    double step = 1;

    std::uint32_t read()
    {
        now += 0.001;
        return static_cast<std::uint32_t>(std::floor(now / step) * step);
    }
};

} // namespace

void TestTimedWindow::announcedBracketCoversTheWindow_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("millisecondsPerPass");

    for (const double step : {1.0, 4.0, 10.0, 16.0}) {
        const QByteArray name = QByteArray::number(step) + " ms tick";
        // Starting just past an edge waits out nearly a whole step.
        QTest::newRow(name + ", just past an edge") << step << 1000.0 + 0.002 << 0.01;
        QTest::newRow(name + ", just before an edge") << step << 1000.0 + step - 0.002 << 0.01;
        QTest::newRow(name + ", slow passes") << step << 1000.5 << 0.9;
    }
}

void TestTimedWindow::announcedBracketCoversTheWindow()
{
    QFETCH(double, step);
    QFETCH(double, start);
    QFETCH(double, millisecondsPerPass);
    SteppingClock clock{start, step};
    bench::CountPassesInWindow([&clock] { return clock.read(); },
                               [&clock, millisecondsPerPass](std::int32_t& count) {
                                   clock.now += millisecondsPerPass;
                                   ++count;
                               });
    const double held = clock.now - start;
    QVERIFY2(held > 500.0, qPrintable(QString::number(held)));
    QVERIFY2(held <= bench::WindowBracketMs(step), qPrintable(QString::number(held)));
}

void TestTimedWindow::countsPassesOnTheTick_data()
{
    QTest::addColumn<std::uint32_t>("start");
    QTest::addColumn<std::uint32_t>("millisecondsPerPass");
    QTest::addColumn<int>("count");

    // Passes keep running while no more than 500 ms have gone by, and the
    // one that crosses the end counts.
    QTest::newRow("1 ms a pass") << 1005u << 1u << 501;
    QTest::newRow("2 ms a pass") << 1005u << 2u << 251;
    QTest::newRow("3 ms a pass") << 1005u << 3u << 167;
    QTest::newRow("one pass ends exactly at 500") << 1005u << 500u << 2;
    QTest::newRow("one pass outlasts the window") << 1005u << 501u << 1;
    QTest::newRow("a very slow pass") << 1005u << 100000u << 1;
    QTest::newRow("tick wraps inside the window") << 0xFFFFFF00u << 1u << 501;
    QTest::newRow("window starts at the wrap") << 0xFFFFFFFFu << 1u << 501;
}

void TestTimedWindow::countsPassesOnTheTick()
{
    QFETCH(std::uint32_t, start);
    QFETCH(std::uint32_t, millisecondsPerPass);
    QFETCH(int, count);
    // The edge comes at start - 4; the window is timed from the reading after
    // it, which is later still.
    FakeTick tick;
    tick.script = {start - 5, start - 5, start - 5, start - 4, start};
    tick.now = start;

    QCOMPARE(runWindow(tick, millisecondsPerPass), count);
    // One tick reading after every pass, none more.
    QCOMPARE(tick.reads, 5 + count);
}

void TestTimedWindow::noPassBeforeTheEdge()
{
    FakeTick tick;
    tick.script = {77, 77, 77, 77, 77, 77, 78, 78};
    tick.now = 78;
    int scriptLeftAtFirstPass = -1;

    const std::int32_t count = bench::CountPassesInWindow([&tick] { return tick.read(); },
                                                          [&](std::int32_t& passes) {
                                                              if (passes == 0)
                                                                  scriptLeftAtFirstPass =
                                                                      int(tick.script.size());
                                                              tick.now += 250;
                                                              ++passes;
                                                          });

    QCOMPARE(scriptLeftAtFirstPass, 0);
    QCOMPARE(count, 3);
}

void TestTimedWindow::endsWithoutTheTickSignal_data()
{
    QTest::addColumn<bool>("blockedBeforeStart");
    QTest::newRow("mask inherited from the parent") << true;
    QTest::newRow("blocked once the timer runs") << false;
}

// The window on the published tick, in a child whose thread blocks the
// timer's signal. The deadline only detects a hang.
void TestTimedWindow::endsWithoutTheTickSignal()
{
    QFETCH(bool, blockedBeforeStart);
    const ChildResult child = RunInChild([blockedBeforeStart] {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGRTMIN);
        if (blockedBeforeStart)
            pthread_sigmask(SIG_BLOCK, &set, nullptr);
        const platform::PublishedTickCount tick;
        if (!blockedBeforeStart)
            pthread_sigmask(SIG_BLOCK, &set, nullptr);
        const std::int32_t count =
            bench::CountPassesInWindow(tick, [](std::int32_t& passes) { ++passes; });
        return count >= 1 ? 0 : 1;
    });
    QVERIFY2(child.finished, "the window never ended");
    QCOMPARE(child.exitCode, 0);
}

void TestKernels::cpuPassCountsInMemory()
{
    std::int32_t count = 41;
    bench::CpuPass(count);
    bench::CpuPass(count);
    QCOMPARE(count, 43);
}

void TestKernels::fpuPassComputesItsBlock()
{
    bench::FpuOperands operands;
    std::int32_t count = 0;

    for (int pass = 1; pass <= 2; ++pass) {
        bench::FpuPass(operands, count);
        QCOMPARE(count, pass);
        QCOMPARE(operands.x, 1.0f);
        // y becomes sin x, z ends as cos x; t is sqrt(3 x^2) kept in 80 bits.
        QVERIFY(std::fabs(operands.y - static_cast<float>(std::sin(1.0))) < 1e-7f);
        QVERIFY(std::fabs(operands.z - static_cast<float>(std::cos(1.0))) < 1e-7f);
        QVERIFY(operands.t == std::sqrt(3.0L));
    }
}

void TestKernels::fpuPassLeavesTheX87StackEmpty()
{
#if defined(QUORVIX_X86_KERNELS)
    bench::FpuOperands operands;
    std::int32_t count = 0;
    bench::FpuPass(operands, count);
    bench::FpuPass(operands, count);

    // fnstenv: control, status and tag words first; every tag 11 = empty.
    std::uint32_t environment[7] = {};
    asm volatile("fnstenv %0\n\tfldcw %0" : "=m"(environment) : : "memory");
    QCOMPARE(environment[2] & 0xFFFFu, 0xFFFFu);
    QCOMPARE((environment[1] >> 11) & 7u, 0u); // stack top back at 0
#else
    QSKIP("x87 only");
#endif
}

void TestKernels::realCpuTest()
{
    const std::int32_t count = bench::CpuTest();
    // Plausible: a pass (a chain of 51 dependent MULs) takes more than 10 ns
    // and, on anything that runs this program, less than 10 µs.
    QVERIFY2(count >= 50'000 && count <= 50'000'000, qPrintable(QString::number(count)));
}

void TestKernels::realFpuTest()
{
    const std::int32_t count = bench::FpuTest();
    QVERIFY2(count >= 50'000 && count <= 50'000'000, qPrintable(QString::number(count)));
}
