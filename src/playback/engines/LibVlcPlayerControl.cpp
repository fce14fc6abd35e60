#include "LibVlcPlayer.h"

#include "VlcSubtitleMargin.h"

#include <vlc/vlc.h>

#include <cmath>

namespace {

QList<VlcTrack> describe(libvlc_track_description_t *list)
{
    QList<VlcTrack> tracks;
    for (auto *entry = list; entry; entry = entry->p_next)
        tracks.append({ entry->i_id, QString::fromUtf8(entry->psz_name ? entry->psz_name : "") });
    if (list)
        libvlc_track_description_list_release(list);
    return tracks;
}

const char *textOrNull(const std::optional<std::string> &text)
{
    return text ? text->c_str() : nullptr;
}

}

void LibVlcPlayer::setMedia(const VlcMedia &media)
{
    if (!m_instance)
        return;
    close();
    m_source = media;
    open();
    blank();
}

bool LibVlcPlayer::hasMedia() const
{
    return m_source.has_value();
}

// After a stop, plays the media again from its start on a new media player.
void LibVlcPlayer::play()
{
    if (!m_session && m_source && m_instance)
        open();
    if (m_session)
        libvlc_media_player_play(m_session->player);
}

void LibVlcPlayer::pause()
{
    if (m_session)
        libvlc_media_player_set_pause(m_session->player, 1);
}

void LibVlcPlayer::stop()
{
    if (!m_instance)
        return;
    close();
    m_idleState = State::stopped;
    blank();
}

bool LibVlcPlayer::isPlaying() const
{
    return m_session && libvlc_media_player_is_playing(m_session->player);
}

VlcPlayer::State LibVlcPlayer::state() const
{
    if (!m_instance)
        return State::error;
    if (!m_session)
        return m_idleState;
    switch (libvlc_media_player_get_state(m_session->player)) {
    case libvlc_Opening:
        return State::opening;
    case libvlc_Buffering:
        return State::buffering;
    case libvlc_Playing:
        return State::playing;
    case libvlc_Paused:
        return State::paused;
    case libvlc_Stopped:
        return State::stopped;
    case libvlc_Ended:
        return State::ended;
    case libvlc_Error:
        return State::error;
    default:
        return State::other;
    }
}

qint64 LibVlcPlayer::timeMs() const
{
    return m_session ? libvlc_media_player_get_time(m_session->player) : -1;
}

qint64 LibVlcPlayer::lengthMs() const
{
    return m_session ? libvlc_media_player_get_length(m_session->player) : -1;
}

void LibVlcPlayer::setTimeMs(qint32 ms)
{
    if (m_session)
        libvlc_media_player_set_time(m_session->player, ms);
}

bool LibVlcPlayer::hasVideoOutput() const
{
    return m_session && libvlc_media_player_has_vout(m_session->player) > 0;
}

QSize LibVlcPlayer::videoSize() const
{
    unsigned width = 0;
    unsigned height = 0;
    if (!m_session || libvlc_video_get_size(m_session->player, 0, &width, &height) != 0)
        return {};
    return QSize(int(width), int(height));
}

QList<VlcTrack> LibVlcPlayer::audioTracks() const
{
    return m_session ? describe(libvlc_audio_get_track_description(m_session->player)) : QList<VlcTrack>();
}

QList<VlcTrack> LibVlcPlayer::subtitleTracks() const
{
    return m_session ? describe(libvlc_video_get_spu_description(m_session->player)) : QList<VlcTrack>();
}

void LibVlcPlayer::setAudioTrack(int id)
{
    if (m_session)
        libvlc_audio_set_track(m_session->player, id);
}

int LibVlcPlayer::currentAudioTrack() const
{
    return m_session ? libvlc_audio_get_track(m_session->player) : -1;
}

void LibVlcPlayer::setSubtitleTrack(int id)
{
    if (m_session)
        libvlc_video_set_spu(m_session->player, id);
}

// The picture mode outlives each media player: every new one takes it.
void LibVlcPlayer::setAspectRatio(const std::optional<QString> &ratio)
{
    m_aspect = ratio ? std::optional(ratio->toStdString()) : std::nullopt;
    if (m_session)
        libvlc_video_set_aspect_ratio(m_session->player, textOrNull(m_aspect));
}

void LibVlcPlayer::setCropGeometry(const std::optional<QString> &geometry)
{
    m_crop = geometry ? std::optional(geometry->toStdString()) : std::nullopt;
    if (m_session)
        libvlc_video_set_crop_geometry(m_session->player, textOrNull(m_crop));
}

// Like the picture mode, every new media player takes it; it follows the picture's height.
void LibVlcPlayer::setSubtitleLift(double fraction)
{
    m_subtitleLift = fraction;
    if (m_session)
        applySubtitleLift();
}

void LibVlcPlayer::applySubtitleLift()
{
    setSubtitleMargin(m_session->player, int(std::lround(m_subtitleLift * videoSize().height())));
}

void LibVlcPlayer::applyPictureMode()
{
    libvlc_video_set_aspect_ratio(m_session->player, textOrNull(m_aspect));
    libvlc_video_set_crop_geometry(m_session->player, textOrNull(m_crop));
}
