#pragma once

#include "VideoOutput.h"
#include "VlcPlayer.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QVideoFrame>

#include <array>
#include <vector>

struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_media_t;

// VlcPlayer on libVLC's C API; decoded frames reach the output on the main
// thread as frames that own their memory.
class LibVlcPlayer final : public QObject, public VlcPlayer
{
    Q_OBJECT
public:
    // extraArgs are appended to the headless defaults (tests pass "--aout=adummy").
    explicit LibVlcPlayer(const QStringList &extraArgs = {});
    ~LibVlcPlayer() override;

    bool isValid() const { return m_player != nullptr; }
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
    void setAspectRatio(const std::optional<QString> &ratio) override;
    void setCropGeometry(const std::optional<QString> &geometry) override;
    void setOutput(VideoOutput *output) override { m_output = output; }
    int currentAudioTrack() const;

private:
    static unsigned onFormat(void **opaque, char *chroma, unsigned *width, unsigned *height, unsigned *pitches,
                             unsigned *lines);
    static void onCleanup(void *opaque);
    static void *onLock(void *opaque, void **planes);
    static void onUnlock(void *opaque, void *picture, void *const *planes);
    static void onDisplay(void *opaque, void *picture);
    QSize visibleSize(QSize decoded) const;
    void presentLatest();
    void updateVisibleSize();
    void blank();

    libvlc_instance_t *m_instance = nullptr;
    libvlc_media_player_t *m_player = nullptr;
    libvlc_media_t *m_media = nullptr;
    QPointer<VideoOutput> m_output;

    mutable QMutex m_mutex;  // guards the fields below, shared with libVLC's threads
    // libVLC draws into the buffer that does not hold the shown picture, so that a picture
    // drawn again unchanged (libVLC repeats it while paused) is recognised and skipped.
    std::array<std::vector<uchar>, 2> m_buffers;
    int m_shownBuffer = -1;
    QSize m_frameSize;
    QSize m_visibleSize;  // the picture's own size, once libVLC reports it
    QVideoFrame m_latestFrame;
    bool m_framePending = false;
    std::string m_aspect;
    std::string m_crop;
};
