#include "FakeBackends.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Control = PlatformPlayer::TimeControl;
using Save = FakeHost::Save;

class PlayerEngineTest : public ::testing::Test {
protected:
    QStringList loadedUrls() const
    {
        QStringList urls;
        for (const auto &load : loads)
            urls.append(load.url.toString());
        return urls;
    }
    void advance(qint64 ms) { rig.clock.advance(ms); }

    EngineRig rig;
    PlayerEngine &engine = *rig.engine;
    FakePlatform &platform = *rig.platform;
    const QList<FakePlatform::Load> &loads = platform.loads;
    const QList<Save> &saves = rig.host->saves;
};

TEST_F(PlayerEngineTest, PlayLoadsWithUserAgentBufferAndRecents)
{
    rig.host->agent = QStringLiteral("Custom/2");
    engine.play(liveItem());
    engine.play(movieItem());
    ASSERT_EQ(loads.size(), 2);
    EXPECT_EQ(loads[0].userAgent, "Custom/2");
    EXPECT_EQ(std::make_pair(loads[0].forwardBuffer, loads[1].forwardBuffer), std::make_pair(4.0, 10.0));
    EXPECT_EQ(rig.host->recents, QStringList({ liveItem().key, movieItem().key }));
    EXPECT_TRUE(engine.buffering());
    EXPECT_FALSE(engine.usesVLC());
}

TEST_F(PlayerEngineTest, SameItemOnlySeeksAndResumes)
{
    engine.play(movieItem());
    platform.becomeReady(3600);
    const int plays = platform.plays;
    engine.play(movieItem(), 120);
    EXPECT_EQ(loads.size(), 1);
    EXPECT_EQ(rig.host->recents.size(), 1);
    ASSERT_FALSE(platform.seeks.isEmpty());
    EXPECT_EQ(platform.seeks.last().first, 120);
    EXPECT_GT(platform.plays, plays);

    // The same key at another address, or an item in error, loads again.
    PlayItem moved = movieItem();
    moved.url += QStringLiteral("?v=2");
    engine.play(moved);
    EXPECT_EQ(loads.size(), 2);
    PlayItem recording = movieItem("recording");
    recording.catchup = true;
    engine.play(recording);
    platform.fail();
    ASSERT_TRUE(engine.error().has_value());
    ASSERT_TRUE(platform.hasItem());
    engine.play(recording);
    EXPECT_EQ(loads.size(), 4);
    EXPECT_FALSE(engine.error().has_value());
}

// A ready item that fails while playing climbs the same ladder.
TEST_F(PlayerEngineTest, FailureAfterReadyClimbsLadder)
{
    engine.play(movieItem());
    platform.becomeReady(3600);
    emit platform.failedToPlayToEnd(PlayError { PlayError::Domain::url, { PlayErrorCode::kConnectionLost } });
    EXPECT_TRUE(engine.usesVLC());

    engine.play(liveItem());
    platform.becomeReady(0);
    emit platform.failedToPlayToEnd(std::nullopt);
    emit platform.failedToPlayToEnd(std::nullopt); // a second report during the wait is not a new failure
    advance(2000);
    EXPECT_EQ(loadedUrls(), QStringList({ movieItem().url, liveItem().url, liveItem().url }));
    advance(4000);
    EXPECT_EQ(loads.size(), 3);
}

TEST(PlayerEngine, ExtensionDecidesEngine)
{
    const std::tuple<const char *, std::optional<const char *>, bool> cases[] = {
        { "http://h/a/s.m3u8", "mkv", true },
        { "http://h/a/FILM.AVI", std::nullopt, true },
        { "http://h/a/film.mp4", std::nullopt, false },
        { "http://h/a/film.mkv", "mp4", true },
        { "http://h/a/film", "Webm", true },
        { "http://h/a/film.ts", "", false },
        { "http://h/a/film.3gp?x=1", std::nullopt, true },
    };
    for (const auto &[url, ext, vlc] : cases) {
        SCOPED_TRACE(std::string(url) + " ext " + ext.value_or("none"));
        EngineRig rig;
        PlayItem item = movieItem();
        item.url = QString::fromLatin1(url);
        if (ext)
            item.ext = QString::fromLatin1(*ext);
        rig.engine->play(item);
        EXPECT_EQ(rig.engine->usesVLC(), vlc);
        EXPECT_EQ(std::make_pair(rig.vlc.media.size(), rig.platform->loads.size()),
            (std::pair<qsizetype, qsizetype>(vlc, !vlc)));
    }
}

TEST_F(PlayerEngineTest, LiveLadderFallbackThenFourTimedReloadsThenError)
{
    PlayItem item = liveItem();
    item.fallbackUrl = QStringLiteral("http://127.0.0.1:9/fallback.m3u8");
    engine.play(item);
    platform.fail();
    EXPECT_EQ(loadedUrls().last(), *item.fallbackUrl);
    for (int attempt = 1; attempt <= 4; ++attempt) {
        SCOPED_TRACE(attempt);
        platform.fail();
        EXPECT_TRUE(engine.buffering());
        const qsizetype before = loads.size();
        advance(attempt * 2000 - 1);
        EXPECT_EQ(loads.size(), before);
        advance(1);
        ASSERT_EQ(loads.size(), before + 1);
        EXPECT_EQ(loadedUrls().last(), item.url);
    }
    platform.fail(PlayError { PlayError::Domain::url, { PlayErrorCode::kCannotConnect } });
    EXPECT_EQ(engine.error(), "text of perr_network");
    EXPECT_FALSE(engine.buffering());
    EXPECT_EQ(rig.vlc.created, 0);
    EXPECT_EQ(loadedUrls().count(item.url), 5);
}

TEST_F(PlayerEngineTest, NeitherWatchdogNorOldReloadActsDuringReconnectWait)
{
    engine.play(liveItem());
    advance(19000);
    platform.fail(); // reload 1 waits 2 s, past the first watchdog's 20 s
    advance(2000);
    EXPECT_EQ(loads.size(), 2);
    platform.fail(); // reload 2 waits 4 s
    advance(4000);
    EXPECT_EQ(loads.size(), 3);
    EXPECT_FALSE(engine.error().has_value());
    // Another item during the wait cancels the reload.
    platform.fail();
    engine.play(liveItem("other"));
    advance(10000);
    EXPECT_EQ(loadedUrls().mid(3), QStringList({ liveItem("other").url }));
}

TEST_F(PlayerEngineTest, WatchdogClimbsWhenStartUpNeverEnds)
{
    engine.play(movieItem());
    advance(19999);
    EXPECT_FALSE(engine.usesVLC());
    advance(1);
    EXPECT_TRUE(engine.usesVLC());

    engine.play(movieItem("ready"));
    platform.becomeReady(100);
    advance(30000);
    EXPECT_FALSE(engine.usesVLC());
    EXPECT_FALSE(engine.error().has_value());
}

TEST_F(PlayerEngineTest, MovieLadderFallbackThenVlcThenGiveUpUntilRetry)
{
    PlayItem item = movieItem();
    item.fallbackUrl = QStringLiteral("http://127.0.0.1:9/other.mp4");
    engine.play(item);
    platform.fail();
    EXPECT_EQ(loadedUrls().last(), *item.fallbackUrl);
    platform.fail();
    ASSERT_TRUE(engine.usesVLC());
    EXPECT_EQ(rig.vlc.media.last().url.toString(), item.url);
    EXPECT_FALSE(platform.hasItem());
    rig.vlc.state = VlcPlayer::State::error;
    advance(500);
    EXPECT_EQ(engine.error(), "text of perr_unavailable");
    advance(60000);
    EXPECT_EQ(rig.vlc.media.size(), 1);
    EXPECT_EQ(loads.size(), 2);
    // A retry starts the ladder afresh, libVLC included.
    engine.retry();
    EXPECT_FALSE(engine.error().has_value());
    EXPECT_FALSE(engine.usesVLC());
    EXPECT_EQ(loadedUrls().last(), item.url);
    platform.fail();
    platform.fail();
    EXPECT_TRUE(engine.usesVLC());
}

// Under an error card pause and resume, and playing on, request nothing; the retry action plays again.
TEST_F(PlayerEngineTest, PauseAndResumeDoNothingUnderAnErrorUntilRetry)
{
    for (const bool onVlc : { false, true }) {
        SCOPED_TRACE(onVlc ? "libVLC" : "platform");
        PlayItem item = liveItem(onVlc ? QStringLiteral("v") : QStringLiteral("p"));
        if (onVlc)
            item.ext = QStringLiteral("mkv");
        engine.play(item);
        if (onVlc) {
            rig.vlc.state = VlcPlayer::State::error;
            advance(500);
        } else {
            for (int attempt = 0; attempt <= PlayerEngine::kMaxRetries; ++attempt) {
                platform.fail();
                advance(PlayerEngine::kRetryStepMs * PlayerEngine::kMaxRetries);
            }
        }
        ASSERT_TRUE(engine.hasError());
        const int vlcPlays = rig.vlc.plays;
        const int platformPlays = platform.plays;
        const int platformPauses = platform.pauses;
        const qsizetype loadCount = loads.size();
        engine.togglePause();
        engine.togglePause();
        engine.continuePlaying();
        EXPECT_EQ(rig.vlc.plays, vlcPlays);
        EXPECT_EQ(
            std::make_pair(platform.plays, platform.pauses), std::make_pair(platformPlays, platformPauses));
        EXPECT_EQ(loads.size(), loadCount);
        EXPECT_TRUE(engine.hasError());
        EXPECT_FALSE(engine.isPlaying());

        rig.vlc.state = VlcPlayer::State::opening;
        engine.retry();
        EXPECT_FALSE(engine.hasError());
        EXPECT_EQ(onVlc ? rig.vlc.plays : int(loads.size()), onVlc ? vlcPlays + 1 : int(loadCount) + 1);
        engine.stop();
    }
}

// libVLC's give-up blames the network only when the address could not be reached; a catch-up
// item keeps its message.
TEST_F(PlayerEngineTest, VlcGiveUpSaysNetworkOnlyForANetworkFailure)
{
    using namespace PlayErrorCode;
    const std::tuple<std::optional<PlayError>, bool, const char *> rows[] = {
        { PlayError { PlayError::Domain::url, { kTimedOut } }, false, "perr_network" },
        { httpStatusError(403), false, "perr_unavailable" },
        { httpStatusError(503), false, "perr_unavailable" },
        { PlayError { PlayError::Domain::url, { kCannotConnect } }, true, "perr_catchup" },
    };
    for (const auto &[cause, catchup, key] : rows) {
        SCOPED_TRACE(key);
        PlayItem item = movieItem(QString::fromLatin1(key) + (catchup ? "c" : ""));
        item.ext = QStringLiteral("mkv");
        item.catchup = catchup;
        rig.vlc.sourceError = cause;
        rig.vlc.state = VlcPlayer::State::error;
        engine.play(item);
        advance(500);
        EXPECT_EQ(engine.error(), QStringLiteral("text of ") + key);
    }
}

TEST_F(PlayerEngineTest, CatchupNeverSwitchesToVlc)
{
    PlayItem item = movieItem();
    item.catchup = true;
    item.fallbackUrl = QStringLiteral("http://127.0.0.1:9/alt.ts");
    engine.play(item);
    platform.fail();
    platform.fail(PlayError { PlayError::Domain::media, { PlayErrorCode::kHttpNotFound } });
    EXPECT_EQ(engine.error(), "text of perr_catchup");
    EXPECT_EQ(rig.vlc.created, 0);
}

TEST_F(PlayerEngineTest, InvalidAddressStopsPreviousItem)
{
    engine.play(movieItem("old"));
    platform.becomeReady(3600);
    platform.setPlayhead(1500);
    advance(6000);
    rig.host->saves.clear();
    PlayItem broken = movieItem("new");
    broken.url = QStringLiteral("not a valid address");
    engine.play(broken);
    EXPECT_EQ(engine.error(), "text of perr_generic");
    EXPECT_FALSE(engine.buffering());
    EXPECT_FALSE(platform.hasItem());
    advance(20000);
    engine.stop();
    EXPECT_TRUE(saves.isEmpty());
    EXPECT_FALSE(engine.usesVLC());
}

// A provider's address may name a local file or device: only network streams are played.
TEST_F(PlayerEngineTest, OnlyNetworkStreamsArePlayed)
{
    for (const char *address : { "file:///home/user/video.ts", "FILE:///etc/passwd",
             "file://localhost/tmp/a.mkv", "smb://host/share/film.mkv", "dvd:///dev/sr0",
             "v4l2:///dev/video0", "qrc:/clip.mp4", "ftp://host/a.mp4", "data:video/mp4;base64,AAAA" }) {
        SCOPED_TRACE(address);
        PlayItem local = movieItem(QString::fromLatin1(address));
        local.url = QString::fromLatin1(address);
        engine.play(local);
        EXPECT_EQ(engine.error(), "text of perr_format");
        EXPECT_FALSE(engine.buffering());
    }
    EXPECT_TRUE(loads.isEmpty());
    EXPECT_EQ(rig.vlc.created, 0);

    const QStringList streams { "http://127.0.0.1/a.ts", "HTTPS://127.0.0.1/a.m3u8", "rtsp://127.0.0.1/cam",
        "rtmp://127.0.0.1/app/live", "udp://@239.0.0.1:1234", "rtp://@:5004", "mms://127.0.0.1/tv",
        "srt://127.0.0.1:9000" };
    for (const QString &address : streams) {
        PlayItem remote = movieItem(address);
        remote.url = address;
        engine.play(remote);
        EXPECT_FALSE(engine.error()) << qPrintable(address);
    }
    EXPECT_EQ(loads.size(), streams.size());
}

TEST_F(PlayerEngineTest, ResumeSavesAreThrottledStopSavesOnceMoreAndLiveNever)
{
    engine.play(movieItem());
    platform.becomeReady(3600);
    platform.setPlayhead(100);
    advance(500);
    EXPECT_EQ(saves, QList<Save>({ { movieItem().key, 100, 3600 } }));
    advance(5000);
    EXPECT_EQ(saves.size(), 1);
    advance(500);
    EXPECT_EQ(saves.size(), 2);
    platform.setPlayhead(200);
    advance(500);
    engine.stop();
    EXPECT_EQ(saves.last(), (Save { movieItem().key, 200, 3600 }));
    EXPECT_FALSE(engine.hasItem());
    EXPECT_EQ(engine.position(), 200) << "position stays until the next play";

    const qsizetype saved = saves.size();
    engine.play(liveItem());
    platform.becomeReady(3600);
    platform.setPlayhead(100);
    advance(20000);
    engine.stop();
    EXPECT_EQ(saves.size(), saved);
}

TEST_F(PlayerEngineTest, StopBeforeStartSeekKeepsResumePoint)
{
    engine.play(movieItem(), 1200);
    platform.setDuration(3600); // known before ready
    advance(6000);
    engine.stop();
    EXPECT_TRUE(saves.isEmpty());

    engine.play(movieItem(), 1200);
    platform.becomeReady(3600);
    ASSERT_FALSE(platform.seeks.isEmpty());
    EXPECT_EQ(platform.seeks.last().first, 1200);
    advance(500);
    engine.stop();
    EXPECT_EQ(saves.last(), (Save { movieItem().key, 1200, 3600 }));
}

// The duration may be known before ready: a seek then is where the item starts, not the
// start seek still to come.
TEST_F(PlayerEngineTest, SeekBeforeReadyReplacesTheStartSeek)
{
    engine.play(movieItem(), 1200);
    platform.setDuration(3600);
    advance(500);
    ASSERT_TRUE(engine.isSeekable());
    engine.seek(100);
    platform.becomeReady(3600);
    EXPECT_EQ(platform.seeks, (QList<std::pair<double, double>> { { 100, 1 }, { 100, -1 } }));
    advance(500);
    engine.stop();
    EXPECT_EQ(saves.last(), (Save { movieItem().key, 100, 3600 }));
}

// The start seek lands some time after ready: the position is unknown meanwhile, or
// still the old one. Neither is ever saved as the resume point.
TEST_F(PlayerEngineTest, ResumeWaitsForAPositionNearTheStart)
{
    const double noPosition = std::numeric_limits<double>::quiet_NaN();
    engine.play(movieItem(), 1200);
    platform.setDuration(3600);
    advance(500);
    platform.becomeReady(3600);
    platform.setPlayhead(0);
    engine.stop();
    EXPECT_TRUE(saves.isEmpty()) << "stop between ready and the next tick";

    engine.play(movieItem(), 1200);
    platform.becomeReady(3600);
    platform.setPlayhead(noPosition);
    advance(6000);
    platform.setPlayhead(0.04);
    advance(6000);
    EXPECT_TRUE(saves.isEmpty()) << "no position, then the one before the seek";
    platform.setPlayhead(1196); // a key frame before the start
    advance(500);
    EXPECT_EQ(saves, QList<Save>({ { movieItem().key, 1196, 3600 } }));

    platform.setPlayhead(noPosition);
    advance(6000);
    EXPECT_EQ(engine.position(), 1196) << "an unknown position keeps the last one";
    engine.stop();
    for (const Save &save : saves)
        EXPECT_EQ(save.pos, 1196);

    engine.play(movieItem(), 1200);
    platform.becomeReady(3600);
    engine.seek(100); // the user goes elsewhere before the start seek landed
    advance(500);
    EXPECT_EQ(saves.last(), (Save { movieItem().key, 100, 3600 }));

    // Near the beginning, the position before the seek is still far from the start.
    engine.stop();
    engine.play(movieItem(), 4);
    platform.becomeReady(3600);
    platform.setPlayhead(0);
    advance(6000);
    EXPECT_EQ(saves.last().pos, 100);
    platform.setPlayhead(3.2);
    advance(500);
    EXPECT_EQ(saves.last().pos, 3.2);
}

// The server closing a live response is a lost connection; a movie's end is its end.
TEST_F(PlayerEngineTest, LiveStreamThatEndsReconnects)
{
    engine.play(movieItem());
    platform.becomeReady(600);
    platform.end();
    advance(20000);
    EXPECT_EQ(loads.size(), 1);
    EXPECT_FALSE(engine.hasError());

    engine.play(liveItem());
    for (int attempt = 1; attempt <= 4; ++attempt) {
        SCOPED_TRACE(attempt);
        platform.becomeReady(0);
        platform.end();
        EXPECT_TRUE(engine.buffering());
        platform.end(); // a second end during the wait does not climb again
        advance(attempt * 2000);
        EXPECT_EQ(loads.size(), 2 + attempt);
    }
    platform.end();
    EXPECT_EQ(engine.error(), "text of perr_network");
    EXPECT_EQ(rig.vlc.created, 0);
}

TEST(PlayerEngine, SeekClampsAndPublishesAtOnce)
{
    // duration, target, where the seek lands
    for (const auto &[duration, target, expected] :
        { std::array { 3600., 5000., 3599. }, std::array { 3600., 42.5, 42.5 },
            std::array { 0., 5000., 5000. }, std::array { 3600., -8., 0. } }) {
        SCOPED_TRACE(testing::Message() << duration << " " << target);
        EngineRig rig;
        rig.engine->play(movieItem());
        rig.platform->becomeReady(duration);
        rig.clock.advance(500);
        rig.engine->seek(target);
        EXPECT_EQ(rig.engine->position(), expected);
        EXPECT_EQ(rig.platform->seeks, (QList<std::pair<double, double>> { { expected, 1.0 } }));
    }
}

TEST_F(PlayerEngineTest, TimeControlDrivesPlayingBufferingAndPause)
{
    engine.play(movieItem());
    platform.setControl(Control::playing);
    EXPECT_TRUE(engine.isPlaying());
    EXPECT_FALSE(engine.buffering());
    engine.togglePause();
    EXPECT_EQ(platform.pauses, 1);
    platform.setControl(Control::waiting);
    EXPECT_TRUE(engine.buffering());
    EXPECT_FALSE(engine.isPlaying());
    engine.togglePause();
    EXPECT_EQ(platform.pauses, 2);
    platform.setControl(Control::paused);
    const int plays = platform.plays;
    engine.togglePause();
    EXPECT_EQ(platform.plays, plays + 1);
    // A stall plays again without failing.
    emit platform.stalled();
    EXPECT_EQ(platform.plays, plays + 2);
    EXPECT_EQ(loads.size(), 1);
}

TEST_F(PlayerEngineTest, TrackListsOfFormerItemAreDropped)
{
    const PlatformPlayer::Tracks tracks { QList<TrackOption> { { 0, "English" }, { 1, "French" } },
        QList<TrackOption> { { 0, "English CC" } } };
    engine.play(movieItem("a"));
    platform.becomeReady(100);
    engine.play(movieItem("b"));
    platform.deliverTracks(tracks);
    EXPECT_TRUE(engine.audioOptions().isEmpty());

    platform.becomeReady(100);
    platform.deliverTracks({ tracks.audio, std::nullopt });
    EXPECT_EQ(engine.audioOptions(), *tracks.audio);
    EXPECT_TRUE(engine.subtitleOptions().isEmpty());
    engine.selectTrack(engine.audioOptions()[1], true);
    engine.selectTrack(std::nullopt, false);
    EXPECT_EQ(platform.selections,
        (QList<std::pair<std::optional<int>, bool>> { { 1, true }, { std::nullopt, false } }));
}

// The first matching rule wins.
TEST(PlayerEngine, ErrorMessageKeyClassifiesErrors)
{
    using Domain = PlayError::Domain;
    using namespace PlayErrorCode;
    const std::tuple<bool, std::optional<PlayError>, const char *> cases[] = {
        { true, PlayError { Domain::url, { kHttpForbidden } }, "perr_catchup" }, // catch-up, any error
        { true, std::nullopt, "perr_catchup" },
        { false, std::nullopt, "perr_generic" },
        { false, PlayError { Domain::media, { kMediaNotFound } }, "perr_not_found" },
        { false, PlayError { Domain::url, { kTimedOut, 7, kHttpNotFound } },
            "perr_not_found" }, // underlying 404
        { false, PlayError { Domain::url, { kFileDoesNotExist } }, "perr_not_found" },
        { false, PlayError { Domain::media, { 1, kMediaForbidden } }, "perr_denied" },
        { false, PlayError { Domain::other, { kHttpUnauthorized } }, "perr_denied" },
        { false, PlayError { Domain::other, { kHttpForbidden, kHttpNotFound } }, "perr_not_found" },
        { false, PlayError { Domain::url, { kFormatNotRecognized } },
            "perr_network" }, // URL domain, any code
        { false, PlayError { Domain::url, {} }, "perr_network" },
        { false, PlayError { Domain::media, { 3, kPlaylistParse } }, "perr_format" },
        { false, PlayError { Domain::media, { kNotConnected, kDecodeFailed } },
            "perr_format" }, // format first
        { false, PlayError { Domain::media, { 9, kConnectionLost } }, "perr_network" },
        { false, PlayError { Domain::other, { 12345 } }, "perr_generic" },
    };
    for (int row = 0; row < int(std::size(cases)); ++row) {
        const auto &[catchup, error, key] = cases[row];
        PlayItem item = movieItem();
        item.catchup = catchup;
        EXPECT_EQ(PlayerEngine::errorMessageKey(error, item), key) << "row " << row;
    }
}

} // namespace
