#include "GeneratedMedia.h"
#include "QmlHarness.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"

#include <QQmlEngine>
#include <QtQml/QQmlExtensionPlugin>
#include <gst/gst.h>

#include <QTemporaryFile>

#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)

namespace {

// The engine in virtual time driven by the real clock, either on real GStreamer
// playback with libVLC scripted, or on real libVLC with the platform player scripted.
class RealPlayback : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(media.ok) << media.problem.toStdString(); }

    // GStreamer shows its picture on two surfaces at once.
    void useGStreamer()
    {
        gst = new GstPlatformPlayer(GstPlatformPlayer::Audio::silent); // the engine owns it
        rig = std::make_unique<EngineRig>(std::unique_ptr<PlatformPlayer>(gst));
        rig->engine->platformOutput()->addSink(&sink);
        rig->engine->platformOutput()->addSink(&secondSink);
    }

    void useVlc()
    {
        rig = std::make_unique<EngineRig>(nullptr, [this] {
            auto player = std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" });
            vlc = player.get();
            return player;
        });
        rig->engine->vlcView()->host(&sink, QSizeF(640, 360));
    }

    bool waitFor(const std::function<bool()> &condition) { return pumpUntil(rig->clock, condition); }

    GeneratedMedia &media = GeneratedMedia::instance();
    QVideoSink sink;
    QVideoSink secondSink;
    GstPlatformPlayer *gst = nullptr;
    LibVlcPlayer *vlc = nullptr;
    std::unique_ptr<EngineRig> rig;
};

struct ClipCase {
    const char *name;
    bool onVlc;
    const char *path;
};

// The clip's name stands for it in test names and failure messages.
void PrintTo(const ClipCase &clip, std::ostream *out)
{
    *out << clip.name;
}

class RealClip : public RealPlayback, public ::testing::WithParamInterface<ClipCase> { };

// libVLC takes the clip once the platform player fails it. An MPEG-TS stream tells
// libVLC its picture size only after decoding; its frames still arrive whole at that size.
TEST_P(RealClip, PlaysWholeFramesWithTheUserAgentSeeksAndEndsBlack)
{
    const auto [name, onVlc, file] = GetParam();
    const QString path = QString::fromLatin1(file);
    const bool ts = path.endsWith(QStringLiteral(".ts"));
    onVlc ? useVlc() : useGStreamer();
    PlayerEngine &engine = *rig->engine;
    const qsizetype earlier = media.server.userAgents(path).size();
    rig->host->agent = QStringLiteral("ZelforProbe/3");
    engine.play(servedItem(path));
    if (onVlc)
        rig->platform->fail();
    ASSERT_EQ(engine.usesVLC(), onVlc);
    ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()) && engine.position() > 0.4; }))
        << "frame " << sink.videoFrame().size().width() << "x" << sink.videoFrame().size().height()
        << " error: " << engine.errorText().toStdString();
    EXPECT_TRUE(onVlc || isWholePicture(secondSink.videoFrame()));
    // A loaded machine may starve the stream for a moment: buffering, then playing again.
    EXPECT_TRUE(waitFor([&] { return engine.isPlaying(); }));
    const QStringList agents = media.server.userAgents(path).mid(earlier);
    EXPECT_FALSE(agents.isEmpty());
    EXPECT_EQ(agents.count(QStringLiteral("ZelforProbe/3")), agents.size()) << agents.join(',').toStdString();

    // GStreamer estimates an MPEG-TS stream's length over HTTP from its bit rate;
    // libVLC gives it none, so it is not seekable there.
    if (!onVlc || !ts) {
        const double tolerance = ts ? 1.0 : 0.3;
        EXPECT_TRUE(waitFor([&] {
            return std::abs(engine.duration() - GeneratedMedia::kClipSecs) < tolerance;
        })) << "duration "
            << engine.duration();
        engine.seek(6.0);
        ASSERT_TRUE(waitFor([&] { return (onVlc ? vlc->timeMs() / 1000.0 : gst->position()) >= 5.9; }));
        ASSERT_TRUE(waitFor([&] { return engine.position() >= 5.9; }));
        EXPECT_FALSE(engine.hasError());
    }
    engine.stop();
    EXPECT_FALSE(engine.usesVLC());
    if (!onVlc || !ts) {
        ASSERT_FALSE(rig->host->saves.isEmpty());
        EXPECT_GE(rig->host->saves.last().pos, 5.9);
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(sink.videoFrame().isValid()) << "the surfaces show black, not the last frame";
    EXPECT_FALSE(secondSink.videoFrame().isValid());
}

INSTANTIATE_TEST_SUITE_P(Engines, RealClip,
    ::testing::Values(ClipCase { "GStreamerMp4", false, "/clip.mp4" },
        ClipCase { "GStreamerTs", false, "/clip.ts" }, ClipCase { "VlcMp4", true, "/clip.mp4" },
        ClipCase { "VlcTs", true, "/clip.ts" }),
    [](const ::testing::TestParamInfo<ClipCase> &info) { return std::string(info.param.name); });

// The start seek goes to a key frame, which may lie just before the start.
TEST_F(RealPlayback, StartPositionIsReachedBeforeResumeSaves)
{
    useGStreamer();
    const double landed = 4.0 - GeneratedMedia::kKeyFrameSecs;
    rig->engine->play(servedItem("/clip.mp4"), 4.0);
    ASSERT_TRUE(waitFor([&] { return gst->position() >= landed && rig->engine->position() >= landed; }))
        << gst->position();
    rig->engine->stop();
    for (const FakeHost::Save &save : rig->host->saves)
        EXPECT_GE(save.pos, landed) << "a save before the start seek";
}

TEST_F(RealPlayback, SeekWhilePausedShowsTheFrameItLandsOn)
{
    useGStreamer();
    PlayerEngine &engine = *rig->engine;
    engine.play(servedItem("/clip.mp4"));
    ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()) && engine.position() > 0.4; }));
    engine.togglePause();
    ASSERT_TRUE(waitFor([&] { return !engine.isPlaying(); }));
    engine.seek(6.0);
    const auto shownSecs = [&] { return sink.videoFrame().startTime() / 1e6; };
    ASSERT_TRUE(waitFor([&] { return std::abs(shownSecs() - 6.0) < 0.1; })) << shownSecs();
    EXPECT_TRUE(isWholePicture(sink.videoFrame()));
    EXPECT_FALSE(engine.isPlaying());
}

// The server ends a live response after about 3 s: the engine loads it again instead
// of freezing on the last picture. Each engine plays those seconds in real time.
TEST_F(RealPlayback, LiveResponseThatEndsIsLoadedAgainOnBothEngines)
{
    for (const bool onVlc : { false, true }) {
        SCOPED_TRACE(onVlc ? "libVLC" : "GStreamer");
        onVlc ? useVlc() : useGStreamer();
        PlayItem item = servedItem("/live.ts", true);
        if (onVlc)
            item.ext = QStringLiteral("mpg");
        const int before = media.server.requestCount("/live.ts");
        rig->engine->play(item);
        ASSERT_EQ(rig->engine->usesVLC(), onVlc);
        ASSERT_TRUE(waitFor([&] {
            return isWholePicture(sink.videoFrame()) && rig->engine->isPlaying()
                && rig->engine->position() > 0.5;
        }));
        // The whole response arrived at the start: a later request is the engine's.
        const int playing = media.server.requestCount("/live.ts");
        EXPECT_GT(playing, before);
        ASSERT_TRUE(waitFor([&] { return media.server.requestCount("/live.ts") > playing; }));
        EXPECT_FALSE(rig->engine->hasError());
        rig->engine->stop();
    }
}

// Zapping faster than items start: each load replaces a pipeline that may still be
// starting, with subtitle and audio changes on the way. The engine ends on the last item,
// showing its pictures alone, without an error.
TEST_F(RealPlayback, QuickZappingOnGStreamerEndsOnTheLastItem)
{
    useGStreamer();
    PlayerEngine &engine = *rig->engine;
    const char *const paths[] = { "/clip.mp4", "/dual.mp4", "/clip.ts", "/live.ts", "/small.mp4" };
    const auto subtitles = [](bool on) { return on ? std::optional<int>(0) : std::nullopt; };
    for (int zap = 0; zap < 60; ++zap) {
        const QString path = QString::fromLatin1(paths[zap % std::size(paths)]);
        engine.play(servedItem(path, path == u"/live.ts"));
        ASSERT_FALSE(engine.usesVLC());
        gst->selectTrack(subtitles(zap % 2), false);
        gst->selectTrack(zap % 3 ? 0 : 1, true);
        // Most zaps come before the item has started, some once it is ready.
        const auto started = [&] { return gst->status() != PlatformPlayer::Status::unknown; };
        if (zap % 4 == 3)
            ASSERT_TRUE(waitFor(started)) << path.toStdString();
        QCoreApplication::processEvents();
        gst->selectTrack(subtitles(zap % 2 == 0), false);
    }
    QList<QSize> shown;
    const QObject recording;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &recording,
        [&](const QVideoFrame &frame) { shown.append(frame.size()); });
    engine.play(servedItem("/small.mp4"));
    ASSERT_TRUE(waitFor([&] { return engine.position() > 1.0 && engine.isPlaying(); }))
        << "error: " << engine.errorText().toStdString();
    EXPECT_EQ(engine.item()->url, servedItem("/small.mp4").url);
    EXPECT_TRUE(shown.contains(GeneratedMedia::kSmallSize));
    for (const QSize size : shown)
        EXPECT_TRUE(size == GeneratedMedia::kSmallSize || !size.isValid())
            << size.width() << "x" << size.height();
    EXPECT_FALSE(engine.hasError());
    EXPECT_FALSE(engine.buffering());
}

// Dropping a pipeline mid-read must not crash the HTTP source's session thread:
// the source reads through libsoup 2, and libsoup 3 stays unloaded.
TEST_F(RealPlayback, GStreamerReadsHttpThroughLibsoup2)
{
    useGStreamer();
    rig->engine->play(servedItem("/small.mp4"));
    ASSERT_TRUE(waitFor([&] { return rig->engine->isPlaying(); })) << rig->engine->errorText().toStdString();
    const auto loaded = [](const char *library) {
        void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
        if (handle)
            dlclose(handle);
        return handle != nullptr;
    };
    EXPECT_TRUE(loaded("libsoup-2.4.so.1"));
    EXPECT_FALSE(loaded("libsoup-3.0.so.0"));
}

// libVLC writes its messages to the standard error stream; this gathers them.
class ErrorStreamCapture {
public:
    ErrorStreamCapture()
    {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        if (m_file.open())
            dup2(m_file.handle(), STDERR_FILENO);
    }
    ~ErrorStreamCapture() { restore(); }
    QByteArray text()
    {
        restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

// The frame callbacks need pictures in memory: libVLC gets no video output for the
// decoder's hardware surfaces, and while paused it repeats the same picture, which is
// not delivered again.
TEST_F(RealPlayback, VlcStartsWithoutFailedOutputsAndRepeatsNoPausedFrame)
{
    useVlc();
    PlayerEngine &engine = *rig->engine;
    int frames = 0;
    // Counting stops with the test: frames may still arrive while the rig is taken down.
    const QObject counting;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &counting, [&] { ++frames; });
    ErrorStreamCapture errors;
    engine.play(servedItem("/dual.mkv"));
    ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()) && engine.position() > 0.5; }));
    const QByteArray messages = errors.text();
    EXPECT_EQ(messages.count("converter"), 0) << messages.left(2000).toStdString();

    engine.togglePause();
    ASSERT_TRUE(waitFor([&] { return vlc->state() == VlcPlayer::State::paused; }));
    // Frames already on their way arrive first; then libVLC's repeats bring none.
    const auto quiet = [&] {
        const int before = frames;
        QTest::qWait(500);
        return frames == before;
    };
    ASSERT_TRUE(waitFor(quiet)) << "frames keep coming while paused";
    const int atPause = frames;
    EXPECT_TRUE(isWholePicture(sink.videoFrame()));
    engine.togglePause();
    EXPECT_TRUE(waitFor([&] { return frames > atPause + 5; })) << "frames again once playing";
}

// Zapping from one libVLC item to the next: the old item's late pictures and its state stay
// out of the new item's playback.
TEST_F(RealPlayback, VlcItemAfterVlcItemShowsOnlyTheNewOne)
{
    useVlc();
    PlayerEngine &engine = *rig->engine;
    PlayItem first = servedItem("/clip.ts");
    first.ext = QStringLiteral("mpg");
    engine.play(first);
    ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()); }));
    QList<QSize> shown;
    const QObject recording;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &recording,
        [&](const QVideoFrame &frame) { shown.append(frame.size()); });
    PlayItem second = servedItem("/small.mp4");
    second.ext = QStringLiteral("mkv");
    engine.play(second);
    ASSERT_TRUE(engine.usesVLC());
    ASSERT_TRUE(waitFor([&] { return engine.position() > 1.5 && engine.isPlaying(); }));
    EXPECT_TRUE(shown.contains(GeneratedMedia::kSmallSize));
    for (const QSize size : shown)
        EXPECT_TRUE(size == GeneratedMedia::kSmallSize || !size.isValid())
            << size.width() << "x" << size.height();
    EXPECT_FALSE(engine.hasError());
    EXPECT_FALSE(engine.buffering());
}

// Each load fails once; the HTTP stack may itself send a request again.
TEST_F(RealPlayback, MissingLiveStreamEndsNotFoundAfterReloads)
{
    useGStreamer();
    int failures = 0;
    const QObject counting;
    QObject::connect(gst, &PlatformPlayer::statusChanged, &counting,
        [&](PlatformPlayer::Status status) { failures += status == PlatformPlayer::Status::failed ? 1 : 0; });
    rig->engine->play(servedItem("/gone.ts", true));
    // Each refusal arrives at once; the reconnection waits pass in virtual time.
    for (int attempt = 1; attempt <= 5; ++attempt) {
        ASSERT_TRUE(waitFor([&] { return failures == attempt; })) << "attempt " << attempt;
        EXPECT_GE(media.server.requestCount("/gone.ts"), attempt);
        EXPECT_EQ(rig->engine->hasError(), attempt == 5) << "attempt " << attempt;
        rig->clock.advance(8000);
    }
    EXPECT_EQ(rig->engine->error(), "text of perr_not_found");
    EXPECT_EQ(failures, 5) << "no load after the error";
    EXPECT_EQ(rig->vlc.created, 0);
}

// GStreamer takes the MP4, libVLC the Matroska file by its extension.
TEST_F(RealPlayback, BothEnginesListTwoAudioTracksAndSwitch)
{
    for (const bool onVlc : { false, true }) {
        SCOPED_TRACE(onVlc ? "libVLC" : "GStreamer");
        onVlc ? useVlc() : useGStreamer();
        PlayerEngine &engine = *rig->engine;
        engine.play(servedItem(onVlc ? "/dual.mkv" : "/dual.mp4"));
        ASSERT_EQ(engine.usesVLC(), onVlc);
        ASSERT_TRUE(waitFor([&] { return engine.audioOptions().size() == 2; }));
        const TrackOption second = engine.audioOptions()[1];
        if (!onVlc)
            EXPECT_EQ(second, (TrackOption { 1, "French" }));
        engine.selectTrack(second, true);
        EXPECT_TRUE(waitFor(
            [&] { return (onVlc ? vlc->currentAudioTrack() : gst->currentTrack(true)) == second.id; }));
        ASSERT_TRUE(waitFor([&] { return engine.position() > 0.5; }));
        EXPECT_FALSE(engine.hasError());
    }
}

QVideoSink *sinkOf(QObject *surface, const char *name)
{
    QObject *output = surface->findChild<QObject *>(QString::fromLatin1(name));
    return output ? output->property("videoSink").value<QVideoSink *>() : nullptr;
}

// The surface on a real engine: GStreamer plays, libVLC is scripted.
TEST(VideoSurface, ShowsPlatformPictureAndHostsVlcViewOnlyWhenAsked)
{
    GeneratedMedia &media = GeneratedMedia::instance();
    ASSERT_TRUE(media.ok) << media.problem.toStdString();
    EngineRig rig { std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent) };
    rig.host->mode = PictureMode::zoom;
    PlayerEngine &engine = *rig.engine;
    const FakeVlcState &vlc = rig.vlc;

    WarningCollector warnings;
    QQmlEngine qml;
    QmlLoad surface = loadQml(qml, QStringLiteral("qrc:/Zelfor/Playback/VideoSurface.qml"),
        { { "engine", QVariant::fromValue(&engine) }, { "hostsVLC", true }, { "usesVLC", false },
            { "aspectMode", 2 }, { "width", 1280 }, { "height", 720 } });
    ASSERT_TRUE(surface.object) << surface.problems.join('\n').toStdString();
    QVideoSink *platformSink = sinkOf(surface.object.get(), "platformPicture");
    QVideoSink *vlcSink = sinkOf(surface.object.get(), "vlcPicture");
    ASSERT_TRUE(platformSink && vlcSink);
    EXPECT_FALSE(engine.vlcView()->isHostedBy(vlcSink));
    EXPECT_EQ(surface.object->findChild<QObject *>("vlcPicture")->property("fillMode").toInt(),
        int(Qt::KeepAspectRatioByExpanding));

    engine.play(servedItem("/clip.mp4"));
    EXPECT_TRUE(pumpUntil(rig.clock, [&] { return isWholePicture(platformSink->videoFrame()); }));

    // Switching to libVLC moves its view into the surface and applies the picture
    // mode; the platform picture turns black instead of freezing.
    engine.startVLC(QUrl(media.server.url("/clip.mp4")));
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(platformSink->videoFrame().isValid());
    surface.object->setProperty("usesVLC", engine.usesVLC());
    EXPECT_TRUE(engine.vlcView()->isHostedBy(vlcSink));
    EXPECT_EQ(vlc.crop, "1280:720");
    QVideoFrame vlcFrame(QVideoFrameFormat(QSize(16, 16), QVideoFrameFormat::Format_BGRX8888));
    engine.vlcView()->output()->present(vlcFrame);
    EXPECT_EQ(vlcSink->videoFrame().size(), QSize(16, 16));
    surface.object->setProperty("width", 800);
    EXPECT_EQ(vlc.crop, "800:720");
    rig.host->mode = PictureMode::stretch;
    surface.object->setProperty("aspectMode", 0);
    EXPECT_EQ(vlc.aspect, "800:720");
    EXPECT_EQ(vlc.crop, std::nullopt);
    surface.object->setProperty("usesVLC", false);
    EXPECT_FALSE(engine.vlcView()->isHostedBy(vlcSink));
    EXPECT_FALSE(vlcSink->videoFrame().isValid()) << "a surface keeps no libVLC picture once it leaves";

    // A preview surface never takes the libVLC view.
    surface.object->setProperty("hostsVLC", false);
    surface.object->setProperty("usesVLC", true);
    EXPECT_FALSE(engine.vlcView()->isHostedBy(vlcSink));

    surface.object.reset();
    EXPECT_EQ(engine.platformOutput()->sinkCount(), 0);
    EXPECT_TRUE(warnings.warnings().isEmpty()) << warnings.warnings().join('\n').toStdString();
}

TEST(GstErrorMap, ClassifiesGStreamerErrors)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    // The last column: the element reading the address posted the error.
    const std::tuple<GQuark, int, std::optional<uint>, const char *, bool> cases[] = {
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NOT_FOUND, 404u, "perr_not_found", true },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NOT_FOUND, std::nullopt, "perr_not_found", true },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ, 403u, "perr_denied", true },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NOT_AUTHORIZED, 401u, "perr_denied", true },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ, 503u, "perr_network", true },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ, std::nullopt, "perr_network", true },
        { GST_STREAM_ERROR, GST_STREAM_ERROR_TYPE_NOT_FOUND, std::nullopt, "perr_format", false },
        { GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, std::nullopt, "perr_format", false },
        { GST_STREAM_ERROR, GST_STREAM_ERROR_FAILED, std::nullopt, "perr_generic", false },
        // The HTTP source's stream stopped before any answer: connection or host name failed.
        { GST_STREAM_ERROR, GST_STREAM_ERROR_FAILED, std::nullopt, "perr_network", true },
        { GST_CORE_ERROR, GST_CORE_ERROR_MISSING_PLUGIN, std::nullopt, "perr_format", false },
        { GST_LIBRARY_ERROR, GST_LIBRARY_ERROR_INIT, std::nullopt, "perr_generic", false },
    };
    for (const auto &[domain, code, httpStatus, key, fromSource] : cases) {
        SCOPED_TRACE(testing::Message() << g_quark_to_string(domain) << " " << code << " http "
                                        << httpStatus.value_or(0) << " source " << fromSource);
        GError *error = g_error_new_literal(domain, code, "failure");
        GstStructure *details = gst_structure_new_empty("details");
        if (httpStatus)
            gst_structure_set(details, "http-status-code", G_TYPE_UINT, *httpStatus, nullptr);
        EXPECT_EQ(PlayerEngine::errorMessageKey(
                      GstPlatformPlayer::mapError(error, details, fromSource), movieItem()),
            key);
        g_error_free(error);
        gst_structure_free(details);
    }
}

// A track shows its language's name in the interface language, after its title when it has one;
// else its number.
TEST(GstTrackName, NamesTheLanguageAsLibVlcDoes)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale french(QLocale::French, QLocale::France);
    const QLocale arabic(QLocale::Arabic, QLocale::Morocco);
    const std::tuple<const char *, const char *, int, QLocale, const char *> rows[] = {
        { "", "fr", 0, english, "French" },
        { "", "eng", 1, english, "English" },
        { "Commentary", "de", 2, english, "Commentary - [German]" },
        { "", "eng", 1, arabic, "الإنجليزية" },
        { "", "fre", 0, french, "Français" },
        { "Commentaire", "ger", 2, french, "Commentaire - [Allemand]" },
        { "Director", "", 0, arabic, "Director" },
        { "", "und", 3, arabic, "4" },
        { "", "", 4, english, "5" },
    };
    for (const auto &[title, language, index, names, name] : rows)
        EXPECT_EQ(GstPlatformPlayer::trackName(title, language, index, names), QString::fromUtf8(name))
            << title << "/" << language << "/" << names.name().toStdString();
}

} // namespace
