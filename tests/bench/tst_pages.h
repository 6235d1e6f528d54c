// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestBenchmarkPages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadsRowsInFileOrder_data();
    void loadsRowsInFileOrder();
    void rowsThatDoNotFitAreLeftOut();
    void rejectedValueStopsTheRefresh_data();
    void rejectedValueStopsTheRefresh();
    void singleValuePages_data();
    void singleValuePages();
    void fpuBarStaysZeroWhileTheIntegerKernelRuns();
    void zeroReferenceStopsBeforeTheBarChanges();
    void shippedDatabaseScoresTheReferenceAtItsClock();
};
