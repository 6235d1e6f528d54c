// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestVideoKernel : public QObject
{
    Q_OBJECT

private slots:
    void pixelRate_data();
    void pixelRate();
    void bytesPerPixel_data();
    void bytesPerPixel();
    void fillsThenReadsBackOnTheInjectedClock();
    void sequenceDiffersBetweenRuns();
};

class TestVideoPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refreshMeasuresOnTheShownSurface_data();
    void refreshMeasuresOnTheShownSurface();
    void failedStepLeavesTheSurfaceAsItIs_data();
    void failedStepLeavesTheSurfaceAsItIs();
};
