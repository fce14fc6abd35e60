#include "ContentListModel.h"

#include "PosterRating.h"
#include "model/ContentKeys.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

ContentListModel::ContentListModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_items(std::make_shared<const MediaItems>())
{
}

ContentListModel::Items ContentListModel::itemsOf(const SectionPtr &section)
{
    if (!section)
        return std::make_shared<const MediaItems>();
    return Items(section, &section->all);
}

ContentListModel::Items ContentListModel::itemsOf(MediaItems items)
{
    return std::make_shared<const MediaItems>(std::move(items));
}

void ContentListModel::setItems(Items items, qint64 playlistId)
{
    m_items = items ? std::move(items) : std::make_shared<const MediaItems>();
    m_playlistId = playlistId;
    std::vector<qint32> all(size_t(m_items->size()));
    std::iota(all.begin(), all.end(), 0);
    setRows(std::move(all));
}

void ContentListModel::setRows(std::vector<qint32> rows)
{
    const int before = count();
    dropUnknownRows(rows);
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    countMayHaveChanged(before);
}

void ContentListModel::refillRows(std::vector<qint32> rows)
{
    const int before = count();
    dropUnknownRows(rows);
    const int after = int(rows.size());
    const int same = int(
        std::mismatch(m_rows.cbegin(), m_rows.cend(), rows.cbegin(), rows.cend()).first - m_rows.cbegin());
    if (after < before) {
        beginRemoveRows({}, after, before - 1);
        m_rows = std::move(rows);
        endRemoveRows();
    } else if (after > before) {
        beginInsertRows({}, before, after - 1);
        m_rows = std::move(rows);
        endInsertRows();
    } else {
        m_rows = std::move(rows);
    }
    if (const int shared = std::min(before, after); same < shared)
        emit dataChanged(index(same), index(shared - 1));
    countMayHaveChanged(before);
}

void ContentListModel::dropUnknownRows(std::vector<qint32> &rows) const
{
    std::erase_if(rows, [this](qint32 at) { return at < 0 || at >= m_items->size(); });
}

void ContentListModel::countMayHaveChanged(int before)
{
    if (count() != before)
        emit countChanged();
    if (m_focusedRow >= count())
        setFocusedRow(count() - 1);
}

void ContentListModel::updateRows(std::vector<qint32> rows)
{
    std::unordered_set<qint32> seen;
    std::erase_if(
        rows, [&](qint32 at) { return at < 0 || at >= m_items->size() || !seen.insert(at).second; });
    const int before = count();
    const qint32 focusedItem = m_focusedRow >= 0 ? m_rows[size_t(m_focusedRow)] : -1;
    for (const RowEdit &edit : rowEdits(m_rows, rows))
        applyEdit(edit, rows);
    if (count() != before)
        emit countChanged();
    // Rows that moved keep their delegates: what depends on the row's place is announced.
    if (m_numbered)
        allRowsChanged(NumRole);
    if (m_focusedRow >= count())
        setFocusedRow(count() - 1);
    else if (m_focusedRow >= 0 && m_rows[size_t(m_focusedRow)] != focusedItem)
        rowChanged(m_focusedRow, FocusedRole);
    const auto formerlyFocused = std::find(m_rows.begin(), m_rows.end(), focusedItem);
    if (focusedItem >= 0 && formerlyFocused != m_rows.end()
        && formerlyFocused - m_rows.begin() != m_focusedRow)
        rowChanged(int(formerlyFocused - m_rows.begin()), FocusedRole);
}

void ContentListModel::applyEdit(const RowEdit &edit, const std::vector<qint32> &rows)
{
    switch (edit.kind) {
    case RowEdit::Kind::remove:
        beginRemoveRows({}, edit.first, edit.last);
        applyRowEdit(m_rows, edit, rows);
        endRemoveRows();
        break;
    case RowEdit::Kind::insert:
        beginInsertRows({}, edit.first, edit.last);
        applyRowEdit(m_rows, edit, rows);
        endInsertRows();
        break;
    case RowEdit::Kind::move:
        beginMoveRows({}, edit.first, edit.first, {}, edit.last);
        applyRowEdit(m_rows, edit, rows);
        endMoveRows();
        break;
    }
}

std::optional<MediaItem> ContentListModel::itemAt(int row) const
{
    if (row < 0 || row >= count())
        return std::nullopt;
    return m_items->at(m_rows[size_t(row)]);
}

QString ContentListModel::keyAt(int row) const
{
    if (row < 0 || row >= count())
        return {};
    const qint32 at = m_rows[size_t(row)];
    return itemKey(m_items->type(at), m_playlistId, m_items->id(at));
}

int ContentListModel::rowOfKey(const QString &key) const
{
    // Keys end with the item id, after the playlist and the type: only rows of that id
    // need their key built.
    const qsizetype playlistEnd = key.indexOf(u'|');
    const qsizetype typeEnd = playlistEnd < 0 ? -1 : key.indexOf(u'|', playlistEnd + 1);
    if (typeEnd < 0)
        return -1;
    const QStringView id = QStringView(key).sliced(typeEnd + 1);
    for (int row = 0; row < count(); ++row) {
        if (m_items->textIs(m_rows[size_t(row)], MediaItems::Text::id, id) && keyAt(row) == key)
            return row;
    }
    return -1;
}

void ContentListModel::setFavoriteKeys(QSet<QString> keys)
{
    if (keys == m_favoriteKeys)
        return;
    m_favoriteKeys = std::move(keys);
    allRowsChanged(FavoriteRole);
}

void ContentListModel::setPlayingKey(const QString &key, bool failed)
{
    if (key == m_playingKey && failed == m_playingFailed)
        return;
    const int oldRow = rowOfKey(m_playingKey);
    m_playingKey = key;
    m_playingFailed = failed;
    for (const int row : { oldRow, rowOfKey(key) }) {
        rowChanged(row, PlayingRole);
        rowChanged(row, EqualizerRole);
    }
}

void ContentListModel::setFocusedRow(int row)
{
    if (row < -1 || row >= count())
        row = -1;
    if (row == m_focusedRow)
        return;
    const int oldRow = m_focusedRow;
    m_focusedRow = row;
    rowChanged(oldRow, FocusedRole);
    rowChanged(row, FocusedRole);
    emit focusedRowChanged();
}

void ContentListModel::setNumbered(bool numbered)
{
    if (numbered == m_numbered)
        return;
    m_numbered = numbered;
    allRowsChanged(NumRole);
}

int ContentListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ContentListModel::data(const QModelIndex &index, int role) const
{
    if (index.row() < 0 || index.row() >= count())
        return {};
    const qint32 at = m_rows[size_t(index.row())];
    switch (role) {
    case NameRole:
        return m_items->name(at);
    case LogoRole:
        return m_items->text(at, MediaItems::Text::logo).value_or(QString());
    case NumRole:
        return m_numbered ? qint64(index.row()) + 1 : m_items->num(at);
    case CatchupDaysRole:
        return m_items->catchup(at) ? m_items->catchup(at)->days : 0;
    case RatingRole:
        return m_items->text(at, MediaItems::Text::rating).value_or(QString());
    case RatingBadgeRole:
        return PosterRating::badge(m_items->text(at, MediaItems::Text::rating)).value_or(QString());
    case ItemKeyRole:
        return keyAt(index.row());
    case FavoriteRole:
        return m_favoriteKeys.contains(keyAt(index.row()));
    case PlayingRole:
        return !m_playingKey.isEmpty() && keyAt(index.row()) == m_playingKey;
    case EqualizerRole:
        return !m_playingFailed && !m_playingKey.isEmpty() && keyAt(index.row()) == m_playingKey;
    case FocusedRole:
        return index.row() == m_focusedRow;
    }
    return {};
}

QHash<int, QByteArray> ContentListModel::roleNames() const
{
    return {
        { NameRole, "name" },
        { LogoRole, "logo" },
        { NumRole, "num" },
        { CatchupDaysRole, "catchupDays" },
        { RatingRole, "rating" },
        { RatingBadgeRole, "ratingBadge" },
        { ItemKeyRole, "itemKey" },
        { FavoriteRole, "favorite" },
        { PlayingRole, "playing" },
        { EqualizerRole, "equalizer" },
        { FocusedRole, "focused" },
    };
}

void ContentListModel::rowChanged(int row, int role)
{
    if (row < 0 || row >= count())
        return;
    const QModelIndex at = index(row);
    emit dataChanged(at, at, { role });
}

void ContentListModel::allRowsChanged(int role)
{
    if (count() > 0)
        emit dataChanged(index(0), index(count() - 1), { role });
}
