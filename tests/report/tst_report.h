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

class TestAllTests : public QObject
{
    Q_OBJECT

private slots:
    void stepOrder_data();
    void stepOrder();
    void secondRunReplacesTheLog();
    void errorEndsTheRunWhereItIs_data();
    void errorEndsTheRunWhereItIs();
    void composedLogEqualsTheRunsLog();
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
    void deviceIsWrittenInPlace();
};
