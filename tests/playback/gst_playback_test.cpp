#include "GeneratedMedia.h"
#include "playback/GstPlatformPlayer.h"

#include <gst/gst.h>

#include <cmath>

namespace {

// The engine on real GStreamer playback, libVLC scripted, in virtual time
// driven by the real clock.
class GstPlaybackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(media.ok) << media.problem.toStdString();
        engine->platformOutput()->addSink(&sink);
        engine->platformOutput()->addSink(&secondSink);
    }

    bool waitFor(const std::function<bool()> &condition) { return pumpUntil(rig.clock, condition); }

    GeneratedMedia &media = GeneratedMedia::instance();
    GstPlatformPlayer *gst = new GstPlatformPlayer(GstPlatformPlayer::Audio::silent); // the engine owns it
    EngineRig rig { std::unique_ptr<PlatformPlayer>(gst) };
    PlayerEngine *engine = rig.engine.get();
    FakeHost *host = rig.host.get();
    QVideoSink sink;
    QVideoSink secondSink; // a second surface showing the same picture
};

class GstClipTest : public GstPlaybackTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(GstClipTest, PlaysFramesAdvancesAndSeeks)
{
    const QString path = QString::fromLatin1(GetParam());
    const qsizetype earlier = media.server.userAgents(path).size();
    host->agent = QStringLiteral("ZelforProbe/3");
    engine->play(servedItem(path));
    ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()) && engine->position() > 0.4; }))
        << "error: " << engine->errorText().toStdString();
    EXPECT_TRUE(isWholePicture(secondSink.videoFrame()));
    EXPECT_TRUE(engine->isPlaying());
    EXPECT_FALSE(engine->buffering());
    EXPECT_FALSE(engine->usesVLC());
    // GStreamer estimates the length of an MPEG-TS stream over HTTP from its bit rate.
    const double tolerance = path.endsWith(QStringLiteral(".ts")) ? 1.0 : 0.3;
    EXPECT_TRUE(waitFor([&] { return std::abs(engine->duration() - GeneratedMedia::kClipSecs) < tolerance; }))
        << "duration " << engine->duration();
    const QStringList agents = media.server.userAgents(path).mid(earlier);
    EXPECT_FALSE(agents.isEmpty());
    EXPECT_EQ(agents.count(QStringLiteral("ZelforProbe/3")), agents.size()) << agents.join(',').toStdString();

    engine->seek(6.0);
    ASSERT_TRUE(waitFor([&] { return gst->position() >= 5.9; })) << "at " << gst->position();
    ASSERT_TRUE(waitFor([&] { return engine->position() >= 5.9; }));
    engine->stop();
    ASSERT_FALSE(host->saves.isEmpty());
    EXPECT_GE(host->saves.last().pos, 5.9);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(sink.videoFrame().isValid()) << "the surfaces show black, not the last frame";
    EXPECT_FALSE(secondSink.videoFrame().isValid());
}

INSTANTIATE_TEST_SUITE_P(Containers, GstClipTest, ::testing::Values("/clip.mp4", "/clip.ts"),
                         [](const auto &info) { return std::string(info.param[6] == 'm' ? "mp4" : "ts"); });

TEST_F(GstPlaybackTest, StartPositionIsReachedBeforeResumeSaves)
{
    engine->play(servedItem("/clip.mp4"), 4.0);
    ASSERT_TRUE(waitFor([&] { return gst->position() >= 4.0 && engine->position() >= 4.0; })) << "at " << gst->position();
    engine->stop();
    for (const FakeHost::Save &save : host->saves)
        EXPECT_GE(save.pos, 4.0) << "a save before the start seek";
}

// Each load fails once; the HTTP stack may itself send a request again.
TEST_F(GstPlaybackTest, MissingLiveStreamEndsNotFoundAfterReloads)
{
    int failures = 0;
    QObject::connect(gst, &PlatformPlayer::statusChanged, [&](PlatformPlayer::Status status) {
        failures += status == PlatformPlayer::Status::failed ? 1 : 0;
    });
    engine->play(servedItem("/gone.ts", true));
    // Each refusal arrives at once; the reconnection waits pass in virtual time.
    for (int attempt = 1; attempt <= 5; ++attempt) {
        ASSERT_TRUE(waitFor([&] { return failures == attempt; })) << "attempt " << attempt;
        EXPECT_GE(media.server.requestCount("/gone.ts"), attempt);
        EXPECT_EQ(engine->hasError(), attempt == 5) << "attempt " << attempt;
        rig.clock.advance(8000);
    }
    EXPECT_EQ(engine->error(), "text of perr_not_found");
    EXPECT_EQ(failures, 5) << "no load after the error";
    EXPECT_EQ(rig.vlc.created, 0);
}

TEST_F(GstPlaybackTest, ListsAndSwitchesAudioTracks)
{
    engine->play(servedItem("/dual.mp4"));
    ASSERT_TRUE(waitFor([&] { return engine->audioOptions().size() == 2; }));
    EXPECT_EQ(engine->audioOptions()[1], (TrackOption{ 1, "fr" }));
    engine->selectTrack(engine->audioOptions()[1], true);
    EXPECT_EQ(gst->currentTrack(true), 1);
    ASSERT_TRUE(waitFor([&] { return engine->position() > 0.5; }));
    EXPECT_FALSE(engine->hasError());
}

TEST(GstErrorMap, ClassifiesGStreamerErrors)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    const std::tuple<GQuark, int, std::optional<uint>, const char *> cases[] = {
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NOT_FOUND, 404u, "perr_not_found" },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NOT_FOUND, std::nullopt, "perr_not_found" },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ, 403u, "perr_denied" },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NOT_AUTHORIZED, 401u, "perr_denied" },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ, 503u, "perr_network" },
        { GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ, std::nullopt, "perr_network" },
        { GST_STREAM_ERROR, GST_STREAM_ERROR_TYPE_NOT_FOUND, std::nullopt, "perr_format" },
        { GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, std::nullopt, "perr_format" },
        { GST_STREAM_ERROR, GST_STREAM_ERROR_FAILED, std::nullopt, "perr_generic" },
        { GST_CORE_ERROR, GST_CORE_ERROR_MISSING_PLUGIN, std::nullopt, "perr_format" },
        { GST_LIBRARY_ERROR, GST_LIBRARY_ERROR_INIT, std::nullopt, "perr_generic" },
    };
    for (const auto &[domain, code, httpStatus, key] : cases) {
        SCOPED_TRACE(testing::Message() << g_quark_to_string(domain) << " " << code << " http " << httpStatus.value_or(0));
        GError *error = g_error_new_literal(domain, code, "failure");
        GstStructure *details = gst_structure_new_empty("details");
        if (httpStatus)
            gst_structure_set(details, "http-status-code", G_TYPE_UINT, *httpStatus, nullptr);
        EXPECT_EQ(PlayerEngine::errorMessageKey(GstPlatformPlayer::mapError(error, details), movieItem()), key);
        g_error_free(error);
        gst_structure_free(details);
    }
}

} // namespace
