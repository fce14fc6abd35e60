#include "LiveScreenModel.h"

#include "app/AppState.h"
#include "app/ErrorMessages.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "playback/PlayerEngine.h"
#include "sources/AppClock.h"
#include "sources/AppError.h"
#include "sources/Catalog.h"

LiveScreenModel::LiveScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_prefs(app()->prefs())
    , m_catalog(this->deps().catalog)
    , m_engine(PlayerEngine::of(this->deps()))
    , m_playlist(activePlaylist())
    , m_lists(m_playlist ? m_playlist->id : 0)
    , m_guide(this->deps().catalog, this->deps().clock)
{
    m_lists.setFavorites(m_prefs->favorites());
    m_lists.setRecentLive(m_prefs->recentLive());
    m_channels.setItems(nullptr, m_lists.playlistId());
    m_channels.setFavoriteKeys(m_lists.favoriteKeys());
    connect(m_prefs, &Prefs::favoritesChanged, this, [this] {
        m_lists.favoritesChanged(m_prefs->favorites());
        m_channels.setFavoriteKeys(m_lists.favoriteKeys());
        sync();
        emit previewChanged();
    });
    connect(m_prefs, &Prefs::recentLiveChanged, this, [this] {
        m_lists.recentLiveChanged(m_prefs->recentLive());
        sync();
    });
    connect(m_prefs, &Prefs::aspectModeChanged, this, &LiveScreenModel::aspectModeChanged);
    connect(m_engine, &PlayerEngine::itemChanged, this, &LiveScreenModel::showPlayingKey);
    connect(m_engine, &PlayerEngine::errorChanged, this, &LiveScreenModel::showPlayingKey);
    showPlayingKey();
    // The channels load while the view is being made; they are there at once when their
    // lookups were prepared on home.
    load();
}

LiveScreenModel::~LiveScreenModel()
{
    // The engine may have gone first, at the end of a run.
    if (m_engine && wasOpened())
        m_engine->stop();
}

void LiveScreenModel::shown()
{
    if (!m_playlist)
        app()->backToStart();
}

void LiveScreenModel::requestReload()
{
    ++m_reload;
    load();
}

QCoro::Task<> LiveScreenModel::load()
{
    const quint64 run = ++m_loadRun;
    if (!m_playlist || (m_lists.hasSection() && m_reload == 0))
        co_return;
    const bool force = m_reload > 0;
    setError(std::nullopt);
    if (force)
        applySection(nullptr);
    const QPointer<LiveScreenModel> self(this);
    try {
        const SectionPtr section = co_await m_catalog->load(*m_playlist, ContentType::live, force);
        if (!self || run != m_loadRun)
            co_return;
        const ChannelIndexPtr index = co_await ChannelIndex::of(section);
        if (!self || run != m_loadRun)
            co_return;
        applySection(index);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (self && run == m_loadRun && !isCancellation(error))
            setError(userMessage(error));
    }
}

void LiveScreenModel::applySection(ChannelIndexPtr index)
{
    m_channels.setItems(ContentListModel::itemsOf(index ? index->section : nullptr), m_lists.playlistId());
    m_lists.setSection(std::move(index));
    m_shownRows = 0;
    m_shownCategories = 0;
    sync();
    showPlayingKey();
    if (index)
        emit contentReadyChanged();
}

// Hands what the lists rebuilt to the column models and passes on scroll requests.
void LiveScreenModel::sync()
{
    if (m_lists.rowsRevision() != m_shownRows) {
        m_shownRows = m_lists.rowsRevision();
        m_channels.setNumbered(m_lists.numbered());
        m_channels.refillRows(m_lists.rows());
    }
    if (m_lists.categoriesRevision() != m_shownCategories) {
        m_shownCategories = m_lists.categoriesRevision();
        m_categories.setRows(m_lists.categories());
    }
    const bool channelPane = m_lists.pane == LiveLists::kChannelPane;
    m_channels.setFocusedRow(channelPane ? m_lists.chanFocus : -1);
    m_categories.setFocusedRow(channelPane ? -1 : m_lists.catFocus);
    m_categories.setSelectedRow(m_categories.rowOfId(m_lists.selectedCat()));
    if (const std::optional<qint64> uid = std::exchange(m_lists.scrollTarget, std::nullopt)) {
        const int row = m_lists.chanFocus >= 0 && m_lists.channelAt(m_lists.chanFocus)
                && m_lists.channelAt(m_lists.chanFocus)->uid == *uid
            ? m_lists.chanFocus
            : m_lists.rowOfUid(*uid);
        if (row >= 0)
            emit channelScrollRequested(row);
    }
    if (m_lists.catScrollTarget && m_lists.catScrollTarget != m_scrolledCategory) {
        m_scrolledCategory = m_lists.catScrollTarget;
        if (const int row = m_categories.rowOfId(*m_scrolledCategory); row >= 0)
            emit categoryScrollRequested(row);
    }
    emit stateChanged();
}

void LiveScreenModel::setError(std::optional<QString> error)
{
    m_error = std::move(error);
    emit stateChanged();
}

void LiveScreenModel::setFilter(const QString &filter)
{
    const bool changed = filter != m_lists.filter();
    m_lists.setFilter(filter);
    sync();
    // The rows change in place, so the list is brought back to its start.
    if (changed && m_lists.count() > 0)
        emit channelScrollRequested(0);
}

QString LiveScreenModel::selectedName() const
{
    const int row = m_categories.rowOfId(m_lists.selectedCat());
    return row < 0 ? QString()
                   : m_categories.data(m_categories.index(row), CategoryColumnModel::NameRole).toString();
}

QString LiveScreenModel::itemsText() const
{
    const qint64 count = m_lists.count();
    return trCount(QStringLiteral("items_n"), count, { count });
}

bool LiveScreenModel::favoritesSelected() const
{
    return m_lists.selectedCat() == PseudoCategory::favorites;
}

int LiveScreenModel::aspectMode() const
{
    return int(m_prefs->aspectMode());
}

// The channel the engine holds keeps its fill; the bars go while its playback failed.
void LiveScreenModel::showPlayingKey()
{
    m_channels.setPlayingKey(m_engine->itemKey(), m_engine->hasError());
}

void LiveScreenModel::openSearch()
{
    app()->push(Routes::Search {});
}

void LiveScreenModel::selectCategory(int index)
{
    if (index < 0 || index >= m_lists.categories().size())
        return;
    m_lists.catFocus = index;
    m_lists.pane = LiveLists::kCategoryPane;
    m_lists.selectCategory(m_lists.categories()[index].id);
    sync();
}

void LiveScreenModel::clickChannel(int index)
{
    m_lists.pane = LiveLists::kChannelPane;
    m_lists.chanFocus = index;
    sync();
    activate(index);
}

void LiveScreenModel::doubleClickChannel(int index)
{
    m_lists.pane = LiveLists::kChannelPane;
    m_lists.chanFocus = index;
    sync();
    openFullScreen(index);
}
