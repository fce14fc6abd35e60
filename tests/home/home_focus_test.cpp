#include "HomeFixture.h"
#include "LayerStandIn.h"
#include "app/ChoiceDialog.h"
#include "home/HomeFocus.h"
#include "home/HomeScreenModel.h"

namespace {

struct Step {
    const char *from;
    char key; // U D L R
    int recents;
    const char *to;
};

Key::Kind kindOf(char key)
{
    return keys(QByteArray(1, key).constData()).first().kind;
}

// Every row of the graph: the tiles, the actions and the cards, with and without cards.
TEST(HomeFocusGraph, MovesAsTheTableSays)
{
    const Step steps[] = {
        { "live", 'U', 2, "live" },
        { "live", 'D', 2, "r0" },
        { "live", 'D', 0, "live" },
        { "live", 'L', 2, "live" },
        { "live", 'R', 0, "movies" },
        { "movies", 'U', 0, "movies" },
        { "movies", 'D', 0, "account" },
        { "movies", 'L', 0, "live" },
        { "movies", 'R', 0, "series" },
        { "series", 'U', 0, "series" },
        { "series", 'D', 0, "playlist" },
        { "series", 'L', 0, "movies" },
        { "series", 'R', 0, "search" },
        { "account", 'U', 0, "movies" },
        { "account", 'D', 1, "r0" },
        { "account", 'D', 0, "account" },
        { "account", 'L', 0, "live" },
        { "account", 'R', 0, "playlist" },
        { "playlist", 'U', 0, "series" },
        { "playlist", 'D', 3, "r0" },
        { "playlist", 'D', 0, "playlist" },
        { "playlist", 'L', 0, "account" },
        { "playlist", 'R', 0, "reload" },
        { "search", 'U', 0, "search" },
        { "search", 'D', 0, "fav" },
        { "search", 'L', 0, "series" },
        { "search", 'R', 0, "search" },
        { "fav", 'U', 0, "search" },
        { "fav", 'D', 0, "reload" },
        { "fav", 'L', 0, "series" },
        { "reload", 'U', 2, "fav" },
        { "reload", 'D', 2, "settings" },
        { "reload", 'L', 2, "playlist" },
        { "reload", 'R', 2, "reload" },
        { "settings", 'D', 0, "exit" },
        { "settings", 'L', 0, "playlist" },
        { "exit", 'U', 0, "settings" },
        { "exit", 'D', 0, "exit" },
        { "exit", 'D', 2, "r0" },
        { "exit", 'L', 0, "playlist" },
        { "r0", 'U', 3, "live" },
        { "r2", 'U', 3, "live" },
        { "r1", 'D', 3, "r1" },
        { "r0", 'L', 3, "r0" },
        { "r1", 'L', 3, "r0" },
        { "r0", 'R', 3, "r1" },
        { "r2", 'R', 3, "r2" },
    };
    for (const Step &step : steps) {
        const std::optional<HomeFocus::Spot> to = HomeFocus::move(
            HomeFocus::spotOf(QString::fromLatin1(step.from)), kindOf(step.key), step.recents);
        EXPECT_EQ(to ? HomeFocus::idOf(*to) : u"(none)"_qs, QString::fromLatin1(step.to))
            << step.from << " " << step.key << " " << step.recents;
    }
}

TEST(HomeFocusGraph, NothingFocusedTakesOnlyMovesAndTab)
{
    using HomeFocus::Spot;
    using HomeFocus::Target;
    for (const Key &key : keys("UDLRT"))
        EXPECT_EQ(HomeFocus::move(Spot {}, key.kind, 0), Spot { Target::live });
    for (const Key &key : keys("ESX[]<>q"))
        EXPECT_EQ(HomeFocus::move(Spot {}, key.kind, 0), std::nullopt);
    for (const Key &key : keys("TX[]<>ESq"))
        EXPECT_EQ(HomeFocus::move(Spot { Target::movies }, key.kind, 0), std::nullopt);
}

// The ids the views read and hand back name the same spots; any other text names none.
TEST(HomeFocusGraph, IdsNameTheirSpots)
{
    using HomeFocus::Spot;
    using HomeFocus::Target;
    const std::pair<const char *, Spot> named[] = { { "live", { Target::live } },
        { "movies", { Target::movies } }, { "series", { Target::series } },
        { "account", { Target::account } }, { "playlist", { Target::playlist } },
        { "search", { Target::search } }, { "fav", { Target::fav } }, { "reload", { Target::reload } },
        { "settings", { Target::settings } }, { "exit", { Target::exit } }, { "r0", { Target::card, 0 } },
        { "r12", { Target::card, 12 } }, { "", {} } };
    for (const auto &[id, spot] : named) {
        EXPECT_EQ(HomeFocus::spotOf(QString::fromLatin1(id)), spot) << id;
        EXPECT_EQ(HomeFocus::idOf(spot), QString::fromLatin1(id)) << id;
    }
    for (const char *other : { "r", "rx", "r-1", "unknown", "Live" })
        EXPECT_EQ(HomeFocus::spotOf(QString::fromLatin1(other)), Spot {}) << other;
}

class HomeKeys : public HomeFixture {
protected:
    HomeScreenModel &open(int recents, const QString &language)
    {
        for (int i = 0; i < recents; ++i)
            fixture.prefs->addRecent(
                { .key = u"21|MOVIE|%1"_qs.arg(i), .title = u"M%1"_qs.arg(i), .url = u"u"_qs });
        AppState &app = state(device(), { Routes::Home {} });
        router = std::make_unique<KeyRouter>(
            &app, KeyRouterHooks { .language = [language] { return language; } });
        ScreenDeps deps = screenDeps();
        deps.router = router.get();
        screen = std::make_unique<HomeScreenModel>(deps, fixture.topEntry());
        showAsLayerWould(*screen, *fixture.state);
        return *screen;
    }

    // Presses keys through the router, as the window delivers them.
    bool press(const char *spelled)
    {
        bool used = true;
        for (const Key &key : keys(spelled))
            used = router->dispatch(key) && used;
        return used;
    }

    std::unique_ptr<KeyRouter> router;
    std::unique_ptr<HomeScreenModel> screen;
};

TEST_F(HomeKeys, EnterAndSpaceActivateTheFocus)
{
    open(3, u"en"_qs);
    EXPECT_FALSE(screen->handleKey(key(Key::Kind::enter))) << "nothing focused";
    EXPECT_TRUE(press("D"));
    EXPECT_EQ(screen->focus(), u"live"_qs);
    EXPECT_TRUE(press("DRR"));
    EXPECT_EQ(screen->focus(), u"r2"_qs);
    EXPECT_EQ(screen->focusedCard(), 2);
    EXPECT_TRUE(press("E"));
    const Route route = fixture.state->current();
    ASSERT_TRUE(isRoute<Routes::Player>(route));
    EXPECT_EQ(std::get<Routes::Player>(route).queue.get(0)->title, u"M0"_qs) << "the third card, oldest";
    fixture.state->pop();
    EXPECT_TRUE(press("URS"));
    EXPECT_EQ(fixture.route(), u"browse"_qs);
}

// In Arabic the router swaps the arrows, so the graph follows the mirrored screen.
TEST_F(HomeKeys, ArabicMirrorsLeftAndRight)
{
    open(2, u"ar"_qs);
    const std::pair<const char *, const char *> paths[] = { { "R", "live" }, { "L", "movies" },
        { "L", "series" }, { "L", "search" }, { "R", "series" }, { "R", "movies" }, { "R", "live" },
        { "D", "r0" }, { "L", "r1" }, { "R", "r0" } };
    for (const auto &[spelled, focus] : paths) {
        EXPECT_TRUE(press(spelled));
        EXPECT_EQ(screen->focus(), QString::fromLatin1(focus)) << spelled;
    }
}

class QuitWindow : public HomeKeys, public ::testing::WithParamInterface<std::pair<qint64, bool>> { };

// Esc on the lone home screen hints; a second one within 2 s quits, a later one hints again
// and starts the window over.
TEST_P(QuitWindow, SecondEscWithinTwoSecondsQuits)
{
    const auto [secondEscAfterMs, quitsAtOnce] = GetParam();
    open(0, u"en"_qs);
    EXPECT_TRUE(press("X"));
    EXPECT_EQ(fixture.state->toast(), ::tr(u"quit_hint"_qs));
    EXPECT_EQ(quits, 0);
    fixture.clock.advance(secondEscAfterMs);
    EXPECT_TRUE(press("X"));
    EXPECT_EQ(quits, quitsAtOnce ? 1 : 0);
    if (!quitsAtOnce) {
        EXPECT_TRUE(fixture.state->toastVisible()) << "the hint shows again";
        fixture.clock.advance(1500);
        EXPECT_TRUE(press("X"));
        EXPECT_EQ(quits, 1) << "the second hint restarted the window";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, QuitWindow,
    ::testing::Values(std::pair { 1500, true }, std::pair { 1999, true }, std::pair { 2000, false },
        std::pair { 2500, false }),
    [](const auto &info) { return "At" + std::to_string(info.param.first); });

TEST_F(HomeKeys, HeldEscNeverQuitsNorRestartsTheQuitWindow)
{
    open(0, u"en"_qs);
    EXPECT_TRUE(press("X"));
    Key held = key(Key::Kind::esc);
    held.held = true;
    for (int repeat = 0; repeat < 10; ++repeat) {
        fixture.clock.advance(30);
        EXPECT_TRUE(router->dispatch(held)) << "a repeat is taken, not passed on";
    }
    EXPECT_EQ(quits, 0);
    fixture.clock.advance(1000);
    EXPECT_TRUE(press("X"));
    EXPECT_EQ(quits, 1) << "a real second press inside the window still quits";
}

TEST_F(HomeKeys, EscClosesAnOpenDialogWithoutTheQuitHint)
{
    open(0, u"en"_qs);
    fixture.state->setDialog(
        std::make_unique<ChoiceDialogModel>(u"Sort"_qs, QStringList { u"A"_qs }, 0, [](int) {}));
    EXPECT_TRUE(press("X"));
    EXPECT_EQ(fixture.state->dialog(), nullptr);
    EXPECT_FALSE(fixture.state->toastVisible());
}

} // namespace
