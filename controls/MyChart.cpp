// SPDX-License-Identifier: GPL-3.0-or-later
#include "MyChart.h"

#include "controls/ChartRender.h"

#include <QPainter>

TMyChart::TMyChart(QWidget* parent) : QWidget(parent)
{
    // The picture covers every pixel, so nothing needs erasing underneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TMyChart::~TMyChart() = default;

TColor TMyChart::color() const
{
    return FromQColor(palette().color(QPalette::Window));
}

void TMyChart::setColor(TColor color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    setPalette(pal);
}

void TMyChart::BeginUpdate()
{
    m_autoRedraw = false;
}

void TMyChart::EndUpdate()
{
    m_autoRedraw = true;
    Redraw();
}

void TMyChart::Redraw()
{
    m_pictureValid = false;
    // Synchronous: delivers what the window has pending, then paints this chart.
    repaint();
}

void TMyChart::Clear()
{
    Bars.Count = 0;
    if (m_autoRedraw)
        Redraw();
}

int TMyChart::AddBar(const QString& caption, std::int32_t value, TColor color)
{
    const int index = AppendBar(Bars, caption, value, color, m_gradientColor);
    if (index >= 0 && m_autoRedraw)
        Redraw();
    return index;
}

void TMyChart::ShowBars(const TMyChartBars& bars)
{
    Bars = bars;
    Redraw();
}

void TMyChart::PreparePicture()
{
    if (m_picture.size() != size()) {
        m_picture = QImage(size(), QImage::Format_RGB32);
        // Point-size fonts then measure as they do on the screen.
        m_picture.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        m_picture.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
        m_pictureValid = false;
    }
    if (!m_pictureValid) {
        Render();
        m_pictureValid = true;
    }
}

void TMyChart::Render()
{
    if (m_picture.isNull())
        return;
    ChartLook look;
    look.font = font();
    look.background = palette().color(QPalette::Window);
    look.captionColor = palette().color(QPalette::WindowText);
    look.border = m_border;
    look.gradient = m_gradient;
    RenderChart(m_picture, look, Bars);
}

void TMyChart::paintEvent(QPaintEvent*)
{
    PreparePicture();
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}
