#include "PlayerEngine.h"

#include "app/ScreenDeps.h"
#include "playback/engines/NetworkStream.h"

#include <QFileInfo>
#include <QPointer>

#include <cmath>

namespace {

bool isValidAddress(const QUrl &url)
{
    return url.isValid() && !url.scheme().isEmpty();
}

QUrl parseAddress(const QString &address)
{
    return QUrl(address, QUrl::StrictMode);
}

QString pathExtension(const QUrl &url)
{
    return QFileInfo(url.path()).suffix().toLower();
}

}

PlayerEngine::PlayerEngine(Backends backends, QObject *parent)
    : QObject(parent)
    , m_platform(std::move(backends.platform))
    , m_makeVlc(std::move(backends.makeVlc))
    , m_clock(backends.clock)
    , m_host(std::move(backends.host))
    , m_vlcTimer(m_clock->createTimer())
    , m_watchdog(m_clock->createTimer())
    , m_reconnect(m_clock->createTimer())
    , m_tick(m_clock->createTimer())
{
    m_platform->setOutput(&m_platformOutput);
    connectPlatform();
    m_tick->start(kTickMs, true, [this] { platformTick(); });
}

PlayerEngine::~PlayerEngine()
{
    m_tick->stop();
    m_vlcTimer->stop();
    if (m_vlcPlayer)
        m_vlcPlayer->stop();
    m_platform->clear();
}

PlayerEngine *PlayerEngine::of(const ScreenDeps &deps)
{
    return &dynamic_cast<PlayerEngine &>(*deps.playback);
}

bool PlayerEngine::isVlcOnlyExtension(const QString &ext)
{
    static const QStringList kVlcOnly
        = { "mkv", "avi", "wmv", "flv", "webm", "mpg", "mpeg", "vob", "rmvb", "ogm", "divx", "3gp" };
    return kVlcOnly.contains(ext.toLower());
}

bool PlayerEngine::isSeekable() const
{
    return m_duration > 0 && m_item && !m_item->live;
}

void PlayerEngine::connectPlatform()
{
    connect(m_platform.get(), &PlatformPlayer::statusChanged, this, &PlayerEngine::onPlatformStatus);
    connect(m_platform.get(), &PlatformPlayer::failedToPlayToEnd, this,
        [this](const std::optional<PlayError> &error) {
        if (!m_reconnect->isActive())
            handleFailure(error);
    });
    connect(m_platform.get(), &PlatformPlayer::stalled, this, [this] { m_platform->play(); });
    connect(m_platform.get(), &PlatformPlayer::ended, this, &PlayerEngine::onStreamEnded);
    connect(m_platform.get(), &PlatformPlayer::timeControlChanged, this, &PlayerEngine::onTimeControl);
}

void PlayerEngine::play(const PlayItem &item, std::optional<double> at)
{
    if (m_item && m_item->key == item.key && m_item->url == item.url && m_platform->hasItem() && !m_error) {
        if (at)
            seek(*at);
        m_platform->play();
        return;
    }
    m_reconnect->stop();
    setItem(item);
    m_triedFallback = false;
    m_triedVLC = false;
    m_retries = 0;
    m_pendingSeek = at;
    m_awaitingStart = at && *at > 0 ? at : std::nullopt;
    setPosition(0);
    setDuration(0);
    load(item.url);
    m_host->addRecent(item);
}

// Under an error only the retry action plays again.
void PlayerEngine::continuePlaying()
{
    if (m_error)
        return;
    if (m_usesVLC && m_vlcPlayer)
        m_vlcPlayer->play();
    else
        m_platform->play();
}

void PlayerEngine::retry()
{
    if (!m_item)
        return;
    m_reconnect->stop();
    m_triedFallback = false;
    m_triedVLC = false;
    m_retries = 0;
    load(m_item->url);
}

void PlayerEngine::load(const QString &address)
{
    setError(std::nullopt);
    setBuffering(true);
    setAudioOptions({});
    setSubtitleOptions({});
    const QUrl url = parseAddress(address);
    if (!isValidAddress(url)) {
        haltPlayback();
        failWith(QStringLiteral("perr_generic"));
        return;
    }
    if (!isNetworkStream(url)) {
        haltPlayback();
        failWith(QStringLiteral("perr_format"));
        return;
    }
    const QString ext = m_item && m_item->ext && !m_item->ext->isEmpty() ? *m_item->ext : pathExtension(url);
    if (isVlcOnlyExtension(ext) || isVlcOnlyExtension(pathExtension(url))) {
        startVLC(url);
        return;
    }
    stopVLC();
    ++m_platformGeneration;
    m_platform->load(url, m_host->userAgent(), m_item && m_item->live ? 4 : 10);
    m_platform->play();
    startWatchdog();
}

// Whatever played before must not go on under an error.
void PlayerEngine::haltPlayback()
{
    m_watchdog->stop();
    stopVLC();
    m_platform->clear();
    ++m_platformGeneration;
    setIsPlaying(false);
}

void PlayerEngine::stop()
{
    m_watchdog->stop();
    m_reconnect->stop();
    const bool vlcSaves = m_vlcPlayer && m_usesVLC;
    stopVLC();
    if (!vlcSaves)
        saveResume(nullptr);
    m_platform->clear();
    ++m_platformGeneration;
    m_pendingSeek.reset();
    m_awaitingStart.reset();
    setItem(std::nullopt);
    setError(std::nullopt);
    setBuffering(false);
    setIsPlaying(false);
}

void PlayerEngine::seek(double secs)
{
    if (m_duration > 0)
        secs = std::min(secs, m_duration - 1);
    secs = std::max(secs, 0.0);
    setPosition(secs);
    // A seek before the start was reached moves the awaited start with it, and one
    // before the item was ready replaces the start seek still to come.
    if (m_awaitingStart)
        m_awaitingStart = secs;
    if (m_pendingSeek)
        m_pendingSeek = secs;
    if (m_usesVLC) {
        if (m_vlcPlayer)
            m_vlcPlayer->setTimeMs(static_cast<qint32>(std::min(secs * 1000, 2147483647.0)));
        return;
    }
    m_platform->seek(secs, 0, 1);
}

void PlayerEngine::togglePause()
{
    if (m_error)
        return;
    if (m_usesVLC && m_vlcPlayer) {
        if (m_vlcPlayer->isPlaying())
            m_vlcPlayer->pause();
        else
            m_vlcPlayer->play();
        return;
    }
    if (m_platform->timeControl() == PlatformPlayer::TimeControl::paused)
        m_platform->play();
    else
        m_platform->pause();
}

void PlayerEngine::selectTrack(const std::optional<TrackOption> &option, bool audio)
{
    if (m_usesVLC && m_vlcPlayer) {
        if (audio && option)
            m_vlcPlayer->setAudioTrack(option->id);
        else if (!audio)
            m_vlcPlayer->setSubtitleTrack(option ? option->id : -1);
        return;
    }
    if (m_platform->hasItem())
        m_platform->selectTrack(option ? std::optional<int>(option->id) : std::nullopt, audio);
}

void PlayerEngine::setSubtitleLift(double fraction)
{
    if (fraction == m_subtitleLift)
        return;
    m_subtitleLift = fraction;
    m_platform->setSubtitleLift(fraction);
    if (m_vlcPlayer)
        m_vlcPlayer->setSubtitleLift(fraction);
}

void PlayerEngine::onPlatformStatus(PlatformPlayer::Status status, const std::optional<PlayError> &error)
{
    if (status == PlatformPlayer::Status::failed && !m_reconnect->isActive())
        handleFailure(error);
    else if (status == PlatformPlayer::Status::ready)
        onPlatformReady();
}

void PlayerEngine::onPlatformReady()
{
    setError(std::nullopt);
    if (m_pendingSeek && *m_pendingSeek > 0) {
        const double start = *m_pendingSeek;
        m_pendingSeek.reset();
        m_platform->seek(start, -1, -1);
    }
    loadPlatformTracks();
    m_platform->play();
}

// A live response that ends is a lost connection; any other item stays at its end.
void PlayerEngine::onStreamEnded()
{
    if (m_item && m_item->live && !m_reconnect->isActive())
        handleFailure(PlayError { PlayError::Domain::url, { PlayErrorCode::kConnectionLost } });
}

void PlayerEngine::onTimeControl(PlatformPlayer::TimeControl control)
{
    if (m_usesVLC)
        return;
    setIsPlaying(control == PlatformPlayer::TimeControl::playing);
    setBuffering(control == PlatformPlayer::TimeControl::waiting && !m_error);
}

// Track lists of an item that is no longer current are dropped.
void PlayerEngine::loadPlatformTracks()
{
    const quint64 generation = m_platformGeneration;
    QPointer<PlayerEngine> guard(this);
    m_platform->loadTracks([guard, generation](PlatformPlayer::Tracks tracks) {
        if (!guard || guard->m_platformGeneration != generation || guard->m_usesVLC)
            return;
        if (tracks.audio)
            guard->setAudioOptions(*tracks.audio);
        if (tracks.subtitles)
            guard->setSubtitleOptions(*tracks.subtitles);
    });
}

void PlayerEngine::startWatchdog()
{
    const quint64 generation = m_platformGeneration;
    m_watchdog->start(kWatchdogMs, false, [this, generation] { onWatchdog(generation); });
}

void PlayerEngine::onWatchdog(quint64 generation)
{
    if (generation != m_platformGeneration || !m_platform->hasItem()
        || m_platform->status() == PlatformPlayer::Status::ready || m_error)
        return;
    handleFailure(std::nullopt);
}

void PlayerEngine::platformTick()
{
    if (m_usesVLC || !m_platform->hasItem())
        return;
    const double duration = m_platform->duration();
    setDuration(std::isfinite(duration) && duration > 0 ? duration : 0);
    // No position for a moment while a seek lands: the last one stays, nothing is saved.
    const double position = m_platform->position();
    if (!std::isfinite(position))
        return;
    setPosition(position);
    noteStartReached(position);
    saveResume(&m_lastResumeSave);
}

void PlayerEngine::noteStartReached(double position)
{
    if (m_awaitingStart && position >= *m_awaitingStart - std::min(kStartSlackSecs, *m_awaitingStart / 2))
        m_awaitingStart.reset();
}

void PlayerEngine::saveResume(std::optional<qint64> *throttle)
{
    if (!m_item || m_item->live || m_duration <= 0 || m_awaitingStart)
        return;
    if (throttle) {
        const qint64 now = m_clock->nowMs();
        if (*throttle && now - **throttle <= kResumeThrottleMs)
            return;
        *throttle = now;
    }
    m_host->saveResume(m_item->key, m_position, m_duration);
}

void PlayerEngine::handleFailure(const std::optional<PlayError> &error)
{
    if (!m_item)
        return;
    // A failed item's watchdog must not climb the ladder a second time.
    m_watchdog->stop();
    const PlayItem item = *m_item;
    if (!m_triedFallback && item.fallbackUrl && !item.fallbackUrl->isEmpty()) {
        m_triedFallback = true;
        load(*item.fallbackUrl);
        return;
    }
    if (item.live && m_retries < kMaxRetries) {
        ++m_retries;
        setBuffering(true);
        scheduleReconnect();
        return;
    }
    const QUrl url = parseAddress(item.url);
    if (!item.live && !item.catchup && !m_triedVLC && !m_usesVLC && isValidAddress(url)) {
        startVLC(url);
        return;
    }
    setError(errorMessage(error, item));
    setBuffering(false);
}

void PlayerEngine::scheduleReconnect()
{
    const QString key = m_item->key;
    m_reconnect->start(m_retries * kRetryStepMs, false, [this, key] {
        if (m_item && m_item->key == key)
            load(m_item->url);
    });
}

void PlayerEngine::failWith(const QString &key)
{
    setError(m_host->message(key));
    setBuffering(false);
}
