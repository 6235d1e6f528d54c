// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestTimedWindow : public QObject
{
    Q_OBJECT

private slots:
    void countsPassesOnTheTick_data();
    void countsPassesOnTheTick();
    void noPassBeforeTheEdge();
    void announcedBracketCoversTheWindow_data();
    void announcedBracketCoversTheWindow();
    void endsWithoutTheTickSignal_data();
    void endsWithoutTheTickSignal();
};

class TestKernels : public QObject
{
    Q_OBJECT

private slots:
    void cpuPassCountsInMemory();
    void fpuPassComputesItsBlock();
    void fpuPassLeavesTheX87StackEmpty();
    void realCpuTest();
    void realFpuTest();
};
