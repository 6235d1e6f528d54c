// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// One figure over time, as a line plot shows it: the median of each result
// as the line, the lowest and highest of its runs as the band.
struct PlotPoint
{
    qint64 msecsSinceEpoch = 0;
    double median = 0;
    double low = 0;
    double high = 0;
};

struct PlotSeries
{
    QString name;
    QString unit;
    QList<PlotPoint> points; // oldest first
};
