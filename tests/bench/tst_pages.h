#pragma once

#include <QObject>

class TestProcessorPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadsRowsInFileOrder_data();
    void loadsRowsInFileOrder();
    void spacerKeepsTheChartsGradient();
    void rowsThatDoNotFitAreLeftOut();
    void rejectedValueStopsTheRefresh_data();
    void rejectedValueStopsTheRefresh();
    void singleFieldPageTakesTheWholeValue();
    void fpuBarStaysZeroWhileTheIntegerKernelRuns();
    void zeroReferenceStopsBeforeTheBarChanges();
};
