#include "FakeBackends.h"

#include <gtest/gtest.h>

namespace {

using State = VlcPlayer::State;

void playOnVlc(EngineRig &rig, PlayItem item = movieItem(), std::optional<double> at = std::nullopt)
{
    item.ext = QStringLiteral("mkv");
    rig.engine->play(item, at);
    ASSERT_TRUE(rig.engine->usesVLC());
}

class VlcPathTest : public ::testing::Test {
protected:
    void playOnVlc(PlayItem item = movieItem(), std::optional<double> at = std::nullopt)
    {
        ::playOnVlc(rig, item, at);
    }

    EngineRig rig;
    PlayerEngine &engine = *rig.engine;
    FakeVlcState &vlc = rig.vlc;
};

TEST_F(VlcPathTest, MediaCarriesOptionsAndStartBeforePlay)
{
    rig.host->agent = QStringLiteral("Agent/9");
    playOnVlc(movieItem(), 754.8);
    EXPECT_EQ(vlc.optionsAtPlay,
        QStringList(
            { ":http-user-agent=Agent/9", ":network-caching=3000", ":http-reconnect", ":start-time=754" }));
    EXPECT_TRUE(engine.buffering());
    EXPECT_FALSE(rig.platform->hasItem());
}

// A live channel's first picture does not wait for the stream's transport clock.
TEST_F(VlcPathTest, LiveMediaTimesPicturesByTheirOwnTimestamps)
{
    rig.host->agent = QStringLiteral("Agent/9");
    playOnVlc(liveItem());
    EXPECT_EQ(vlc.optionsAtPlay,
        QStringList(
            { ":http-user-agent=Agent/9", ":network-caching=3000", ":http-reconnect", ":no-ts-trust-pcr" }));
}

enum Seen { unseen, sized, output }; // how libVLC tells of a picture

struct GiveUpCase {
    const char *name;
    bool catchup;
    State state;
    bool playing;
    Seen seen;
    qint64 timeMs;
    qint64 elapsedMs;
    const char *error; // empty: still trying
    bool buffering;
};

class VlcGiveUpTest : public VlcPathTest, public ::testing::WithParamInterface<GiveUpCase> { };

// A give-up is final: no further attempt on either player.
TEST_P(VlcGiveUpTest, PollFollowsStateTable)
{
    const GiveUpCase &row = GetParam();
    PlayItem item = movieItem();
    item.catchup = row.catchup;
    playOnVlc(item);
    vlc.state = row.state;
    vlc.playing = row.playing;
    vlc.videoSize = row.seen == sized ? QSize(320, 240) : QSize();
    vlc.videoOutput = row.seen == output;
    vlc.timeMs = row.timeMs;
    rig.clock.advance(row.elapsedMs);
    EXPECT_EQ(
        engine.error().value_or(QString()), *row.error ? "text of " + QLatin1String(row.error) : QString());
    EXPECT_EQ(engine.buffering(), row.buffering);
    rig.clock.advance(60000);
    EXPECT_EQ(vlc.media.size(), 1);
    EXPECT_TRUE(rig.platform->loads.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(States, VlcGiveUpTest,
    ::testing::Values(
        GiveUpCase { "error", false, State::error, false, sized, 5000, 1000, "perr_unavailable", false },
        GiveUpCase { "errorOfCatchup", true, State::error, false, sized, 5000, 500, "perr_catchup", false },
        GiveUpCase {
            "endedUnseen", false, State::ended, false, unseen, 500, 1000, "perr_unavailable", false },
        GiveUpCase {
            "stoppedUnseen", false, State::stopped, false, unseen, -1, 1000, "perr_unavailable", false },
        GiveUpCase { "endedAfterAPicture", false, State::ended, false, sized, 500, 1000, "", false },
        GiveUpCase { "endedAfterAVideoOutput", false, State::ended, false, output, 500, 1000, "", false },
        GiveUpCase { "endedAfter2Min", false, State::ended, false, unseen, 120000, 1000, "", false },
        GiveUpCase { "openingPlayingUnseen", false, State::opening, true, unseen, -1, 1000, "", true },
        GiveUpCase { "bufferingPlayingSeen", false, State::buffering, true, sized, 800, 1000, "", false },
        GiveUpCase { "bufferingNotPlaying", false, State::buffering, false, sized, -1, 1000, "", true },
        GiveUpCase { "noPicture25sNotPlaying", false, State::opening, false, unseen, -1, 25500,
            "perr_unavailable", false },
        GiveUpCase {
            "noPicture60sRadioPlaying", false, State::playing, true, unseen, 25000, 60000, "", false },
        GiveUpCase { "noPicture25sExactly", false, State::opening, false, unseen, -1, 25000, "", true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(VlcPathTest, PollPublishesTimesAndThrottledResume)
{
    playOnVlc();
    vlc.state = State::playing;
    vlc.playing = true;
    vlc.timeMs = 61500;
    vlc.lengthMs = 3600000;
    rig.clock.advance(500);
    EXPECT_TRUE(engine.isPlaying());
    EXPECT_EQ(std::make_pair(engine.position(), engine.duration()), std::make_pair(61.5, 3600.0));
    EXPECT_EQ(rig.host->saves.size(), 1);
    rig.clock.advance(5000);
    EXPECT_EQ(rig.host->saves.size(), 1);
    rig.clock.advance(500);
    EXPECT_EQ(rig.host->saves.size(), 2);

    vlc.timeMs = 0; // not positive: position kept
    rig.clock.advance(500);
    EXPECT_EQ(engine.position(), 61.5);
    engine.seek(7200);
    EXPECT_EQ(vlc.seeks, QList<qint32>({ 3599000 }));
    engine.stop();
    EXPECT_EQ(rig.host->saves.last(), (FakeHost::Save { movieItem().key, 3599, 3600 }));
    EXPECT_FALSE(engine.usesVLC());
}

TEST_F(VlcPathTest, StopBeforeStartReachedKeepsResumePoint)
{
    playOnVlc(movieItem(), 900);
    vlc.lengthMs = 3600000;
    rig.clock.advance(500);
    engine.stop();
    EXPECT_TRUE(rig.host->saves.isEmpty());
}

TEST_F(VlcPathTest, PositionFarBeforeTheStartSavesNothing)
{
    playOnVlc(movieItem(), 900);
    vlc.lengthMs = 3600000;
    vlc.timeMs = 400;
    rig.clock.advance(6000);
    engine.stop();
    EXPECT_TRUE(rig.host->saves.isEmpty());
}

// A live item on libVLC whose stream ends climbs the live ladder, on libVLC again.
TEST_F(VlcPathTest, LiveStreamThatEndsReconnects)
{
    playOnVlc(liveItem());
    vlc.state = State::playing;
    vlc.playing = true;
    vlc.videoOutput = true;
    rig.clock.advance(500);
    vlc.state = State::ended;
    vlc.playing = false;
    rig.clock.advance(500);
    EXPECT_FALSE(engine.hasError());
    EXPECT_TRUE(engine.buffering());
    EXPECT_EQ(vlc.media.size(), 1);
    rig.clock.advance(2000);
    EXPECT_EQ(vlc.media.size(), 2);
    EXPECT_TRUE(engine.usesVLC());
    EXPECT_TRUE(rig.platform->loads.isEmpty());
}

TEST(VlcPath, TrackListsDropNegativeIndexesAndALoneAudioTrack)
{
    const std::tuple<QList<VlcTrack>, QList<VlcTrack>, QList<TrackOption>, QList<TrackOption>> cases[] = {
        { { { -1, "Disable" }, { 1, "Track 1" } }, { { -1, "Disable" } }, { { 1, "Track 1" } }, {} },
        { { { 1, "Only" } }, { { 3, "English" } }, {}, { { 3, "English" } } },
        { { { 1, "English" }, { 2, "French" } }, { { -1, "Disable" }, { 4, "fr" }, { 5, "de" } },
            { { 1, "English" }, { 2, "French" } }, { { 4, "fr" }, { 5, "de" } } },
    };
    for (const auto &[audio, subtitles, audioOptions, subtitleOptions] : cases) {
        SCOPED_TRACE(audio.size());
        EngineRig rig;
        playOnVlc(rig);
        rig.vlc.state = State::playing;
        rig.vlc.audio = audio;
        rig.vlc.subtitles = subtitles;
        rig.clock.advance(500);
        EXPECT_EQ(rig.engine->audioOptions(), audioOptions);
        EXPECT_EQ(rig.engine->subtitleOptions(), subtitleOptions);
    }
}

TEST(VlcPath, AspectModeGivesAspectOrCrop)
{
    using enum PictureMode;
    const std::tuple<PictureMode, QSizeF, std::optional<QString>, std::optional<QString>> cases[] = {
        { stretch, { 1280, 720 }, "1280:720", std::nullopt },
        { stretch, { 1280.6, 720.2 }, "1280:720", std::nullopt },
        { fit, { 1280, 720 }, std::nullopt, std::nullopt },
        { zoom, { 1280, 720 }, std::nullopt, "1280:720" },
        { zoom, { 0, 720 }, std::nullopt, std::nullopt },
        { stretch, { 0, 720 }, std::nullopt, std::nullopt },
    };
    for (const auto &[mode, bounds, aspect, crop] : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode) << " width " << bounds.width());
        EngineRig rig;
        rig.host->mode = mode;
        rig.engine->vlcView()->setBounds(bounds);
        playOnVlc(rig);
        EXPECT_EQ(std::make_pair(rig.vlc.aspect, rig.vlc.crop), std::make_pair(aspect, crop));
    }
}

// Pause and track choices go to libVLC; a platform item stops it, and the next libVLC item reuses it.
TEST_F(VlcPathTest, ControlsGoToVlcUntilThePlatformTakesOver)
{
    playOnVlc();
    const int plays = vlc.plays;
    vlc.playing = true;
    engine.togglePause();
    EXPECT_FALSE(vlc.playing);
    engine.togglePause();
    EXPECT_EQ(vlc.plays, plays + 1);
    engine.selectTrack(TrackOption { 2, "French" }, true);
    engine.selectTrack(std::nullopt, true);
    engine.selectTrack(TrackOption { 4, "fr" }, false);
    engine.selectTrack(std::nullopt, false);
    EXPECT_EQ(vlc.audioSelections, QList<int>({ 2 }));
    EXPECT_EQ(vlc.subtitleSelections, QList<int>({ 4, -1 }));
    EXPECT_TRUE(rig.platform->selections.isEmpty());

    engine.play(movieItem("next"));
    EXPECT_FALSE(engine.usesVLC());
    EXPECT_EQ(rig.platform->loads.size(), 1);
    playOnVlc(movieItem("third"));
    EXPECT_EQ(vlc.created, 1);
    EXPECT_GE(vlc.stops, 2);
}

} // namespace
