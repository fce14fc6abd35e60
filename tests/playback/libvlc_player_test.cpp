#include "GeneratedMedia.h"
#include "playback/engines/LibVlcPlayer.h"

namespace {

using State = VlcPlayer::State;

// A real libVLC player on the served clips; every frame its sink receives is recorded.
class LibVlcPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(media.ok) << media.problem.toStdString();
        ASSERT_TRUE(player->isValid());
        output.addSink(&sink);
        player->setOutput(&output);
        QObject::connect(&sink, &QVideoSink::videoFrameChanged, &recording,
            [this](const QVideoFrame &frame) { shown.append(frame.size()); });
    }

    void start(const char *path)
    {
        player->setMedia(VlcMedia::stream(QUrl(media.server.url(QString::fromLatin1(path))), "ZelforTest/1"));
        player->play();
    }

    bool waitFor(const std::function<bool()> &condition) { return pumpUntil(clock, condition); }

    GeneratedMedia &media = GeneratedMedia::instance();
    ManualClock clock;
    QVideoSink sink;
    VideoOutput output;
    QList<QSize> shown; // an invalid size for black
    const QObject recording;
    std::unique_ptr<LibVlcPlayer> player = std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" });
};

// What a player tells of itself.
struct Report {
    State state;
    bool playing;
    qint64 timeMs;
    qint64 lengthMs;
    bool videoOutput;
    QSize videoSize;
    qsizetype audioTracks;
    qsizetype subtitleTracks;
    int audioTrack;
    bool media;
    bool operator==(const Report &) const = default;
};

Report reportOf(const LibVlcPlayer &player)
{
    return { player.state(), player.isPlaying(), player.timeMs(), player.lengthMs(), player.hasVideoOutput(),
        player.videoSize(), player.audioTracks().size(), player.subtitleTracks().size(),
        player.currentAudioTrack(), player.hasMedia() };
}

// The MPEG-TS clip's stop waits some 0.7 s for libVLC's next picture: stop() leaves that
// wait to the background, and the old clip's late pictures never reach the sink.
TEST_F(LibVlcPlayerTest, AfterStopOnlyTheNextMediaIsShown)
{
    start("/clip.ts");
    ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()); }));
    player->stop();
    EXPECT_FALSE(sink.videoFrame().isValid());
    shown.clear();
    start("/small.mp4");
    // 40 frames play for 1.6 s, well past the old clip's stop.
    ASSERT_TRUE(waitFor([&] { return shown.count(GeneratedMedia::kSmallSize) >= 40; }));
    for (const QSize size : shown)
        EXPECT_TRUE(size == GeneratedMedia::kSmallSize || !size.isValid())
            << size.width() << "x" << size.height();
    EXPECT_EQ(player->state(), State::playing);
}

// A stopped player reports what a stopped libVLC player does; play() starts its media again,
// with libVLC's own track choice.
TEST_F(LibVlcPlayerTest, StoppedPlayerReportsStoppedAndPlaysAgainFromDefaults)
{
    start("/dual.mkv");
    ASSERT_TRUE(
        waitFor([&] { return player->audioTracks().size() == 3 && player->currentAudioTrack() >= 0; }));
    const int defaultTrack = player->currentAudioTrack();
    const VlcTrack other = player->audioTracks().at(player->audioTracks().at(1).id == defaultTrack ? 2 : 1);
    player->setAudioTrack(other.id);
    ASSERT_TRUE(waitFor([&] { return player->currentAudioTrack() == other.id && player->timeMs() > 300; }));

    player->stop();
    EXPECT_EQ(reportOf(*player), (Report { State::stopped, false, -1, -1, false, {}, 0, 0, -1, true }));
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->isPlaying() && isWholePicture(sink.videoFrame()); }));
    ASSERT_TRUE(waitFor([&] { return player->currentAudioTrack() >= 0; }));
    EXPECT_EQ(player->currentAudioTrack(), defaultTrack);
}

// A new media reports its own state from the start, not the end of the one before (libVLC
// ends a media it cannot open).
TEST_F(LibVlcPlayerTest, NewMediaStartsFreeOfTheLastOnesEnd)
{
    start("/missing.mkv");
    ASSERT_TRUE(waitFor([&] { return player->state() == State::ended; }));
    player->setMedia(VlcMedia::stream(QUrl(media.server.url("/small.mp4")), "ZelforTest/1"));
    EXPECT_EQ(reportOf(*player), (Report { State::other, false, -1, -1, false, {}, 0, 0, -1, true }));
    player->play();
    EXPECT_TRUE(waitFor(
        [&] { return player->state() == State::playing && shown.contains(GeneratedMedia::kSmallSize); }));
}

// Destroying the player waits for every player still stopping; nothing arrives afterwards.
TEST_F(LibVlcPlayerTest, DestroyedWhilePlayersStillStop)
{
    for (const bool stopFirst : { true, false }) {
        SCOPED_TRACE(stopFirst ? "stopped" : "playing");
        player = std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" });
        player->setOutput(&output);
        start("/clip.ts");
        ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()); }));
        start("/clip.mp4");
        ASSERT_TRUE(waitFor([&] { return isWholePicture(sink.videoFrame()); }));
        if (stopFirst)
            player->stop();
        player.reset();
        const qsizetype frames = shown.size();
        QCoreApplication::processEvents();
        EXPECT_EQ(shown.size(), frames);
    }
}

} // namespace
