// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/PlotSeries.h"

#include <QColor>
#include <QWidget>

class QPainter;

// One figure over time: the medians as a line with a dot at each result,
// the runs' spread as a band around it, the lowest and highest value on the
// left and the first and last date beneath.
class TimePlot : public QWidget
{
    Q_OBJECT

public:
    explicit TimePlot(QWidget* parent = nullptr);

    void setSeries(const PlotSeries& series);
    const PlotSeries& series() const { return m_series; }

    // The line's colour on `palette`: dark blue on light windows, light blue
    // on dark ones.
    static QColor LineColor(const QPalette& palette);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF plotArea() const;
    void drawFrame(QPainter& painter, const QRectF& area, double low, double high) const;
    void drawSeries(QPainter& painter, const QRectF& area, double low, double high) const;

    PlotSeries m_series;
};
