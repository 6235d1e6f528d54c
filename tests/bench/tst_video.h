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
    void videoRate_data();
    void videoRate();
    void fillsThenReadsBackOnTheInjectedClock();
    void colorsComeFromTheGeneratorBlueFirst();
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
    void kernelErrorLeavesTheSurfaceShown();
    void surfaceThatDoesNotShowStopsTheRefresh();
    void rejectedRowStopsBeforeTheSurfaceShows();
};
