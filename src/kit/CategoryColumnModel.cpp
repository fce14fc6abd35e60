#include "CategoryColumnModel.h"

#include "app/Localization.h"

#include <algorithm>

void CategoryColumnModel::setRows(const QList<CategoryEntry> &rows)
{
    const bool sameIds = rows.size() == m_rows.size()
        && std::equal(rows.cbegin(), rows.cend(), m_rows.cbegin(),
            [](const CategoryEntry &a, const CategoryEntry &b) { return a.id == b.id; });
    if (sameIds) {
        for (int row = 0; row < count(); ++row) {
            if (rows[row] == m_rows[row])
                continue;
            m_rows[row] = rows[row];
            emit dataChanged(index(row), index(row), { NameRole, CountRole, IconRole });
        }
        return;
    }
    beginResetModel();
    m_rows = rows;
    endResetModel();
    emit countChanged();
}

void CategoryColumnModel::setSelectedRow(int row)
{
    moveMark(m_selected, row, SelectedRole);
}

void CategoryColumnModel::setFocusedRow(int row)
{
    moveMark(m_focused, row, FocusedRole);
}

void CategoryColumnModel::moveMark(int &mark, int row, int role)
{
    if (row == mark)
        return;
    const int old = std::exchange(mark, row);
    for (const int changed : { old, row }) {
        if (changed >= 0 && changed < count())
            emit dataChanged(index(changed), index(changed), { role });
    }
}

int CategoryColumnModel::rowOfId(const QString &id) const
{
    const auto found = std::find_if(
        m_rows.cbegin(), m_rows.cend(), [&](const CategoryEntry &entry) { return entry.id == id; });
    return found == m_rows.cend() ? -1 : int(found - m_rows.cbegin());
}

int CategoryColumnModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant CategoryColumnModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const CategoryEntry &entry = m_rows[index.row()];
    switch (role) {
    case NameRole:
        return entry.nameKey.isEmpty() ? entry.name : ::tr(entry.nameKey);
    case CountRole:
        return int(entry.count);
    case IconRole:
        return entry.icon;
    case SelectedRole:
        return index.row() == m_selected;
    case FocusedRole:
        return index.row() == m_focused;
    }
    return {};
}

QHash<int, QByteArray> CategoryColumnModel::roleNames() const
{
    return { { NameRole, "name" }, { CountRole, "count" }, { IconRole, "icon" }, { SelectedRole, "selected" },
        { FocusedRole, "focused" } };
}
