// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestMemoryKernels : public QObject
{
    Q_OBJECT

private slots:
    void writePassesStoreRunningValues_data();
    void writePassesStoreRunningValues();
    void everyBlockSizeMovesTheTransfer_data();
    void everyBlockSizeMovesTheTransfer();
    void writeTestStartsFromPseudoRandom();
    void rateFromTheInterval_data();
    void rateFromTheInterval();
    void transferIsTimedBetweenTwoReadings();
    void blocksOutsideTheBufferAreRefused_data();
    void blocksOutsideTheBufferAreRefused();
    void passesAreTheWrittenInstructions_data();
    void passesAreTheWrittenInstructions();
};

class TestMemoryPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void comparativeShowsTheMeanBesideTheRows_data();
    void comparativeShowsTheMeanBesideTheRows();
    void fullTestBarsPerBlock_data();
    void fullTestBarsPerBlock();
    void fullTestDrawsEachPairAsMeasured();
    void failedRefreshReleasesTheBuffer_data();
    void failedRefreshReleasesTheBuffer();
};
