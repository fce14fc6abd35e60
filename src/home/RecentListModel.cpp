#include "RecentListModel.h"

#include <algorithm>

RecentListModel::RecentListModel(Prefs *prefs, QObject *parent)
    : QAbstractListModel(parent)
    , m_prefs(prefs)
{
}

void RecentListModel::setItems(const QList<PlayItem> &items)
{
    if (items == m_items) {
        if (!m_items.isEmpty())
            emit dataChanged(index(0), index(int(m_items.size()) - 1), { ProgressRole });
        return;
    }
    beginResetModel();
    m_items = items;
    endResetModel();
}

double RecentListModel::progressOf(const std::optional<Prefs::ResumePoint> &point)
{
    if (!point)
        return -1;
    const double length = point->dur > 1 ? point->dur : 1;
    return std::clamp(point->pos / length, 0.0, 1.0);
}

int RecentListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant RecentListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const PlayItem &item = m_items.at(index.row());
    switch (role) {
    case TitleRole:
        return item.title;
    case SubtitleRole:
        // A blank keeps every card as high as one with a second line.
        return item.subtitle.value_or(QStringLiteral(" "));
    case LogoRole:
        return item.logo.value_or(QString());
    case LiveRole:
        return item.live;
    case ProgressRole:
        return progressOf(m_prefs ? m_prefs->resumePoint(item.key) : std::nullopt);
    case ItemKeyRole:
        return item.key;
    default:
        return {};
    }
}

QHash<int, QByteArray> RecentListModel::roleNames() const
{
    return { { TitleRole, "title" }, { SubtitleRole, "subtitle" }, { LogoRole, "logo" }, { LiveRole, "live" },
        { ProgressRole, "progress" }, { ItemKeyRole, "itemKey" } };
}
