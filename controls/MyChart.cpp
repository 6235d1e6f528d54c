#include "MyChart.h"

TMyChart::TMyChart(QWidget* parent) : QWidget(parent) {}

TMyChart::~TMyChart() = default;

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
    update();
}

void TMyChart::Clear()
{
    Bars.Count = 0;
    if (m_autoRedraw)
        Redraw();
}

int TMyChart::AddBar(const QString& caption, std::int32_t value, TColor color)
{
    if (Bars.Count >= TMyChartBars::Capacity)
        return -1;
    const int index = Bars.Count;
    Bars.Items[index] = {caption, m_gradientColor, color, value};
    ++Bars.Count;
    if (m_autoRedraw)
        Redraw();
    return index;
}
