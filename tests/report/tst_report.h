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
    void headlessRunCountsWhatItCan();
    void sessionState();
    void chartAtEachStep_data();
    void chartAtEachStep();
    void fullMemoryTestPairByPair();
    void rejectedRowSendsNoChart();
    void drivesKeyedByMountPoint();
};

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void summarise_data();
    void summarise();
    void medianOfEveryFigure();
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

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void answers_data();
    void answers();
    void compareLine_data();
    void compareLine();
    void addReferenceLine_data();
    void addReferenceLine();
    void qtOptions_data();
    void qtOptions();
    void testsOption_data();
    void testsOption();
    void testTable();
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
    void backingStoreVideoIsMarked_data();
    void backingStoreVideoIsMarked();
    void chosenTestsAndDrives();
    void withoutDrivesSaysWhy();
    void driveOutsideTheDrives_data();
    void driveOutsideTheDrives();
    void withoutDatabaseGivesPassCounts();
    void unreadableDatabaseSaysWhy_data();
    void unreadableDatabaseSaysWhy();
    void failedRunStillPrintsJson();
    void outputIsSavedWithCrLf();
    void unwritableOutputGivesStatus1();
    void oversizedDatabaseGivesStatus1_data();
    void oversizedDatabaseGivesStatus1();
    void warnings_data();
    void warnings();
    void progressOnlyForTerminalOrVerbose_data();
    void progressOnlyForTerminalOrVerbose();
    void driveOfAnyName();
    void errorDocumentsHaveEveryMember_data();
    void errorDocumentsHaveEveryMember();
};

class TestComparison : public QObject
{
    Q_OBJECT

private slots:
    void noiseTest_data();
    void noiseTest();
    void verdicts_data();
    void verdicts();
    void warnings_data();
    void warnings();
    void reading_data();
    void reading();
    void outOfRange_data();
    void outOfRange();
    void videoMethods_data();
    void videoMethods();
    void distinctNames_data();
    void distinctNames();
    void namesInTheTable_data();
    void namesInTheTable();
};

class TestCompareCommand : public QObject
{
    Q_OBJECT

private slots:
    void resultsDirectory_data();
    void resultsDirectory();
    void savedNamesSortByTime();
    void concurrentSavesKeepEveryResult();
    void saveNeverReplaces_data();
    void saveNeverReplaces();
    void resultsDirectoryKeepsEveryByte();
    void reportSavesItsJson();
    void compare_data();
    void compare();
};

class TestInsight : public QObject
{
    Q_OBJECT

private slots:
    void allCoreFigures_data();
    void allCoreFigures();
    void scalingBeyondTheThreadsIsFlagged_data();
    void scalingBeyondTheThreadsIsFlagged();
    void clockWarnings_data();
    void clockWarnings();
    void levelsOfTheFixtureMachines_data();
    void levelsOfTheFixtureMachines();
    void latencyWorkingSets_data();
    void latencyWorkingSets();
    void memoryMeasuredPastTheLastLevel();
    void latencyOutOfOrderIsNoMeasurement();
    void textSection();
    void jsonMembers();
    void reportRunAddsTheContextAfterTheLog();
    void reportRunWithoutContext_data();
    void reportRunWithoutContext();
    void savedLogStaysTheLog();
    void failedContextIsNotMeasured_data();
    void failedContextIsNotMeasured();
};

class TestAddReference : public QObject
{
    Q_OBJECT

private slots:
    void files_data();
    void files();
    void merge_data();
    void merge();
    void allOrNothing();
    void anonymiser_data();
    void anonymiser();
    void anonymousResultKeepsOtherPaths();
    void anonymousReport_data();
    void anonymousReport();
    void shippedRows_data();
    void shippedRows();
};
