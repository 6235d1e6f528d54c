// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestResultsLog : public QObject
{
    Q_OBJECT

private slots:
    void unsignedText_data();
    void unsignedText();
    void wholeLog_data();
    void wholeLog();
    void headingWidths();
    void driveLineKeepsPercentSigns();
};

class TestFullRun : public QObject
{
    Q_OBJECT

private slots:
    void stepOrder_data();
    void stepOrder();
    void secondRunReplacesTheLog();
    void errorEndsTheRunWhereItIs_data();
    void errorEndsTheRunWhereItIs();
    void sessionState();
    void chartAtEachStep_data();
    void chartAtEachStep();
    void fullMemoryTestPairByPair();
    void rejectedRowSendsNoChart();
    void drivesKeyedByMountPoint();
};

class TestSaveLog : public QObject
{
    Q_OBJECT

private slots:
    void fileBytes_data();
    void fileBytes();
    void replacesWholeFile();
    void followsSymbolicLink();
    void unwritableTargets_data();
    void unwritableTargets();
    void failedWriteKeepsTheOldFile();
    void shortWriteKeepsTheOldLog_data();
    void shortWriteKeepsTheOldLog();
    void killedSaveLeavesNoTemporary();
    void keepsBytesOfTheName();
    void deviceIsWrittenInPlace();
};
