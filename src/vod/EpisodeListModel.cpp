#include "EpisodeListModel.h"

#include <algorithm>

void EpisodeListModel::setRows(const QList<EpisodeRowData> &rows)
{
    const int kept = int(std::min(rows.size(), m_rows.size()));
    for (int row = 0; row < kept; ++row) {
        if (rows[row] == m_rows[row])
            continue;
        m_rows[row] = rows[row];
        emit dataChanged(index(row), index(row));
    }
    if (rows.size() == m_rows.size())
        return;
    if (rows.size() < m_rows.size()) {
        beginRemoveRows({}, kept, count() - 1);
        m_rows.resize(kept);
        endRemoveRows();
    } else {
        beginInsertRows({}, kept, int(rows.size()) - 1);
        m_rows.append(rows.mid(kept));
        endInsertRows();
    }
    emit countChanged();
}

int EpisodeListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant EpisodeListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const EpisodeRowData &row = m_rows[index.row()];
    switch (role) {
    case IdRole:
        return row.id;
    case LabelRole:
        return row.label;
    case DurationRole:
        return row.duration;
    case TitleRole:
        return row.title;
    case PlotRole:
        return row.plot;
    case ImageRole:
        return row.image;
    case ProgressRole:
        return row.progress;
    }
    return {};
}

QHash<int, QByteArray> EpisodeListModel::roleNames() const
{
    return { { IdRole, "episodeId" }, { LabelRole, "label" }, { DurationRole, "duration" },
        { TitleRole, "title" }, { PlotRole, "plot" }, { ImageRole, "image" }, { ProgressRole, "progress" } };
}
