#include "PlayQueueModel.h"

#include <limits>

PlayQueueModel::PlayQueueModel(PlayQueue queue, QObject *parent)
    : QAbstractListModel(parent)
    , m_queue(std::move(queue))
{
}

int PlayQueueModel::count() const
{
    if (!m_queue.get || m_queue.count <= 0)
        return 0;
    return int(std::min<qint64>(m_queue.count, std::numeric_limits<int>::max()));
}

std::optional<PlayItem> PlayQueueModel::itemAt(int row) const
{
    if (row < 0 || row >= count())
        return std::nullopt;
    if (!m_lastRead || m_lastRead->first != row)
        m_lastRead.emplace(row, m_queue.get(row));
    return m_lastRead->second;
}

void PlayQueueModel::setPlayingRow(int row)
{
    markRow(&m_playingRow, row, PlayingRole);
}

void PlayQueueModel::setFocusedRow(int row)
{
    markRow(&m_focusedRow, row, FocusedRole);
}

void PlayQueueModel::markRow(int *mark, int row, int role)
{
    if (*mark == row)
        return;
    const int previous = std::exchange(*mark, row);
    for (int changed : { previous, row }) {
        if (changed >= 0 && changed < count())
            emit dataChanged(index(changed), index(changed), { role });
    }
}

int PlayQueueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant PlayQueueModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    switch (role) {
    case PlayingRole:
        return row == m_playingRow;
    case FocusedRole:
        return row == m_focusedRow;
    default:
        break;
    }
    const std::optional<PlayItem> item = itemAt(row);
    switch (role) {
    case TitleRole:
        return item ? item->title : QString();
    case LogoRole:
        return item ? item->logo.value_or(QString()) : QString();
    case NumberRole:
        return item && item->number >= 1 ? item->number : qint64(row) + 1;
    default:
        return {};
    }
}

QHash<int, QByteArray> PlayQueueModel::roleNames() const
{
    return { { TitleRole, "title" }, { LogoRole, "logo" }, { NumberRole, "number" },
        { PlayingRole, "playing" }, { FocusedRole, "focused" } };
}
