// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

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
    void drivesInContext();
    void drivesMeasuredInEveryRun();
    void anonymousDrivesInContext_data();
    void anonymousDrivesInContext();
};

class TestHeadlessView : public QObject
{
    Q_OBJECT

private slots:
    void runCountsWhatItCan();
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
    void unusableDatabase_data();
    void unusableDatabase();
    void anonymiser_data();
    void anonymiser();
    void anonymousResultKeepsOtherPaths();
    void anonymousReport_data();
    void anonymousReport();
    void shippedRows_data();
    void shippedRows();
};

class TestKeptResults : public QObject
{
    Q_OBJECT

private slots:
    void latestResults_data();
    void latestResults();
    void keptFileReadsAsSaved();
    void history();
    void verdictsAsCompare_data();
    void verdictsAsCompare();
    void contextRows_data();
    void contextRows();
    void contextWithoutMemoryFigure();
};
