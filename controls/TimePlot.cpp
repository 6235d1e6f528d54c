// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/TimePlot.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr int kDotRadius = 3;

// The value range drawn: the band's with a margin, never empty.
std::pair<double, double> valueRange(const PlotSeries& series)
{
    double low = series.points.front().low;
    double high = series.points.front().high;
    for (const PlotPoint& point : series.points) {
        low = std::min(low, point.low);
        high = std::max(high, point.high);
    }
    const double margin = high > low ? (high - low) * 0.1 : std::max(1.0, high * 0.05);
    return {std::max(0.0, low - margin), high + margin};
}

QString number(double value)
{
    return QLocale::c().toString(value, 'f', value < 100 ? 1 : 0);
}

QString date(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

TimePlot::TimePlot(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

void TimePlot::setSeries(const PlotSeries& series)
{
    m_series = series;
    setAccessibleName(series.name);
    update();
}

QColor TimePlot::LineColor(const QPalette& palette)
{
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    return dark ? QColor(0x5c, 0xb8, 0xff) : QColor(0x1a, 0x4f, 0xb0);
}

QSize TimePlot::sizeHint() const
{
    return {480, fontMetrics().height() * 9};
}

QSize TimePlot::minimumSizeHint() const
{
    return {240, fontMetrics().height() * 7};
}

QRectF TimePlot::plotArea() const
{
    const QFontMetrics metrics = fontMetrics();
    const double left = metrics.horizontalAdvance(QStringLiteral("000000.0")) + 8;
    const double top = metrics.height() + 6;
    const double bottom = metrics.height() + 6;
    return QRectF(left, top, width() - left - 12, height() - top - bottom);
}

void TimePlot::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    const QString title = m_series.unit.isEmpty()
                              ? m_series.name
                              : QStringLiteral("%1 (%2)").arg(m_series.name, m_series.unit);
    painter.drawText(QRectF(4, 2, width() - 8, fontMetrics().height()), Qt::AlignLeft, title);
    if (m_series.points.isEmpty())
        return;
    const QRectF area = plotArea();
    if (area.width() < 4 || area.height() < 4)
        return;
    const auto [low, high] = valueRange(m_series);
    drawFrame(painter, area, low, high);
    drawSeries(painter, area, low, high);
}

void TimePlot::drawFrame(QPainter& painter, const QRectF& area, double low, double high) const
{
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);
    painter.setPen(palette().color(QPalette::Text));
    const double labelWidth = area.left() - 6;
    const int lineHeight = fontMetrics().height();
    painter.drawText(QRectF(0, area.top() - lineHeight / 2.0, labelWidth, lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, number(high));
    painter.drawText(QRectF(0, area.bottom() - lineHeight / 2.0, labelWidth, lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, number(low));
    const QRectF dates(area.left(), area.bottom() + 3, area.width(), lineHeight);
    painter.drawText(dates, Qt::AlignLeft, date(m_series.points.front().msecsSinceEpoch));
    if (m_series.points.size() > 1)
        painter.drawText(dates, Qt::AlignRight, date(m_series.points.back().msecsSinceEpoch));
}

void TimePlot::drawSeries(QPainter& painter, const QRectF& area, double low, double high) const
{
    const QList<PlotPoint>& points = m_series.points;
    const qint64 first = points.front().msecsSinceEpoch;
    const qint64 span = points.back().msecsSinceEpoch - first;
    const auto x = [&](const PlotPoint& p) {
        // One result, or all at one time: in the middle.
        return span <= 0 ? area.center().x()
                         : area.left() + area.width() * double(p.msecsSinceEpoch - first) / span;
    };
    const auto y = [&](double v) {
        return area.bottom() - area.height() * (v - low) / (high - low);
    };
    QPolygonF band;
    QPolygonF line;
    for (const PlotPoint& p : points) {
        band << QPointF(x(p), y(p.high));
        line << QPointF(x(p), y(p.median));
    }
    for (auto p = points.crbegin(); p != points.crend(); ++p)
        band << QPointF(x(*p), y(p->low));
    const QColor color = LineColor(palette());
    QColor bandColor = color;
    bandColor.setAlpha(60);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bandColor);
    painter.drawPolygon(band);
    painter.setPen(QPen(color, 2));
    painter.drawPolyline(line);
    // Dots only where they stand apart; a long history is a line.
    if (area.width() < points.size() * kDotRadius * 3)
        return;
    painter.setBrush(color);
    for (const QPointF& dot : line)
        painter.drawEllipse(dot, kDotRadius, kDotRadius);
}
