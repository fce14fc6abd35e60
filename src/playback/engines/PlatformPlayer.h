#pragma once

#include "PlaybackTypes.h"

#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

class VideoOutput;

// The platform media player: one current item at a time. Signals concern the
// current item only and arrive on the main thread.
class PlatformPlayer : public QObject {
    Q_OBJECT
public:
    enum class Status { unknown, ready, failed };
    enum class TimeControl { paused, waiting, playing };

    struct Tracks {
        std::optional<QList<TrackOption>> audio; // none when the group failed to load
        std::optional<QList<TrackOption>> subtitles;
    };

    using QObject::QObject;

    // Makes the address the current item; every HTTP request carries the user agent.
    virtual void load(const QUrl &url, const QString &userAgent, double forwardBufferSecs) = 0;
    // Pauses and removes the current item.
    virtual void clear() = 0;
    virtual bool hasItem() const = 0;
    virtual Status status() const = 0;
    virtual TimeControl timeControl() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void seek(double secs, double toleranceBefore, double toleranceAfter) = 0;
    virtual double position() const = 0; // seconds; not finite when unknown
    virtual double duration() const = 0; // seconds; not finite or 0 when unknown
    // Delivers the current item's track groups later, on the main thread.
    virtual void loadTracks(std::function<void(Tracks)> done) = 0;
    // Selects an option of the audio or subtitle group, or none of the group.
    virtual void selectTrack(std::optional<int> id, bool audio) = 0;
    // Draws subtitles above the bottom `fraction` of the picture (0: where they belong).
    virtual void setSubtitleLift(double fraction) = 0;
    virtual void setOutput(VideoOutput *output) = 0;

signals:
    void statusChanged(PlatformPlayer::Status status, const std::optional<PlayError> &error);
    void failedToPlayToEnd(const std::optional<PlayError> &error);
    void stalled();
    // The current item reached its end of stream (paused there).
    void ended();
    void timeControlChanged(PlatformPlayer::TimeControl control);
};
