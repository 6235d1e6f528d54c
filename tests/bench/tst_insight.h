// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestInsightKernels : public QObject
{
    Q_OBJECT

private slots:
    void clockFromTheChain_data();
    void clockFromTheChain();
    void chainIsDependentAdditions();
    void sweepSizes_data();
    void sweepSizes();
    void streamReadSeesEveryByte_data();
    void streamReadSeesEveryByte();
    void pinnedThreadsRunEachIndexOnce();
    void allCoreRunsOnEveryUsableCpu();
    void memoryContextShape();
    void memoryContextRefusesSizes_data();
    void memoryContextRefusesSizes();
};
