#include "PlayerScreenModel.h"

#include "PlayerEngine.h"
#include "app/AppState.h"
#include "app/Formatters.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "sources/AppClock.h"

#include <QCursor>
#include <QDateTime>
#include <QGuiApplication>

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
    , m_channels(std::make_unique<PlayQueueModel>(PlayQueue {}))
    , m_hideTimer(clock->createTimer())
    , m_clockTimer(clock->createTimer())
    , m_aspectTimer(clock->createTimer())
{
    connectSources();
}

PlayerScreenModel::~PlayerScreenModel()
{
    restoreCursor();
}

void PlayerScreenModel::connectSources()
{
    connect(m_app, &AppState::stackChanged, this, &PlayerScreenModel::onStackChanged);
    connect(m_app, &AppState::isFullScreenChanged, this, &PlayerScreenModel::fullScreenChanged);
    connect(m_prefs, &Prefs::favoritesChanged, this, &PlayerScreenModel::favoriteChanged);
    connect(m_prefs, &Prefs::aspectModeChanged, this, &PlayerScreenModel::aspectModeChanged);
    const auto engineChanged = [this] {
        emit engineStateChanged();
        emit seekRowChanged();
        updateChrome();
    };
    for (auto signal :
        { &PlayerEngine::itemChanged, &PlayerEngine::bufferingChanged, &PlayerEngine::errorChanged,
            &PlayerEngine::isPlayingChanged, &PlayerEngine::seekableChanged, &PlayerEngine::durationChanged,
            &PlayerEngine::audioOptionsChanged, &PlayerEngine::subtitleOptionsChanged })
        connect(m_engine, signal, this, engineChanged);
    connect(m_engine, &PlayerEngine::positionChanged, this, &PlayerScreenModel::seekRowChanged);
}

void PlayerScreenModel::setEntryId(const QString &entryId)
{
    if (entryId == m_entryId || m_started)
        return;
    m_entryId = entryId;
    const std::optional<Route> route = m_app->routeOf(QUuid::fromString(entryId));
    const auto *player = route ? std::get_if<Routes::Player>(&*route) : nullptr;
    m_queue = player ? std::optional<PlayQueue>(player->queue) : std::nullopt;
    m_channels = std::make_unique<PlayQueueModel>(m_queue.value_or(PlayQueue {}));
    emit entryChanged();
}

void PlayerScreenModel::useClock(AppClock *clock)
{
    const bool hiding = m_hideTimer->isActive();
    const bool ticking = m_clockTimer->isActive();
    const bool toast = m_aspectTimer->isActive();
    m_hideTimer = clock->createTimer();
    m_clockTimer = clock->createTimer();
    m_aspectTimer = clock->createTimer();
    if (hiding)
        hideAfterDelay();
    if (ticking)
        startClock();
    if (toast)
        endAspectToastLater();
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

bool PlayerScreenModel::chromeShown() const
{
    return (m_controls && !m_showList) || hasError();
}

QString PlayerScreenModel::clockText() const
{
    return formatClock(QDateTime::currentDateTime());
}

int PlayerScreenModel::aspectMode() const
{
    const qint64 mode = m_prefs->aspectMode();
    return mode == 1 || mode == 2 ? int(mode) : 0;
}

QString PlayerScreenModel::aspectLabel() const
{
    static const char *const kLabels[] = { "aspect_fill", "aspect_fit", "aspect_zoom" };
    return ::tr(QString::fromLatin1(kLabels[aspectMode()]));
}

void PlayerScreenModel::appear()
{
    if (m_started)
        return;
    m_started = true;
    const int n = count();
    setIndex(n > 0 ? int(std::clamp<qint64>(m_queue->start, 0, n - 1)) : 0);
    startClock();
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
    setListFocus(m_index);
    showControls();
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
    m_hideTimer->stop();
    m_clockTimer->stop();
    m_aspectTimer->stop();
    restoreCursor();
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
    m_current = m_channels->itemAt(index);
    m_channels->setPlayingRow(index);
    emit indexChanged();
}

void PlayerScreenModel::setControls(bool shown, int fadeMs)
{
    if (m_controls == shown)
        return;
    m_controls = shown;
    m_controlsFadeMs = fadeMs;
    emit controlsChanged();
    updateChrome();
}

void PlayerScreenModel::updateChrome()
{
    if (chromeShown() == m_chromeShown)
        return;
    m_chromeShown = chromeShown();
    emit chromeShownChanged();
}

void PlayerScreenModel::showControls()
{
    setControls(true, kShowFadeMs);
    hideAfterDelay();
}

// Each call replaces the pending hide, so the newest show wins.
void PlayerScreenModel::hideAfterDelay()
{
    m_hideTimer->start(kHideMs, false, [this] {
        if (m_showList || m_scrubbing || m_menuOpen)
            return;
        setControls(false, kHideFadeMs);
        hideCursor();
    });
}

// The cursor is hidden at most once at a time, so one restore always brings it back.
void PlayerScreenModel::hideCursor()
{
    if (m_cursorHidden || m_gone)
        return;
    m_cursorHidden = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
}

void PlayerScreenModel::restoreCursor()
{
    if (!m_cursorHidden)
        return;
    m_cursorHidden = false;
    QGuiApplication::restoreOverrideCursor();
}

void PlayerScreenModel::pointerAt(QPointF at)
{
    if (m_pointer == at)
        return;
    m_pointer = at;
    restoreCursor();
    showControls();
}

void PlayerScreenModel::tap()
{
    if (m_showList)
        closeList();
    else if (m_controls)
        setControls(false, kTapHideFadeMs);
    else
        showControls();
}

void PlayerScreenModel::zap(int position)
{
    const int n = count();
    if (n < 1)
        return;
    const int target = ((position % n) + n) % n;
    setIndex(target);
    setListFocus(target);
    if (m_current)
        playEntry(*m_current);
    showControls();
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

void PlayerScreenModel::cycleAspect()
{
    const int mode = (aspectMode() + 1) % 3;
    m_prefs->setAspectMode(mode);
    setAspectToast(aspectLabel());
    endAspectToastLater();
    showControls();
}

// One timer, restarted by every toast, so a newer toast keeps its full time.
void PlayerScreenModel::endAspectToastLater()
{
    m_aspectTimer->start(kAspectToastMs, false, [this] { setAspectToast(std::nullopt); });
}

void PlayerScreenModel::startClock()
{
    m_clockTimer->start(kClockMs, true, [this] { emit clockChanged(); });
}

void PlayerScreenModel::setAspectToast(std::optional<QString> text)
{
    m_aspectToast = std::move(text);
    emit aspectToastChanged();
}

void PlayerScreenModel::toggleList()
{
    setShowList(!m_showList);
    setListFocus(m_index);
    emit listScrollRequested(m_index);
}

void PlayerScreenModel::closeList()
{
    setShowList(false);
}

void PlayerScreenModel::selectChannel(int position)
{
    setListFocus(position);
    zap(position);
}

void PlayerScreenModel::setShowList(bool shown)
{
    if (m_showList == shown)
        return;
    m_showList = shown;
    emit showListChanged();
    updateChrome();
}

void PlayerScreenModel::setMenuOpen(bool open)
{
    if (m_menuOpen == open)
        return;
    m_menuOpen = open;
    emit menuOpenChanged();
}

void PlayerScreenModel::setListFocus(int row)
{
    m_channels->setFocusedRow(row);
    if (m_listFocus == row)
        return;
    m_listFocus = row;
    emit listFocusChanged();
}

void PlayerScreenModel::back()
{
    m_app->pop();
}
