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

void PlayQueueModel::setPlayingRow(int row, bool failed)
{
    if (row == m_playingRow && failed == m_playingFailed)
        return;
    const int previous = std::exchange(m_playingRow, row);
    m_playingFailed = failed;
    rowsChanged({ previous, row }, { PlayingRole, EqualizerRole });
}

void PlayQueueModel::setFocusedRow(int row)
{
    if (m_focusedRow == row)
        return;
    const int previous = std::exchange(m_focusedRow, row);
    rowsChanged({ previous, row }, { FocusedRole });
}

void PlayQueueModel::rowsChanged(std::initializer_list<int> rows, const QList<int> &roles)
{
    for (int changed : rows) {
        if (changed >= 0 && changed < count())
            emit dataChanged(index(changed), index(changed), roles);
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
    case EqualizerRole:
        return row == m_playingRow && !m_playingFailed;
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
        { PlayingRole, "playing" }, { EqualizerRole, "equalizer" }, { FocusedRole, "focused" } };
}
