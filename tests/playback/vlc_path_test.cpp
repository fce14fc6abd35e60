#include "FakeBackends.h"

#include <gtest/gtest.h>

namespace {

using State = VlcPlayer::State;

class VlcPathTest : public ::testing::Test
{
protected:
    void playOnVlc(PlayItem item = movieItem(), std::optional<double> at = std::nullopt)
    {
        item.ext = QStringLiteral("mkv");
        engine.play(item, at);
        ASSERT_TRUE(engine.usesVLC());
    }

    EngineRig rig;
    PlayerEngine &engine = *rig.engine;
};

TEST_F(VlcPathTest, MediaCarriesOptionsAndStartBeforePlay)
{
    rig.host->agent = QStringLiteral("Agent/9");
    playOnVlc(movieItem(), 754.8);
    EXPECT_EQ(rig.vlc.optionsAtPlay,
              QStringList({ ":http-user-agent=Agent/9", ":network-caching=3000", ":http-reconnect",
                            ":start-time=754" }));
    EXPECT_TRUE(engine.buffering());
    EXPECT_FALSE(rig.platform->hasItem());
}

struct GiveUpCase {
    const char *name;
    State state;
    bool playing;
    bool sawVideo;
    qint64 timeMs;
    qint64 elapsedMs;
    bool givesUp;
    bool buffering;
};

class VlcGiveUpTest : public VlcPathTest, public ::testing::WithParamInterface<GiveUpCase>
{
};

TEST_P(VlcGiveUpTest, PollFollowsStateTable)
{
    const GiveUpCase &row = GetParam();
    playOnVlc();
    rig.vlc.state = row.state;
    rig.vlc.playing = row.playing;
    rig.vlc.videoSize = row.sawVideo ? QSize(320, 240) : QSize();
    rig.vlc.timeMs = row.timeMs;
    rig.clock.advance(row.elapsedMs);
    EXPECT_EQ(engine.error().has_value(), row.givesUp) << row.name;
    if (!row.givesUp)
        EXPECT_EQ(engine.buffering(), row.buffering) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    States, VlcGiveUpTest,
    ::testing::Values(GiveUpCase{ "error", State::error, false, true, 5000, 1000, true, false },
                      GiveUpCase{ "ended unseen", State::ended, false, false, 500, 1000, true, false },
                      GiveUpCase{ "stopped unseen", State::stopped, false, false, -1, 1000, true, false },
                      GiveUpCase{ "ended after a picture", State::ended, false, true, 500, 1000, false, false },
                      GiveUpCase{ "ended after 2 min", State::ended, false, false, 120000, 1000, false, false },
                      GiveUpCase{ "opening, playing, unseen", State::opening, true, false, -1, 1000, false, true },
                      GiveUpCase{ "buffering, playing, seen", State::buffering, true, true, 800, 1000, false, false },
                      GiveUpCase{ "buffering, not playing", State::buffering, false, true, -1, 1000, false, true },
                      GiveUpCase{ "no picture 25 s, not playing", State::opening, false, false, -1, 25500, true, false },
                      GiveUpCase{ "no picture 60 s, radio playing", State::playing, true, false, 25000, 60000, false, false },
                      GiveUpCase{ "no picture 25 s exactly", State::opening, false, false, -1, 25000, false, true }),
    [](const auto &info) { return rowName(QString::fromLatin1(info.param.name)); });

TEST_F(VlcPathTest, GiveUpMessagesAndNoFurtherAttempt)
{
    PlayItem item = movieItem();
    item.catchup = true;
    playOnVlc(item);
    rig.vlc.state = State::error;
    rig.clock.advance(500);
    EXPECT_EQ(engine.error(), "text of perr_catchup");
    EXPECT_FALSE(engine.buffering());
    EXPECT_TRUE(engine.usesVLC());
    rig.clock.advance(60000);
    EXPECT_EQ(rig.vlc.media.size(), 1);
    EXPECT_TRUE(rig.platformState.loads.isEmpty());
}

TEST_F(VlcPathTest, PollPublishesTimesAndThrottledResume)
{
    playOnVlc();
    rig.vlc.state = State::playing;
    rig.vlc.playing = true;
    rig.vlc.timeMs = 61500;
    rig.vlc.lengthMs = 3600000;
    rig.clock.advance(500);
    EXPECT_TRUE(engine.isPlaying());
    EXPECT_EQ(engine.position(), 61.5);
    EXPECT_EQ(engine.duration(), 3600);
    ASSERT_EQ(rig.host->saves.size(), 1);
    rig.clock.advance(5000);
    EXPECT_EQ(rig.host->saves.size(), 1);
    rig.clock.advance(500);
    EXPECT_EQ(rig.host->saves.size(), 2);

    rig.vlc.timeMs = 0;  // not positive: position kept
    rig.clock.advance(500);
    EXPECT_EQ(engine.position(), 61.5);
    engine.seek(7200);
    EXPECT_EQ(rig.vlc.seeks, QList<qint32>({ 3599000 }));
    engine.stop();
    EXPECT_EQ(rig.host->saves.last(), (FakeHost::Save{ movieItem().key, 3599, 3600 }));
    EXPECT_FALSE(engine.usesVLC());
}

TEST_F(VlcPathTest, StopBeforeStartReachedKeepsResumePoint)
{
    playOnVlc(movieItem(), 900);
    rig.vlc.lengthMs = 3600000;
    rig.clock.advance(500);
    engine.stop();
    EXPECT_TRUE(rig.host->saves.isEmpty());
}

struct TrackCase {
    const char *name;
    QList<VlcTrack> audio;
    QList<VlcTrack> subtitles;
    QList<TrackOption> audioOptions;
    QList<TrackOption> subtitleOptions;
};

class VlcTrackTest : public VlcPathTest, public ::testing::WithParamInterface<TrackCase>
{
};

TEST_P(VlcTrackTest, ListsDropNegativeIndexes)
{
    playOnVlc();
    rig.vlc.state = State::playing;
    rig.vlc.audio = GetParam().audio;
    rig.vlc.subtitles = GetParam().subtitles;
    rig.clock.advance(500);
    EXPECT_EQ(engine.audioOptions(), GetParam().audioOptions);
    EXPECT_EQ(engine.subtitleOptions(), GetParam().subtitleOptions);
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, VlcTrackTest,
    ::testing::Values(TrackCase{ "negative_indexes_dropped", { { -1, "Disable" }, { 1, "Track 1" } }, { { -1, "Disable" } },
                                 { { 1, "Track 1" } }, {} },
                      TrackCase{ "single_audio_name_not_listed", { { 1, "Only" } }, { { 3, "English" } }, {},
                                 { { 3, "English" } } },
                      TrackCase{ "two_audio_and_two_subtitles", { { 1, "English" }, { 2, "French" } },
                                 { { -1, "Disable" }, { 4, "fr" }, { 5, "de" } },
                                 { { 1, "English" }, { 2, "French" } },
                                 { { 4, "fr" }, { 5, "de" } } }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(VlcPathTest, SelectTrackUsesIndexes)
{
    playOnVlc();
    engine.selectTrack(TrackOption{ 2, "French" }, true);
    engine.selectTrack(std::nullopt, true);
    engine.selectTrack(TrackOption{ 4, "fr" }, false);
    engine.selectTrack(std::nullopt, false);
    EXPECT_EQ(rig.vlc.audioSelections, QList<int>({ 2 }));
    EXPECT_EQ(rig.vlc.subtitleSelections, QList<int>({ 4, -1 }));
    EXPECT_TRUE(rig.platformState.selections.isEmpty());
}

TEST_F(VlcPathTest, TogglePauseFollowsVlcPlayingFlag)
{
    playOnVlc();
    const int plays = rig.vlc.plays;
    rig.vlc.playing = true;
    engine.togglePause();
    EXPECT_FALSE(rig.vlc.playing);
    engine.togglePause();
    EXPECT_EQ(rig.vlc.plays, plays + 1);
}

struct AspectCase {
    int mode;
    QSizeF bounds;
    std::optional<QString> aspect;
    std::optional<QString> crop;
};

class VlcAspectTest : public VlcPathTest, public ::testing::WithParamInterface<AspectCase>
{
};

TEST_P(VlcAspectTest, ModeGivesAspectOrCrop)
{
    rig.host->mode = GetParam().mode;
    engine.vlcView()->setBounds(GetParam().bounds);
    playOnVlc();
    EXPECT_EQ(rig.vlc.aspect, GetParam().aspect);
    EXPECT_EQ(rig.vlc.crop, GetParam().crop);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, VlcAspectTest,
    ::testing::Values(AspectCase{ 0, { 1280, 720 }, "1280:720", std::nullopt },
                      AspectCase{ 7, { 1280.6, 720.2 }, "1280:720", std::nullopt },
                      AspectCase{ 1, { 1280, 720 }, std::nullopt, std::nullopt },
                      AspectCase{ 2, { 1280, 720 }, std::nullopt, "1280:720" },
                      AspectCase{ 2, { 0, 720 }, std::nullopt, std::nullopt },
                      AspectCase{ 0, { 0, 720 }, std::nullopt, std::nullopt }),
    [](const auto &info) {
        const AspectCase &row = info.param;
        return rowName(QStringLiteral("mode%1_%2x%3")
                           .arg(row.mode)
                           .arg(int(row.bounds.width()))
                           .arg(int(row.bounds.height())));
    });

TEST_F(VlcPathTest, PlatformLoadStopsVlcAndReusesPlayer)
{
    playOnVlc();
    engine.play(movieItem("next"));
    EXPECT_FALSE(engine.usesVLC());
    EXPECT_EQ(rig.platformState.loads.size(), 1);
    playOnVlc(movieItem("third"));
    EXPECT_EQ(rig.vlc.created, 1);
    EXPECT_GE(rig.vlc.stops, 2);
}

}
