#pragma once

#include "ChannelIndex.h"
#include "kit/CategoryEntry.h"
#include "model/Records.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The channel and category lists of the live screen: what each list shows for the selected
// category, the filter, the stored favourites and recently watched channels, and where the
// keyboard focus and the scroll requests of both columns stand. Plain view state, rebuilt
// when an input changes; nothing here is stored or plays anything.
class LiveLists {
public:
    // Keyboard panes.
    static constexpr int kCategoryPane = 0;
    static constexpr int kChannelPane = 1;

    explicit LiveLists(qint64 playlistId = 0);

    qint64 playlistId() const { return m_playlistId; }
    // "<playlist id>|LIVE|<channel id>".
    QString keyOf(const MediaItem &channel) const;

    // Stored lists, kept as given; call the matching change rule after a change.
    void setFavorites(const QList<FavoriteEntry> &favorites);
    void setRecentLive(const QStringList &recentLive);
    const QSet<QString> &favoriteKeys() const { return m_favoriteKeys; }

    // The live section arrived (null: a reload dropped it); rebuilds both lists.
    void setSection(ChannelIndexPtr index);
    bool hasSection() const { return m_index != nullptr; }
    const ChannelIndexPtr &index() const { return m_index; }

    // Change rules of the inputs.
    void selectCategory(const QString &id);
    void setFilter(const QString &filter);
    void favoritesChanged(const QList<FavoriteEntry> &favorites);
    void recentLiveChanged(const QStringList &recentLive);

    // Entries of the recently watched channels that belong to this playlist, newest first.
    QStringList recentChannelIds() const;
    void rebuildCategories();
    void rebuildItems();
    void rebuild();
    void focusSelectedCategory();

    // Moves the focus of the keyboard pane by `step` rows, clamped (Home/End pass a large step).
    void move(int step);

    // Channels on show, as rows of the section's `all`.
    const std::vector<qint32> &rows() const { return m_rows; }
    int count() const { return int(m_rows.size()); }
    // The channel on show at `row`; nullptr outside the list.
    std::optional<MediaItem> channelAt(int row) const;
    // The first row on show with this uid; -1 when none.
    int rowOfUid(qint64 uid) const;
    const QList<CategoryEntry> &categories() const { return m_categories; }
    // Numbers of the rows count from 1 in the recent and favourite lists.
    bool numbered() const;
    // Bumped whenever the rows on show or the categories were rebuilt.
    quint64 rowsRevision() const { return m_rowsRevision; }
    quint64 categoriesRevision() const { return m_categoriesRevision; }

    const QString &selectedCat() const { return m_selectedCat; }
    const QString &filter() const { return m_filter; }

    int pane = kChannelPane;
    int catFocus = 0;
    int chanFocus = -1;
    std::optional<qint64> scrollTarget;
    std::optional<QString> catScrollTarget;

private:
    std::vector<qint32> categoryRows() const;
    std::vector<qint32> recentRows() const;
    std::vector<qint32> favoriteRows() const;
    void applyFilter(std::vector<qint32> &rows) const;
    void focusFirstRow(bool scroll);

    qint64 m_playlistId;
    QString m_livePrefix;
    ChannelIndexPtr m_index;
    QString m_selectedCat;
    QString m_filter;
    QList<FavoriteEntry> m_ownFavorites; // this playlist's live favourites
    QStringList m_recentLive;
    QSet<QString> m_favoriteKeys;
    QSet<QString> m_favoriteIds; // their ids
    std::vector<qint32> m_rows;
    QList<CategoryEntry> m_categories;
    quint64 m_rowsRevision = 0;
    quint64 m_categoriesRevision = 0;
};
