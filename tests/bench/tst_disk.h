// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestDiskKernel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rate_data();
    void rate();
    void writesAndRemovesTheFile_data();
    void writesAndRemovesTheFile();
    void refusesWhatItMayNotReplace_data();
    void refusesWhatItMayNotReplace();
    void mountedFilesystem_data();
    void mountedFilesystem();
    void fileSizeLimit();
    void endingSignalRemovesTheFile_data();
    void endingSignalRemovesTheFile();
};

class TestDiskPage : public QObject
{
    Q_OBJECT

private slots:
    void measuresOnlyWithRoom_data();
    void measuresOnlyWithRoom();
    void failedTestGivesTheBufferBack();
    void realKernelsOnATemporaryDrive_data();
    void realKernelsOnATemporaryDrive();
};
