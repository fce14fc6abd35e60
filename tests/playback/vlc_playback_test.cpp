#include "GeneratedMedia.h"
#include "playback/LibVlcPlayer.h"

namespace {

// The engine on real libVLC, the platform player scripted, in virtual time
// driven by the real clock.
class VlcPlaybackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(media.ok) << media.problem.toStdString();
        engine->vlcView()->host(&sink, QSizeF(640, 360));
    }

    bool waitFor(const std::function<bool()> &condition) { return pumpUntil(rig.clock, condition); }

    GeneratedMedia &media = GeneratedMedia::instance();
    LibVlcPlayer *vlc = nullptr;
    EngineRig rig { nullptr, [this] {
                       auto player = std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" });
                       vlc = player.get();
                       return player;
                   } };
    PlayerEngine *engine = rig.engine.get();
    FakeHost *host = rig.host.get();
    QVideoSink sink;
};

class VlcClipTest : public VlcPlaybackTest, public ::testing::WithParamInterface<const char *>
{
};

// The platform player fails the item, so the ladder hands it to libVLC. An
// MPEG-TS stream tells libVLC its picture size only after decoding; its
// frames still arrive whole at that size.
TEST_P(VlcClipTest, LadderHandsClipToVlcWhichPlaysAndSeeks)
{
    const QString path = QString::fromLatin1(GetParam());
    const qsizetype earlier = media.server.userAgents(path).size();
    host->agent = QStringLiteral("ZelforVlcProbe/4");
    engine->play(servedItem(path));
    rig.platform->fail();
    ASSERT_TRUE(engine->usesVLC());
    ASSERT_NE(vlc, nullptr);
    ASSERT_TRUE(vlc->isValid());
    ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()) && engine->position() > 0.4; }))
        << "frame " << sink.videoFrame().size().width() << "x" << sink.videoFrame().size().height() << " pos "
        << engine->position() << " reported " << vlc->videoSize().width() << "x" << vlc->videoSize().height()
        << " error: " << engine->errorText().toStdString();
    EXPECT_TRUE(engine->isPlaying());
    const QStringList agents = media.server.userAgents(path).mid(earlier);
    EXPECT_FALSE(agents.isEmpty());
    EXPECT_EQ(agents.count(QStringLiteral("ZelforVlcProbe/4")), agents.size()) << agents.join(',').toStdString();

    // libVLC gives an MPEG-TS stream over HTTP no length, so it is not seekable.
    if (path.endsWith(QStringLiteral(".mp4"))) {
        ASSERT_TRUE(waitFor([&] { return engine->duration() > 0; }));
        EXPECT_NEAR(engine->duration(), GeneratedMedia::kClipSecs, 0.3);
        engine->seek(6.0);
        ASSERT_TRUE(waitFor([&] { return vlc->timeMs() >= 5900; })) << "libVLC at " << vlc->timeMs() << " ms";
        EXPECT_FALSE(engine->hasError());
    }

    engine->stop();
    EXPECT_FALSE(engine->usesVLC());
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(sink.videoFrame().isValid()) << "the surface shows black, not the last frame";
}

INSTANTIATE_TEST_SUITE_P(Containers, VlcClipTest, ::testing::Values("/clip.mp4", "/clip.ts"),
                         [](const auto &info) { return std::string(info.param[6] == 'm' ? "mp4" : "ts"); });

TEST_F(VlcPlaybackTest, MatroskaListsBothAudioTracksAndSwitches)
{
    engine->play(servedItem("/dual.mkv"));
    ASSERT_TRUE(engine->usesVLC());
    EXPECT_TRUE(rig.platform->loads.isEmpty());
    ASSERT_TRUE(waitFor([&] { return engine->audioOptions().size() == 2; }));
    const TrackOption second = engine->audioOptions()[1];
    engine->selectTrack(second, true);
    EXPECT_TRUE(waitFor([&] { return vlc->currentAudioTrack() == second.id; }));
}

TEST_F(VlcPlaybackTest, MissingFileGivesUpWithProviderMessage)
{
    PlayItem item = servedItem("/missing.mkv");
    engine->play(item);
    ASSERT_TRUE(waitFor([&] { return engine->hasError(); }));
    EXPECT_EQ(engine->error(), "text of perr_unavailable");
    EXPECT_FALSE(engine->buffering());
    EXPECT_GE(media.server.requestCount("/missing.mkv"), 1);
}

}
