// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestDriveContext : public QObject
{
    Q_OBJECT

private slots:
    void scratchBytes_data();
    void scratchBytes();
    void contradictions_data();
    void contradictions();
    void measuresEveryJobAndRemovesTheFile_data();
    void measuresEveryJobAndRemovesTheFile();
    void seccompRefusesUring();
    void fileSizeLimit();
    void directIoRefused();
};
