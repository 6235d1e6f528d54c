// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/Chart.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

// Horizontal bar chart: one row per bar with its caption right-aligned on the
// left, the bar with a black drop shadow and its value in white after it.
// Renders into an off-screen picture and only copies it on ordinary repaints;
// the picture is rebuilt after Redraw (and the operations that call it) or a
// size change. Writes to Border, Gradient, GradientColor and to Bars show at
// the next rebuild.
//
// The chart's colour is the palette's Window role (inherited from the parent
// unless set); captions use the WindowText role and the widget's font; values
// are white.
class TMyChart : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Border READ border WRITE setBorder)
    Q_PROPERTY(bool Gradient READ gradient WRITE setGradient)
    Q_PROPERTY(uint GradientColor READ gradientColor WRITE setGradientColor)

public:
    explicit TMyChart(QWidget* parent = nullptr);
    ~TMyChart() override;

    int border() const { return m_border; }
    void setBorder(int border) { m_border = border; }
    bool gradient() const { return m_gradient; }
    void setGradient(bool gradient) { m_gradient = gradient; }
    uint gradientColor() const { return m_gradientColor; }
    void setGradientColor(uint color) { m_gradientColor = color; }

    // The control's colour: the palette's Window role.
    TColor color() const;
    void setColor(TColor color);

    // BeginUpdate stops the automatic redraw after Clear and AddBar;
    // EndUpdate turns it on again and redraws.
    void BeginUpdate();
    void EndUpdate();
    void Redraw();
    void Clear();
    // Returns the new bar's index, or -1 when the list is full (the bar is
    // dropped). The bar takes the chart's GradientColor.
    int AddBar(const QString& caption, std::int32_t value, TColor color);
    // Shows `bars` in place of the chart's own, redrawn at once.
    void ShowBars(const TMyChartBars& bars);

    // Creates or re-creates the picture at the widget's size and renders it
    // when it is not valid. The paint event calls it before copying.
    void PreparePicture();
    const QImage& picture() const { return m_picture; }

    TMyChartBars Bars;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render();

    int m_border = 0;
    bool m_autoRedraw = true;
    bool m_pictureValid = false;
    QImage m_picture;
    bool m_gradient = false;
    TColor m_gradientColor = 0;
};
