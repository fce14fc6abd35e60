#pragma once

#include "PlaybackHost.h"
#include "app/PlaybackControl.h"
#include "model/Records.h"
#include "sources/AppClock.h"
#include "playback/engines/PlatformPlayer.h"
#include "playback/engines/PlaybackTypes.h"
#include "playback/engines/VideoOutput.h"
#include "playback/engines/VlcPlayer.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QtQml/qqml.h>

#include <functional>
#include <memory>
#include <optional>

struct ScreenDeps;

// The one playback engine: plays a PlayItem through the platform player or
// libVLC, climbs the failure ladder and saves resume points.
class PlayerEngine : public QObject, public PlaybackControl {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool hasItem READ hasItem NOTIFY itemChanged)
    Q_PROPERTY(QString itemKey READ itemKey NOTIFY itemChanged)
    Q_PROPERTY(bool buffering READ buffering NOTIFY bufferingChanged)
    Q_PROPERTY(QString error READ errorText NOTIFY errorChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY errorChanged)
    Q_PROPERTY(double position READ position NOTIFY positionChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(bool usesVLC READ usesVLC NOTIFY usesVLCChanged)
    Q_PROPERTY(bool isSeekable READ isSeekable NOTIFY seekableChanged)

public:
    struct Backends {
        std::unique_ptr<PlatformPlayer> platform;
        std::function<std::unique_ptr<VlcPlayer>()> makeVlc;
        AppClock *clock; // outlives the engine
        std::shared_ptr<PlaybackHost> host;
    };

    static constexpr qint64 kWatchdogMs = 20000;
    static constexpr qint64 kTickMs = 500;
    static constexpr qint64 kResumeThrottleMs = 5000;
    static constexpr qint64 kRetryStepMs = 2000;
    static constexpr int kMaxRetries = 4;
    static constexpr qint64 kVlcNoPictureMs = 25000;
    // A position this close below the start (at most half the start), or past it, shows the
    // start seek has landed: a key-frame seek lands up to one key-frame interval early.
    static constexpr double kStartSlackSecs = 10;

    explicit PlayerEngine(Backends backends, QObject *parent = nullptr);
    ~PlayerEngine() override;

    // The engine the screens' playback is, typed for the screens that use all of it.
    static PlayerEngine *of(const ScreenDeps &deps);

    static bool isVlcOnlyExtension(const QString &ext);
    // The message key for a failure of an item, first match wins.
    static QString errorMessageKey(const std::optional<PlayError> &error, const PlayItem &item);
    QString errorMessage(const std::optional<PlayError> &error, const PlayItem &item) const;

    const std::optional<PlayItem> &item() const { return m_item; }
    bool hasItem() const { return m_item.has_value(); }
    QString itemKey() const { return m_item ? m_item->key : QString(); }
    bool buffering() const { return m_buffering; }
    const std::optional<QString> &error() const { return m_error; }
    QString errorText() const { return m_error.value_or(QString()); }
    bool hasError() const { return m_error.has_value(); }
    double position() const { return m_position; }
    double duration() const { return m_duration; }
    bool isPlaying() const { return m_isPlaying; }
    bool usesVLC() const { return m_usesVLC; }
    bool isSeekable() const;
    const QList<TrackOption> &audioOptions() const { return m_audioOptions; }
    const QList<TrackOption> &subtitleOptions() const { return m_subtitleOptions; }

    void play(const PlayItem &item, std::optional<double> at = std::nullopt);
    void load(const QString &address);
    // Tells the engine in use to play on, without loading anything.
    void continuePlaying();
    // The retry action: resets the ladder and loads the item's address again.
    Q_INVOKABLE void retry();
    Q_INVOKABLE void stop() override;
    // The screen that plays through the engine: the last to start an item or take one over.
    // A screen that leaves stops the engine only while it still holds it.
    void hold(const QObject *holder) { m_holder = holder; }
    bool heldBy(const QObject *holder) const { return m_holder == holder; }
    Q_INVOKABLE void seek(double secs);
    Q_INVOKABLE void togglePause();
    void selectTrack(const std::optional<TrackOption> &option, bool audio);
    // Both engines draw subtitles above the bottom `fraction` of the picture, for every item.
    void setSubtitleLift(double fraction);
    void handleFailure(const std::optional<PlayError> &error);

    void startVLC(const QUrl &url);
    void stopVLC();
    void applyVLCAspect();
    void vlcTick();
    void vlcGiveUp();

    // Where the surfaces take the pictures from.
    VideoOutput *platformOutput() { return &m_platformOutput; }
    VlcView *vlcView() { return &m_vlcView; }

signals:
    void itemChanged();
    void bufferingChanged();
    void errorChanged();
    void positionChanged();
    void durationChanged();
    void isPlayingChanged();
    void usesVLCChanged();
    void seekableChanged();
    void audioOptionsChanged();
    void subtitleOptionsChanged();

private:
    void setItem(std::optional<PlayItem> item);
    void setBuffering(bool buffering);
    void setError(std::optional<QString> error);
    void setPosition(double position);
    void setDuration(double duration);
    void setIsPlaying(bool playing);
    void setUsesVLC(bool uses);
    void setAudioOptions(QList<TrackOption> options);
    void setSubtitleOptions(QList<TrackOption> options);
    void failWith(const QString &key);

    void connectPlatform();
    void onPlatformStatus(PlatformPlayer::Status status, const std::optional<PlayError> &error);
    void onTimeControl(PlatformPlayer::TimeControl control);
    void onStreamEnded();
    void noteStartReached(double position);
    void onPlatformReady();
    void loadPlatformTracks();
    void startWatchdog();
    void onWatchdog(quint64 generation);
    void platformTick();
    void scheduleReconnect();
    void haltPlayback();
    void saveResume(std::optional<qint64> *throttle);
    VlcPlayer *ensureVlc();
    void publishVlcTimes();
    bool vlcStateGivesUp(VlcPlayer::State state);
    void publishVlcTracks();

    std::unique_ptr<PlatformPlayer> m_platform;
    std::function<std::unique_ptr<VlcPlayer>()> m_makeVlc;
    AppClock *m_clock;
    std::shared_ptr<PlaybackHost> m_host;
    VideoOutput m_platformOutput;
    VlcView m_vlcView;

    std::optional<PlayItem> m_item;
    QPointer<const QObject> m_holder;
    bool m_buffering = false;
    std::optional<QString> m_error;
    double m_position = 0;
    double m_duration = 0;
    bool m_isPlaying = false;
    QList<TrackOption> m_audioOptions;
    QList<TrackOption> m_subtitleOptions;
    bool m_usesVLC = false;
    double m_subtitleLift = 0;

    std::unique_ptr<VlcPlayer> m_vlcPlayer;
    std::unique_ptr<AppTimer> m_vlcTimer;
    qint64 m_vlcStarted = 0;
    bool m_vlcSawVideo = false;
    bool m_triedVLC = false;
    bool m_triedFallback = false;
    std::optional<double> m_pendingSeek;
    // The start of a play request until a position near it has been read; no resume
    // point is saved before.
    std::optional<double> m_awaitingStart;
    std::optional<qint64> m_lastResumeSave;
    std::optional<qint64> m_lastResumeSaveVLC;
    int m_retries = 0;
    quint64 m_platformGeneration = 0;
    std::unique_ptr<AppTimer> m_watchdog;
    std::unique_ptr<AppTimer> m_reconnect;
    std::unique_ptr<AppTimer> m_tick;
};
