#pragma once

#include "PlaybackTypes.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class VideoOutput;

// A media for libVLC: its address and its options (":name=value").
struct VlcMedia {
    QUrl url;
    QStringList options;

    // A stream as the player opens it: the user agent, a network cache that rides out real
    // networks, and reconnection.
    static VlcMedia stream(const QUrl &url, const QString &userAgent)
    {
        return { url,
            { QStringLiteral(":http-user-agent=") + userAgent, QStringLiteral(":network-caching=3000"),
                QStringLiteral(":http-reconnect") } };
    }
    // A live stream's pictures follow their own timestamps rather than the stream's transport
    // clock, whose lag behind them (0.7 s from common muxers) would hold the first picture still.
    static VlcMedia liveStream(const QUrl &url, const QString &userAgent)
    {
        VlcMedia media = stream(url, userAgent);
        media.options.append(QStringLiteral(":no-ts-trust-pcr"));
        return media;
    }
};

struct VlcTrack {
    int id = 0;
    QString name;
    bool operator==(const VlcTrack &) const = default;
};

// libVLC's media player, used from the main thread only.
class VlcPlayer {
public:
    enum class State { stopped, opening, buffering, playing, paused, ended, error, other };

    virtual ~VlcPlayer() = default;
    virtual void setMedia(const VlcMedia &media) = 0;
    virtual bool hasMedia() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    virtual State state() const = 0;
    virtual qint64 timeMs() const = 0; // -1 when unknown
    virtual qint64 lengthMs() const = 0; // -1 when unknown
    virtual void setTimeMs(qint32 ms) = 0;
    virtual bool hasVideoOutput() const = 0;
    virtual QSize videoSize() const = 0;
    virtual QList<VlcTrack> audioTracks() const = 0;
    virtual QList<VlcTrack> subtitleTracks() const = 0;
    virtual void setAudioTrack(int id) = 0;
    virtual void setSubtitleTrack(int id) = 0;
    // Draws subtitles above the bottom `fraction` of the picture (0: where they belong).
    virtual void setSubtitleLift(double fraction) = 0;
    virtual void setAspectRatio(const std::optional<QString> &ratio) = 0;
    virtual void setCropGeometry(const std::optional<QString> &geometry) = 0;
    virtual void setOutput(VideoOutput *output) = 0;
    // Why the current media's address failed, when libVLC told: the connection, the host
    // name or an HTTP status.
    virtual std::optional<PlayError> sourceError() const = 0;
};
