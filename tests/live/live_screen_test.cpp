#include "LiveScreenRig.h"
#include "NotifyAudit.h"
#include "RunTask.h"
#include "kit/SectionLookups.h"
#include "model/ContentKeys.h"
#include "playback/PlayerScreenModel.h"
#include "sources/PlayItems.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class LiveScreenTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.loaded()); }

    int rowWithCatchup() const
    {
        for (int row = 0; row < rig.lists().count(); ++row) {
            if (rig.lists().channelAt(row)->catchup)
                return row;
        }
        return -1;
    }

    LiveScreenRig rig;
    LiveScreenModel &screen = *rig.screen;
};

TEST_F(LiveScreenTest, KeysMoveTheFocusAcrossBothColumns)
{
    struct Case {
        const char *keys;
        int pane;
        int chanFocus; // -2: the last row
        int catFocus;
        bool used;
    };
    const QList<Case> cases {
        { "D", 1, 0, 2, true },
        { "DD", 1, 1, 2, true },
        { "DDU", 1, 0, 2, true },
        { "]", 1, 0, 2, true },
        { "D]", 1, 10, 2, true },
        { "D]]", 1, -2, 2, true },
        { "D><", 1, 0, 2, true },
        { "L", 0, -1, 2, true },
        { "LD", 0, 0, 3, true },
        { "LU", 0, -1, 1, true },
        { "LR", 1, 0, 2, true },
        { "T", 0, -1, 2, true },
        { "TT", 1, -1, 2, true },
        { "LE", 1, 0, 2, true },
        { "X", 1, -1, 2, false },
        { "S", 1, -1, 2, false },
        { "q", 1, -1, 2, false },
        { "c", 1, -1, 2, true },
        { "h", 1, -1, 2, true },
    };
    for (const Case &c : cases) {
        LiveScreenRig fresh;
        ASSERT_TRUE(fresh.loaded());
        EXPECT_EQ(press(*fresh.screen, c.keys), c.used) << c.keys;
        const LiveLists &lists = fresh.lists();
        EXPECT_EQ(lists.pane, c.pane) << c.keys;
        EXPECT_EQ(lists.chanFocus, c.chanFocus == -2 ? lists.count() - 1 : c.chanFocus) << c.keys;
        EXPECT_EQ(lists.catFocus, c.catFocus) << c.keys;
        EXPECT_EQ(lists.selectedCat(), lists.categories()[c.catFocus].id) << c.keys;
        EXPECT_TRUE(fresh.app.prefs->favorites().isEmpty()) << c.keys;
        EXPECT_EQ(fresh.route(), "live") << c.keys;
    }
}

// Channels whose lookups were prepared, as home prepares them, are on the screen as it is
// made, before its view draws; a section loaded anew still shows once its lookups are built.
TEST_F(LiveScreenTest, PreparedChannelsShowAsTheScreenIsMade)
{
    Catalog catalog(&rig.app.http.http(), &rig.engine.clock, [] { return u"Uncategorized"_qs; });
    const SectionPtr section = runTask(catalog.load(rig.playlist(), ContentType::live, false));
    SectionLookups::prepare(section);
    runTask(SectionLookups::of(section));
    const auto prepared = liveScreenOver(rig.app, catalog, rig.engine);
    EXPECT_TRUE(prepared->loaded());
    EXPECT_EQ(prepared->channels()->count(), section->all.size());

    Catalog fresh(&rig.app.http.http(), &rig.engine.clock, [] { return u"Uncategorized"_qs; });
    const auto later = liveScreenOver(rig.app, fresh, rig.engine);
    EXPECT_FALSE(later->loaded());
    EXPECT_TRUE(QTest::qWaitFor([&] { return later->loaded(); }, 5000));
    EXPECT_EQ(later->channels()->count(), section->all.size());
}

TEST_F(LiveScreenTest, FirstEnterPreviewsSecondOpensFullScreenWithoutReloading)
{
    press(screen, "DE");
    ASSERT_TRUE(screen.preview());
    EXPECT_EQ(screen.preview()->uid, rig.lists().channelAt(0)->uid);
    EXPECT_EQ(rig.engine.engine->itemKey(), rig.keyAt(0));
    EXPECT_EQ(rig.app.prefs->recentLive().value(0), rig.keyAt(0));
    EXPECT_EQ(rig.loads(), 1);
    EXPECT_EQ(rig.route(), "live");

    press(screen, "E");
    ASSERT_EQ(rig.route(), "player");
    const PlayQueue &queue = rig.topQueue();
    EXPECT_EQ(queue.count(), rig.lists().count());
    EXPECT_EQ(queue.start, 0);
    EXPECT_TRUE(queue.resume);
    EXPECT_EQ(queue.get(1)->key, rig.keyAt(1));
    EXPECT_EQ(rig.loads(), 1) << "the player goes on with the preview";
}

// The previewed channel keeps its fill when the engine fails; only its bars go, until a retry.
TEST_F(LiveScreenTest, AFailedChannelLosesItsPlayingBarsUntilRetried)
{
    ContentListModel &rows = *screen.channels();
    const auto bars = [&] { return rows.data(rows.index(0), ContentListModel::EqualizerRole).toBool(); };
    QSignalSpy changes(&rows, &QAbstractItemModel::dataChanged);
    press(screen, "DE");
    EXPECT_TRUE(bars());
    // The fallback address and every reconnection fail too, until the engine gives up.
    for (int attempt = 0; attempt < PlayerEngine::kMaxRetries + 2; ++attempt) {
        EXPECT_TRUE(bars()) << "still trying, attempt " << attempt;
        rig.engine.platform->fail();
        rig.engine.clock.advance(PlayerEngine::kMaxRetries * PlayerEngine::kRetryStepMs);
    }
    ASSERT_TRUE(rig.engine.engine->hasError());
    EXPECT_FALSE(bars());
    EXPECT_TRUE(rows.data(rows.index(0), ContentListModel::PlayingRole).toBool());
    const qsizetype announced = changes.count();
    rig.engine.engine->retry();
    EXPECT_TRUE(bars());
    EXPECT_GT(changes.count(), announced);
}

// Every property the view reads announces its change, whatever the step.
TEST_F(LiveScreenTest, PropertiesAnnounceEveryChangeOfTheMainActions)
{
    const std::pair<const char *, std::function<void()>> steps[] {
        { "preview", [&] { press(screen, "DE"); } },
        { "favourite", [&] { press(screen, "h"); } },
        { "move", [&] { press(screen, "DD"); } },
        { "zap the preview", [&] { press(screen, "E"); } },
        { "filter", [&] { screen.setFilter(u"o"_qs); } },
        { "category", [&] { press(screen, "LD"); } },
    };
    for (const auto &[name, step] : steps)
        EXPECT_TRUE(notifiesEveryChange(&screen, step)) << name;
}

TEST_F(LiveScreenTest, EnterOnThePreviewedChannelRestartsItWhenTheEngineHoldsNothing)
{
    press(screen, "DE");
    rig.engine.engine->stop();
    press(screen, "E");
    EXPECT_EQ(rig.route(), "live");
    EXPECT_EQ(rig.loads(), 2);
    EXPECT_EQ(rig.engine.engine->itemKey(), rig.keyAt(0));
}

TEST_F(LiveScreenTest, DoubleClickOpensFullScreenAtOnceOverASnapshotOfTheList)
{
    screen.setFilter(" o ");
    const int listed = rig.lists().count();
    ASSERT_GT(listed, 1);
    screen.doubleClickChannel(1);
    ASSERT_EQ(rig.route(), "player");
    EXPECT_EQ(rig.lists().chanFocus, 1);
    EXPECT_EQ(screen.preview()->uid, rig.lists().channelAt(1)->uid);
    EXPECT_EQ(rig.loads(), 0);
    screen.setFilter("");
    EXPECT_EQ(rig.topQueue().count(), listed);
    EXPECT_EQ(rig.topQueue().start, 1);
}

TEST_F(LiveScreenTest, PreviewClickOpensTheChannelAloneOnceItIsFilteredOut)
{
    press(screen, "DE");
    const QString key = rig.keyAt(0);
    screen.setFilter("no channel is named so");
    screen.openPreviewFullScreen();
    ASSERT_EQ(rig.route(), "player");
    EXPECT_EQ(rig.topQueue().count(), 1);
    EXPECT_EQ(rig.topQueue().get(0)->key, key);
    EXPECT_TRUE(rig.topQueue().resume);
}

// The player opened over the list leaves its live channel playing, and the list follows it.
TEST_F(LiveScreenTest, ComingBackTakesOverTheChannelZappedToInThePlayer)
{
    press(screen, "DEE");
    ScreenDeps deps = rig.app.screenDeps();
    deps.playback = rig.engine.engine.get();
    deps.clock = &rig.engine.clock;
    PlayerScreenModel player(deps, rig.app.topEntry());
    showAsLayerWould(player, *rig.app.state);
    player.zap(3);
    ASSERT_EQ(rig.engine.engine->itemKey(), rig.keyAt(3));
    QSignalSpy scrolls(&screen, &LiveScreenModel::channelScrollRequested);
    rig.app.state->pop();
    EXPECT_EQ(rig.engine.engine->itemKey(), rig.keyAt(3)) << "the channel plays on";
    EXPECT_EQ(screen.preview()->uid, rig.lists().channelAt(3)->uid);
    EXPECT_EQ(rig.lists().chanFocus, 3);
    ASSERT_EQ(scrolls.size(), 1);
    EXPECT_EQ(scrolls.first().first().toInt(), 3);
}

TEST_F(LiveScreenTest, CatchUpStopsThePreviewAndComingBackPlaysItAgain)
{
    const int row = rowWithCatchup();
    ASSERT_GE(row, 0);
    screen.clickChannel(row);
    EXPECT_TRUE(press(screen, "c"));
    EXPECT_EQ(rig.route(), "catchup");
    EXPECT_FALSE(rig.engine.engine->hasItem());
    rig.app.state->pop();
    EXPECT_EQ(rig.engine.engine->itemKey(), rig.keyAt(row));
    EXPECT_EQ(rig.loads(), 2);
}

// A screen made ahead and dropped unopened leaves the channel playing; the opened one ends it
// as it goes.
TEST_F(LiveScreenTest, OnlyAnOpenedScreenEndsPlaybackAsItGoes)
{
    screen.clickChannel(0);
    ASSERT_TRUE(rig.engine.engine->hasItem());
    std::make_unique<LiveScreenModel>(
        liveDeps(rig.app, *rig.catalog, rig.engine), RouteEntry::fresh(Routes::Live {}))
        .reset();
    EXPECT_TRUE(rig.engine.engine->hasItem());
    rig.screen.reset();
    EXPECT_FALSE(rig.engine.engine->hasItem());
}

TEST_F(LiveScreenTest, HeartKeyTogglesTheFocusedChannelFromEitherPane)
{
    press(screen, "DL");
    EXPECT_TRUE(press(screen, "h"));
    ASSERT_EQ(rig.app.prefs->favorites().size(), 1);
    EXPECT_EQ(rig.app.prefs->favorites().first().id, rig.lists().channelAt(0)->id);
    EXPECT_EQ(rig.app.state->toast(), "Added to favorites");
    EXPECT_EQ(rig.lists().categories()[1].count, 1);
    EXPECT_EQ(rig.screen->channels()
                  ->data(rig.screen->channels()->index(0), ContentListModel::FavoriteRole)
                  .toBool(),
        true);
    press(screen, "h");
    EXPECT_TRUE(rig.app.prefs->favorites().isEmpty());
    EXPECT_EQ(rig.app.state->toast(), "Removed from favorites");
}

TEST_F(LiveScreenTest, SpaceIsUsedOnlyWhileTheEngineHoldsAnItem)
{
    EXPECT_FALSE(press(screen, "S"));
    press(screen, "DE");
    const int before = rig.engine.platform->plays + rig.engine.platform->pauses;
    EXPECT_TRUE(press(screen, "S"));
    EXPECT_EQ(rig.engine.platform->plays + rig.engine.platform->pauses, before + 1);
}

TEST_F(LiveScreenTest, PreviewTilesWithoutAPreviewAnswerWithTheHint)
{
    screen.previewCatchUp();
    EXPECT_EQ(rig.app.state->toast(), "Select a channel to preview it here");
    screen.previewToggleFavorite();
    EXPECT_TRUE(rig.app.prefs->favorites().isEmpty());
    const int plain = [&] {
        for (int row = 0; row < rig.lists().count(); ++row) {
            if (!rig.lists().channelAt(row)->catchup)
                return row;
        }
        return -1;
    }();
    ASSERT_GE(plain, 0);
    screen.clickChannel(plain);
    screen.previewCatchUp();
    EXPECT_EQ(rig.app.state->toast(), "Catch up not available for this channel");
    EXPECT_EQ(screen.previewArchive(), "");
    screen.previewToggleFavorite();
    EXPECT_TRUE(screen.previewFavorite());
}

} // namespace

namespace {

TEST(LiveScreenLoad, AFailedLoadShowsItsMessageAndRetryLoadsAgain)
{
    AppStateFixture app;
    app.cacheDevice(AppStateFixture::device({ 5 }));
    app.makeState({ Routes::Home {}, Routes::Live {} });
    EngineRig engine;
    Catalog catalog(&app.http.http(), &engine.clock, [] { return u"Uncategorized"_qs; });
    const auto screen = liveScreenOver(app, catalog, engine);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->error().isEmpty(); }, 10000));
    EXPECT_FALSE(screen->loaded());
    EXPECT_FALSE(press(*screen, "D")) << "no key is used without a section";
    screen->requestReload();
    EXPECT_TRUE(screen->error().isEmpty()) << "a retry drops the message while it loads";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !screen->error().isEmpty(); }, 10000));
}

// The channels load from the moment the screen is made, not once its view has been made.
TEST(LiveScreenLoad, ChannelsLoadBeforeTheViewAppears)
{
    DevPortal portal { DevPortalOptions { .port = 0, .playlists = 1 }, DemoMedia {} };
    AppStateFixture app;
    app.cacheDevice(portal.deviceRecord(u"00:1a:79:00:00:01"_qs));
    app.makeState({ Routes::Home {}, Routes::Live {} });
    EngineRig engine;
    Catalog catalog(&app.http.http(), &engine.clock, [] { return u"Uncategorized"_qs; });
    ScreenDeps deps = app.screenDeps();
    deps.catalog = &catalog;
    deps.playback = engine.engine.get();
    deps.clock = &engine.clock;
    LiveScreenModel screen(deps, app.topEntry());
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.loaded(); }, 5000));
    EXPECT_GT(screen.channels()->count(), 0);
}

TEST(LiveScreenLoad, WithoutAnActivePlaylistTheAppStartsOver)
{
    AppStateFixture app;
    app.makeState({ Routes::Home {}, Routes::Live {} });
    EngineRig engine;
    Catalog catalog(&app.http.http(), &engine.clock, [] { return u"Uncategorized"_qs; });
    const auto screen = liveScreenOver(app, catalog, engine);
    EXPECT_FALSE(screen->hasPlaylist());
    EXPECT_EQ(app.state->stack().size(), 1);
    EXPECT_EQ(app.route(), "activation");
}

} // namespace

namespace {

TEST_F(LiveScreenTest, FullScreenFromTheRecentListStartsAtTheChosenChannel)
{
    screen.clickChannel(0);
    screen.clickChannel(1);
    rig.app.state->replace(Routes::Live {});
    press(screen, "LUU");
    ASSERT_EQ(rig.lists().selectedCat(), "__recent__");
    const QString older = rig.keyAt(1);
    screen.doubleClickChannel(1);
    ASSERT_EQ(rig.route(), "player");
    EXPECT_EQ(rig.topQueue().get(rig.topQueue().start)->key, older);
    EXPECT_EQ(rig.keyAt(0), older) << "the channel then heads the recent list";
    EXPECT_EQ(rig.lists().chanFocus, 0) << "and the focus goes with it";
}

} // namespace
