#include "NotifyAudit.h"
#include "PlayerScreenRig.h"

#include "sources/PlayItems.h"
#include "sources/PlaylistRows.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace {

using Row = PlayerScreenModel::ControlRow;

class PlayerScreenTest : public ::testing::Test, public PlayerScreenRig {
protected:
    void SetUp() override { setActiveLanguage(QStringLiteral("en")); }
    void TearDown() override
    {
        // The entry leaves the stack.
        if (screen)
            env.state->replace(Routes::Home {});
        EXPECT_FALSE(QGuiApplication::overrideCursor());
    }

    FakePlatform &platform = *engine.platform;
    PlayerEngine &player = *engine.engine;
};

// A table test on the player screen; rows print their name.
template <typename Case>
class PlayerTable : public PlayerScreenTest, public ::testing::WithParamInterface<Case> { };

template <typename Case>
    requires requires(const Case &row) { row.name; }
void PrintTo(const Case &row, std::ostream *os)
{
    *os << row.name;
}

QList<double> seekPositions(const FakePlatform &platform)
{
    QList<double> positions;
    for (const auto &seek : platform.seeks)
        positions.append(seek.first);
    return positions;
}

struct KeyCase {
    const char *name;
    bool live;
    int count;
    int start;
    std::optional<double> playingAt; // the item is ready and seekable, at this position
    bool listOpen;
    const char *keys;
    int index;
    int listFocus;
    bool showList;
    QList<double> seeks;
    int pauses;
    bool used;
};

using PlayerKeys = PlayerTable<KeyCase>;

TEST_P(PlayerKeys, ActAsTheTableSays)
{
    const KeyCase &row = GetParam();
    appear(QueueSource { .live = row.live, .count = row.count }.queue(row.start, false));
    if (row.playingAt)
        ready(3600, *row.playingAt);
    platform.setControl(PlatformPlayer::TimeControl::playing);
    platform.seeks.clear();
    if (row.listOpen)
        screen->toggleList();
    const bool used = press(*screen, row.keys);
    EXPECT_EQ(used, row.used);
    EXPECT_EQ(screen->index(), row.index);
    EXPECT_EQ(screen->queueList()->focusRow(), row.listFocus);
    EXPECT_EQ(screen->queueList()->shown(), row.showList);
    EXPECT_EQ(seekPositions(platform), row.seeks);
    EXPECT_EQ(platform.pauses, row.pauses);
    if (row.count > 0)
        EXPECT_EQ(player.itemKey(), QueueSource { .live = row.live }.at(row.index).key);
    EXPECT_TRUE(screen->chrome()->controls());
}

// Keys spelled as in AppStateFixture: U D L R arrows, [ ] pages, E Enter, S Space, X Esc, T Tab.
const KeyCase kKeyCases[] = {
    { "live up from first wraps to last", true, 30, 0, {}, false, "U", 29, 29, false, {}, 0, true },
    { "live down from last wraps to first", true, 30, 29, {}, false, "D", 0, 0, false, {}, 0, true },
    { "live pages zap", true, 30, 5, {}, false, "[[]", 4, 4, false, {}, 0, true },
    { "one live channel: arrows used, nothing happens", true, 1, 0, {}, false, "UDLR[]", 0, 0, false, {}, 0,
        true },
    { "live left and right do not zap", true, 30, 3, {}, false, "LR", 3, 3, false, {}, 0, true },
    { "movie arrows seek", false, 1, 0, 100, false, "LRUD", 0, 0, false, { 90, 100, 160, 100 }, 0, true },
    { "seeking back from 4 s goes to 0", false, 1, 0, 4, false, "L", 0, 0, false, { 0 }, 0, true },
    { "unseekable movies zap with left and right", false, 3, 1, {}, false, "LRR", 2, 2, false, {}, 0, true },
    { "unseekable movie up and down do nothing", false, 3, 1, {}, false, "UD", 1, 1, false, {}, 0, true },
    { "movie pages zap", false, 3, 0, 100, false, "]]", 2, 2, false, {}, 0, true },
    { "live Enter opens the list on the playing row", true, 30, 7, {}, false, "E", 7, 7, true, {}, 0, true },
    { "one live channel: Enter pauses", true, 1, 0, {}, false, "E", 0, 0, false, {}, 1, true },
    { "movie Enter and Space pause", false, 3, 0, 100, false, "ES", 0, 0, false, {}, 2, true },
    { "l opens with two entries", false, 2, 1, {}, false, "l", 1, 1, true, {}, 0, true },
    { "l with one entry is used and does nothing", false, 1, 0, {}, false, "l", 0, 0, false, {}, 0, true },
    { "Tab, Home, End and other letters are not used", false, 3, 0, 100, false, "T<>z", 0, 0, false, {}, 0,
        false },
    { "empty queue: zapping keys do nothing", true, 0, 0, {}, false, "UD[]", 0, 0, false, {}, 0, true },
    { "list: Page Down clamps at the last row", true, 30, 25, {}, true, "]", 25, 29, true, {}, 0, true },
    { "list: Enter zaps and the list stays", true, 30, 25, {}, true, "]E", 29, 29, true, {}, 0, true },
    { "list: moves clamp at the first row", true, 30, 3, {}, true, "[UUD", 3, 1, true, {}, 0, true },
    { "list: Esc closes", true, 30, 3, {}, true, "DX", 3, 4, false, {}, 0, true },
    { "list: l closes", true, 30, 3, {}, true, "l", 3, 3, false, {}, 0, true },
    { "list: Space falls through and pauses", true, 30, 3, {}, true, "S", 3, 3, true, {}, 1, true },
};

INSTANTIATE_TEST_SUITE_P(Table, PlayerKeys, ::testing::ValuesIn(kKeyCases));

TEST_F(PlayerScreenTest, EscAndBackLeaveThePlayerAndStopPlayback)
{
    appear(QueueSource { .count = 2 }.queue(0));
    EXPECT_TRUE(press(*screen, "X"));
    EXPECT_EQ(env.route(), "home");
    EXPECT_FALSE(player.hasItem());

    appear(QueueSource { .count = 2 }.queue(0));
    platform.fail();
    screen->back();
    EXPECT_EQ(env.route(), "home");
    EXPECT_FALSE(player.hasItem());
}

TEST_F(PlayerScreenTest, ZapPlaysTheEntryRecordsLiveChannelsAndResumesOthersQuietly)
{
    const QueueSource channels { .live = true, .count = 4 };
    appear(channels.queue(0));
    screen->zap(-1);
    EXPECT_EQ(screen->index(), 3);
    EXPECT_EQ(env.prefs->recentLive(), QStringList { "7|LIVE|e3" });
    screen->zap(4);
    EXPECT_EQ(screen->index(), 0);
    EXPECT_EQ(player.itemKey(), channels.at(0).key);

    const QueueSource movies { .count = 3 };
    env.prefs->saveResume(movies.at(2).key, 754, 3600);
    appear(movies.queue(0));
    screen->zap(2);
    platform.becomeReady(3600);
    EXPECT_EQ(seekPositions(platform), QList<double> { 754 });
    EXPECT_FALSE(env.state->toast().has_value());
}

TEST_F(PlayerScreenTest, OverlayHidesAfterItsDelayAndHidesTheCursorUntilTheMouseMoves)
{
    appear(QueueSource { .count = 2 }.queue(0));
    QSignalSpy chrome(screen->chrome(), &PlayerChrome::shownChanged);
    advance(PlayerChrome::kHideMs - 1);
    EXPECT_TRUE(screen->chrome()->controls());
    advance(1);
    EXPECT_FALSE(screen->chrome()->controls());
    EXPECT_EQ(screen->chrome()->controlsFadeMs(), PlayerChrome::kHideFadeMs);
    EXPECT_FALSE(screen->chrome()->shown());
    EXPECT_EQ(chrome.count(), 1);
    EXPECT_TRUE(cursorHidden());

    // A key shows the chrome without a mouse move; the next hide keeps one override only.
    press(*screen, "T");
    advance(PlayerChrome::kHideMs);
    EXPECT_TRUE(cursorHidden());
    screen->chrome()->pointerAt({ 40, 50 });
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    EXPECT_TRUE(screen->chrome()->controls());
    EXPECT_EQ(screen->chrome()->controlsFadeMs(), PlayerChrome::kShowFadeMs);

    // Hover repeated at a resting pointer is no move.
    advance(PlayerChrome::kHideMs);
    screen->chrome()->pointerAt({ 40, 50 });
    EXPECT_FALSE(screen->chrome()->controls());
    EXPECT_TRUE(cursorHidden());
    screen->chrome()->pointerAt({ 41, 50 });
    EXPECT_TRUE(screen->chrome()->controls());
}

TEST_F(PlayerScreenTest, NewerShowWinsAndNoListScrubOrMenuLetsTheOverlayHide)
{
    appear(QueueSource { .count = 2 }.queue(0));
    ready(3600);
    advance(2000);
    screen->chrome()->show();
    advance(2000);
    EXPECT_TRUE(screen->chrome()->controls());
    advance(1500);
    EXPECT_FALSE(screen->chrome()->controls());

    screen->chrome()->show();
    screen->toggleList();
    EXPECT_FALSE(screen->chrome()->shown());
    advance(10 * PlayerChrome::kHideMs);
    EXPECT_TRUE(screen->chrome()->controls());
    screen->queueList()->close();
    EXPECT_TRUE(screen->chrome()->shown());

    screen->seek()->scrubChanged(10, 100);
    advance(10 * PlayerChrome::kHideMs);
    EXPECT_TRUE(screen->chrome()->controls());
    screen->seek()->scrubEnded();
    EXPECT_TRUE(screen->chrome()->controls());

    screen->tracks()->setMenuOpen(true);
    advance(10 * PlayerChrome::kHideMs);
    EXPECT_TRUE(screen->chrome()->controls());
    screen->tracks()->setMenuOpen(false);

    // An error keeps the chrome even when the overlay is hidden.
    screen->chrome()->show();
    advance(PlayerChrome::kHideMs);
    platform.fail();
    engine.vlc.state = VlcPlayer::State::error;
    advance(PlayerEngine::kTickMs);
    ASSERT_TRUE(screen->hasError());
    EXPECT_FALSE(screen->chrome()->controls());
    EXPECT_TRUE(screen->chrome()->shown());
}

TEST_F(PlayerScreenTest, TapClosesTheListElseTogglesTheOverlay)
{
    appear(QueueSource { .count = 2 }.queue(0));
    screen->toggleList();
    screen->tap();
    EXPECT_FALSE(screen->queueList()->shown());
    EXPECT_TRUE(screen->chrome()->controls());
    screen->tap();
    EXPECT_FALSE(screen->chrome()->controls());
    EXPECT_EQ(screen->chrome()->controlsFadeMs(), PlayerChrome::kTapHideFadeMs);
    screen->tap();
    EXPECT_TRUE(screen->chrome()->controls());
    advance(PlayerChrome::kHideMs);
    EXPECT_FALSE(screen->chrome()->controls());
}

TEST_F(PlayerScreenTest, AppearContinuesInPlaceWhenTheEngineHoldsTheItem)
{
    const QueueSource channels { .live = true, .count = 20 };
    engine.engine->play(channels.at(5));
    ready(0);
    const int loads = int(platform.loads.size());
    const int plays = platform.plays;
    appear(channels.queue(5), Routes::Live {});
    EXPECT_EQ(platform.loads.size(), loads);
    EXPECT_GT(platform.plays, plays);
    EXPECT_EQ(engine.host->recents.size(), 1);
    EXPECT_EQ(screen->queueList()->focusRow(), 5);
    EXPECT_TRUE(screen->chrome()->controls());

    // On libVLC the libVLC player plays on.
    PlayItem film = QueueSource { .count = 1 }.at(0);
    film.ext = QStringLiteral("mkv");
    engine.engine->play(film);
    const int vlcPlays = engine.vlc.plays;
    appear(readyQueue({ film }, 0, true));
    EXPECT_EQ(engine.vlc.plays, vlcPlays + 1);
    EXPECT_EQ(engine.vlc.media.size(), 1);

    // An engine in error loads the item again.
    platform.fail();
    engine.vlc.state = VlcPlayer::State::error;
    advance(PlayerEngine::kTickMs);
    ASSERT_TRUE(player.hasError());
    appear(readyQueue({ film }, 0, true));
    EXPECT_EQ(engine.vlc.media.size(), 2);
}

struct ResumeCase {
    const char *name;
    bool live;
    bool resume;
    QList<double> seeks;
    std::optional<QString> toast;
};

using PlayerResume = PlayerTable<ResumeCase>;

TEST_P(PlayerResume, StartsAtTheSavedPointOnlyWhenAskedAndNotLive)
{
    const ResumeCase &row = GetParam();
    const QueueSource source { .live = row.live, .count = 3 };
    env.prefs->saveResume(source.at(1).key, 754, 3600);
    appear(source.queue(1, row.resume));
    platform.becomeReady(3600);
    EXPECT_EQ(seekPositions(platform), row.seeks);
    EXPECT_EQ(env.state->toast(), row.toast);
    EXPECT_EQ(player.itemKey(), source.at(1).key);
}

INSTANTIATE_TEST_SUITE_P(Table, PlayerResume,
    ::testing::Values(ResumeCase { "movie with resume", false, true, { 754 }, u"Resumed at 12:34"_qs },
        ResumeCase { "movie without resume", false, false, {}, std::nullopt },
        ResumeCase { "live never resumes", true, true, {}, std::nullopt }));

TEST_F(PlayerScreenTest, AppearClampsTheStartRunsOnceAndPlaysNothingForAnEmptyQueue)
{
    appear(QueueSource { .count = 3 }.queue(99));
    EXPECT_EQ(screen->index(), 2);
    screen->layerChanged(true, true);
    EXPECT_EQ(platform.loads.size(), 1);

    appear(QueueSource { .count = 0 }.queue(0));
    EXPECT_FALSE(screen->hasItem());
    EXPECT_EQ(platform.loads.size(), 1);
    EXPECT_EQ(screen->queueList()->channels()->rowCount(), 0);
}

struct LeaveCase {
    const char *name;
    bool live;
    bool takenOver; // a screen below holds the engine when the player leaves
};

using PlayerLeave = PlayerTable<LeaveCase>;

TEST_P(PlayerLeave, StopsAndSavesUnlessAScreenBelowTookTheItemOver)
{
    const LeaveCase &row = GetParam();
    const QueueSource source { .live = row.live, .count = 2 };
    appear(source.queue(0));
    ready(row.live ? 0 : 3600, 300);
    advance(PlayerChrome::kHideMs);
    ASSERT_TRUE(cursorHidden());
    const auto saves = engine.host->saves.size();
    const QObject below;
    if (row.takenOver)
        player.hold(&below);
    env.state->pop();
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    EXPECT_EQ(player.hasItem(), row.takenOver);
    if (!row.live)
        EXPECT_EQ(engine.host->saves.mid(saves), (QList<FakeHost::Save> { { source.at(0).key, 300, 3600 } }));
    // The road runs once; timers left behind do nothing.
    advance(PlayerChrome::kClockMs);
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

INSTANTIATE_TEST_SUITE_P(Table, PlayerLeave,
    ::testing::Values(LeaveCase { "live item taken over", true, true },
        LeaveCase { "live item", true, false }, LeaveCase { "movie", false, false }));

TEST_F(PlayerScreenTest, PictureModeCyclesAndTheNewestToastStaysItsFullTime)
{
    appear(QueueSource { .count = 1 }.queue(0));
    EXPECT_EQ(screen->picture()->label(), "Stretch");
    press(*screen, "a");
    EXPECT_EQ(env.prefs->aspectMode(), PictureMode::fit);
    EXPECT_EQ(screen->picture()->toast(), u"Fit"_qs);
    advance(600);
    press(*screen, "a");
    EXPECT_EQ(screen->picture()->toast(), u"Zoom"_qs);
    advance(PlayerPictureMode::kToastMs - 1);
    EXPECT_EQ(screen->picture()->toast(), u"Zoom"_qs);
    advance(1);
    EXPECT_FALSE(screen->picture()->toast().has_value());
    press(*screen, "a");
    EXPECT_EQ(env.prefs->aspectMode(), PictureMode::stretch);
    EXPECT_EQ(screen->picture()->label(), "Stretch");
}

TEST_F(PlayerScreenTest, ClockTicksEveryFifteenSecondsWhileShown)
{
    appear(QueueSource { .count = 1 }.queue(0));
    QSignalSpy ticks(screen->chrome(), &PlayerChrome::clockChanged);
    advance(3 * PlayerChrome::kClockMs);
    EXPECT_EQ(ticks.count(), 3);
    EXPECT_FALSE(screen->chrome()->clockText().isEmpty());
}

// The parts the views bind to announce every change of what they show, whatever caused it.
TEST_F(PlayerScreenTest, PartsAnnounceWhatTheViewsRead)
{
    appear(QueueSource { .count = 2 }.queue(0));
    QSignalSpy seekRow(screen->seek(), &PlayerSeek::changed);
    QSignalSpy menus(screen->tracks(), &PlayerTracks::menusChanged);
    QSignalSpy mode(screen->picture(), &PlayerPictureMode::modeChanged);
    QSignalSpy shown(screen->chrome(), &PlayerChrome::shownChanged);
    QSignalSpy listShown(screen->queueList(), &PlayerQueueList::shownChanged);
    QSignalSpy listFocus(screen->queueList(), &PlayerQueueList::focusRowChanged);

    ready(3600, 900);
    EXPECT_EQ(screen->seek()->elapsedText(), "15:00");
    EXPECT_GE(seekRow.count(), 2) << "duration and position";
    platform.deliverTracks(
        { QList<TrackOption> { { 0, "English" }, { 1, "French" } }, QList<TrackOption> {} });
    EXPECT_EQ(screen->tracks()->audioMenu().size(), 2);
    EXPECT_EQ(menus.count(), 1);
    env.prefs->setAspectMode(PictureMode::zoom);
    EXPECT_EQ(screen->picture()->mode(), 2);
    EXPECT_EQ(mode.count(), 1);

    screen->toggleList();
    press(*screen, "D");
    EXPECT_EQ(std::make_pair(screen->chrome()->shown(), int(shown.count())), std::make_pair(false, 1));
    EXPECT_EQ(std::make_pair(screen->queueList()->shown(), int(listShown.count())), std::make_pair(true, 1));
    EXPECT_EQ(std::make_pair(screen->queueList()->focusRow(), int(listFocus.count())), std::make_pair(1, 1));
    platform.fail();
    engine.vlc.state = VlcPlayer::State::error;
    advance(PlayerEngine::kTickMs);
    ASSERT_TRUE(screen->hasError());
    EXPECT_EQ(std::make_pair(screen->chrome()->shown(), int(shown.count())), std::make_pair(true, 2));
}

struct PresenceCase {
    const char *name;
    bool live;
    int count;
    bool ready;
    int audioTracks;
    int subtitleTracks;
    Row row;
};

using PlayerControlRow = PlayerTable<PresenceCase>;

TEST_P(PlayerControlRow, ShowsTheElementsItsStateAllows)
{
    const PresenceCase &row = GetParam();
    appear(QueueSource { .live = row.live, .count = row.count }.queue(0));
    if (row.ready) {
        ready(row.live ? 0 : 3600);
        PlatformPlayer::Tracks tracks;
        tracks.audio = QList<TrackOption> {};
        tracks.subtitles = QList<TrackOption> {};
        for (int i = 0; i < row.audioTracks; ++i)
            tracks.audio->append({ i, u"Audio %1"_qs.arg(i) });
        for (int i = 0; i < row.subtitleTracks; ++i)
            tracks.subtitles->append({ i, u"Sub %1"_qs.arg(i) });
        platform.deliverTracks(tracks);
    }
    EXPECT_EQ(screen->controlRow(), row.row);
    EXPECT_EQ(screen->tracks()->audioMenu().size(), row.row.audioMenu ? row.audioTracks : 0);
    EXPECT_EQ(screen->tracks()->subtitleMenu().size(), row.row.subtitleMenu ? row.subtitleTracks + 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, PlayerControlRow,
    ::testing::Values(PresenceCase { "one-item movie", false, 1, true, 0, 0, Row { .skipTen = true } },
        PresenceCase { "live channel of 20", true, 20, true, 0, 0,
            Row { .previousNext = true, .liveBadge = true, .listButton = true, .favorite = true } },
        PresenceCase { "one audio track, one subtitle", false, 1, true, 1, 1,
            Row { .skipTen = true, .subtitleMenu = true } },
        PresenceCase { "two audio tracks", false, 2, true, 2, 0,
            Row { .previousNext = true, .skipTen = true, .audioMenu = true, .listButton = true } },
        PresenceCase {
            "movie still loading", false, 2, false, 0, 0, Row { .previousNext = true, .listButton = true } },
        PresenceCase { "empty queue", true, 0, false, 0, 0, Row {} }));

TEST_F(PlayerScreenTest, PlayPauseFollowsTheEngineAndBufferingCountsAsPlaying)
{
    appear(QueueSource { .count = 1 }.queue(0));
    EXPECT_TRUE(screen->spinnerShown());
    EXPECT_EQ(screen->playPauseIcon(), "pause.fill");
    ready(3600);
    EXPECT_EQ(screen->playPauseIcon(), "pause.fill");
    platform.setControl(PlatformPlayer::TimeControl::paused);
    EXPECT_EQ(screen->playPauseIcon(), "play.fill");
    EXPECT_FALSE(screen->spinnerShown());
    const int plays = platform.plays;
    screen->togglePause();
    EXPECT_EQ(platform.plays, plays + 1);
}

TEST_F(PlayerScreenTest, TrackMenusSelectTheChosenOptionOrSubtitlesOff)
{
    appear(QueueSource { .count = 1 }.queue(0));
    ready(3600);
    platform.deliverTracks(
        { QList<TrackOption> { { 0, "English" }, { 1, "French" } }, QList<TrackOption> { { 4, "Dutch" } } });
    EXPECT_EQ(screen->tracks()->subtitleMenu(), QStringList({ "Off", "Dutch" }));
    screen->tracks()->chooseTrack(true, 1);
    screen->tracks()->chooseTrack(false, 1);
    screen->tracks()->chooseTrack(false, 0);
    screen->tracks()->chooseTrack(true, 5);
    using Selection = std::pair<std::optional<int>, bool>;
    EXPECT_EQ(platform.selections, (QList<Selection> { { 1, true }, { 4, false }, { std::nullopt, false } }));
}

struct ScrubCase {
    const char *name;
    QList<double> dragTo; // pointer positions in a bar 1000 wide
    double width;
    double shown;
    double seek;
};

using PlayerScrub = PlayerTable<ScrubCase>;

TEST_P(PlayerScrub, DragShowsTheTimeAndSeeksOnceAtRelease)
{
    const ScrubCase &row = GetParam();
    appear(QueueSource { .count = 1 }.queue(0));
    ready(3600, 100);
    platform.seeks.clear();
    for (double x : row.dragTo)
        screen->seek()->scrubChanged(x, row.width);
    EXPECT_DOUBLE_EQ(screen->seek()->shownPosition(), row.shown);
    EXPECT_DOUBLE_EQ(player.position(), 100);
    EXPECT_TRUE(platform.seeks.isEmpty());
    screen->seek()->scrubEnded();
    screen->seek()->scrubEnded();
    EXPECT_EQ(seekPositions(platform), QList<double> { row.seek });
    EXPECT_FALSE(screen->seek()->scrubbing());
}

INSTANTIATE_TEST_SUITE_P(Table, PlayerScrub,
    ::testing::Values(ScrubCase { "click at the middle", { 500 }, 1000, 1800, 1800 },
        ScrubCase { "drag past the end", { 400, 900, 1300 }, 1000, 3600, 3599 },
        ScrubCase { "drag before the start", { 300, -40 }, 1000, 0, 0 },
        ScrubCase { "bar without width", { 0 }, 0, 0, 0 }));

TEST_F(PlayerScreenTest, SeekRowTextsAndTotalNeverDivideByZero)
{
    appear(QueueSource { .count = 1 }.queue(0));
    EXPECT_DOUBLE_EQ(screen->seek()->total(), 1);
    ready(3600, 900);
    EXPECT_EQ(screen->seek()->elapsedText(), "15:00");
    EXPECT_EQ(screen->seek()->durationText(), "1:00:00");
    EXPECT_DOUBLE_EQ(screen->seek()->fraction(), 0.25);
    screen->seek()->scrubChanged(750, 1000);
    EXPECT_EQ(screen->seek()->elapsedText(), "45:00");
}

TEST_F(PlayerScreenTest, RetryAfterLibVlcGaveUpReopensTheWholeLadder)
{
    PlayItem film = QueueSource { .count = 1 }.at(0);
    film.fallbackUrl = QStringLiteral("http://127.0.0.1:9/fallback.mp4");
    appear(readyQueue({ film }, 0, false));
    platform.fail();
    platform.fail();
    ASSERT_TRUE(player.usesVLC());
    engine.vlc.state = VlcPlayer::State::error;
    advance(PlayerEngine::kTickMs);
    ASSERT_EQ(screen->errorText(), "text of perr_unavailable");
    const auto loads = platform.loads.size();

    screen->retry();
    EXPECT_FALSE(screen->hasError());
    EXPECT_TRUE(screen->spinnerShown());
    EXPECT_FALSE(player.usesVLC());
    ASSERT_EQ(platform.loads.size(), loads + 1);
    EXPECT_EQ(platform.loads.last().url.toString(), film.url);
    platform.fail();
    EXPECT_EQ(platform.loads.last().url.toString(), *film.fallbackUrl);
    platform.fail();
    EXPECT_TRUE(player.usesVLC());
    EXPECT_EQ(engine.vlc.media.size(), 2);
}

TEST_F(PlayerScreenTest, FavouriteToggleShowsItsToastAndTheHeartFollows)
{
    appear(QueueSource { .live = true, .count = 3 }.queue(1));
    QSignalSpy hearts(screen.get(), &PlayerScreenModel::favoriteChanged);
    EXPECT_FALSE(screen->isFavorite());
    press(*screen, "h");
    EXPECT_TRUE(screen->isFavorite());
    EXPECT_EQ(env.state->toast(), u"Added to favorites"_qs);
    screen->toggleFavorite();
    EXPECT_FALSE(screen->isFavorite());
    EXPECT_EQ(env.state->toast(), u"Removed from favorites"_qs);
    EXPECT_EQ(hearts.count(), 2);

    appear(QueueSource { .count = 3 }.queue(1));
    EXPECT_TRUE(press(*screen, "h"));
    EXPECT_TRUE(env.prefs->favorites().isEmpty());
}

// What the view reads follows the item: opening on the channel the preview already plays,
// zapping from a favourite to another channel and toggling the heart each announce every
// property they change.
TEST_F(PlayerScreenTest, EveryPropertyAnnouncesItsChangesAsTheItemChanges)
{
    const QueueSource channels { .live = true, .count = 3 };
    env.prefs->toggleFavorite(*channels.at(1).favorite);
    engine.engine->play(channels.at(1));
    ready(0);
    open(channels.queue(1), Routes::Live {});
    EXPECT_TRUE(notifiesEveryChange(screen.get(), [&] { showAsLayerWould(*screen, *env.state); }));
    ASSERT_TRUE(screen->liveBadge());
    ASSERT_TRUE(screen->isFavorite());

    EXPECT_TRUE(notifiesEveryChange(screen.get(), [&] { press(*screen, "D"); }));
    EXPECT_FALSE(screen->isFavorite());
    EXPECT_TRUE(notifiesEveryChange(screen.get(), [&] { press(*screen, "h"); }));
    EXPECT_EQ(env.state->toast(), u"Added to favorites"_qs);
    EXPECT_TRUE(notifiesEveryChange(screen.get(), [&] { ready(0); }));
    EXPECT_TRUE(notifiesEveryChange(screen.get(), [&] { screen->toggleList(); }));
    EXPECT_TRUE(notifiesEveryChange(screen.get(), [&] { screen->queueList()->select(0); }));
}

// While the controls show, subtitles are lifted over the part of the picture they cover; they
// go back when the overlay hides and when the player leaves.
TEST_F(PlayerScreenTest, SubtitlesClearTheControlsWhileTheyShow)
{
    appear(QueueSource { .count = 1 }.queue(0));
    PlayerSubtitleLift &subtitles = *screen->subtitles();
    subtitles.setPicture(QRectF(0, 60, 1280, 600));
    subtitles.setControlsTop(540);
    EXPECT_DOUBLE_EQ(platform.subtitleLift, 0.2);
    subtitles.setControlsTop(700);
    EXPECT_EQ(platform.subtitleLift, 0) << "controls below the picture";
    subtitles.setControlsTop(540);
    advance(PlayerChrome::kHideMs);
    EXPECT_EQ(platform.subtitleLift, 0);
    press(*screen, "x");
    EXPECT_DOUBLE_EQ(platform.subtitleLift, 0.2);
    env.state->pop();
    EXPECT_EQ(platform.subtitleLift, 0);
}

// The side list's played row keeps its fill when the engine fails; only its bars go, until a retry.
TEST_F(PlayerScreenTest, AFailedChannelLosesItsBarsInTheSideListUntilRetried)
{
    appear(QueueSource { .live = true, .count = 3 }.queue(1));
    PlayQueueModel &rows = *screen->queueList()->channels();
    const auto role = [&](int role) { return rows.data(rows.index(1), role).toBool(); };
    QSignalSpy changes(&rows, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(role(PlayQueueModel::EqualizerRole));
    // The live ladder reconnects a few times before it gives up.
    for (int attempt = 0; attempt < PlayerEngine::kMaxRetries + 2 && !player.hasError(); ++attempt) {
        EXPECT_TRUE(role(PlayQueueModel::EqualizerRole)) << "still trying, attempt " << attempt;
        platform.fail();
        advance(PlayerEngine::kMaxRetries * PlayerEngine::kRetryStepMs);
    }
    ASSERT_TRUE(player.hasError());
    EXPECT_FALSE(role(PlayQueueModel::EqualizerRole));
    EXPECT_TRUE(role(PlayQueueModel::PlayingRole));
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_TRUE(changes.last().at(2).value<QList<int>>().contains(PlayQueueModel::EqualizerRole));
    screen->retry();
    EXPECT_TRUE(role(PlayQueueModel::EqualizerRole));
}

TEST_F(PlayerScreenTest, ChannelListOpensOnThePlayedRowAndClicksZapWithTheListOpen)
{
    const QueueSource source { .live = true, .count = 120 };
    appear(source.queue(57));
    PlayQueueModel &rows = *screen->queueList()->channels();
    QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy scrolls(screen->queueList(), &PlayerQueueList::scrollRequested);
    screen->toggleList();
    EXPECT_TRUE(screen->queueList()->shown());
    press(*screen, "DD");
    EXPECT_EQ(screen->index(), 57);
    screen->queueList()->select(12);
    EXPECT_TRUE(screen->queueList()->shown());
    EXPECT_EQ(player.itemKey(), source.at(12).key);
    QList<int> scrolled;
    for (const auto &args : scrolls)
        scrolled.append(args.at(0).toInt());
    EXPECT_EQ(scrolled, QList<int>({ 57, 58, 59 }));

    const auto role = [&](int row, int role) { return rows.data(rows.index(row), role); };
    EXPECT_EQ(role(12, PlayQueueModel::PlayingRole), true);
    EXPECT_EQ(role(12, PlayQueueModel::FocusedRole), true);
    EXPECT_EQ(role(57, PlayQueueModel::PlayingRole), false);
    EXPECT_EQ(role(3, PlayQueueModel::NumberRole).toInt(), 103);
    EXPECT_EQ(role(3, PlayQueueModel::TitleRole).toString(), "e3");
    screen->toggleList();
    EXPECT_FALSE(screen->queueList()->shown());
}

TEST(PlayQueueModel, NumbersUnnumberedEntriesByPositionAndReadsOnlyTheRowsAsked)
{
    QueueSource source { .count = 200000 };
    PlayQueueModel rows(source.queue(0));
    EXPECT_EQ(rows.rowCount(), 200000);
    EXPECT_EQ(*source.reads, 0);
    EXPECT_EQ(rows.data(rows.index(0), PlayQueueModel::NumberRole).toInt(), 1);
    EXPECT_EQ(rows.data(rows.index(0), PlayQueueModel::TitleRole).toString(), "e0");
    EXPECT_EQ(rows.data(rows.index(150000), PlayQueueModel::NumberRole).toInt(), 150001);
    EXPECT_EQ(*source.reads, 3);
    EXPECT_FALSE(rows.itemAt(200000).has_value());
}

// Rows over list entries show the entries' own fields; an item is built only to be played.
TEST(PlayQueueModel, ListEntryRowsShowTheEntryAndBuildNoItem)
{
    const auto entries = std::make_shared<const MediaItems>(
        MediaItems { { .id = u"a"_qs, .name = u"Alpha"_qs, .logo = u"http://l/a.png"_qs, .num = 7 },
            { .id = u"b"_qs, .name = u"Beta"_qs }, { .id = u"c"_qs, .name = u"Gamma"_qs, .num = 3 } });
    const Playlist playlist { .id = 4, .url = u"http://127.0.0.1:9/list.m3u"_qs };
    const auto rows = std::make_shared<const PlaylistRows>(playlist, entries, std::vector<qint32> { 2, 1 });
    PlayQueueModel model(PlayQueue { rows, 0, true });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model.rowCount(), 2);
    const auto shown = [&](int row) {
        const QModelIndex at = model.index(row);
        return std::make_tuple(model.data(at, PlayQueueModel::TitleRole).toString(),
            model.data(at, PlayQueueModel::LogoRole).toString(),
            model.data(at, PlayQueueModel::NumberRole).toInt());
    };
    EXPECT_EQ(shown(0), std::make_tuple(u"Gamma"_qs, QString(), 3));
    EXPECT_EQ(shown(1), std::make_tuple(u"Beta"_qs, QString(), 2));
    EXPECT_EQ(rows->media(0), entries->at(2));
    EXPECT_EQ(model.itemAt(1), PlayItems::forItem(entries->at(1), playlist));
    EXPECT_FALSE(model.itemAt(2).has_value());

    PlayQueueModel all(PlayQueue { std::make_shared<const PlaylistRows>(playlist, entries), 0, true });
    EXPECT_EQ(all.rowCount(), 3);
    EXPECT_EQ(all.data(all.index(0), PlayQueueModel::LogoRole).toString(), u"http://l/a.png"_qs);
    EXPECT_EQ(all.data(all.index(0), PlayQueueModel::NumberRole).toInt(), 7);
}

} // namespace
