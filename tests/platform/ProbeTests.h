// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Tests of the Linux probes; each class lives in its own tst_*.cpp.

class FilesTest : public QObject
{
    Q_OBJECT
private slots:
    void naturalOrder_data();
    void naturalOrder();
    void readFileBytes_data();
    void readFileBytes();
    void sizeLimit_data();
    void sizeLimit();
    void executableDirectory();
    void executableDirectoryFromBytes_data();
    void executableDirectoryFromBytes();
};

class MemoryTest : public QObject
{
    Q_OBJECT
private slots:
    void meminfo_data();
    void meminfo();
    void realTotalAgreesWithPageCount();
};

class IdentityTest : public QObject
{
    Q_OBJECT
private slots:
    void osVersion_data();
    void osVersion();
    void computerNameIsTheKernelsHostName();
    void computerName_data();
    void computerName();
    void userNameIsTheEffectiveUsersLogin();
    void longPasswordEntry_data();
    void longPasswordEntry();
};

class DrivesTest : public QObject
{
    Q_OBJECT
private slots:
    void parseMountInfo_data();
    void parseMountInfo();
    void fixtureMachine_data();
    void fixtureMachine();
    void noFixedDrive();
    void realMachine();
    void mountHolding_data();
    void mountHolding();
};

class DiskDirectoryTest : public QObject
{
    Q_OBJECT
private slots:
    void testDirectory_data();
    void testDirectory();
};

class EdidTest : public QObject
{
    Q_OBJECT
private slots:
    void monitorName_data();
    void monitorName();
};

class InputTest : public QObject
{
    Q_OBJECT
private slots:
    void bitmap_data();
    void bitmap();
    void pointingDevice_data();
    void pointingDevice();
};

class DevicesTest : public QObject
{
    Q_OBJECT
private slots:
    void displayAdaptersNamedByLookup();
    void realHardwareDatabaseKnowsIntel440FX();
    void fixtureDisplayWithRealHardwareDatabase();
    void monitors();
    void cdromDrives();
    void pointingDevices();
    void machineWithoutDevices();
};

class XFillTest : public QObject
{
    Q_OBJECT
private slots:
    void pixelOfColor_data();
    void pixelOfColor();
    void firstPixel_data();
    void firstPixel();
};

class CachesTest : public QObject
{
    Q_OBJECT
private slots:
    void cacheSize_data();
    void cacheSize();
    void cpuList_data();
    void cpuList();
    void fixtureMachines_data();
    void fixtureMachines();
    void realMachine();
};

class BlockDeviceTest : public QObject
{
    Q_OBJECT
private slots:
    void diskOfAFilesystem_data();
    void diskOfAFilesystem();
};
