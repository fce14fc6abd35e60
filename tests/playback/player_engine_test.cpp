#include "FakeBackends.h"

#include <gtest/gtest.h>

namespace {

using Control = PlatformPlayer::TimeControl;

class PlayerEngineTest : public ::testing::Test
{
protected:
    EngineRig rig;
    PlayerEngine &engine = *rig.engine;
    QStringList loadedUrls() const
    {
        QStringList urls;
        for (const auto &load : rig.platformState.loads)
            urls.append(load.url.toString());
        return urls;
    }
};

TEST_F(PlayerEngineTest, PlayLoadsWithUserAgentBufferAndRecents)
{
    rig.host->agent = QStringLiteral("Custom/2");
    engine.play(liveItem());
    engine.play(movieItem());
    ASSERT_EQ(rig.platformState.loads.size(), 2);
    EXPECT_EQ(rig.platformState.loads[0].userAgent, "Custom/2");
    EXPECT_EQ(rig.platformState.loads[0].forwardBuffer, 4);
    EXPECT_EQ(rig.platformState.loads[1].forwardBuffer, 10);
    EXPECT_EQ(rig.host->recents, QStringList({ liveItem().key, movieItem().key }));
    EXPECT_TRUE(engine.buffering());
    EXPECT_FALSE(engine.usesVLC());
}

TEST_F(PlayerEngineTest, SameItemOnlySeeksAndResumes)
{
    engine.play(movieItem());
    rig.platform->becomeReady(3600);
    const int plays = rig.platformState.plays;
    engine.play(movieItem(), 120);
    EXPECT_EQ(rig.platformState.loads.size(), 1);
    EXPECT_EQ(rig.host->recents.size(), 1);
    ASSERT_FALSE(rig.platformState.seeks.isEmpty());
    EXPECT_EQ(rig.platformState.seeks.last().first, 120);
    EXPECT_GT(rig.platformState.plays, plays);

    // The same key at another address, or an item in error, loads again.
    PlayItem moved = movieItem();
    moved.url += QStringLiteral("?v=2");
    engine.play(moved);
    EXPECT_EQ(rig.platformState.loads.size(), 2);

    PlayItem recording = movieItem("recording");
    recording.catchup = true;
    engine.play(recording);
    rig.platform->fail();
    ASSERT_TRUE(engine.error().has_value());
    ASSERT_TRUE(rig.platform->hasItem());
    engine.play(recording);
    EXPECT_EQ(rig.platformState.loads.size(), 4);
    EXPECT_FALSE(engine.error().has_value());
}

// A ready item that fails while playing climbs the same ladder.
TEST_F(PlayerEngineTest, FailureAfterReadyClimbsLadder)
{
    engine.play(movieItem());
    rig.platform->becomeReady(3600);
    emit rig.platform->failedToPlayToEnd(PlayError{ PlayError::Domain::url, { PlayErrorCode::kConnectionLost } });
    EXPECT_TRUE(engine.usesVLC());

    engine.play(liveItem());
    rig.platform->becomeReady(0);
    emit rig.platform->failedToPlayToEnd(std::nullopt);
    emit rig.platform->failedToPlayToEnd(std::nullopt);  // a second report during the wait is not a new failure
    rig.clock.advance(2000);
    EXPECT_EQ(loadedUrls(), QStringList({ movieItem().url, liveItem().url, liveItem().url }));
    rig.clock.advance(4000);
    EXPECT_EQ(rig.platformState.loads.size(), 3);
}

struct EngineChoiceCase {
    const char *url;
    std::optional<const char *> ext;
    bool vlc;
};

class EngineChoiceTest : public PlayerEngineTest, public ::testing::WithParamInterface<EngineChoiceCase>
{
};

TEST_P(EngineChoiceTest, ExtensionDecidesEngine)
{
    PlayItem item = movieItem();
    item.url = QString::fromLatin1(GetParam().url);
    if (GetParam().ext)
        item.ext = QString::fromLatin1(*GetParam().ext);
    engine.play(item);
    EXPECT_EQ(engine.usesVLC(), GetParam().vlc);
    EXPECT_EQ(rig.vlc.media.size(), GetParam().vlc ? 1 : 0);
    EXPECT_EQ(rig.platformState.loads.size(), GetParam().vlc ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, EngineChoiceTest,
    ::testing::Values(EngineChoiceCase{ "http://h/a/s.m3u8", "mkv", true },
                      EngineChoiceCase{ "http://h/a/FILM.AVI", std::nullopt, true },
                      EngineChoiceCase{ "http://h/a/film.mp4", std::nullopt, false },
                      EngineChoiceCase{ "http://h/a/film.mkv", "mp4", true },
                      EngineChoiceCase{ "http://h/a/film", "Webm", true },
                      EngineChoiceCase{ "http://h/a/film.ts", "", false },
                      EngineChoiceCase{ "http://h/a/film.3gp?x=1", std::nullopt, true }),
    [](const auto &info) {
        const EngineChoiceCase &row = info.param;
        const QString file = QString::fromLatin1(row.url).section(QLatin1Char('/'), -1);
        return rowName(file + (row.ext ? QStringLiteral("_ext_") + QString::fromLatin1(*row.ext) : QStringLiteral("_no_ext")));
    });

TEST_F(PlayerEngineTest, LiveLadderFallbackThenFourTimedReloadsThenError)
{
    PlayItem item = liveItem();
    item.fallbackUrl = QStringLiteral("http://127.0.0.1:9/fallback.m3u8");
    engine.play(item);
    rig.platform->fail();
    EXPECT_EQ(loadedUrls().last(), *item.fallbackUrl);
    for (int attempt = 1; attempt <= 4; ++attempt) {
        rig.platform->fail();
        EXPECT_TRUE(engine.buffering());
        const qsizetype loads = rig.platformState.loads.size();
        rig.clock.advance(attempt * 2000 - 1);
        EXPECT_EQ(rig.platformState.loads.size(), loads) << "attempt " << attempt;
        rig.clock.advance(1);
        ASSERT_EQ(rig.platformState.loads.size(), loads + 1) << "attempt " << attempt;
        EXPECT_EQ(loadedUrls().last(), item.url);
    }
    rig.platform->fail(PlayError{ PlayError::Domain::url, { PlayErrorCode::kCannotConnect } });
    EXPECT_EQ(engine.error(), "text of perr_network");
    EXPECT_FALSE(engine.buffering());
    EXPECT_EQ(rig.vlc.created, 0);
    EXPECT_EQ(loadedUrls().count(item.url), 5);
}

TEST_F(PlayerEngineTest, KeyChangeDuringReconnectWaitCancelsReload)
{
    engine.play(liveItem("a"));
    rig.platform->fail();
    engine.play(liveItem("b"));
    rig.clock.advance(10000);
    EXPECT_EQ(loadedUrls(), QStringList({ liveItem("a").url, liveItem("b").url }));
}

TEST_F(PlayerEngineTest, FailedItemWatchdogDoesNotClimbDuringReconnectWait)
{
    engine.play(liveItem());
    rig.clock.advance(19000);
    rig.platform->fail();   // reload 1 waits 2 s, past the first watchdog's 20 s
    rig.clock.advance(2000);
    EXPECT_EQ(rig.platformState.loads.size(), 2);
    rig.platform->fail();   // reload 2 waits 4 s
    rig.clock.advance(4000);
    EXPECT_EQ(rig.platformState.loads.size(), 3);
    EXPECT_FALSE(engine.error().has_value());
}

TEST_F(PlayerEngineTest, WatchdogClimbsWhenStartUpNeverEnds)
{
    engine.play(movieItem());
    rig.clock.advance(19999);
    EXPECT_FALSE(engine.usesVLC());
    rig.clock.advance(1);
    EXPECT_TRUE(engine.usesVLC());

    engine.play(movieItem("ready"));
    rig.platform->becomeReady(100);
    rig.clock.advance(30000);
    EXPECT_FALSE(engine.usesVLC());
    EXPECT_FALSE(engine.error().has_value());
}

TEST_F(PlayerEngineTest, MovieLadderFallbackThenVlcThenGiveUp)
{
    PlayItem item = movieItem();
    item.fallbackUrl = QStringLiteral("http://127.0.0.1:9/other.mp4");
    engine.play(item);
    rig.platform->fail();
    EXPECT_EQ(loadedUrls().last(), *item.fallbackUrl);
    rig.platform->fail();
    ASSERT_TRUE(engine.usesVLC());
    EXPECT_EQ(rig.vlc.media.last().url.toString(), item.url);
    EXPECT_FALSE(rig.platform->hasItem());
    rig.vlc.state = VlcPlayer::State::error;
    rig.clock.advance(500);
    EXPECT_EQ(engine.error(), "text of perr_unavailable");
    rig.clock.advance(60000);
    EXPECT_EQ(rig.vlc.media.size(), 1);
    EXPECT_EQ(rig.platformState.loads.size(), 2);
}

TEST_F(PlayerEngineTest, CatchupNeverSwitchesToVlc)
{
    PlayItem item = movieItem();
    item.catchup = true;
    item.fallbackUrl = QStringLiteral("http://127.0.0.1:9/alt.ts");
    engine.play(item);
    rig.platform->fail();
    rig.platform->fail(PlayError{ PlayError::Domain::media, { PlayErrorCode::kHttpNotFound } });
    EXPECT_EQ(engine.error(), "text of perr_catchup");
    EXPECT_EQ(rig.vlc.created, 0);
}

TEST_F(PlayerEngineTest, RetryResetsLadder)
{
    engine.play(movieItem());
    rig.platform->fail();
    rig.vlc.state = VlcPlayer::State::error;
    rig.clock.advance(500);
    ASSERT_TRUE(engine.error().has_value());
    engine.retry();
    EXPECT_FALSE(engine.error().has_value());
    EXPECT_FALSE(engine.usesVLC());
    rig.platform->fail();
    EXPECT_TRUE(engine.usesVLC()) << "libVLC is tried again after a retry";
}

TEST_F(PlayerEngineTest, InvalidAddressStopsPreviousItem)
{
    engine.play(movieItem("old"));
    rig.platform->becomeReady(3600);
    rig.platform->setPlayhead(1500);
    rig.clock.advance(6000);
    rig.host->saves.clear();
    PlayItem broken = movieItem("new");
    broken.url = QStringLiteral("not a valid address");
    engine.play(broken);
    EXPECT_EQ(engine.error(), "text of perr_generic");
    EXPECT_FALSE(engine.buffering());
    EXPECT_FALSE(rig.platform->hasItem());
    rig.clock.advance(20000);
    engine.stop();
    EXPECT_TRUE(rig.host->saves.isEmpty());
    EXPECT_FALSE(engine.usesVLC());
}

TEST_F(PlayerEngineTest, ResumeSavesAreThrottledAndStopSavesOnceMore)
{
    engine.play(movieItem());
    rig.platform->becomeReady(3600);
    rig.platform->setPlayhead(100);
    rig.clock.advance(500);
    ASSERT_EQ(rig.host->saves.size(), 1);
    EXPECT_EQ(rig.host->saves[0], (FakeHost::Save{ movieItem().key, 100, 3600 }));
    rig.clock.advance(5000);
    EXPECT_EQ(rig.host->saves.size(), 1);
    rig.clock.advance(500);
    EXPECT_EQ(rig.host->saves.size(), 2);
    rig.platform->setPlayhead(200);
    rig.clock.advance(500);
    engine.stop();
    EXPECT_EQ(rig.host->saves.last(), (FakeHost::Save{ movieItem().key, 200, 3600 }));
    EXPECT_FALSE(engine.hasItem());
    EXPECT_EQ(engine.position(), 200) << "position stays until the next play";
}

TEST_F(PlayerEngineTest, LiveItemsSaveNoResume)
{
    engine.play(liveItem());
    rig.platform->becomeReady(3600);
    rig.platform->setPlayhead(100);
    rig.clock.advance(20000);
    engine.stop();
    EXPECT_TRUE(rig.host->saves.isEmpty());
}

TEST_F(PlayerEngineTest, StopBeforeStartSeekKeepsResumePoint)
{
    engine.play(movieItem(), 1200);
    rig.platform->setDuration(3600);  // known before ready
    rig.clock.advance(6000);
    engine.stop();
    EXPECT_TRUE(rig.host->saves.isEmpty());

    engine.play(movieItem(), 1200);
    rig.platform->becomeReady(3600);
    ASSERT_FALSE(rig.platformState.seeks.isEmpty());
    EXPECT_EQ(rig.platformState.seeks.last().first, 1200);
    rig.clock.advance(500);
    engine.stop();
    EXPECT_EQ(rig.host->saves.last(), (FakeHost::Save{ movieItem().key, 1200, 3600 }));
}

struct SeekCase {
    double duration;
    double target;
    double expected;
};

class SeekClampTest : public PlayerEngineTest, public ::testing::WithParamInterface<SeekCase>
{
};

TEST_P(SeekClampTest, ClampsAndPublishesAtOnce)
{
    engine.play(movieItem());
    rig.platform->becomeReady(GetParam().duration);
    rig.clock.advance(500);
    engine.seek(GetParam().target);
    EXPECT_EQ(engine.position(), GetParam().expected);
    ASSERT_FALSE(rig.platformState.seeks.isEmpty());
    EXPECT_EQ(rig.platformState.seeks.last(), std::make_pair(GetParam().expected, 1.0));
}

INSTANTIATE_TEST_SUITE_P(Targets, SeekClampTest,
                         ::testing::Values(SeekCase{ 3600, 5000, 3599 }, SeekCase{ 3600, 42.5, 42.5 },
                                           SeekCase{ 0, 5000, 5000 }, SeekCase{ 3600, -8, 0 }),
                         [](const auto &info) {
                             return rowName(QStringLiteral("duration_%1_target_%2")
                                                .arg(info.param.duration)
                                                .arg(info.param.target));
                         });

TEST_F(PlayerEngineTest, TimeControlDrivesPlayingBufferingAndPause)
{
    engine.play(movieItem());
    rig.platform->setControl(Control::playing);
    EXPECT_TRUE(engine.isPlaying());
    EXPECT_FALSE(engine.buffering());
    engine.togglePause();
    EXPECT_EQ(rig.platformState.pauses, 1);
    rig.platform->setControl(Control::waiting);
    EXPECT_TRUE(engine.buffering());
    EXPECT_FALSE(engine.isPlaying());
    engine.togglePause();
    EXPECT_EQ(rig.platformState.pauses, 2);
    rig.platform->setControl(Control::paused);
    const int plays = rig.platformState.plays;
    engine.togglePause();
    EXPECT_EQ(rig.platformState.plays, plays + 1);
}

TEST_F(PlayerEngineTest, TrackListsOfFormerItemAreDropped)
{
    const PlatformPlayer::Tracks tracks{ QList<TrackOption>{ { 0, "English" }, { 1, "French" } },
                                         QList<TrackOption>{ { 0, "English CC" } } };
    engine.play(movieItem("a"));
    rig.platform->becomeReady(100);
    engine.play(movieItem("b"));
    rig.platform->deliverTracks(tracks);
    EXPECT_TRUE(engine.audioOptions().isEmpty());

    rig.platform->becomeReady(100);
    rig.platform->deliverTracks({ tracks.audio, std::nullopt });
    EXPECT_EQ(engine.audioOptions(), *tracks.audio);
    EXPECT_TRUE(engine.subtitleOptions().isEmpty());

    engine.selectTrack(engine.audioOptions()[1], true);
    engine.selectTrack(std::nullopt, false);
    EXPECT_EQ(rig.platformState.selections,
              (QList<std::pair<std::optional<int>, bool>>{ { 1, true }, { std::nullopt, false } }));
}

TEST_F(PlayerEngineTest, StallReissuesPlayWithoutFailing)
{
    engine.play(movieItem());
    const int plays = rig.platformState.plays;
    emit rig.platform->stalled();
    EXPECT_EQ(rig.platformState.plays, plays + 1);
    EXPECT_EQ(rig.platformState.loads.size(), 1);
}

}
