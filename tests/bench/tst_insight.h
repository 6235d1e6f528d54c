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
    void streamFillAndCopyStayInTheirBlock_data();
    void streamFillAndCopyStayInTheirBlock();
    void pinnedThreadsRunEachIndexOnce();
    void pinnedThreadsRefusedStart_data();
    void pinnedThreadsRefusedStart();
    void allCoreRunsOnEveryUsableCpu();
    void scalingRatio_data();
    void scalingRatio();
    void latencyOrder_data();
    void latencyOrder();
    void latencyChainIsOneCycle_data();
    void latencyChainIsOneCycle();
    void memoryContextShape();
    void memoryContextRefusesSizes_data();
    void memoryContextRefusesSizes();
};
