#include "CatalogFixture.h"

namespace {

const QByteArray kM3u = R"(#EXTM3U
#EXTINF:-1 tvg-id="a.1" group-title="News",Alpha
http://127.0.0.1:1/live/u/p/1.ts
#EXTINF:-1,Beta
http://127.0.0.1:1/live/u/p/2.ts
#EXTINF:-1 group-title="Films",Movie
http://127.0.0.1:1/movie/u/p/3.mkv
#EXTINF:-1 group-title="Shows",Show S01E02
http://127.0.0.1:1/series/u/p/4.mkv
)";

using Kind = AppError::Kind;

class CatalogLoadTest : public CatalogFixture {};

TEST_F(CatalogLoadTest, XtreamSectionKeepsListedCategoriesFirstAndNamesTheOthers)
{
    const SectionPtr live = load(xtream(), ContentType::live);
    ASSERT_TRUE(live);
    EXPECT_EQ(live->categories, (QList<Category>{ { QStringLiteral("1"), QStringLiteral("News"), 2 },
                                                  { QStringLiteral("9"), QStringLiteral("9"), 1 },
                                                  { QStringLiteral("__uncat__"), QStringLiteral("Uncategorized"), 1 } }));
    EXPECT_EQ(names(live->all), (QStringList{ u"One"_qs, u"Two"_qs, u"Three"_qs, u"Four"_qs }));
    EXPECT_EQ(names(sectionItems(*live, QStringLiteral("1"))), (QStringList{ u"One"_qs, u"Four"_qs }));
    // Stored: the next call makes no request and hands out the same section.
    const int requests = server.requestCount();
    EXPECT_EQ(load(xtream(), ContentType::live), live);
    EXPECT_EQ(server.requestCount(), requests);
}

TEST_F(CatalogLoadTest, FailingCategoryListLeavesItemsNamedByTheirIds)
{
    answers.insert(QStringLiteral("get_live_categories"), LoopbackResponse::withStatus(404));
    const SectionPtr live = load(xtream(), ContentType::live);
    QStringList categoryNames;
    for (const Category &category : live->categories)
        categoryNames.append(category.name);
    EXPECT_EQ(categoryNames, (QStringList{ u"1"_qs, u"9"_qs, u"Uncategorized"_qs }));
}

TEST_F(CatalogLoadTest, FailingStreamListFailsTheLoad)
{
    answers.insert(QStringLiteral("get_vod_streams"), LoopbackResponse::withStatus(404));
    const auto outcome = tryLoad(xtream(), ContentType::movie);
    ASSERT_TRUE(outcome.errorAs<AppError>());
    EXPECT_EQ(*outcome.errorAs<AppError>(), AppError::http(404));
}

TEST_F(CatalogLoadTest, ConcurrentM3uLoadsShareOneDownload)
{
    server.serve(QStringLiteral("/list.m3u"), LoopbackResponse::text(kM3u).after(std::chrono::milliseconds(50)));
    const Playlist playlist = m3u(QStringLiteral("/list.m3u"));
    auto liveTask = catalog.load(playlist, ContentType::live, false);
    auto movieTask = catalog.load(playlist, ContentType::movie, false);
    const SectionPtr live = runTask(std::move(liveTask));
    const SectionPtr movies = runTask(std::move(movieTask));
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 1);
    EXPECT_EQ(names(live->all), (QStringList{ u"Alpha"_qs, u"Beta"_qs }));
    EXPECT_EQ(live->categories.last(), (Category{ u"__uncat__"_qs, u"Uncategorized"_qs, 1 }));
    EXPECT_EQ(names(movies->all), QStringList{ u"Movie"_qs });
    EXPECT_EQ(load(playlist, ContentType::series)->all.first().name, u"Show");
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 1);
}

TEST_F(CatalogLoadTest, ForcedLoadKeepsItsRunningEntryWhenAnEarlierLoadEnds)
{
    server.serveSequence(QStringLiteral("/list.m3u"),
                         { LoopbackResponse::withStatus(404).after(std::chrono::milliseconds(50)),
                           LoopbackResponse::text(kM3u).after(std::chrono::milliseconds(400)) });
    const Playlist playlist = m3u(QStringLiteral("/list.m3u"));
    auto first = catalog.load(playlist, ContentType::live, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 1; }));
    auto forced = catalog.load(playlist, ContentType::live, true);
    const auto firstOutcome = runOutcome(std::move(first));
    EXPECT_EQ(firstOutcome.errorAs<AppError>(), AppError::http(404));
    // The forced load still runs; a plain load now joins it instead of downloading again.
    auto joined = catalog.load(playlist, ContentType::movie, false);
    const SectionPtr live = runTask(std::move(forced));
    EXPECT_EQ(names(runTask(std::move(joined))->all), QStringList{ u"Movie"_qs });
    EXPECT_EQ(names(live->all), (QStringList{ u"Alpha"_qs, u"Beta"_qs }));
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 2);
}

TEST_F(CatalogLoadTest, ForcedLoadDownloadsAgainAndReplacesTheSection)
{
    server.serve(QStringLiteral("/list.m3u"), LoopbackResponse::text(kM3u));
    const Playlist playlist = m3u(QStringLiteral("/list.m3u"));
    const SectionPtr first = load(playlist, ContentType::live);
    const SectionPtr forced = load(playlist, ContentType::live, true);
    EXPECT_NE(forced, first);
    EXPECT_EQ(load(playlist, ContentType::live), forced);
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 2);
}

struct BadM3uCase {
    const char *name;
    const char *path;
    QByteArray body;
    Kind kind;
};

class CatalogBadM3uTest : public CatalogFixture, public ::testing::WithParamInterface<BadM3uCase> {};

TEST_P(CatalogBadM3uTest, FailsWithItsError)
{
    server.serve(QStringLiteral("/bad.m3u"), LoopbackResponse::text(GetParam().body));
    Playlist playlist = m3u(QString::fromUtf8(GetParam().path));
    if (QByteArray(GetParam().path).isEmpty())
        playlist.url = QStringLiteral(" \t ");
    for (ContentType type : kAllContentTypes) {
        const auto outcome = tryLoad(playlist, type);
        ASSERT_TRUE(outcome.errorAs<AppError>()) << GetParam().name;
        EXPECT_EQ(outcome.errorAs<AppError>()->kind(), GetParam().kind);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Catalog, CatalogBadM3uTest,
    ::testing::Values(BadM3uCase{ "noEntries", "/bad.m3u", "#EXTM3U\n#EXTINF:-1,Lost\n", Kind::emptyPlaylist },
                      BadM3uCase{ "blankAddress", "", "", Kind::badUrl },
                      BadM3uCase{ "missingNoCredentials", "/get.php?username=u", "", Kind::http }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CatalogLoadTest, UnreachableGetPhpListLoadsThroughXtreamCodes)
{
    const Playlist playlist = m3u(QStringLiteral("/get.php?username=u&password=p&type=m3u_plus"));
    const SectionPtr live = load(playlist, ContentType::live);
    EXPECT_EQ(names(live->all), (QStringList{ u"One"_qs, u"Two"_qs, u"Three"_qs, u"Four"_qs }));
    const int requests = server.requestCount();
    EXPECT_EQ(names(load(playlist, ContentType::series)->all), QStringList{ u"Show"_qs });
    EXPECT_EQ(server.requestCount(), requests);
    EXPECT_EQ(actionCount(QStringLiteral("get_live_streams")), 1);
    EXPECT_EQ(actionCount(QStringLiteral("get_vod_streams")), 1);
    ASSERT_TRUE(catalog.account(playlist));
    EXPECT_EQ(catalog.account(playlist)->timezone, OptText(u"Europe/Paris"_qs));
    // Channels carry no address of their own: the player gets the provider's live address.
    const PlayItem play = Catalog::playItem(live->all.first(), playlist);
    EXPECT_EQ(play.url, server.url(QStringLiteral("/live/u/p/101.m3u8")));
    EXPECT_EQ(play.key, u"6|LIVE|101");
    const Episode episode{ u"88"_qs, 1, 1, u"Pilot"_qs, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt };
    EXPECT_EQ(catalog.episodeItem(playlist, live->all.first(), episode).url, server.url(QStringLiteral("/series/u/p/88.mp4")));
}

TEST_F(CatalogLoadTest, FallbackFailureIsTheLoadersError)
{
    answers.insert(QString(), login(R"("auth":0)"));
    const auto outcome = tryLoad(m3u(QStringLiteral("/get.php?username=u&password=p")), ContentType::movie);
    EXPECT_EQ(outcome.errorAs<AppError>(), AppError::xtreamAuth());
}

struct AccountCase {
    const char *name;
    LoopbackResponse loginAnswer;
    std::optional<AppError> error; // nothing: the load succeeds
    bool accountKept;
};

class CatalogAccountTest : public CatalogFixture, public ::testing::WithParamInterface<AccountCase> {};

TEST_P(CatalogAccountTest, JudgesTheLogin)
{
    answers.insert(QString(), GetParam().loginAnswer);
    const auto outcome = tryLoad(xtream(), ContentType::live);
    if (GetParam().error) {
        EXPECT_EQ(outcome.errorAs<AppError>(), GetParam().error);
        EXPECT_EQ(actionCount(QStringLiteral("get_live_streams")), 0);
    } else {
        ASSERT_TRUE(outcome.value) << GetParam().name;
        EXPECT_EQ((*outcome.value)->all.size(), 4);
    }
    EXPECT_EQ(catalog.account(xtream()).has_value(), GetParam().accountKept);
}

const QDateTime kPast = QDateTime::fromSecsSinceEpoch(1500000000, QTimeZone::utc());

INSTANTIATE_TEST_SUITE_P(
    Catalog, CatalogAccountTest,
    ::testing::Values(
        AccountCase{ "active", login(R"("auth":1,"status":"Active","exp_date":"4102444800")"),
                     std::nullopt, true },
        AccountCase{ "authFalse", login(R"("auth":0,"status":"Active")"), AppError::xtreamAuth(), false },
        AccountCase{ "statusExpired", login(R"("auth":1,"status":"EXPIRED")"),
                     AppError::xtreamExpired(std::nullopt), false },
        AccountCase{ "expiryPassed", login(R"("auth":1,"status":"Active","exp_date":1500000000)"),
                     AppError::xtreamExpired(kPast), false },
        AccountCase{ "emptyAnswer", LoopbackResponse::json("{}"), AppError::xtreamAuth(), false },
        AccountCase{ "http401", LoopbackResponse::withStatus(401), AppError::http(401), false },
        AccountCase{ "http403", LoopbackResponse::withStatus(403), AppError::http(403), false },
        AccountCase{ "http500", LoopbackResponse::withStatus(500), std::nullopt, false },
        AccountCase{ "notJson", LoopbackResponse::text("<html>"), std::nullopt, false },
        AccountCase{ "dropped", LoopbackResponse::dropped(), std::nullopt, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CatalogLoadTest, ExpiredAccountIsNotKeptSoTheNextLoadLogsInAgain)
{
    const qint64 minuteAgo = now.toSecsSinceEpoch() - 60;
    answers.insert(QString(), login("\"auth\":1,\"status\":\"Active\",\"exp_date\":" + QByteArray::number(minuteAgo)));
    const AppError expected = AppError::xtreamExpired(QDateTime::fromSecsSinceEpoch(minuteAgo, QTimeZone::utc()));
    EXPECT_EQ(tryLoad(xtream(), ContentType::live).errorAs<AppError>(), expected);
    EXPECT_EQ(tryLoad(xtream(), ContentType::live).errorAs<AppError>(), expected);
    EXPECT_EQ(actionCount(QString()), 2);
}

TEST_F(CatalogLoadTest, AccountIsReusedUntilAForcedLoad)
{
    load(xtream(), ContentType::live);
    load(xtream(), ContentType::movie);
    EXPECT_EQ(actionCount(QString()), 1);
    load(xtream(), ContentType::movie, true);
    EXPECT_EQ(actionCount(QString()), 2);
    EXPECT_EQ(actionCount(QStringLiteral("get_vod_streams")), 2);
}

} // namespace
