#include "NotifyAudit.h"
#include "LayerStandIn.h"
#include "VodFixture.h"
#include "sources/PlayItems.h"
#include "vod/MetaChips.h"
#include "vod/MovieDetailsScreenModel.h"

namespace {

const MediaItem kMovie { .uid = 7,
    .type = ContentType::movie,
    .id = u"201"_qs,
    .name = u"Heat"_qs,
    .logo = u"http://127.0.0.1:9/logo.jpg"_qs,
    .categoryId = u"10"_qs,
    .ext = u"mkv"_qs,
    .rating = u"6.5"_qs };

const QByteArray kInfo
    = R"({"info":{"movie_image":"http://127.0.0.1:9/poster.jpg","backdrop_path":["http://127.0.0.1:9/back.jpg"],
"releasedate":"1995-12-15","rating":"7.84","duration":"02:50:00","genre":"Crime","plot":"<b>Bank</b> robbers.",
"director":"Michael Mann","cast":"Al Pacino"}})";

struct ChipCase {
    const char *name;
    OptText year, rating, duration, genre;
    QStringList texts;
    QStringList icons;
};

class MetaChipRows : public ::testing::TestWithParam<ChipCase> { };

TEST_P(MetaChipRows, ShowOnlyWhatHasSomethingToSay)
{
    QStringList texts, icons;
    for (const QVariant &chip :
        metaChips(GetParam().year, GetParam().rating, GetParam().duration, GetParam().genre)) {
        texts.append(chip.toMap().value(u"text"_qs).toString());
        icons.append(chip.toMap().value(u"icon"_qs).toString());
    }
    EXPECT_EQ(texts, GetParam().texts);
    EXPECT_EQ(icons, GetParam().icons);
}

INSTANTIATE_TEST_SUITE_P(Table, MetaChipRows,
    ::testing::Values(ChipCase { "all", u"2019-05-03"_qs, u"7.84"_qs, u"1h 52m"_qs, u"Drama"_qs,
                          { u"2019"_qs, u"7.8"_qs, u"1h 52m"_qs, u"Drama"_qs },
                          { u"calendar"_qs, u"star.fill"_qs, u"clock"_qs, QString() } },
        ChipCase { "none", std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}, {} },
        ChipCase { "emptyTexts", u""_qs, u""_qs, u""_qs, u""_qs, {}, {} },
        ChipCase { "zeroRating", std::nullopt, u"0"_qs, std::nullopt, std::nullopt, {}, {} },
        ChipCase { "negativeRating", std::nullopt, u"-3"_qs, std::nullopt, std::nullopt, {}, {} },
        ChipCase { "wordRating", std::nullopt, u"great"_qs, std::nullopt, std::nullopt, {}, {} },
        ChipCase { "shortYear", u"95"_qs, u"8"_qs, std::nullopt, std::nullopt, { u"95"_qs, u"8.0"_qs },
            { u"calendar"_qs, u"star.fill"_qs } }),
    [](const auto &info) { return std::string(info.param.name); });

QStringList titles(const QVariantList &buttons)
{
    QStringList result;
    for (const QVariant &button : buttons)
        result.append(button.toMap().value(u"title"_qs).toString());
    return result;
}

class MovieDetailsTest : public ::testing::Test {
protected:
    std::unique_ptr<MovieDetailsScreenModel> open()
    {
        vod.provider.answer(u"get_vod_info"_qs, LoopbackResponse::json(kInfo));
        auto screen = vod.open<MovieDetailsScreenModel>(Routes::Movie { kMovie });
        EXPECT_TRUE(VodFixture::eventually([&] { return screen->loaded(); }));
        return screen;
    }

    QString movieKey() const { return u"%1|MOVIE|201"_qs.arg(vod.playlist().id); }

    // The queue the top entry holds.
    PlayQueue pushedQueue()
    {
        const auto *player = std::get_if<Routes::Player>(&vod.app().stack().last().route);
        return player ? player->queue : PlayQueue {};
    }

    VodFixture vod;
};

TEST_F(MovieDetailsTest, ShowsTheDetailsAndPlaysOneResumingItem)
{
    auto screen = open();
    EXPECT_EQ(screen->title(), u"Heat"_qs);
    EXPECT_EQ(screen->posterUrl(), u"http://127.0.0.1:9/poster.jpg"_qs);
    EXPECT_EQ(screen->backdropUrl(), u"http://127.0.0.1:9/back.jpg"_qs);
    EXPECT_EQ(screen->chips(), metaChips(u"1995-12-15"_qs, u"7.84"_qs, u"02:50:00"_qs, u"Crime"_qs));
    EXPECT_EQ(screen->plot(), u"<b>Bank</b> robbers."_qs);
    EXPECT_EQ(std::make_pair(screen->director(), screen->cast()),
        std::make_pair(u"Michael Mann"_qs, u"Al Pacino"_qs));
    EXPECT_EQ(titles(screen->buttons()), (QStringList { u"Play"_qs, u"Add to favorites"_qs }));

    EXPECT_TRUE(press(*screen, "E"));
    const PlayQueue queue = pushedQueue();
    ASSERT_EQ(queue.count(), 1);
    EXPECT_EQ(std::make_pair(queue.start, queue.resume), std::make_pair(qint64(0), true));
    PlayItem expected = PlayItems::forItem(kMovie, vod.playlist());
    expected.logo = u"http://127.0.0.1:9/poster.jpg"_qs;
    EXPECT_EQ(queue.get(0), expected);
    press(*screen, "E");
    EXPECT_EQ(vod.app().stack().size(), 3) << "a second Enter under the player opens no second player";
}

// The view reads the item's texts once it is made: they are there before any event turn.
TEST_F(MovieDetailsTest, MadeWithItsItemShownAtOnce)
{
    vod.fixture.makeState({ Routes::Home {}, Routes::Movie { kMovie } });
    const MovieDetailsScreenModel screen(vod.screenDeps(), vod.fixture.topEntry());
    EXPECT_EQ(screen.title(), u"Heat"_qs);
    EXPECT_EQ(screen.posterUrl(), u"http://127.0.0.1:9/logo.jpg"_qs);
    EXPECT_EQ(screen.chips(), metaChips(std::nullopt, u"6.5"_qs, std::nullopt, std::nullopt));
    EXPECT_TRUE(screen.hasPlaylist());
}

struct FocusCase {
    const char *name;
    bool resume;
    const char *keys;
    int focus;
};

class MovieFocus : public MovieDetailsTest, public ::testing::WithParamInterface<FocusCase> { };

TEST_P(MovieFocus, MovesAlongTheShownButtons)
{
    if (GetParam().resume)
        vod.prefs().saveResume(movieKey(), 125, 6000);
    auto screen = open();
    EXPECT_TRUE(press(*screen, GetParam().keys));
    EXPECT_EQ(screen->focus(), GetParam().focus);
}

INSTANTIATE_TEST_SUITE_P(Table, MovieFocus,
    ::testing::Values(FocusCase { "rightSkipsToFavourite", false, "R", 2 },
        FocusCase { "rightStopsAtFavourite", false, "RR", 2 },
        FocusCase { "leftStopsAtPlay", false, "RLL", 0 }, FocusCase { "rightToFromStart", true, "R", 1 },
        FocusCase { "rightThenFavourite", true, "RRR", 2 },
        FocusCase { "leftBackToFromStart", true, "RRL", 1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MovieDetailsTest, ResumePointOffersResumeAndFromTheStart)
{
    vod.prefs().saveResume(movieKey(), 125, 6000);
    auto screen = open();
    EXPECT_EQ(titles(screen->buttons()),
        (QStringList { u"Resume 2:05"_qs, u"From the start"_qs, u"Add to favorites"_qs }));
    press(*screen, "RE");
    const PlayQueue queue = pushedQueue();
    EXPECT_EQ(queue.count(), 1);
    EXPECT_FALSE(queue.resume);
}

// The player saves its last point only after this screen is back on top.
TEST_F(MovieDetailsTest, APointSavedWhileShownRenewsTheButtons)
{
    auto screen = open();
    QSignalSpy renewals(screen.get(), &MovieDetailsScreenModel::buttonsChanged);
    vod.prefs().saveResume(movieKey(), 125, 6000);
    EXPECT_GE(renewals.size(), 1);
    EXPECT_EQ(titles(screen->buttons()).first(), u"Resume 2:05"_qs);
}

TEST_F(MovieDetailsTest, FocusOnAButtonThatWentAwayFallsBackToPlay)
{
    vod.prefs().saveResume(movieKey(), 125, 6000);
    auto screen = open();
    press(*screen, "R");
    ASSERT_EQ(screen->focus(), 1);
    vod.prefs().saveResume(movieKey(), 5990, 6000);
    EXPECT_EQ(screen->focus(), 0);
    press(*screen, "E");
    EXPECT_TRUE(pushedQueue().resume) << "Enter presses the play button that shows the focus";
}

TEST_F(MovieDetailsTest, FavouriteButtonTogglesWithToasts)
{
    auto screen = open();
    press(*screen, "RE");
    EXPECT_EQ(vod.app().toast(), u"Added to favorites"_qs);
    EXPECT_EQ(titles(screen->buttons()).last(), u"In favorites"_qs);
    press(*screen, "S");
    EXPECT_EQ(vod.app().toast(), u"Removed from favorites"_qs);
    EXPECT_EQ(titles(screen->buttons()).last(), u"Add to favorites"_qs);
    EXPECT_FALSE(press(*screen, "U") || press(*screen, "D") || press(*screen, "X"));
}

// Closing the screen aborts its request, and the aborted answer comes back while the screen
// is still being torn down.
TEST(MovieDetails, ClosedWhileLoadingItAbortsTheRequestAndTakesNoAnswer)
{
    VodFixture vod;
    vod.provider.answer(u"get_vod_info"_qs, LoopbackResponse::stalled());
    auto screen = vod.open<MovieDetailsScreenModel>(Routes::Movie { kMovie });
    ASSERT_TRUE(VodFixture::eventually([&] { return vod.provider.server().inFlight() == 1; }));
    int announced = 0;
    QObject::connect(screen.get(), &MovieDetailsScreenModel::infoChanged, [&announced] { ++announced; });
    screen.reset();
    EXPECT_EQ(announced, 0);
    EXPECT_TRUE(VodFixture::eventually([&] { return vod.provider.server().inFlight() == 0; }));
}

TEST(MovieDetails, M3uPlaylistKeepsTheItemsOwnData)
{
    AppStateFixture fixture;
    fixture.cacheDevice(AppStateFixture::device({ 5 }));
    fixture.makeState({ Routes::Home {}, Routes::Movie { kMovie } });
    Catalog catalog(&fixture.http.http(), &fixture.clock, [] { return QString(); });
    ScreenDeps deps = fixture.screenDeps();
    deps.catalog = &catalog;
    MovieDetailsScreenModel screen(deps, fixture.topEntry());
    showAsLayerWould(screen, *fixture.state);
    ASSERT_TRUE(VodFixture::eventually([&] { return screen.loaded(); }));
    EXPECT_EQ(screen.chips(), metaChips(std::nullopt, u"6.5"_qs, std::nullopt, std::nullopt));
    EXPECT_EQ(std::make_pair(screen.posterUrl(), screen.backdropUrl()),
        std::make_pair(u"http://127.0.0.1:9/logo.jpg"_qs, u"http://127.0.0.1:9/logo.jpg"_qs));
    EXPECT_TRUE(screen.plot().isEmpty());
}

// Every property the view reads announces its change while the details load and the
// favourite turns.
TEST_F(MovieDetailsTest, PropertiesAnnounceEveryChangeFromOpenToFavourite)
{
    vod.provider.answer(u"get_vod_info"_qs, LoopbackResponse::json(kInfo));
    vod.fixture.makeState({ Routes::Home {}, Routes::Movie { kMovie } });
    MovieDetailsScreenModel screen(vod.screenDeps(), vod.fixture.topEntry());
    EXPECT_TRUE(notifiesEveryChange(&screen, [&] {
        showAsLayerWould(screen, vod.app());
        ASSERT_TRUE(VodFixture::eventually([&] { return screen.loaded(); }));
    }));
    EXPECT_TRUE(notifiesEveryChange(&screen, [&] { press(screen, "RE"); }));
    EXPECT_EQ(vod.app().toast(), u"Added to favorites"_qs);
}

} // namespace
