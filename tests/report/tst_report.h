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

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void answers_data();
    void answers();
};

class TestReportRun : public QObject
{
    Q_OBJECT

private slots:
    void textLogAsTheWindowWritesIt();
    void repeatedRunsInJson();
    void repeatedRunsLogTheMedian();
    void iniRowsReadBack_data();
    void iniRowsReadBack();
    void failedTestGivesStatus1AndThePartialLog();
    void skippedVideoSaysWhy();
    void chosenTestsAndDrives();
    void withoutDatabaseGivesPassCounts();
    void failedRunStillPrintsJson();
    void outputIsSavedWithCrLf();
    void unwritableOutputGivesStatus1();
    void warnings_data();
    void warnings();
    void progressOnlyForTerminalOrVerbose_data();
    void progressOnlyForTerminalOrVerbose();
};
