#pragma once

#include "ManualClock.h"
#include "playback/PlayerEngine.h"

#include <QList>

#include <algorithm>
#include <functional>
#include <memory>

// The platform player as the engine drives it: it records every call, the test scripts the item.
class FakePlatform final : public PlatformPlayer {
public:
    struct Load {
        QUrl url;
        QString userAgent;
        double forwardBuffer = 0;
    };

    void load(const QUrl &url, const QString &userAgent, double forwardBufferSecs) override
    {
        loads.append({ url, userAgent, forwardBufferSecs });
        m_hasItem = true;
        m_status = Status::unknown;
        m_position = 0;
        m_duration = 0;
    }
    void clear() override
    {
        m_hasItem = false;
        m_status = Status::unknown;
    }
    bool hasItem() const override { return m_hasItem; }
    Status status() const override { return m_status; }
    TimeControl timeControl() const override { return m_control; }
    void play() override { ++plays; }
    void pause() override { ++pauses; }
    void seek(double secs, double, double toleranceAfter) override
    {
        seeks.append({ secs, toleranceAfter });
        m_position = secs;
    }
    double position() const override { return m_position; }
    double duration() const override { return m_duration; }
    void loadTracks(std::function<void(Tracks)> done) override { m_pendingTracks.append(std::move(done)); }
    void selectTrack(std::optional<int> id, bool audio) override { selections.append({ id, audio }); }
    void setSubtitleLift(double fraction) override { subtitleLift = fraction; }
    void setOutput(VideoOutput *) override { }

    // Script of the current item.
    void becomeReady(double duration)
    {
        m_duration = duration;
        m_status = Status::ready;
        emit statusChanged(m_status, std::nullopt);
    }
    void fail(std::optional<PlayError> error = std::nullopt)
    {
        m_status = Status::failed;
        emit statusChanged(m_status, error);
    }
    // NaN: no position, as while a seek lands.
    void setPlayhead(double position) { m_position = position; }
    void end() { emit ended(); }
    void setDuration(double duration) { m_duration = duration; }
    void setControl(TimeControl control)
    {
        m_control = control;
        emit timeControlChanged(control);
    }
    void deliverTracks(const Tracks &tracks)
    {
        const auto pending = std::exchange(m_pendingTracks, {});
        for (const auto &done : pending)
            done(tracks);
    }

    QList<Load> loads;
    QList<std::pair<double, double>> seeks; // position, tolerance after
    QList<std::pair<std::optional<int>, bool>> selections;
    int plays = 0;
    int pauses = 0;
    double subtitleLift = 0;

private:
    bool m_hasItem = false;
    Status m_status = Status::unknown;
    TimeControl m_control = TimeControl::paused;
    double m_position = 0;
    double m_duration = 0;
    QList<std::function<void(Tracks)>> m_pendingTracks;
};

// libVLC as the poll sees it; the test writes the fields.
struct FakeVlcState {
    int created = 0;
    QList<VlcMedia> media;
    QStringList optionsAtPlay;
    int plays = 0;
    int stops = 0;
    bool playing = false;
    VlcPlayer::State state = VlcPlayer::State::opening;
    qint64 timeMs = -1;
    qint64 lengthMs = -1;
    QList<qint32> seeks;
    bool videoOutput = false;
    QSize videoSize;
    QList<VlcTrack> audio;
    QList<VlcTrack> subtitles;
    QList<int> audioSelections;
    QList<int> subtitleSelections;
    std::optional<QString> aspect;
    std::optional<QString> crop;
    std::optional<PlayError> sourceError;
};

class FakeVlc final : public VlcPlayer {
public:
    explicit FakeVlc(FakeVlcState *state)
        : m_state(state)
    {
        ++m_state->created;
    }
    void setMedia(const VlcMedia &media) override { m_state->media.append(media); }
    bool hasMedia() const override { return !m_state->media.isEmpty(); }
    void play() override
    {
        ++m_state->plays;
        m_state->optionsAtPlay = m_state->media.isEmpty() ? QStringList() : m_state->media.last().options;
    }
    void pause() override { m_state->playing = false; }
    void stop() override { ++m_state->stops; }
    bool isPlaying() const override { return m_state->playing; }
    State state() const override { return m_state->state; }
    qint64 timeMs() const override { return m_state->timeMs; }
    qint64 lengthMs() const override { return m_state->lengthMs; }
    void setTimeMs(qint32 ms) override { m_state->seeks.append(ms); }
    bool hasVideoOutput() const override { return m_state->videoOutput; }
    QSize videoSize() const override { return m_state->videoSize; }
    QList<VlcTrack> audioTracks() const override { return m_state->audio; }
    QList<VlcTrack> subtitleTracks() const override { return m_state->subtitles; }
    void setAudioTrack(int id) override { m_state->audioSelections.append(id); }
    void setSubtitleTrack(int id) override { m_state->subtitleSelections.append(id); }
    void setSubtitleLift(double) override { }
    void setAspectRatio(const std::optional<QString> &ratio) override { m_state->aspect = ratio; }
    void setCropGeometry(const std::optional<QString> &geometry) override { m_state->crop = geometry; }
    void setOutput(VideoOutput *) override { }
    std::optional<PlayError> sourceError() const override { return m_state->sourceError; }

private:
    FakeVlcState *m_state;
};

class FakeHost final : public PlaybackHost {
public:
    struct Save {
        QString key;
        double pos = 0;
        double dur = 0;
        bool operator==(const Save &) const = default;
    };

    QString userAgent() const override { return agent; }
    PictureMode aspectMode() const override { return mode; }
    void addRecent(const PlayItem &item) override { recents.append(item.key); }
    void saveResume(const QString &key, double pos, double dur) override { saves.append({ key, pos, dur }); }
    QString message(const QString &key) const override { return QStringLiteral("text of ") + key; }

    QString agent = QStringLiteral("TestAgent/1.0");
    PictureMode mode = PictureMode::stretch;
    QStringList recents;
    QList<Save> saves;
};

// An engine in virtual time on scripted backends, or on the real players a test gives.
struct EngineRig {
    using VlcFactory = std::function<std::unique_ptr<VlcPlayer>()>;

    explicit EngineRig(std::unique_ptr<PlatformPlayer> realPlatform = nullptr, VlcFactory realVlc = nullptr)
    {
        if (!realPlatform) {
            auto fake = std::make_unique<FakePlatform>();
            platform = fake.get();
            realPlatform = std::move(fake);
        }
        if (!realVlc)
            realVlc = [this] { return std::make_unique<FakeVlc>(&vlc); };
        engine = std::make_unique<PlayerEngine>(
            PlayerEngine::Backends { std::move(realPlatform), realVlc, &clock, host });
    }

    ManualClock clock;
    std::shared_ptr<FakeHost> host = std::make_shared<FakeHost>();
    FakeVlcState vlc;
    FakePlatform *platform = nullptr; // the scripted platform player, if any
    std::unique_ptr<PlayerEngine> engine;
};

inline PlayItem playItem(const QString &id, bool live)
{
    PlayItem item;
    item.key = (live ? QStringLiteral("7|LIVE|") : QStringLiteral("7|MOVIE|")) + id;
    item.title = id;
    item.url = (live ? QStringLiteral("http://127.0.0.1:9/live/%1.ts")
                     : QStringLiteral("http://127.0.0.1:9/movie/%1.mp4"))
                   .arg(id);
    item.live = live;
    return item;
}

inline PlayItem movieItem(const QString &id = QStringLiteral("m1"))
{
    return playItem(id, false);
}
inline PlayItem liveItem(const QString &id = QStringLiteral("c1"))
{
    return playItem(id, true);
}
