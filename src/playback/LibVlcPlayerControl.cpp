#include "LibVlcPlayer.h"

#include <QMutexLocker>

#include <vlc/vlc.h>

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

}

void LibVlcPlayer::setMedia(const VlcMedia &media)
{
    if (!m_player)
        return;
    libvlc_media_t *created = libvlc_media_new_location(m_instance, media.url.toString(QUrl::FullyEncoded).toUtf8());
    for (const QString &option : media.options)
        libvlc_media_add_option(created, option.toUtf8().constData());
    libvlc_media_player_set_media(m_player, created);
    {
        QMutexLocker lock(&m_mutex);
        if (m_media)
            libvlc_media_release(m_media);
        m_media = created;
    }
    blank();
}

bool LibVlcPlayer::hasMedia() const
{
    return m_media != nullptr;
}

void LibVlcPlayer::play()
{
    if (m_player)
        libvlc_media_player_play(m_player);
}

void LibVlcPlayer::pause()
{
    if (m_player)
        libvlc_media_player_set_pause(m_player, 1);
}

void LibVlcPlayer::stop()
{
    if (!m_player)
        return;
    libvlc_media_player_stop(m_player);
    blank();
}

bool LibVlcPlayer::isPlaying() const
{
    return m_player && libvlc_media_player_is_playing(m_player);
}

VlcPlayer::State LibVlcPlayer::state() const
{
    switch (m_player ? libvlc_media_player_get_state(m_player) : libvlc_Error) {
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
    return m_player ? libvlc_media_player_get_time(m_player) : -1;
}

qint64 LibVlcPlayer::lengthMs() const
{
    return m_player ? libvlc_media_player_get_length(m_player) : -1;
}

void LibVlcPlayer::setTimeMs(qint32 ms)
{
    if (m_player)
        libvlc_media_player_set_time(m_player, ms);
}

bool LibVlcPlayer::hasVideoOutput() const
{
    return m_player && libvlc_media_player_has_vout(m_player) > 0;
}

QSize LibVlcPlayer::videoSize() const
{
    unsigned width = 0;
    unsigned height = 0;
    if (!m_player || libvlc_video_get_size(m_player, 0, &width, &height) != 0)
        return {};
    return QSize(int(width), int(height));
}

QList<VlcTrack> LibVlcPlayer::audioTracks() const
{
    return m_player ? describe(libvlc_audio_get_track_description(m_player)) : QList<VlcTrack>();
}

QList<VlcTrack> LibVlcPlayer::subtitleTracks() const
{
    return m_player ? describe(libvlc_video_get_spu_description(m_player)) : QList<VlcTrack>();
}

void LibVlcPlayer::setAudioTrack(int id)
{
    if (m_player)
        libvlc_audio_set_track(m_player, id);
}

int LibVlcPlayer::currentAudioTrack() const
{
    return m_player ? libvlc_audio_get_track(m_player) : -1;
}

void LibVlcPlayer::setSubtitleTrack(int id)
{
    if (m_player)
        libvlc_video_set_spu(m_player, id);
}

void LibVlcPlayer::setAspectRatio(const std::optional<QString> &ratio)
{
    if (!m_player)
        return;
    m_aspect = ratio ? ratio->toStdString() : std::string();
    libvlc_video_set_aspect_ratio(m_player, ratio ? m_aspect.c_str() : nullptr);
}

void LibVlcPlayer::setCropGeometry(const std::optional<QString> &geometry)
{
    if (!m_player)
        return;
    m_crop = geometry ? geometry->toStdString() : std::string();
    libvlc_video_set_crop_geometry(m_player, geometry ? m_crop.c_str() : nullptr);
}
