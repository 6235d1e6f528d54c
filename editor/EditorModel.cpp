// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorModel.h"

#include <utility>

EditorListModel::EditorListModel(ListKind kind, QObject* parent)
    : QAbstractTableModel(parent), m_kind(kind)
{
}

void EditorListModel::setRows(EditorList rows)
{
    // As the list control reloaded: the old rows removed, the new ones
    // added in file order, which a proxy shows unsorted: the caller sorts.
    if (!m_rows.isEmpty()) {
        beginRemoveRows({}, 0, int(m_rows.size()) - 1);
        m_rows.clear();
        endRemoveRows();
    }
    if (!rows.isEmpty()) {
        beginInsertRows({}, 0, int(rows.size()) - 1);
        m_rows = std::move(rows);
        endInsertRows();
    }
}

int EditorListModel::appendRow(const EditorRow& row)
{
    const int added = int(m_rows.size());
    beginInsertRows({}, added, added);
    m_rows.append(row);
    endInsertRows();
    return added;
}

void EditorListModel::setRow(int row, const EditorRow& values)
{
    m_rows[row] = values;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int EditorListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int EditorListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : HasTwoValues(m_kind) ? 3 : 2;
}

QVariant EditorListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const EditorRow& row = m_rows[index.row()];
    switch (index.column()) {
    case 0:
        return row.description;
    case 1:
        return row.first;
    default:
        return row.second;
    }
}

QVariant EditorListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const ListShape& shape = ShapeOf(m_kind);
    switch (section) {
    case 0:
        return QStringLiteral("Description");
    case 1:
        return shape.firstCaption;
    default:
        return shape.secondCaption;
    }
}

bool EditorListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count <= 0 || row < 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

DescriptionOrderModel::DescriptionOrderModel(EditorListModel* rows, QObject* parent)
    : QSortFilterProxyModel(parent), m_rows(rows), m_collator(DescriptionCollator())
{
    // Sorted only when asked: neither an added nor a changed row moves.
    setDynamicSortFilter(false);
    setSourceModel(rows);
}

void DescriptionOrderModel::sortByDescription()
{
    m_collator = DescriptionCollator();
    // Not dynamic, so this sorts the rows as shown, stably, even when the
    // list is sorted already.
    sort(0, Qt::AscendingOrder);
}

void DescriptionOrderModel::keepModelOrder()
{
    sort(-1, Qt::AscendingOrder);
}

int DescriptionOrderModel::modelRow(int shownRow) const
{
    return mapToSource(index(shownRow, 0)).row();
}

int DescriptionOrderModel::shownRow(int modelRow) const
{
    return mapFromSource(m_rows->index(modelRow, 0)).row();
}

EditorList DescriptionOrderModel::shownRows() const
{
    EditorList shown;
    const int count = rowCount();
    shown.reserve(count);
    for (int row = 0; row < count; ++row)
        shown.append(m_rows->rows()[modelRow(row)]);
    return shown;
}

bool DescriptionOrderModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const EditorList& rows = m_rows->rows();
    return m_collator.compare(rows[left.row()].description, rows[right.row()].description) < 0;
}
