#pragma once

#include "VideoOutput.h"
#include "VlcPlayer.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QVideoFrame>

#include <array>
#include <cstdarg>
#include <memory>
#include <string>
#include <vector>

struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_media_t;
struct vlc_log_t;

// VlcPlayer on libVLC's C API; decoded frames reach the output on the main
// thread as frames that own their memory. Each media plays on a media player of
// its own: stopping one joins libVLC's threads, which waits up to the next
// picture's time, so a stopped player is stopped and released in the background.
class LibVlcPlayer final : public QObject, public VlcPlayer {
    Q_OBJECT
public:
    // extraArgs are appended to the headless defaults (tests pass "--aout=adummy").
    explicit LibVlcPlayer(const QStringList &extraArgs = {});
    // Waits for the players still stopping in the background.
    ~LibVlcPlayer() override;

    bool isValid() const { return m_instance != nullptr; }
    void setMedia(const VlcMedia &media) override;
    bool hasMedia() const override;
    void play() override;
    void pause() override;
    void stop() override;
    bool isPlaying() const override;
    State state() const override;
    qint64 timeMs() const override;
    qint64 lengthMs() const override;
    void setTimeMs(qint32 ms) override;
    bool hasVideoOutput() const override;
    QSize videoSize() const override;
    QList<VlcTrack> audioTracks() const override;
    QList<VlcTrack> subtitleTracks() const override;
    void setAudioTrack(int id) override;
    void setSubtitleTrack(int id) override;
    void setSubtitleLift(double fraction) override;
    void setAspectRatio(const std::optional<QString> &ratio) override;
    void setCropGeometry(const std::optional<QString> &geometry) override;
    void setOutput(VideoOutput *output) override { m_output = output; }
    std::optional<PlayError> sourceError() const override;
    int currentAudioTrack() const;

private:
    // One libVLC media player on one media, and what its threads draw into: the
    // target of its callbacks, alive until the player is released.
    struct Session {
        Session(libvlc_media_player_t *player, libvlc_media_t *media, LibVlcPlayer *owner);
        ~Session(); // stops and releases the player: waits for its threads
        Session(const Session &) = delete;
        Session &operator=(const Session &) = delete;

        libvlc_media_player_t *const player;
        libvlc_media_t *const media;

        QMutex mutex; // guards the fields below, shared with libVLC's threads
        LibVlcPlayer *owner; // none once detached: its late pictures are dropped
        // libVLC draws into the buffer that does not hold the shown picture, so that a picture
        // drawn again unchanged (libVLC repeats it while paused) is recognised and skipped.
        std::array<std::vector<uchar>, 2> buffers;
        int shownBuffer = -1;
        QSize frameSize;
        QSize visibleSize; // the picture's own size, once libVLC reports it
        QVideoFrame latestFrame;
        bool framePending = false;
    };

    static unsigned onFormat(
        void **opaque, char *chroma, unsigned *width, unsigned *height, unsigned *pitches, unsigned *lines);
    static void onCleanup(void *opaque);
    static void *onLock(void *opaque, void **planes);
    static void onUnlock(void *opaque, void *picture, void *const *planes);
    static void onDisplay(void *opaque, void *picture);
    static void onLog(void *self, int level, const vlc_log_t *context, const char *format, va_list args);
    void open();
    void close();
    void applyPictureMode();
    void applySubtitleLift();
    void presentLatest();
    void updateVisibleSize();
    void blank();

    libvlc_instance_t *m_instance = nullptr;
    std::optional<VlcMedia> m_source;
    std::unique_ptr<Session> m_session; // the media player of m_source, none once stopped
    State m_idleState = State::other; // reported while there is no session
    QPointer<VideoOutput> m_output;
    std::optional<std::string> m_aspect;
    std::optional<std::string> m_crop;
    double m_subtitleLift = 0;
    QThreadPool m_stopping; // stops and releases detached sessions
    mutable QMutex m_errorMutex; // guards m_sourceError, written by libVLC's threads
    std::optional<PlayError> m_sourceError; // the first one told since the media player opened
};
