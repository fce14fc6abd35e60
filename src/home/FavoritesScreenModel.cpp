#include "FavoritesScreenModel.h"

#include "ContentOpener.h"
#include "kit/GridFocus.h"
#include "app/AppState.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "kit/GridMetrics.h"
#include "model/ContentKeys.h"

namespace {

constexpr ContentType kTabTypes[FavoritesScreenModel::kTabCount]
    = { ContentType::live, ContentType::movie, ContentType::series };
const char *const kTabTitles[FavoritesScreenModel::kTabCount] = { "live_tv", "movies", "series" };

} // namespace

FavoritesScreenModel::FavoritesScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_items(new ContentListModel(this))
{
    connect(app()->prefs(), &Prefs::favoritesChanged, this, &FavoritesScreenModel::rebuild);
    connect(app(), &AppState::deviceChanged, this, &FavoritesScreenModel::rebuild);
    rebuild();
}

void FavoritesScreenModel::setTab(int tab)
{
    tab = ((tab % kTabCount) + kTabCount) % kTabCount;
    setFocus(-1);
    if (tab == m_tab)
        return;
    m_tab = tab;
    emit tabChanged();
    rebuild();
    measure(m_width);
}

QVariantList FavoritesScreenModel::tabs() const
{
    QVariantList tabs;
    for (int i = 0; i < kTabCount; ++i) {
        tabs.append(QVariantMap { { QStringLiteral("title"), ::tr(QString::fromLatin1(kTabTitles[i])) },
            { QStringLiteral("count"), int(entries(kTabTypes[i]).size()) } });
    }
    return tabs;
}

QList<FavoriteEntry> FavoritesScreenModel::entries(ContentType type) const
{
    if (!m_playlist)
        return {};
    return favoritesOf(app()->prefs()->favorites(), m_playlist->id, type);
}

int FavoritesScreenModel::columnsFor(qreal width, ContentType type)
{
    const qreal cellWidth = type == ContentType::live ? GridMetrics::kChannelWidth
                                                      : GridMetrics::kPosterWidth;
    return GridMetrics::columns(width, cellWidth, GridMetrics::kTileSpacing);
}

void FavoritesScreenModel::measure(qreal width)
{
    m_width = width;
    const int columns = columnsFor(width, tabType());
    if (columns == m_columns)
        return;
    m_columns = columns;
    emit columnsChanged();
}

ContentType FavoritesScreenModel::tabType() const
{
    return kTabTypes[m_tab];
}

QList<MediaItem> FavoritesScreenModel::itemsOf(const QList<FavoriteEntry> &entries) const
{
    QList<MediaItem> items;
    items.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const FavoriteEntry &entry = entries[i];
        items.append(MediaItem { .uid = i,
            .type = entry.type,
            .id = entry.id,
            .name = entry.name,
            .logo = entry.logo,
            .categoryId = entry.categoryId,
            .url = entry.url,
            .epgId = entry.epgId,
            .ext = entry.ext,
            .rating = entry.rating,
            .num = i + 1,
            .catchup = entry.catchup });
    }
    return items;
}

void FavoritesScreenModel::rebuild()
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (playlist != m_playlist) {
        m_playlist = playlist;
        emit playlistChanged();
    }
    const QList<FavoriteEntry> shown = entries(tabType());
    m_items->setItems(ContentListModel::itemsOf(itemsOf(shown)), m_playlist ? m_playlist->id : 0);
    m_items->setFavoriteKeys(favoriteKeys(shown));
    // A focus past the end (the last cell removed) stays there, showing no cell.
    m_items->setFocusedRow(m_focus < m_items->count() ? m_focus : -1);
    emit listsChanged();
}

void FavoritesScreenModel::open(int index)
{
    if (!m_playlist)
        return;
    openContent(*app(), *m_playlist, m_items->items(), index);
}

void FavoritesScreenModel::toggleFavorite(int index)
{
    const QList<FavoriteEntry> shown = entries(tabType());
    if (index < 0 || index >= shown.size())
        return;
    app()->toggleFavorite(shown[index]);
}

bool FavoritesScreenModel::handleKey(const Key &key)
{
    if (const std::optional<int> focus = gridFocusMove(m_focus, key.kind, m_columns, m_items->count())) {
        setFocus(*focus);
        return true;
    }
    switch (key.kind) {
    case Key::Kind::enter:
    case Key::Kind::space:
        open(m_focus);
        return true;
    case Key::Kind::tab:
        setTab(m_tab + 1);
        return true;
    case Key::Kind::character:
        if (key.text != QStringLiteral("h"))
            return false;
        toggleFavorite(m_focus);
        return true;
    default:
        return false;
    }
}

void FavoritesScreenModel::setFocus(int focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    m_items->setFocusedRow(m_focus < m_items->count() ? m_focus : -1);
    emit focusChanged();
}
