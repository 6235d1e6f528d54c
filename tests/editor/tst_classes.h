// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// The lists' models: the description order without a window, and the
// order shown after sorts and edits, which is the order written.
class TestEditorModel : public QObject
{
    Q_OBJECT
private slots:
    void descriptionOrder_data();
    void descriptionOrder();
    void shownOrderIsWritten_data();
    void shownOrderIsWritten();
};

// The Database window and the Edit dialog, driven as the user drives them.
class TestEditorWindow : public QObject
{
    Q_OBJECT
private slots:
    void newRowInDialog_data();
    void newRowInDialog();
    void addOkThenCancelLeavesFile();
    void changeRow_data();
    void changeRow();
    void deleteRow_data();
    void deleteRow();
    void popupItems_data();
    void popupItems();
    void sorting_data();
    void sorting();
    void escapeClosesNeither();
    void keptBetweenOpenings();
    void resizeFollowsEdges();
    void editDialogFocus();
};

// Saved results and other base.ini files dropped on the window.
class TestEditorDrop : public QObject
{
    Q_OBJECT
private slots:
    void dropAddsUnsavedRows_data();
    void dropAddsUnsavedRows();
    void refusedFileAddsNothing();
    void fileNameBytesKept_data();
    void fileNameBytesKept();
};

// What "Ok" writes, and a write that fails or is cut off.
class TestEditorWrite : public QObject
{
    Q_OBJECT
private slots:
    void okWritesLists_data();
    void okWritesLists();
    void enterWritesAtOnce();
    void failedWriteShowsMessage_data();
    void failedWriteShowsMessage();
    void killedWriteLeavesOldOrNew();
};
