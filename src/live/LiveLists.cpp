#include "LiveLists.h"

#include "model/ContentKeys.h"

#include <algorithm>
#include <numeric>

LiveLists::LiveLists(qint64 playlistId)
    : m_playlistId(playlistId)
    , m_livePrefix(itemKey(ContentType::live, playlistId, QString()))
    , m_selectedCat(PseudoCategory::all)
{
}

QString LiveLists::keyOf(const MediaItem &channel) const
{
    return m_livePrefix + channel.id;
}

void LiveLists::setFavorites(const QList<FavoriteEntry> &favorites)
{
    m_favoriteKeys = ::favoriteKeys(favorites);
    m_ownFavorites = favoritesOf(favorites, m_playlistId, ContentType::live);
    m_favoriteIds.clear();
    for (const FavoriteEntry &entry : m_ownFavorites)
        m_favoriteIds.insert(entry.id);
}

void LiveLists::setRecentLive(const QStringList &recentLive)
{
    m_recentLive = recentLive;
}

void LiveLists::setSection(ChannelIndexPtr index)
{
    m_index = std::move(index);
    if (m_index) {
        rebuild();
    } else {
        m_rows.clear();
        m_categories.clear();
        ++m_rowsRevision;
        ++m_categoriesRevision;
    }
}

void LiveLists::selectCategory(const QString &id)
{
    if (id == m_selectedCat)
        return;
    m_selectedCat = id;
    rebuild();
    focusFirstRow(true);
}

void LiveLists::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    // The categories and their counts do not depend on the filter.
    rebuildItems();
    focusSelectedCategory();
    focusFirstRow(false);
}

void LiveLists::favoritesChanged(const QList<FavoriteEntry> &favorites)
{
    setFavorites(favorites);
    if (m_selectedCat == PseudoCategory::favorites)
        rebuild();
    else
        rebuildCategories();
}

void LiveLists::recentLiveChanged(const QStringList &recentLive)
{
    setRecentLive(recentLive);
    // The focused channel keeps the focus when the recent list puts it on another row.
    const std::optional<MediaItem> focused = channelAt(chanFocus);
    const std::optional<qint64> focusedUid = focused ? std::optional(focused->uid) : std::nullopt;
    rebuildCategories();
    if (m_selectedCat != PseudoCategory::recent || !focusedUid)
        return;
    const int row = rowOfUid(*focusedUid);
    if (row >= 0 && row != chanFocus) {
        chanFocus = row;
        scrollTarget = *focusedUid;
    }
}

QStringList LiveLists::recentChannelIds() const
{
    QStringList ids;
    for (const QString &key : m_recentLive) {
        if (key.startsWith(m_livePrefix))
            ids.append(key);
    }
    return ids;
}

void LiveLists::rebuildCategories()
{
    if (!m_index)
        return;
    m_categories = withSectionCategories(
        { { PseudoCategory::recent, QStringLiteral("recently_viewed"), {}, recentChannelIds().size(),
              QStringLiteral("clock.fill") },
            favoritesCategoryRow(m_ownFavorites.size()), allCategoryRow(m_index->all().size()) },
        *m_index->section);
    ++m_categoriesRevision;
    if (m_selectedCat == PseudoCategory::recent)
        rebuildItems();
}

void LiveLists::rebuildItems()
{
    if (!m_index) {
        m_rows.clear();
    } else if (m_selectedCat == PseudoCategory::recent) {
        m_rows = recentRows();
    } else if (m_selectedCat == PseudoCategory::favorites) {
        m_rows = favoriteRows();
    } else {
        m_rows = categoryRows();
    }
    applyFilter(m_rows);
    ++m_rowsRevision;
}

void LiveLists::rebuild()
{
    rebuildCategories();
    rebuildItems();
    focusSelectedCategory();
}

void LiveLists::focusSelectedCategory()
{
    const auto selected = std::find_if(m_categories.cbegin(), m_categories.cend(),
        [this](const CategoryEntry &entry) { return entry.id == m_selectedCat; });
    if (selected != m_categories.cend())
        catFocus = int(selected - m_categories.cbegin());
}

std::vector<qint32> LiveLists::categoryRows() const
{
    if (m_selectedCat == PseudoCategory::all) {
        std::vector<qint32> rows(size_t(m_index->all().size()));
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    }
    return m_index->section->byCategory.value(m_selectedCat);
}

std::vector<qint32> LiveLists::recentRows() const
{
    std::vector<qint32> rows;
    for (const QString &key : recentChannelIds()) {
        if (const qint32 row = m_index->lastRowOf(QStringView(key).sliced(m_livePrefix.size())); row >= 0)
            rows.push_back(row);
    }
    return rows;
}

std::vector<qint32> LiveLists::favoriteRows() const
{
    std::vector<qint32> rows;
    if (m_favoriteIds.isEmpty())
        return rows;
    const MediaItems &all = m_index->all();
    for (qint32 row = 0; row < qint32(all.size()); ++row) {
        if (m_favoriteIds.contains(all.id(row)))
            rows.push_back(row);
    }
    return rows;
}

void LiveLists::applyFilter(std::vector<qint32> &rows) const
{
    if (m_index)
        rows = m_index->foldedNames().matching(std::move(rows), m_filter);
}

void LiveLists::focusFirstRow(bool scroll)
{
    chanFocus = m_rows.empty() ? -1 : 0;
    if (scroll)
        scrollTarget = m_rows.empty() ? std::nullopt : std::optional(m_index->all().uid(m_rows.front()));
}

void LiveLists::move(int step)
{
    if (pane == kChannelPane) {
        if (m_rows.empty())
            return;
        chanFocus = chanFocus == -1 ? 0
                                    : std::clamp(qint64(chanFocus) + step, qint64(0), qint64(count() - 1));
        scrollTarget = m_index->all().uid(m_rows[size_t(chanFocus)]);
        return;
    }
    if (m_categories.isEmpty())
        return;
    catFocus = int(std::clamp(qint64(catFocus) + step, qint64(0), qint64(m_categories.size() - 1)));
    catScrollTarget = m_categories[catFocus].id;
    selectCategory(m_categories[catFocus].id);
}

std::optional<MediaItem> LiveLists::channelAt(int row) const
{
    if (!m_index || row < 0 || row >= count())
        return std::nullopt;
    return m_index->all().at(m_rows[size_t(row)]);
}

int LiveLists::rowOfUid(qint64 uid) const
{
    for (int row = 0; row < count(); ++row) {
        if (m_index->all().uid(m_rows[size_t(row)]) == uid)
            return row;
    }
    return -1;
}

bool LiveLists::numbered() const
{
    return m_selectedCat == PseudoCategory::recent || m_selectedCat == PseudoCategory::favorites;
}
