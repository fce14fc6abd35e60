#include "PlayerEngine.h"

#include <cmath>
#include <initializer_list>

namespace {

QList<TrackOption> realTracks(const QList<VlcTrack> &tracks)
{
    QList<TrackOption> options;
    for (const auto &track : tracks)
        if (track.id >= 0)
            options.append({ track.id, track.name });
    return options;
}

// The host name not found, or the connection refused, lost or timed out.
bool isNetworkFailure(const std::optional<PlayError> &error)
{
    using namespace PlayErrorCode;
    if (!error)
        return false;
    for (int code : { kCannotFindHost, kCannotConnect, kTimedOut, kConnectionLost, kNotConnected })
        if (error->codes.contains(code))
            return true;
    return false;
}

// Transport failures have negative codes; a server's answer is its HTTP status.
bool isHttpStatus(const std::optional<PlayError> &error)
{
    return error && !error->codes.isEmpty() && error->codes.first() >= 100;
}

}

VlcPlayer *PlayerEngine::ensureVlc()
{
    if (!m_vlcPlayer) {
        m_vlcPlayer = m_makeVlc();
        m_vlcPlayer->setOutput(m_vlcView.output());
        m_vlcPlayer->setSubtitleLift(m_subtitleLift);
    }
    return m_vlcPlayer.get();
}

void PlayerEngine::startVLC(const QUrl &url)
{
    m_triedVLC = true;
    m_watchdog->stop();
    m_platform->clear();
    ++m_platformGeneration;
    setError(std::nullopt);
    setBuffering(true);
    setAudioOptions({});
    setSubtitleOptions({});
    VlcPlayer *vlc = ensureVlc();
    vlc->stop();
    VlcMedia media = m_item && m_item->live ? VlcMedia::liveStream(url, m_host->userAgent())
                                            : VlcMedia::stream(url, m_host->userAgent());
    // The start goes on the media before play: libVLC reads it when the input opens.
    if (m_pendingSeek && *m_pendingSeek > 0) {
        media.options.append(QStringLiteral(":start-time=%1").arg(static_cast<qint64>(*m_pendingSeek)));
        m_pendingSeek.reset();
    }
    vlc->setMedia(media);
    setUsesVLC(true);
    m_vlcStarted = m_clock->nowMs();
    m_vlcSawVideo = false;
    applyVLCAspect();
    vlc->play();
    m_vlcTimer->start(kTickMs, true, [this] { vlcTick(); });
}

void PlayerEngine::stopVLC()
{
    m_vlcTimer->stop();
    if (m_vlcPlayer && m_usesVLC) {
        saveResume(nullptr);
        m_vlcPlayer->stop();
    }
    setUsesVLC(false);
}

void PlayerEngine::vlcTick()
{
    if (!m_vlcPlayer || !m_usesVLC)
        return;
    VlcPlayer *vlc = m_vlcPlayer.get();
    setIsPlaying(vlc->isPlaying());
    publishVlcTimes();
    const QSize size = vlc->videoSize();
    if (vlc->hasVideoOutput() || (size.width() > 0 && size.height() > 0))
        m_vlcSawVideo = true;
    if (vlcStateGivesUp(vlc->state()))
        return;
    if (!m_vlcSawVideo && !vlc->isPlaying() && m_clock->nowMs() - m_vlcStarted > kVlcNoPictureMs) {
        vlcGiveUp();
        return;
    }
    publishVlcTracks();
    if (m_position > 0)
        saveResume(&m_lastResumeSaveVLC);
}

void PlayerEngine::publishVlcTimes()
{
    const double position = m_vlcPlayer->timeMs() / 1000.0;
    if (std::isfinite(position) && position > 0) {
        setPosition(position);
        noteStartReached(position);
    }
    setDuration(m_vlcPlayer->hasMedia() ? std::max(m_vlcPlayer->lengthMs() / 1000.0, 0.0) : 0);
}

// Answers true when the poll ended: it gave up, or a live stream ended.
bool PlayerEngine::vlcStateGivesUp(VlcPlayer::State state)
{
    switch (state) {
    case VlcPlayer::State::ended:
        // A live source that never gave a picture and answered with a status did not lose its connection.
        if (m_item && m_item->live && (m_vlcSawVideo || !isHttpStatus(m_vlcPlayer->sourceError()))) {
            m_vlcTimer->stop();
            setIsPlaying(false);
            onStreamEnded();
            return true;
        }
        [[fallthrough]];
    case VlcPlayer::State::stopped:
        if (!m_vlcSawVideo && m_position < 1) {
            vlcGiveUp();
            return true;
        }
        setBuffering(false);
        return false;
    case VlcPlayer::State::error:
        vlcGiveUp();
        return true;
    case VlcPlayer::State::opening:
    case VlcPlayer::State::buffering:
        setBuffering(m_vlcPlayer->isPlaying() ? !m_vlcSawVideo : true);
        return false;
    default:
        setBuffering(false);
        return false;
    }
}

void PlayerEngine::publishVlcTracks()
{
    if (m_audioOptions.isEmpty()) {
        const QList<VlcTrack> tracks = m_vlcPlayer->audioTracks();
        if (tracks.size() >= 2)
            setAudioOptions(realTracks(tracks));
    }
    if (m_subtitleOptions.isEmpty())
        setSubtitleOptions(realTracks(m_vlcPlayer->subtitleTracks()));
}

void PlayerEngine::vlcGiveUp()
{
    m_vlcTimer->stop();
    if (m_vlcPlayer)
        m_vlcPlayer->stop();
    setIsPlaying(false);
    if (!m_item)
        return;
    // An address that could not be reached says so: the provider is not to blame for the network.
    if (m_item->catchup)
        failWith(QStringLiteral("perr_catchup"));
    else if (isNetworkFailure(m_vlcPlayer ? m_vlcPlayer->sourceError() : std::nullopt))
        failWith(QStringLiteral("perr_network"));
    else
        failWith(QStringLiteral("perr_unavailable"));
}

void PlayerEngine::applyVLCAspect()
{
    if (!m_vlcPlayer)
        return;
    const QSizeF bounds = m_vlcView.bounds();
    const int width = static_cast<int>(bounds.width());
    const int height = static_cast<int>(bounds.height());
    std::optional<QString> ratio;
    if (width > 0 && height > 0)
        ratio = QStringLiteral("%1:%2").arg(width).arg(height);
    const PictureMode mode = m_host->aspectMode();
    m_vlcPlayer->setAspectRatio(mode == PictureMode::stretch ? ratio : std::nullopt);
    m_vlcPlayer->setCropGeometry(mode == PictureMode::zoom ? ratio : std::nullopt);
}
