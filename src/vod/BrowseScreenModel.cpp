#include "BrowseScreenModel.h"

#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "app/ErrorMessages.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "kit/GridFocus.h"
#include "kit/GridMetrics.h"
#include "model/ContentKeys.h"
#include "sources/AppError.h"
#include "sources/Catalog.h"

#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoroFuture>

BrowseScreenModel::BrowseScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_selectedCat(PseudoCategory::all)
    , m_posters(new ContentListModel(this))
{
    if (const auto *browse = payload<Routes::Browse>())
        m_type = browse->type;
    connect(app(), &AppState::deviceChanged, this, &BrowseScreenModel::playlistChanged);
    connect(prefs(), &Prefs::favoritesChanged, this, [this] {
        showFavoriteBadges();
        rebuild();
    });
}

int BrowseScreenModel::state() const
{
    if (m_index)
        return Loaded;
    return m_error ? Failed : Loading;
}

QString BrowseScreenModel::title() const
{
    return ::tr(m_type == ContentType::series ? QStringLiteral("series") : QStringLiteral("movies"));
}

QString BrowseScreenModel::playlistName() const
{
    const std::optional<Playlist> playlist = activePlaylist();
    return playlist ? playlist->name : QString();
}

QString BrowseScreenModel::categoryName() const
{
    const int row = m_categories.rowOfId(m_selectedCat);
    return row < 0 ? QString()
                   : m_categories.data(m_categories.index(row), CategoryColumnModel::NameRole).toString();
}

QString BrowseScreenModel::countText() const
{
    const qint64 count = m_posters->count();
    return trCount(QStringLiteral("items_n"), count, { count });
}

QString BrowseScreenModel::emptyIcon() const
{
    return m_selectedCat == PseudoCategory::favorites ? QStringLiteral("heart") : QStringLiteral("film");
}

QString BrowseScreenModel::emptyText() const
{
    return ::tr(m_selectedCat == PseudoCategory::favorites ? QStringLiteral("no_favorites_hint")
                                                           : QStringLiteral("no_items"));
}

void BrowseScreenModel::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    emit filterChanged();
    rebuild();
}

void BrowseScreenModel::setSort(int sort)
{
    if (sort == m_sort)
        return;
    m_sort = sort;
    emit sortChanged();
    rebuild();
}

// The first load, or a new try after a failure; a loaded section stays, and so does a
// load still running (a refresh the screen was left during).
void BrowseScreenModel::becameTop()
{
    if (!activePlaylist()) {
        // Without a playlist there is nothing to browse: start again from the root.
        if (AppState *state = app()) {
            QMetaObject::invokeMethod(
                state,
                [state = QPointer<AppState>(state)] {
                if (state)
                    state->backToStart();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    if (!m_index && !m_loading)
        load(false);
}

void BrowseScreenModel::requestReload()
{
    load(true);
}

QCoro::Task<> BrowseScreenModel::load(bool force)
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist)
        co_return;
    // A newer run (a reload) makes this one's outcome irrelevant.
    const quint64 run = ++m_run;
    m_loading = true;
    m_error.reset();
    if (force)
        m_index.reset();
    emit stateChanged();
    const QPointer<BrowseScreenModel> self(this);
    std::exception_ptr failure;
    try {
        const SectionPtr section = co_await deps().catalog->load(*playlist, m_type, force);
        if (!self || run != m_run)
            co_return;
        const SectionLookupsPtr lookups = co_await SectionLookups::of(section);
        if (!self || run != m_run)
            co_return;
        const QLocale locale = localeFor(activeLanguage());
        auto index = co_await QtConcurrent::run([section, lookups, locale] {
            return std::make_shared<const BrowseIndex>(section, lookups, locale);
        });
        if (!self || run != m_run)
            co_return;
        m_loading = false;
        m_index = std::move(index);
        m_posters->setItems(ContentListModel::itemsOf(m_index->section()), playlist->id);
        showFavoriteBadges();
        rebuild();
        emit stateChanged();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure || !self || run != m_run)
        co_return;
    m_loading = false;
    if (isCancellation(failure))
        co_return;
    m_error = userMessage(failure);
    emit stateChanged();
}

QList<FavoriteEntry> BrowseScreenModel::screenFavorites() const
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist)
        return {};
    return favoritesOf(prefs()->favorites(), playlist->id, m_type);
}

void BrowseScreenModel::showFavoriteBadges()
{
    m_posters->setFavoriteKeys(favoriteKeys(prefs()->favorites()));
}

void BrowseScreenModel::rebuild()
{
    if (!m_index)
        return;
    const QList<FavoriteEntry> favorites = screenFavorites();
    m_categories.setRows(withSectionCategories(
        { allCategoryRow(m_index->size()), favoritesCategoryRow(favorites.size()) }, *m_index->section()));
    m_categories.setSelectedRow(m_categories.rowOfId(m_selectedCat));
    QSet<QString> favoriteIds;
    for (const FavoriteEntry &entry : favorites)
        favoriteIds.insert(entry.id);
    // The same rows leave the grid alone: a reset would scroll it back to the top.
    std::vector<qint32> rows = m_index->rows({ m_selectedCat, favoriteIds, m_filter, m_sort });
    if (rows != m_posters->rows())
        m_posters->setRows(std::move(rows));
    m_posters->setFocusedRow(m_pane == 1 ? m_focus : -1);
    if (const int row = m_categories.rowOfId(m_selectedCat); row >= 0)
        setFocus(m_pane, row, m_focus);
    emit rowsChanged();
}

void BrowseScreenModel::setSelectedCat(const QString &id)
{
    if (id == m_selectedCat)
        return;
    m_selectedCat = id;
    rebuild();
    setFocus(m_pane, m_catFocus, -1);
    if (m_posters->count() > 0)
        emit scrollToPoster(0);
}

void BrowseScreenModel::selectCategory(int index)
{
    if (index < 0 || index >= m_categories.count())
        return;
    setFocus(m_pane, index, m_focus);
    setSelectedCat(m_categories.rows()[index].id);
}

void BrowseScreenModel::setFocus(int pane, int catFocus, int focus)
{
    if (pane == m_pane && catFocus == m_catFocus && focus == m_focus)
        return;
    m_pane = pane;
    m_catFocus = catFocus;
    m_focus = focus;
    m_posters->setFocusedRow(m_pane == 1 ? m_focus : -1);
    m_categories.setFocusedRow(m_pane == 0 ? m_catFocus : -1);
    emit focusChanged();
}

void BrowseScreenModel::setGridWidth(qreal width)
{
    const int columns = GridMetrics::columns(
        width - 2 * GridMetrics::kPosterInset, GridMetrics::kPosterWidth, GridMetrics::kTileSpacing);
    if (columns == m_columns)
        return;
    m_columns = columns;
    emit columnsChanged();
}

void BrowseScreenModel::scrollToFocus()
{
    if (m_focus >= 0 && m_focus < m_posters->count())
        emit scrollToPoster(m_focus);
}

bool BrowseScreenModel::handleKey(const Key &key)
{
    if (!m_index)
        return false;
    return m_pane == 0 ? categoryPaneKey(key) : gridKey(key);
}

bool BrowseScreenModel::categoryPaneKey(const Key &key)
{
    const int count = m_posters->count();
    switch (key.kind) {
    case Key::Kind::up:
    case Key::Kind::down: {
        const int step = key.kind == Key::Kind::up ? -1 : 1;
        const int target = qBound(0, m_catFocus + step, m_categories.count() - 1);
        setFocus(0, target, m_focus);
        emit scrollToCategory(target);
        setSelectedCat(m_categories.rows()[target].id);
        return true;
    }
    case Key::Kind::right:
    case Key::Kind::enter:
    case Key::Kind::tab:
        if (count > 0) {
            setFocus(1, m_catFocus, qBound(0, m_focus, count - 1));
            scrollToFocus();
        }
        return true;
    default:
        return false;
    }
}

bool BrowseScreenModel::gridKey(const Key &key)
{
    const int count = m_posters->count();
    // Left from the first column leads back to the categories, and so does an empty grid.
    const bool firstColumn = m_focus < 0 ? count == 0 : m_focus % m_columns == 0;
    if (key.kind == Key::Kind::left && firstColumn) {
        setFocus(0, m_catFocus, m_focus);
        if (m_catFocus >= 0 && m_catFocus < m_categories.count())
            emit scrollToCategory(m_catFocus);
        return true;
    }
    std::optional<int> focus = gridFocusMove(m_focus, key.kind, m_columns, count);
    const auto clamp = [count](int row) { return count == 0 ? 0 : qBound(0, row, count - 1); };
    switch (key.kind) {
    case Key::Kind::pageUp:
        focus = clamp(m_focus - 3 * m_columns);
        break;
    case Key::Kind::pageDown:
        focus = clamp(m_focus + 3 * m_columns);
        break;
    case Key::Kind::enter:
    case Key::Kind::space:
        open(m_focus);
        return true;
    case Key::Kind::tab:
        setFocus(0, m_catFocus, m_focus);
        return true;
    default:
        break;
    }
    if (!focus)
        return false;
    setFocus(1, m_catFocus, *focus);
    scrollToFocus();
    return true;
}

void BrowseScreenModel::open(int row)
{
    const std::optional<MediaItem> item = m_posters->itemAt(row);
    if (item)
        openRoute(detailsRoute(m_type, *item));
}

void BrowseScreenModel::toggleFavoriteAt(int row)
{
    if (std::optional<MediaItem> item = m_posters->itemAt(row))
        toggleFavorite(std::move(*item));
}

void BrowseScreenModel::showSortDialog()
{
    const QPointer<BrowseScreenModel> self(this);
    app()->setDialog(std::make_unique<ChoiceDialogModel>(::tr(QStringLiteral("sort")),
        QStringList { ::tr(QStringLiteral("sort_default")), ::tr(QStringLiteral("sort_az")),
            ::tr(QStringLiteral("sort_za")) },
        m_sort, [self](int index) {
            if (self)
                self->setSort(index);
        }));
}

void BrowseScreenModel::openSearch()
{
    openRoute(Routes::Search {});
}
