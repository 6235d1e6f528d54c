// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void summarise_data();
    void summarise();
    void medianOfEveryFigure();
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
    void driveContextFigures_data();
    void driveContextFigures();
    void distinctNames_data();
    void distinctNames();
    void namesInTheTable_data();
    void namesInTheTable();
};
