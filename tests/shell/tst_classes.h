// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestErrorReport : public QObject
{
    Q_OBJECT
private slots:
    void fullStopRule_data();
    void fullStopRule();
    void guardedCommandShowsBox();
    void errorBoxLook();
    void escapedEventErrorShowsBox();
};

class TestJpeg : public QObject
{
    Q_OBJECT
private slots:
    void decodesColours();
    void decodesGreyAsRgb();
    void corruptDataRaises_data();
    void corruptDataRaises();
    void missingFileRaises();
    void shippedPictureSizes_data();
    void shippedPictureSizes();
};

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startUpState();
    void databaseBesideExecutable();
    void readyAfterActivation();
    void reactivationRefillsFields();
    void scalingValuesReadAtActivation();
    void layout_data();
    void layout();
    void icons_data();
    void icons();
    void toolBar_data();
    void toolBar();
    void menu_data();
    void menu();
    void firstVisitRunsRefresh_data();
    void firstVisitRunsRefresh();
    void chartWithBarsIsNotRefreshed();
    void commandsDoNotRaisePageChange_data();
    void commandsDoNotRaisePageChange();
    void shortcutsReachHandlers_data();
    void shortcutsReachHandlers();
    void enterPressesPageDefault_data();
    void enterPressesPageDefault();
    void driveListChangeRunsDiskTest();
    void aboutBoxReactivates();
    void editorReactivates();
    void helpAndWebSite();
    void helpWithoutDesktop_data();
    void helpWithoutDesktop();
    void overviewErrorShowsBox();
    void failedFirstActivationShowsPages();
    void exitClosesAndReleases();
    void fontsColoursAndLabelsOfThePages();
    void fallbackFontsFitTheCaptions();
    void overviewFieldsTakeTabAndCopy();
};

class TestWindows : public QObject
{
    Q_OBJECT
private slots:
    void createdHiddenExceptMain();
    void everyWindowHasTheApplicationIcon();
    void othersAreMadeAfterTheSplashBeforeTheProbes();
    void commandsBeforeThePagesDoNothing();
    void surfaceHidesOnAnyButton_data();
    void surfaceHidesOnAnyButton();
    void aboutBoxContent();
    void aboutOkAndCloseBox_data();
    void aboutOkAndCloseBox();
    void saveDialogWantsAnExistingFolder_data();
    void saveDialogWantsAnExistingFolder();
};

class TestProcessorPage : public QObject
{
    Q_OBJECT
private slots:
    void refreshCharts_data();
    void refreshCharts();
    void rejectedRowLeavesBusyState();
};

class TestMemoryPage : public QObject
{
    Q_OBJECT
private slots:
    void commandsRunTheSelectedMode_data();
    void commandsRunTheSelectedMode();
    void rejectedRowLeavesBusyState();
};

class TestAllTestsPage : public QObject
{
    Q_OBJECT
private slots:
    void wholeLog_data();
    void wholeLog();
    void fullModeRunsTheComparativeTestAfter();
    void startLogsTheFieldsAsTheyStand();
    void secondRunReplacesTheLog();
    void errorEndsTheRun_data();
    void errorEndsTheRun();
    void closeEndsTheCommand_data();
    void closeEndsTheCommand();
    void saveWritesTheLogByteForByte();
    void cancelWritesNothing();
    void unwritableTargetShowsTheError_data();
    void unwritableTargetShowsTheError();
    void saveDialogOffersTestlog();
    void activationWaitsForTheRunToEnd();
    void reportPrintsTheWindowsLog();
};

class TestVideoPage : public QObject
{
    Q_OBJECT
private slots:
    void refreshMeasuresOnTheWholeScreen_data();
    void refreshMeasuresOnTheWholeScreen();
    void errorLeavesTheSurfaceUntilClicked();
    void backingStoreFigureIsMarked();
    void closeWhileTheSurfaceWaitsMeasuresNothing();
};

class TestLook : public QObject
{
    Q_OBJECT
private slots:
    void contentRectangles_data();
    void contentRectangles();
    void panel2Bevels();
    void menusAndTipsUseProgramFont_data();
    void menusAndTipsUseProgramFont();
    void aboutBoxIsDialogOfMainWindow();
    void activationWaitsForFirstFrame();
    void reactivationWaitsForRepaint();
    void logLinesHaveOneHeight();
};

class TestEditorLink : public QObject
{
    Q_OBJECT
private slots:
    void newRowsFromMainWindow();
};

class TestHddPage : public QObject
{
    Q_OBJECT
private slots:
    void refreshCharts_data();
    void refreshCharts();
    void failedTestShowsTheError();
};

class TestLocations : public QObject
{
    Q_OBJECT
private slots:
    void database_data();
    void database();
    void secondStartKeepsTheSeededCopy();
    void relativeXdgDirectoryIgnored_data();
    void relativeXdgDirectoryIgnored();
    void helpDocument_data();
    void helpDocument();
    void describedLocationsCreateNothing();
    void configDirectoryIsQuorvix();
    void aboutBoxNamesDatabase();
};

class TestDisplayPlan : public QObject
{
    Q_OBJECT
private slots:
    void platformChoice_data();
    void platformChoice();
    void qtArgumentsAddThePlatform_data();
    void qtArgumentsAddThePlatform();
};

class TestHistoryWindow : public QObject
{
    Q_OBJECT
private slots:
    void keepIsEnabledByAMeasuredFigure_data();
    void keepIsEnabledByAMeasuredFigure();
    void keptResultsAppearInTheHistory();
    void emptyHistorySaysWhatToDo();
    void plotDrawsInThePalettesLineColour_data();
    void plotDrawsInThePalettesLineColour();
    void contextMeasuresInTheBusyFrame();
};
