// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

class QMouseEvent;

// A report-style list: grid lines, whole rows selected one at a time, no
// editing in place, column headers that can be dragged to reorder them.
// Pressing on no row clears the selection, as a report list does, so a
// double click there finds nothing selected.
class TListView : public QTableView
{
    Q_OBJECT

public:
    explicit TListView(QWidget* parent = nullptr);

    // The selected row, or -1.
    int selectedRow() const;

signals:
    // After the press has moved the selection; the position is the viewport's.
    void mousePressed(Qt::MouseButton button, const QPoint& position);
    void leftDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
