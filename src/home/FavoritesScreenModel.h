#pragma once

#include "app/RouteScreen.h"
#include "kit/ContentListModel.h"
#include "model/Records.h"

#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The favourites of the active playlist in three tabs (channels, movies, series) shown as a
// grid: a channel plays in a queue of the tab's channels, a movie or series opens its
// details, and a favourite can be removed. The lists follow the stored favourites.
class FavoritesScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist NOTIFY playlistChanged)
    Q_PROPERTY(QString playlistName READ playlistName NOTIFY playlistChanged)
    Q_PROPERTY(int tab READ tab WRITE setTab NOTIFY tabChanged)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)
    Q_PROPERTY(int columns READ columns NOTIFY columnsChanged)
    // One map per tab: title, count.
    Q_PROPERTY(QVariantList tabs READ tabs NOTIFY listsChanged)
    Q_PROPERTY(ContentListModel *items READ items CONSTANT)

public:
    static constexpr int kTabCount = 3;

    FavoritesScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);

    bool hasPlaylist() const { return m_playlist.has_value(); }
    QString playlistName() const { return m_playlist ? m_playlist->name : QString(); }
    int tab() const { return m_tab; }
    void setTab(int tab);
    int focus() const { return m_focus; }
    int columns() const { return m_columns; }
    QVariantList tabs() const;
    ContentListModel *items() const { return m_items; }

    // The tab's favourites of the active playlist, in stored order.
    QList<FavoriteEntry> entries(ContentType type) const;
    // Column count of the grid at this width, for the current tab.
    static int columnsFor(qreal width, ContentType type);
    Q_INVOKABLE void measure(qreal width);

    Q_INVOKABLE void open(int index);
    Q_INVOKABLE void toggleFavorite(int index);
    bool handleKey(const Key &key) override;

signals:
    void playlistChanged();
    void tabChanged();
    void focusChanged();
    void columnsChanged();
    void listsChanged();

private:
    ContentType tabType() const;
    // The entries of the tab as content items: uid and number from the position.
    QList<MediaItem> itemsOf(const QList<FavoriteEntry> &entries) const;
    void rebuild();
    void setFocus(int focus);

    std::optional<Playlist> m_playlist;
    ContentListModel *m_items;
    int m_tab = 0;
    int m_focus = -1;
    int m_columns = 6;
    qreal m_width = 0;
};
