// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SmallBars.h"

#include <QPainter>

#include <algorithm>

void SmallBars::paint(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QVariant value = index.data(BarRole);
    if (!value.isValid())
        return;
    const double fraction = std::clamp(value.toDouble(), 0.0, 1.0);
    const QRect area = option.rect.adjusted(2, 3, -2, -3);
    QRect bar = area;
    bar.setWidth(std::max(1, int(area.width() * fraction)));
    painter->fillRect(bar, option.palette.color(QPalette::Highlight));
}

QSize SmallBars::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(120, 0));
}
