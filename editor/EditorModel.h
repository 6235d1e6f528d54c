// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/EditorRows.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QSortFilterProxyModel>

// One list of the Database window: its rows in the order they were loaded
// (rows added later at the end), a column for the description and one for
// each value, headed by the list's captions. Texts are held as loaded or
// typed.
class EditorListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit EditorListModel(ListKind kind, QObject* parent = nullptr);

    const EditorList& rows() const { return m_rows; }
    // Reloading: every row removed, then the new ones added.
    void setRows(EditorList rows);
    // Returns the new row's number.
    int appendRow(const EditorRow& row);
    void setRow(int row, const EditorRow& values);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

private:
    ListKind m_kind;
    EditorList m_rows;
};

// The order a list is shown in, and so written in: the model's own, or by
// description as the user's locale compares text, case-sensitive, values
// playing no part. A sort happens only when asked for: a row added later
// comes last and a changed row stays where it is until the next sort, which
// keeps equal descriptions in the order they are shown in.
class DescriptionOrderModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit DescriptionOrderModel(EditorListModel* rows, QObject* parent = nullptr);

    // Sorts the rows as shown now, stably, even when sorted already.
    void sortByDescription();
    // Back to the model's order.
    void keepModelOrder();
    int modelRow(int shownRow) const;
    int shownRow(int modelRow) const;
    // The rows top to bottom.
    EditorList shownRows() const;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    EditorListModel* m_rows;
    QCollator m_collator;
};
