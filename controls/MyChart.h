#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

// Colours are 32-bit values with red in the lowest byte, then green, blue.
using TColor = std::uint32_t;

struct TMyChartBar
{
    QString Caption;
    TColor GradientColor = 0;
    TColor Color = 0;
    std::int32_t Value = 0;
};

struct TMyChartBars
{
    static constexpr int Capacity = 101;
    std::int32_t Count = 0;
    std::array<TMyChartBar, Capacity> Items{};
};

// Horizontal bar chart rendered into an off-screen picture.
// (Interface fixed; rendering arrives with the display components.)
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

    void BeginUpdate();
    void EndUpdate();
    void Redraw();
    void Clear();
    int AddBar(const QString& caption, std::int32_t value, TColor color);

    TMyChartBars Bars;

private:
    int m_border = 0;
    bool m_autoRedraw = true;
    bool m_gradient = false;
    TColor m_gradientColor = 0;
};
