#include "RouteStack.h"

RouteStack::RouteStack(QObject *parent)
    : QAbstractListModel(parent)
{
}

void RouteStack::append(RouteEntry entry)
{
    const int row = count();
    beginInsertRows({}, row, row);
    m_entries.append(std::move(entry));
    endInsertRows();
    topChanged();
    emit countChanged();
}

void RouteStack::removeLast()
{
    if (m_entries.isEmpty())
        return;
    const int row = count() - 1;
    beginRemoveRows({}, row, row);
    m_entries.removeLast();
    endRemoveRows();
    topChanged();
    emit countChanged();
}

void RouteStack::resetTo(RouteEntry entry)
{
    if (!m_entries.isEmpty()) {
        beginRemoveRows({}, 0, count() - 1);
        m_entries.clear();
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    m_entries.append(std::move(entry));
    endInsertRows();
    emit countChanged();
}

int RouteStack::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant RouteStack::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RouteEntry &entry = m_entries.at(index.row());
    switch (role) {
    case EntryIdRole:
        return entry.id.toString(QUuid::WithoutBraces);
    case IsTopRole:
        return index.row() == count() - 1;
    default:
        return {};
    }
}

QHash<int, QByteArray> RouteStack::roleNames() const
{
    return { { EntryIdRole, "entryId" }, { IsTopRole, "isTop" } };
}

// The last two rows may have changed their isTop value.
void RouteStack::topChanged()
{
    const int first = qMax(0, count() - 2);
    if (count() > 0)
        emit dataChanged(index(first), index(count() - 1), { IsTopRole });
}
