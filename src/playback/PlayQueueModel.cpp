#include "PlayQueueModel.h"

#include <limits>

PlayQueueModel::PlayQueueModel(PlayQueue queue, QObject *parent)
    : QAbstractListModel(parent)
    , m_queue(std::move(queue))
{
}

int PlayQueueModel::count() const
{
    return int(std::clamp<qint64>(m_queue.count(), 0, std::numeric_limits<int>::max()));
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
    case TitleRole:
    case LogoRole:
    case NumberRole:
        break;
    default:
        return {};
    }
    if (const std::optional<MediaItem> entry = m_queue.media(row))
        return face(role, row, entry->name, entry->logo, entry->num);
    const std::optional<PlayItem> item = itemAt(row);
    return item ? face(role, row, item->title, item->logo, item->number) : QVariant();
}

QVariant PlayQueueModel::face(int role, int row, const QString &title, const OptText &logo, qint64 number)
{
    switch (role) {
    case TitleRole:
        return title;
    case LogoRole:
        return logo.value_or(QString());
    default:
        return number >= 1 ? number : qint64(row) + 1;
    }
}

QHash<int, QByteArray> PlayQueueModel::roleNames() const
{
    return { { TitleRole, "title" }, { LogoRole, "logo" }, { NumberRole, "number" },
        { PlayingRole, "playing" }, { FocusedRole, "focused" } };
}
