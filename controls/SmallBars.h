// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Draws a cell as a small bar: the cell's BarRole value (0 to 1) of its
// width, in the highlight colour; a cell without one stays empty.
class SmallBars : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int BarRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
