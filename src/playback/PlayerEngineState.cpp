#include "PlayerEngine.h"

#include <initializer_list>

QString PlayerEngine::errorMessageKey(const std::optional<PlayError> &error, const PlayItem &item)
{
    using namespace PlayErrorCode;
    if (item.catchup)
        return QStringLiteral("perr_catchup");
    if (!error)
        return QStringLiteral("perr_generic");
    const auto any = [&](std::initializer_list<int> codes) {
        for (int code : codes)
            if (error->codes.contains(code))
                return true;
        return false;
    };
    if (any({ kMediaNotFound, kFileDoesNotExist, kHttpNotFound }))
        return QStringLiteral("perr_not_found");
    if (any({ kMediaForbidden, kHttpForbidden, kHttpUnauthorized }))
        return QStringLiteral("perr_denied");
    if (error->domain == PlayError::Domain::url)
        return QStringLiteral("perr_network");
    if (any({ kFormatNotRecognized, kFailedToParse, kUnsupportedMedia, kDecodeFailed, kPlaylistParse }))
        return QStringLiteral("perr_format");
    if (any({ kNotConnected, kConnectionLost, kCannotConnect, kTimedOut }))
        return QStringLiteral("perr_network");
    return QStringLiteral("perr_generic");
}

QString PlayerEngine::errorMessage(const std::optional<PlayError> &error, const PlayItem &item) const
{
    return m_host->message(errorMessageKey(error, item));
}

void PlayerEngine::setItem(std::optional<PlayItem> item)
{
    m_item = std::move(item);
    emit itemChanged();
    emit seekableChanged();
}

void PlayerEngine::setBuffering(bool buffering)
{
    if (m_buffering == buffering)
        return;
    m_buffering = buffering;
    emit bufferingChanged();
}

void PlayerEngine::setError(std::optional<QString> error)
{
    if (m_error == error)
        return;
    m_error = std::move(error);
    emit errorChanged();
}

void PlayerEngine::setPosition(double position)
{
    if (m_position == position)
        return;
    m_position = position;
    emit positionChanged();
}

void PlayerEngine::setDuration(double duration)
{
    if (m_duration == duration)
        return;
    m_duration = duration;
    emit durationChanged();
    emit seekableChanged();
}

void PlayerEngine::setIsPlaying(bool playing)
{
    if (m_isPlaying == playing)
        return;
    m_isPlaying = playing;
    emit isPlayingChanged();
}

void PlayerEngine::setUsesVLC(bool uses)
{
    if (m_usesVLC == uses)
        return;
    m_usesVLC = uses;
    emit usesVLCChanged();
}

void PlayerEngine::setAudioOptions(QList<TrackOption> options)
{
    if (m_audioOptions == options)
        return;
    m_audioOptions = std::move(options);
    emit audioOptionsChanged();
}

void PlayerEngine::setSubtitleOptions(QList<TrackOption> options)
{
    if (m_subtitleOptions == options)
        return;
    m_subtitleOptions = std::move(options);
    emit subtitleOptionsChanged();
}
