#pragma once

#include "PlatformPlayer.h"

#include <QList>
#include <QLocale>
#include <QMutex>
#include <QPointer>
#include <QVideoFrame>

#include "VideoOutput.h"

#include <functional>
#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstBus GstBus;
typedef struct _GstAppSink GstAppSink;
typedef struct _GstSample GstSample;
typedef struct _GError GError;
typedef struct _GstStructure GstStructure;

// The platform player on GStreamer's playbin, a fresh one per item; frames reach
// the output on the main thread as RGBA frames that own their memory. An item's
// pipeline is stopped and freed off the main thread.
class GstPlatformPlayer final : public PlatformPlayer {
    Q_OBJECT
public:
    enum class Audio { device, silent };

    // Tracks name their languages in the language of `namesIn` (English without it).
    explicit GstPlatformPlayer(
        Audio audio = Audio::device, std::function<QLocale()> namesIn = {}, QObject *parent = nullptr);
    ~GstPlatformPlayer() override;

    // Starts GStreamer (its plugin registry, left with network sources only) on the calling
    // thread, any thread, once; the first item does it if nobody did before.
    static void startGStreamer();

    void load(const QUrl &url, const QString &userAgent, double forwardBufferSecs) override;
    void clear() override;
    bool hasItem() const override { return m_hasItem; }
    Status status() const override { return m_status; }
    TimeControl timeControl() const override { return m_control; }
    void play() override;
    void pause() override;
    void seek(double secs, double toleranceBefore, double toleranceAfter) override;
    double position() const override;
    double duration() const override;
    void loadTracks(std::function<void(Tracks)> done) override;
    void selectTrack(std::optional<int> id, bool audio) override;
    void setSubtitleLift(double fraction) override;
    void setOutput(VideoOutput *output) override { m_output = output; }
    // The playing audio or subtitle stream index; -1 when none.
    int currentTrack(bool audio) const;

    // The GStreamer error of a failed item, as the classifier reads it; fromSource when
    // the element reading the address posted it.
    static PlayError mapError(const GError *error, const GstStructure *details, bool fromSource);
    // A track's name: its title and its language's name (in the language of `names`) as libVLC
    // shows them, else its number.
    static QString trackName(
        const QString &title, const QString &languageCode, int index, const QLocale &names);

private:
    struct Link;
    struct TrackChoice {
        std::optional<int> id;
        bool audio = false;
    };

    static int onBusMessage(GstBus *bus, GstMessage *message, void *link);
    static int onNewSample(GstAppSink *sink, void *link);
    static int onNewPreroll(GstAppSink *sink, void *link);
    static void takeSample(Link *link, GstSample *sample);
    static void startClockAt(GstElement *pipeline, GstSample *sample);
    static void onElementAdded(GstElement *element, void *link);
    static void placeSubtitles(GstElement *overlay, const Link *link);
    GstElement *makePipeline(const QUrl &url, const QString &userAgent, double forwardBufferSecs);
    void handleMessage(GstMessage *message, quint64 generation);
    void handleError(GstMessage *message);
    void handleBuffering(int percent);
    void applyState();
    void updateTimeControl();
    void presentLatest();
    QList<TrackOption> trackOptions(bool audio) const;
    void stopPipeline();
    void retirePipeline();
    void blank();
    void applyTrack(const TrackChoice &choice);
    void applyDeferredTracks();
    void placeAllSubtitles();

    const Audio m_audio;
    const std::function<QLocale()> m_namesIn;
    GstElement *m_playbin = nullptr; // the current item's pipeline, if it still runs
    Link *m_link = nullptr; // owned by m_playbin
    QPointer<VideoOutput> m_output;
    quint64 m_generation = 0;
    double m_subtitleLift = 0;
    // Track changes made while the pipeline changes state, applied once it settles.
    QList<TrackChoice> m_deferredTracks;
    QMutex m_mutex; // guards the fields below, shared with streaming threads
    QVideoFrame m_latestFrame;
    bool m_framePending = false;

    bool m_hasItem = false;
    bool m_wantPlay = false;
    bool m_waitingForData = false;
    bool m_pipelinePlaying = false;
    Status m_status = Status::unknown;
    TimeControl m_control = TimeControl::paused;
};
