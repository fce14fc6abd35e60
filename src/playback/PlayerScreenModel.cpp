#include "PlayerScreenModel.h"

#include "PlayerEngine.h"
#include "app/AppState.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"

PlayerScreenModel::PlayerScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
    , m_prefs(app()->prefs())
    , m_engine(PlayerEngine::of(this->deps()))
    , m_queue(payload<Routes::Player>() ? payload<Routes::Player>()->queue : PlayQueue {})
    , m_list([this](int position) { zap(position); })
    , m_chrome(this->deps().clock, m_prefs,
          { .listShown = [this] { return m_list.shown(); },
              .hasError = [this] { return hasError(); },
              .held = [this] { return m_list.shown() || m_seek.scrubbing() || m_tracks.menuOpen(); } })
    , m_seek(m_engine, &m_chrome)
    , m_tracks(m_engine)
    , m_picture(m_prefs, this->deps().clock, &m_chrome)
    , m_subtitles(m_engine, &m_chrome)
{
    m_list.setQueue(m_queue);
    connectSources();
}

void PlayerScreenModel::connectSources()
{
    connect(&m_list, &PlayerQueueList::shownChanged, this, [this] { m_chrome.refresh(); });
    // A menu held the overlay past its delay: once closed, the delay starts again.
    connect(&m_tracks, &PlayerTracks::menuOpenChanged, this, [this] {
        if (!m_tracks.menuOpen())
            m_chrome.show();
    });
    connect(app(), &AppState::isFullScreenChanged, this, &PlayerScreenModel::fullScreenChanged);
    connect(m_prefs, &Prefs::favoritesChanged, this, &PlayerScreenModel::favoriteChanged);
    const auto engineChanged = [this] {
        emit engineStateChanged();
        emit liveBadgeChanged();
        showPlayingRow();
        m_chrome.refresh();
    };
    for (auto signal :
        { &PlayerEngine::itemChanged, &PlayerEngine::bufferingChanged, &PlayerEngine::errorChanged,
            &PlayerEngine::isPlayingChanged, &PlayerEngine::seekableChanged, &PlayerEngine::durationChanged,
            &PlayerEngine::audioOptionsChanged, &PlayerEngine::subtitleOptionsChanged })
        connect(m_engine, signal, this, engineChanged);
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

void PlayerScreenModel::shown()
{
    const int n = count();
    setIndex(n > 0 ? int(std::clamp<qint64>(m_queue.start, 0, n - 1)) : 0);
    m_chrome.startClock();
    m_engine->hold(this);
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
            app()->showToast(::tr(QStringLiteral("resumed_at"), { formatDuration(*start) }));
    }
    m_list.setFocusRow(m_index);
    m_chrome.show();
}

void PlayerScreenModel::removed()
{
    m_chrome.stop();
    m_picture.stop();
    m_subtitles.stop();
    if (m_engine->heldBy(this))
        m_engine->stop();
}

std::optional<double> PlayerScreenModel::resumeStart(const PlayItem &item) const
{
    if (item.live || !m_queue.resume)
        return std::nullopt;
    const std::optional<Prefs::ResumePoint> point = m_prefs->resumePoint(item.key);
    return point ? std::optional<double>(point->pos) : std::nullopt;
}

void PlayerScreenModel::setIndex(int index)
{
    m_index = index;
    m_current = m_list.channels()->itemAt(index);
    showPlayingRow();
    emit indexChanged();
    emit liveBadgeChanged();
    emit favoriteChanged();
}

// The side list marks the entry being played; the bars go while its playback failed.
void PlayerScreenModel::showPlayingRow()
{
    m_list.channels()->setPlayingRow(m_index, hasError());
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
