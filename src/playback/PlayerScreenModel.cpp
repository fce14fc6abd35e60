#include "PlayerScreenModel.h"

#include "PlayerEngine.h"
#include "app/AppClock.h"
#include "app/AppState.h"
#include "app/Formatters.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"

PlayerScreenModel::PlayerScreenModel(QObject *parent)
    : PlayerScreenModel(AppState::shared(), Prefs::shared(), PlayerEngine::shared(), KeyRouter::shared(),
        AppClock::system(), parent)
{
}

PlayerScreenModel::PlayerScreenModel(
    AppState *app, Prefs *prefs, PlayerEngine *engine, KeyRouter *router, AppClock *clock, QObject *parent)
    : KeyHandler(router, parent)
    , m_app(app)
    , m_prefs(prefs)
    , m_engine(engine)
    , m_list([this](int position) { zap(position); })
    , m_chrome(clock,
          { .listShown = [this] { return m_list.shown(); },
              .hasError = [this] { return hasError(); },
              .held = [this] { return m_list.shown() || m_seek.scrubbing() || m_tracks.menuOpen(); } })
    , m_seek(engine, &m_chrome)
    , m_tracks(engine)
    , m_picture(prefs, clock, &m_chrome)
{
    connectSources();
}

void PlayerScreenModel::connectSources()
{
    connect(m_app, &AppState::stackChanged, this, &PlayerScreenModel::onStackChanged);
    connect(&m_list, &PlayerQueueList::shownChanged, this, [this] { m_chrome.refresh(); });
    connect(m_app, &AppState::isFullScreenChanged, this, &PlayerScreenModel::fullScreenChanged);
    connect(m_prefs, &Prefs::favoritesChanged, this, &PlayerScreenModel::favoriteChanged);
    const auto engineChanged = [this] {
        emit engineStateChanged();
        m_chrome.refresh();
    };
    for (auto signal :
        { &PlayerEngine::itemChanged, &PlayerEngine::bufferingChanged, &PlayerEngine::errorChanged,
            &PlayerEngine::isPlayingChanged, &PlayerEngine::seekableChanged, &PlayerEngine::durationChanged,
            &PlayerEngine::audioOptionsChanged, &PlayerEngine::subtitleOptionsChanged })
        connect(m_engine, signal, this, engineChanged);
}

void PlayerScreenModel::setEntryId(const QString &entryId)
{
    if (entryId == m_entryId || m_started)
        return;
    m_entryId = entryId;
    const std::optional<Route> route = m_app->routeOf(QUuid::fromString(entryId));
    const auto *player = route ? std::get_if<Routes::Player>(&*route) : nullptr;
    m_queue = player ? std::optional<PlayQueue>(player->queue) : std::nullopt;
    m_list.setQueue(m_queue.value_or(PlayQueue {}));
    emit entryChanged();
}

void PlayerScreenModel::useClock(AppClock *clock)
{
    m_chrome.useClock(clock);
    m_picture.useClock(clock);
}

QString PlayerScreenModel::title() const
{
    return m_current ? m_current->title : QString();
}

QString PlayerScreenModel::subtitle() const
{
    return m_current ? m_current->subtitle.value_or(QString()) : QString();
}

QString PlayerScreenModel::logo() const
{
    return m_current ? m_current->logo.value_or(QString()) : QString();
}

int PlayerScreenModel::liveNumber() const
{
    return live() && m_current->number >= 1 ? int(m_current->number) : 0;
}

void PlayerScreenModel::appear()
{
    if (m_started)
        return;
    m_started = true;
    const int n = count();
    setIndex(n > 0 ? int(std::clamp<qint64>(m_queue->start, 0, n - 1)) : 0);
    m_chrome.startClock();
    if (!m_current)
        return;
    const std::optional<PlayItem> &playing = m_engine->item();
    if (playing && playing->key == m_current->key && playing->url == m_current->url
        && !m_engine->hasError()) {
        m_engine->continuePlaying();
    } else {
        const std::optional<double> start = resumeStart(*m_current);
        m_engine->play(*m_current, start);
        if (start)
            m_app->showToast(::tr(QStringLiteral("resumed_at"), { formatDuration(*start) }));
    }
    m_list.setFocusRow(m_index);
    m_chrome.show();
}

void PlayerScreenModel::onStackChanged()
{
    if (m_gone || m_entryId.isEmpty() || m_app->routeOf(QUuid::fromString(m_entryId)))
        return;
    disappear();
}

void PlayerScreenModel::disappear()
{
    if (m_gone)
        return;
    m_gone = true;
    m_chrome.stop();
    m_picture.stop();
    const std::optional<PlayItem> &playing = m_engine->item();
    if (isRoute<Routes::Live>(m_app->current()) && playing && playing->live)
        return;
    m_engine->stop();
}

std::optional<double> PlayerScreenModel::resumeStart(const PlayItem &item) const
{
    if (item.live || !m_queue || !m_queue->resume)
        return std::nullopt;
    const std::optional<Prefs::ResumePoint> point = m_prefs->resumePoint(item.key);
    return point ? std::optional<double>(point->pos) : std::nullopt;
}

void PlayerScreenModel::setIndex(int index)
{
    m_index = index;
    m_current = m_list.channels()->itemAt(index);
    m_list.channels()->setPlayingRow(index);
    emit indexChanged();
}

void PlayerScreenModel::tap()
{
    if (m_list.shown())
        m_list.close();
    else
        m_chrome.toggle();
}

void PlayerScreenModel::zap(int position)
{
    const int n = count();
    if (n < 1)
        return;
    const int target = ((position % n) + n) % n;
    setIndex(target);
    m_list.setFocusRow(target);
    if (m_current)
        playEntry(*m_current);
    m_chrome.show();
}

// A zap: live channels go to the recently watched ones, other items start where they were left.
void PlayerScreenModel::playEntry(const PlayItem &item)
{
    if (item.live) {
        m_engine->play(item);
        if (item.favorite)
            m_prefs->addRecentLive(itemKey(*item.favorite));
        return;
    }
    m_engine->play(item, resumeStart(item));
}

void PlayerScreenModel::back()
{
    m_app->pop();
}
