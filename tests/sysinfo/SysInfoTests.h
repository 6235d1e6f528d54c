// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class ProcessorNameTest : public QObject
{
    Q_OBJECT
private slots:
    void identity_data();
    void identity();
    void classicName_data();
    void classicName();
    void modernName_data();
    void modernName();
    void thisMachineIsNamedByItsBrandString();
};

class ProcessorSpeedTest : public QObject
{
    Q_OBJECT
private slots:
    void arithmetic_data();
    void arithmetic();
    void sleepsTenThenOneThousandAroundTheCounter();
    void noMeasurementBelowFamilyFive();
    void measuresThisMachine_data();
    void measuresThisMachine();
};

class DeviceDescriptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void className_data();
    void className();
    void join_data();
    void join();
};

class OverviewTest : public QObject
{
    Q_OBJECT
private slots:
    void memoryField_data();
    void memoryField();
    void processorField_data();
    void processorField();
    void osField();
    void fixedDrives();
    void fixedDriveWithControlCharacters_data();
    void fixedDriveWithControlCharacters();
    void noFixedDrive();
    void containerDrivesAndRoot();
    void oneLineText_data();
    void oneLineText();
    void systemTextsKeepToOneLine();
    void gatherFixtureMachine();
    void gatherWithoutAnything();
    void thisMachinesFields();
};
