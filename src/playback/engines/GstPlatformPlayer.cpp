#include "GstPlatformPlayer.h"

#include "GstHttpLibrary.h"
#include "GstNetworkSources.h"
#include "VideoOutput.h"

#include <QMetaObject>
#include <QMutexLocker>
#include <QThreadPool>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <atomic>
#include <cmath>
#include <limits>

namespace {

constexpr guint kPlayFlagText = 1 << 2;

void setUserAgentOn(GstElement *element, const QByteArray &userAgent)
{
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), "user-agent"))
        g_object_set(element, "user-agent", userAgent.constData(), nullptr);
}

// The element playbin draws text subtitles with: it can shift them vertically.
bool drawsTextSubtitles(GstElement *element)
{
    return g_object_class_find_property(G_OBJECT_GET_CLASS(element), "deltay") != nullptr;
}

// Stopping a pipeline waits for its streaming threads and its network reads.
QThreadPool &stoppingPool()
{
    static QThreadPool pool;
    return pool;
}

GstElement *makeVideoSink(void *link, const GstAppSinkCallbacks *callbacks)
{
    GstElement *bin = gst_parse_bin_from_description(
        "videoconvert ! appsink name=frames max-buffers=2 drop=true caps=video/x-raw,format=RGBA", TRUE,
        nullptr);
    if (!bin)
        return nullptr;
    GstElement *appsink = gst_bin_get_by_name(GST_BIN(bin), "frames");
    gst_app_sink_set_callbacks(
        GST_APP_SINK(appsink), const_cast<GstAppSinkCallbacks *>(callbacks), link, nullptr);
    gst_object_unref(appsink);
    return bin;
}

QVideoFrame copyFrame(GstSample *sample)
{
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
        return {};
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    GstVideoFrame source;
    if (!buffer || !gst_video_frame_map(&source, &info, buffer, GST_MAP_READ))
        return {};
    const QSize size(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
    QVideoFrame frame(QVideoFrameFormat(size, QVideoFrameFormat::Format_RGBA8888));
    if (frame.map(QVideoFrame::WriteOnly)) {
        const auto *from = static_cast<const uchar *>(GST_VIDEO_FRAME_PLANE_DATA(&source, 0));
        const int fromStride = GST_VIDEO_FRAME_PLANE_STRIDE(&source, 0);
        const int rowBytes = std::min(size.width() * 4, frame.bytesPerLine(0));
        for (int row = 0; row < size.height(); ++row)
            memcpy(frame.bits(0) + row * frame.bytesPerLine(0), from + row * fromStride, rowBytes);
        frame.unmap();
    }
    gst_video_frame_unmap(&source);
    if (GST_BUFFER_PTS_IS_VALID(buffer))
        frame.setStartTime(qint64(GST_BUFFER_PTS(buffer) / GST_USECOND));
    return frame;
}

}

// What an item's streaming threads reach of the player: nothing once the player
// has moved on. Owned by the item's pipeline.
struct GstPlatformPlayer::Link {
    QMutex mutex;
    GstPlatformPlayer *player = nullptr; // guarded by mutex
    const quint64 generation;
    const QByteArray userAgent;
    GstElement *pipeline = nullptr; // the pipeline that owns the link
    std::atomic_bool clockPlaced = false; // set by the item's first picture
    std::atomic<double> subtitleLift = 0; // the part of the picture kept free under subtitles
    std::atomic_int pictureHeight = 0; // of the item's latest picture
};

GstPlatformPlayer::GstPlatformPlayer(Audio audio, std::function<QLocale()> namesIn, QObject *parent)
    : PlatformPlayer(parent)
    , m_audio(audio)
    , m_namesIn(std::move(namesIn))
{
}

void GstPlatformPlayer::startGStreamer()
{
    // The HTTP library is chosen before GStreamer can load its HTTP source; gst_init
    // takes a lock: a call racing another one waits for it.
    loadSafeHttpLibrary();
    gst_init(nullptr, nullptr);
    keepOnlyNetworkSources();
}

GstPlatformPlayer::~GstPlatformPlayer()
{
    retirePipeline();
}

GstElement *GstPlatformPlayer::makePipeline(
    const QUrl &url, const QString &userAgent, double forwardBufferSecs)
{
    startGStreamer();
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    gst_object_ref_sink(playbin);
    m_link = new Link { {}, this, m_generation, userAgent.toUtf8() };
    m_link->pipeline = playbin;
    m_link->subtitleLift = m_subtitleLift;
    g_object_set_data_full(
        G_OBJECT(playbin), "zelfor-link", m_link, [](gpointer link) { delete static_cast<Link *>(link); });
    using SampleCallback = GstFlowReturn (*)(GstAppSink *, gpointer);
    static const GstAppSinkCallbacks callbacks = [] {
        GstAppSinkCallbacks made = {};
        made.new_sample = reinterpret_cast<SampleCallback>(&GstPlatformPlayer::onNewSample);
        // A seek while paused shows its frame only as a preroll.
        made.new_preroll = reinterpret_cast<SampleCallback>(&GstPlatformPlayer::onNewPreroll);
        return made;
    }();
    if (GstElement *videoSink = makeVideoSink(m_link, &callbacks))
        g_object_set(playbin, "video-sink", videoSink, nullptr);
    if (m_audio == Audio::silent) {
        // In step with the clock like a sound card, so that playback keeps its pace.
        GstElement *silence = gst_element_factory_make("fakesink", nullptr);
        g_object_set(silence, "sync", TRUE, nullptr);
        g_object_set(playbin, "audio-sink", silence, nullptr);
    }
    g_signal_connect(playbin, "source-setup",
        G_CALLBACK(+[](GstElement *, GstElement *source, gpointer link) { onElementAdded(source, link); }),
        m_link);
    g_signal_connect(playbin, "deep-element-added",
        G_CALLBACK(
            +[](GstBin *, GstBin *, GstElement *element, gpointer link) { onElementAdded(element, link); }),
        m_link);
    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(
        bus, reinterpret_cast<GstBusSyncHandler>(&GstPlatformPlayer::onBusMessage), m_link, nullptr);
    gst_object_unref(bus);
    g_object_set(playbin, "uri", url.toString(QUrl::FullyEncoded).toUtf8().constData(), "buffer-duration",
        static_cast<gint64>(forwardBufferSecs * GST_SECOND), nullptr);
    return playbin;
}

// Streaming threads: every element a playlist, manifest or container makes the pipeline add.
void GstPlatformPlayer::onElementAdded(GstElement *element, void *data)
{
    auto *link = static_cast<Link *>(data);
    if (readsOffNetwork(element))
        refuseSource(link->pipeline, element);
    setUserAgentOn(element, link->userAgent);
    if (drawsTextSubtitles(element))
        placeSubtitles(element, link);
}

// Any thread: the subtitles' baseline moves up by the lifted part of the picture.
void GstPlatformPlayer::placeSubtitles(GstElement *overlay, const Link *link)
{
    g_object_set(overlay, "deltay", -int(std::lround(link->subtitleLift * link->pictureHeight)), nullptr);
}

void GstPlatformPlayer::setSubtitleLift(double fraction)
{
    m_subtitleLift = fraction;
    if (!m_link)
        return;
    m_link->subtitleLift = fraction;
    placeAllSubtitles();
}

void GstPlatformPlayer::placeAllSubtitles()
{
    if (!m_playbin)
        return;
    GstIterator *elements = gst_bin_iterate_recurse(GST_BIN(m_playbin));
    gst_iterator_foreach(
        elements,
        [](const GValue *value, gpointer link) {
        auto *element = GST_ELEMENT(g_value_get_object(value));
        if (drawsTextSubtitles(element))
            placeSubtitles(element, static_cast<Link *>(link));
        },
        m_link);
    gst_iterator_free(elements);
}

// Streaming threads: the message is handed to the main thread with the
// generation of the item it belongs to.
int GstPlatformPlayer::onBusMessage(GstBus *, GstMessage *message, void *data)
{
    auto *link = static_cast<Link *>(data);
    const std::shared_ptr<GstMessage> held(message, [](GstMessage *m) { gst_message_unref(m); });
    QMutexLocker lock(&link->mutex);
    if (GstPlatformPlayer *player = link->player) {
        QMetaObject::invokeMethod(
            player,
            [player, held, generation = link->generation] { player->handleMessage(held.get(), generation); },
            Qt::QueuedConnection);
    }
    return GST_BUS_DROP;
}

int GstPlatformPlayer::onNewSample(GstAppSink *sink, void *link)
{
    takeSample(static_cast<Link *>(link), gst_app_sink_pull_sample(sink));
    return GST_FLOW_OK;
}

int GstPlatformPlayer::onNewPreroll(GstAppSink *sink, void *data)
{
    auto *link = static_cast<Link *>(data);
    GstSample *sample = gst_app_sink_pull_preroll(sink);
    if (sample && !link->clockPlaced.exchange(true))
        startClockAt(link->pipeline, sample);
    takeSample(link, sample);
    return GST_FLOW_OK;
}

// Streaming thread, before the pipeline first plays: a stream whose first picture comes
// later than its segment's start (an HLS segment's or a transport stream's lead of the
// timestamps over the clock) would show that picture standing still for the lead; the
// pipeline's running time starts at the picture instead.
void GstPlatformPlayer::startClockAt(GstElement *pipeline, GstSample *sample)
{
    const GstBuffer *buffer = gst_sample_get_buffer(sample);
    const GstSegment *segment = gst_sample_get_segment(sample);
    if (!buffer || !segment || !GST_BUFFER_PTS_IS_VALID(buffer))
        return;
    const GstClockTime runningTime
        = gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    if (GST_CLOCK_TIME_IS_VALID(runningTime))
        gst_element_set_start_time(pipeline, runningTime);
}

// Streaming thread: keeps the newest frame and asks the main thread to show it.
void GstPlatformPlayer::takeSample(Link *link, GstSample *sample)
{
    if (!sample)
        return;
    QVideoFrame frame = copyFrame(sample);
    gst_sample_unref(sample);
    const bool resized = link->pictureHeight.exchange(frame.height()) != frame.height();
    QMutexLocker linkLock(&link->mutex);
    GstPlatformPlayer *player = link->player;
    if (!player)
        return;
    if (resized)
        QMetaObject::invokeMethod(player, &GstPlatformPlayer::placeAllSubtitles, Qt::QueuedConnection);
    QMutexLocker lock(&player->m_mutex);
    player->m_latestFrame = frame;
    if (!std::exchange(player->m_framePending, true))
        QMetaObject::invokeMethod(player, &GstPlatformPlayer::presentLatest, Qt::QueuedConnection);
}

void GstPlatformPlayer::presentLatest()
{
    QVideoFrame frame;
    {
        QMutexLocker lock(&m_mutex);
        frame = std::exchange(m_latestFrame, QVideoFrame());
        m_framePending = false;
    }
    if (m_output && frame.isValid() && m_hasItem)
        m_output->present(frame);
}

void GstPlatformPlayer::stopPipeline()
{
    retirePipeline();
    ++m_generation;
    m_status = Status::unknown;
    m_waitingForData = false;
    m_pipelinePlaying = false;
    m_deferredTracks.clear();
    blank();
}

// The pipeline stops on a worker thread; what it still sends reaches no one.
void GstPlatformPlayer::retirePipeline()
{
    if (!m_playbin)
        return;
    {
        QMutexLocker lock(&m_link->mutex);
        m_link->player = nullptr;
    }
    m_link = nullptr;
    stoppingPool().start([playbin = std::exchange(m_playbin, nullptr)] {
        gst_element_set_state(playbin, GST_STATE_NULL);
        gst_object_unref(playbin);
    });
}

// Without a picture any more, the surfaces show black rather than the last frame.
void GstPlatformPlayer::blank()
{
    {
        QMutexLocker lock(&m_mutex);
        m_latestFrame = QVideoFrame();
    }
    if (m_output)
        m_output->present(QVideoFrame());
}

void GstPlatformPlayer::load(const QUrl &url, const QString &userAgent, double forwardBufferSecs)
{
    stopPipeline();
    m_playbin = makePipeline(url, userAgent, forwardBufferSecs);
    m_hasItem = true;
    m_wantPlay = false;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    updateTimeControl();
}

void GstPlatformPlayer::clear()
{
    stopPipeline();
    m_hasItem = false;
    m_wantPlay = false;
    updateTimeControl();
}

void GstPlatformPlayer::play()
{
    if (!m_hasItem)
        return;
    m_wantPlay = true;
    applyState();
}

void GstPlatformPlayer::pause()
{
    if (!m_hasItem)
        return;
    m_wantPlay = false;
    applyState();
}

void GstPlatformPlayer::applyState()
{
    if (m_playbin && m_status != Status::failed)
        gst_element_set_state(
            m_playbin, m_wantPlay && !m_waitingForData ? GST_STATE_PLAYING : GST_STATE_PAUSED);
    updateTimeControl();
}

void GstPlatformPlayer::updateTimeControl()
{
    TimeControl control = TimeControl::paused;
    if (m_hasItem && m_wantPlay && m_status != Status::failed)
        control = m_pipelinePlaying && !m_waitingForData ? TimeControl::playing : TimeControl::waiting;
    if (control == m_control)
        return;
    m_control = control;
    emit timeControlChanged(control);
}

void GstPlatformPlayer::seek(double secs, double toleranceBefore, double toleranceAfter)
{
    if (!m_playbin)
        return;
    const bool precise = toleranceBefore >= 0 && toleranceAfter >= 0;
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH
        | (precise ? GST_SEEK_FLAG_ACCURATE : GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_BEFORE));
    gst_element_seek_simple(m_playbin, GST_FORMAT_TIME, flags, static_cast<gint64>(secs * GST_SECOND));
}

double GstPlatformPlayer::position() const
{
    gint64 value = 0;
    if (!m_playbin || !gst_element_query_position(m_playbin, GST_FORMAT_TIME, &value))
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(value) / GST_SECOND;
}

double GstPlatformPlayer::duration() const
{
    gint64 value = 0;
    if (!m_playbin || !gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &value) || value < 0)
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(value) / GST_SECOND;
}

void GstPlatformPlayer::loadTracks(std::function<void(Tracks)> done)
{
    const quint64 generation = m_generation;
    QPointer<GstPlatformPlayer> guard(this);
    QMetaObject::invokeMethod(
        this,
        [guard, generation, done = std::move(done)] {
        if (!guard || guard->m_generation != generation || !guard->m_playbin)
            return;
        done(Tracks { guard->trackOptions(true), guard->trackOptions(false) });
        },
        Qt::QueuedConnection);
}

// A track change makes playbin rebuild its sinks, which it also does while it
// changes state: the change waits until the pipeline has settled.
void GstPlatformPlayer::selectTrack(std::optional<int> id, bool audio)
{
    if (!m_playbin)
        return;
    m_deferredTracks.append({ id, audio });
    applyDeferredTracks();
}

void GstPlatformPlayer::applyDeferredTracks()
{
    if (!m_playbin || gst_element_get_state(m_playbin, nullptr, nullptr, 0) == GST_STATE_CHANGE_ASYNC)
        return;
    for (const TrackChoice &choice : std::exchange(m_deferredTracks, {}))
        applyTrack(choice);
}

void GstPlatformPlayer::applyTrack(const TrackChoice &choice)
{
    if (choice.audio) {
        if (choice.id)
            g_object_set(m_playbin, "current-audio", *choice.id, nullptr);
        return;
    }
    guint flags = 0;
    g_object_get(m_playbin, "flags", &flags, nullptr);
    flags = choice.id ? flags | kPlayFlagText : flags & ~kPlayFlagText;
    g_object_set(m_playbin, "flags", flags, nullptr);
    if (choice.id)
        g_object_set(m_playbin, "current-text", *choice.id, nullptr);
}

int GstPlatformPlayer::currentTrack(bool audio) const
{
    gint index = -1;
    if (m_playbin)
        g_object_get(m_playbin, audio ? "current-audio" : "current-text", &index, nullptr);
    return index;
}
