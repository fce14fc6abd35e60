#include "HostileAnswers.h"
#include "LoopbackServer.h"
#include "ManualClock.h"
#include "TaskOutcome.h"
#include "TestHttp.h"
#include "model/ContentKeys.h"
#include "sources/AppError.h"
#include "sources/Catalog.h"
#include "sources/PlayItems.h"
#include "sources/XtreamClient.h"

#include <QFile>

#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Kind = AppError::Kind;
constexpr qint64 kDay = 86400;

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

// A login answer with the given "user_info" members.
LoopbackResponse login(const QByteArray &userInfo, const QByteArray &timezone = "Europe/Paris")
{
    return LoopbackResponse::json(
        "{\"user_info\":{" + userInfo + "},\"server_info\":{\"timezone\":\"" + timezone + "\"}}");
}

QByteArray listing(const char *title, const QDateTime &start, const QDateTime &end)
{
    return QStringLiteral(R"({"title":"%1","start_timestamp":"%2","stop_timestamp":"%3"})")
        .arg(QLatin1String(title))
        .arg(start.toSecsSinceEpoch())
        .arg(end.toSecsSinceEpoch())
        .toUtf8();
}

LoopbackResponse listings(const QList<QByteArray> &entries)
{
    return LoopbackResponse::json("{\"epg_listings\":[" + entries.join(',') + "]}");
}

template <typename Items, typename T> QStringList names(const Items &items, QString T::*field)
{
    QStringList result;
    for (const T &item : items)
        result.append(item.*field);
    return result;
}

QStringList names(const MediaItems &items)
{
    return names(items, &MediaItem::name);
}
QStringList titles(const QList<EpgEntry> &entries)
{
    return names(entries, &EpgEntry::title);
}

MediaItem channel(const QString &id, std::optional<Catchup> catchup = std::nullopt)
{
    return MediaItem { .id = id, .name = QStringLiteral("Channel ") + id, .catchup = catchup };
}

// A catalog on its own Http and virtual clock, and a provider on 127.0.0.1 that answers
// "player_api.php" by action (login without one) and serves M3U texts by path.
class CatalogTest : public ::testing::Test {
protected:
    LoopbackServer server;
    TestHttp http;
    // Starts at the real time: the provider's short guide keeps programmes ending after it.
    ManualClock clock;
    Catalog catalog { &http.http(), &clock, [] { return QStringLiteral("Uncategorized"); } };
    QHash<QString, LoopbackResponse> answers;

    CatalogTest()
    {
        server.route(QStringLiteral("/player_api.php"), [this](const LoopbackRequest &request) {
            return answers.value(
                request.queryValue(QStringLiteral("action")), LoopbackResponse::withStatus(404));
        });
        answer("", login(R"("auth":1,"status":"Active")"));
        answer("get_live_categories", LoopbackResponse::json(R"([{"category_id":"1","category_name":"News"},
            {"category_id":"2","category_name":"Empty"}, {"category_name":"No id"}])"));
        answer("get_live_streams", LoopbackResponse::json(R"([{"num":1,"name":"One","stream_id":101,
            "category_id":"1","tv_archive":1,"tv_archive_duration":"2"}, {"name":"Two","stream_id":102,
            "category_id":"9"}, {"name":"Three","stream_id":103}, {"name":"Four","stream_id":104,"category_id":"1"}])"));
        answer(
            "get_vod_categories", LoopbackResponse::json(R"([{"category_id":"5","category_name":"Films"}])"));
        answer("get_vod_streams",
            LoopbackResponse::json(R"([{"name":"Film","stream_id":201,"category_id":"5"}])"));
        answer("get_series_categories",
            LoopbackResponse::json(R"([{"category_id":"7","category_name":"Shows"}])"));
        answer(
            "get_series", LoopbackResponse::json(R"([{"name":"Show","series_id":301,"category_id":"7"}])"));
    }

    void answer(const char *action, const LoopbackResponse &response)
    {
        answers.insert(QString::fromLatin1(action), response);
    }

    Playlist xtream() const
    {
        return Playlist { 5, "Provider", "xtream", std::nullopt, server.baseUrl(), "u", "p", std::nullopt };
    }

    Playlist m3u(const QString &pathAndQuery = QStringLiteral("/list.m3u")) const
    {
        return Playlist { .id = 6, .name = "List", .url = server.url(pathAndQuery) };
    }

    int actionCount(const char *action) const
    {
        int count = 0;
        for (const LoopbackRequest &request : server.requests())
            count += request.path == u"/player_api.php"
                && request.queryValue(QStringLiteral("action")) == QLatin1String(action);
        return count;
    }

    SectionPtr load(const Playlist &playlist, ContentType type, bool force = false)
    {
        return runTask(catalog.load(playlist, type, force));
    }

    std::optional<AppError> loadError(const Playlist &playlist, ContentType type)
    {
        return runOutcome(catalog.load(playlist, type, false)).errorAs<AppError>();
    }

    QList<EpgEntry> shortEpg(const Playlist &playlist) { return runTask(catalog.shortEpg(playlist, "101")); }
    LoopbackResponse nowOn() const
    {
        const QDateTime now = clock.now();
        return listings({ listing("Now", now.addSecs(-600), now.addSecs(600)) });
    }
};

TEST_F(CatalogTest, XtreamSectionKeepsListedCategoriesFirstAndNamesTheOthers)
{
    const SectionPtr live = load(xtream(), ContentType::live);
    ASSERT_TRUE(live);
    EXPECT_EQ(live->categories,
        (QList<Category> { { "1", "News", 2 }, { "9", "9", 1 }, { "__uncat__", "Uncategorized", 1 } }));
    EXPECT_EQ(names(live->all), (QStringList { "One", "Two", "Three", "Four" }));
    EXPECT_EQ(names(sectionItems(*live, QStringLiteral("1"))), (QStringList { "One", "Four" }));
    // Stored: the next call makes no request and hands out the same section.
    const int requests = server.requestCount();
    EXPECT_EQ(load(xtream(), ContentType::live), live);
    EXPECT_EQ(server.requestCount(), requests);
}

TEST_F(CatalogTest, FailingCategoryListNamesByIdsAndFailingStreamListFails)
{
    answer("get_live_categories", LoopbackResponse::withStatus(404));
    answer("get_vod_streams", LoopbackResponse::withStatus(404));
    const SectionPtr live = load(xtream(), ContentType::live);
    EXPECT_EQ(names(live->categories, &Category::name), (QStringList { "1", "9", "Uncategorized" }));
    EXPECT_EQ(loadError(xtream(), ContentType::movie), AppError::http(404));
}

TEST_F(CatalogTest, ConcurrentM3uLoadsShareOneDownload)
{
    server.serve(QStringLiteral("/list.m3u"), LoopbackResponse::text(kM3u).after(50ms));
    auto liveTask = catalog.load(m3u(), ContentType::live, false);
    auto movieTask = catalog.load(m3u(), ContentType::movie, false);
    const SectionPtr live = runTask(std::move(liveTask));
    EXPECT_EQ(names(runTask(std::move(movieTask))->all), QStringList { "Movie" });
    EXPECT_EQ(names(live->all), (QStringList { "Alpha", "Beta" }));
    EXPECT_EQ(live->categories.last(), (Category { "__uncat__", "Uncategorized", 1 }));
    EXPECT_EQ(load(m3u(), ContentType::series)->all.first().name, u"Show");
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 1);
}

TEST_F(CatalogTest, ForcedLoadKeepsItsRunningEntryWhenAnEarlierLoadEnds)
{
    server.serveSequence(QStringLiteral("/list.m3u"),
        { LoopbackResponse::withStatus(404).after(50ms), LoopbackResponse::text(kM3u).after(400ms) });
    auto first = catalog.load(m3u(), ContentType::live, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 1; }));
    auto forced = catalog.load(m3u(), ContentType::live, true);
    EXPECT_EQ(runOutcome(std::move(first)).errorAs<AppError>(), AppError::http(404));
    // The forced load still runs; a plain load now joins it instead of downloading again.
    auto joined = catalog.load(m3u(), ContentType::movie, false);
    const SectionPtr live = runTask(std::move(forced));
    EXPECT_EQ(names(runTask(std::move(joined))->all), QStringList { "Movie" });
    EXPECT_EQ(names(live->all), (QStringList { "Alpha", "Beta" }));
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 2);
}

TEST_F(CatalogTest, OvertakenLoadsAnswerTheirCallersButStoreNothing)
{
    QByteArray renamed = kM3u;
    renamed.replace("Alpha", "Gamma");
    server.serveSequence(QStringLiteral("/list.m3u"),
        { LoopbackResponse::text(kM3u).after(300ms), LoopbackResponse::text(renamed),
            LoopbackResponse::text(kM3u).after(300ms) });
    // A plain load that ends after a forced one keeps the forced one's sections.
    auto plain = catalog.load(m3u(), ContentType::live, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 1; }));
    const SectionPtr forced = load(m3u(), ContentType::live, true);
    EXPECT_EQ(names(runTask(std::move(plain))->all), (QStringList { "Alpha", "Beta" }));
    EXPECT_EQ(load(m3u(), ContentType::live), forced);
    EXPECT_EQ(names(forced->all), (QStringList { "Gamma", "Beta" }));

    // A load running across reset() does not refill the emptied caches.
    auto running = catalog.load(m3u(), ContentType::live, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 3; }));
    catalog.reset();
    const SectionPtr acrossReset = runTask(std::move(running));
    EXPECT_EQ(names(acrossReset->all), (QStringList { "Alpha", "Beta" }));
    EXPECT_NE(load(m3u(), ContentType::live), acrossReset);

    // Nor does a login that answers after the reset.
    answer("", login(R"("auth":1,"status":"Active")").after(300ms));
    auto loggingIn = catalog.load(xtream(), ContentType::live, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return actionCount("") == 1; }));
    catalog.reset();
    EXPECT_EQ(names(runTask(std::move(loggingIn))->all), (QStringList { "One", "Two", "Three", "Four" }));
    EXPECT_FALSE(catalog.account(xtream()));
}

TEST_F(CatalogTest, BadM3uFailsEveryTypeWithItsError)
{
    server.serve(QStringLiteral("/bad.m3u"), LoopbackResponse::text("#EXTM3U\n#EXTINF:-1,Lost\n"));
    server.serve(
        QStringLiteral("/expired.m3u"), LoopbackResponse::text("<html><p>Account expired</p>\nhttp://x/1\n"));
    Playlist blank = m3u();
    blank.url = QStringLiteral(" \t ");
    const std::pair<Playlist, Kind> cases[] = { { m3u("/bad.m3u"), Kind::emptyPlaylist },
        { blank, Kind::badUrl }, { m3u("/get.php?username=u"), Kind::http },
        { m3u("/expired.m3u"), Kind::badData } };
    for (const auto &[playlist, kind] : cases) {
        for (ContentType type : kAllContentTypes) {
            const auto error = loadError(playlist, type);
            ASSERT_TRUE(error) << playlist.url->toStdString();
            EXPECT_EQ(error->kind(), kind) << playlist.url->toStdString();
        }
    }
}

TEST_F(CatalogTest, UnreachableGetPhpListLoadsThroughXtreamCodes)
{
    const Playlist playlist = m3u(QStringLiteral("/get.php?username=u&password=p&type=m3u_plus"));
    const SectionPtr live = load(playlist, ContentType::live);
    EXPECT_EQ(names(live->all), (QStringList { "One", "Two", "Three", "Four" }));
    const int requests = server.requestCount();
    EXPECT_EQ(names(load(playlist, ContentType::series)->all), QStringList { "Show" });
    EXPECT_EQ(server.requestCount(), requests);
    EXPECT_EQ(actionCount("get_live_streams"), 1);
    EXPECT_EQ(actionCount("get_vod_streams"), 1);
    ASSERT_TRUE(catalog.account(playlist));
    EXPECT_EQ(catalog.account(playlist)->timezone, OptText("Europe/Paris"));
    // Channels carry no address of their own: the player gets the provider's live address.
    const PlayItem play = PlayItems::forItem(live->all.first(), playlist);
    EXPECT_EQ(play.url, server.url(QStringLiteral("/live/u/p/101.m3u8")));
    EXPECT_EQ(play.key, u"6|LIVE|101");
    const Episode episode { .id = "88", .season = 1, .number = 1, .title = "Pilot" };
    EXPECT_EQ(catalog.episodeItem(playlist, live->all.first(), episode).url,
        server.url(QStringLiteral("/series/u/p/88.mp4")));
}

TEST_F(CatalogTest, FallbackFailureIsTheLoadersError)
{
    answer("", login(R"("auth":0)"));
    EXPECT_EQ(loadError(m3u("/get.php?username=u&password=p"), ContentType::movie), AppError::xtreamAuth());
}

TEST_F(CatalogTest, LoginIsJudgedAndOnlyAGoodAccountIsKept)
{
    const QDateTime past = QDateTime::fromSecsSinceEpoch(1500000000, QTimeZone::utc());
    const struct {
        LoopbackResponse login;
        std::optional<AppError> error; // nothing: the load succeeds
        bool accountKept;
    } cases[] = {
        { login(R"("auth":1,"status":"Active","exp_date":"4102444800")"), std::nullopt, true },
        { login(R"("auth":0,"status":"Active")"), AppError::xtreamAuth(), false },
        { login(R"("auth":1,"status":"EXPIRED")"), AppError::xtreamExpired(std::nullopt), false },
        { login(R"("auth":1,"status":"Active","exp_date":1500000000)"), AppError::xtreamExpired(past),
            false },
        { LoopbackResponse::json("{}"), AppError::xtreamAuth(), false },
        { LoopbackResponse::withStatus(401), AppError::http(401), false },
        { LoopbackResponse::withStatus(403), AppError::http(403), false },
        { LoopbackResponse::withStatus(500), std::nullopt, false },
        { LoopbackResponse::text("<html>"), std::nullopt, false },
        { LoopbackResponse::dropped(), std::nullopt, false },
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(&row - cases);
        catalog.reset();
        answer("", row.login);
        const int streams = actionCount("get_live_streams");
        const auto outcome = runOutcome(catalog.load(xtream(), ContentType::live, true));
        if (row.error) {
            EXPECT_EQ(outcome.errorAs<AppError>(), row.error);
            EXPECT_EQ(actionCount("get_live_streams"), streams);
        } else {
            ASSERT_TRUE(outcome.value);
            EXPECT_EQ((*outcome.value)->all.size(), 4);
        }
        EXPECT_EQ(catalog.account(xtream()).has_value(), row.accountKept);
    }
}

TEST_F(CatalogTest, ExpiredAccountIsNotKeptSoTheNextLoadLogsInAgain)
{
    const qint64 minuteAgo = clock.now().toSecsSinceEpoch() - 60;
    answer("", login("\"auth\":1,\"status\":\"Active\",\"exp_date\":" + QByteArray::number(minuteAgo)));
    const AppError expected
        = AppError::xtreamExpired(QDateTime::fromSecsSinceEpoch(minuteAgo, QTimeZone::utc()));
    EXPECT_EQ(loadError(xtream(), ContentType::live), expected);
    EXPECT_EQ(loadError(xtream(), ContentType::live), expected);
    EXPECT_EQ(actionCount(""), 2);
}

TEST_F(CatalogTest, ForcedLoadLogsInAndDownloadsAgainAndReplacesTheSection)
{
    load(xtream(), ContentType::live);
    const SectionPtr first = load(xtream(), ContentType::movie);
    EXPECT_EQ(actionCount(""), 1);
    const SectionPtr forced = load(xtream(), ContentType::movie, true);
    EXPECT_NE(forced, first);
    EXPECT_EQ(load(xtream(), ContentType::movie), forced);
    EXPECT_EQ(actionCount(""), 2);
    EXPECT_EQ(actionCount("get_vod_streams"), 2);
}

TEST_F(CatalogTest, ShortGuideIsReusedFor600SecondsFailedOrNot)
{
    answer("get_short_epg", nowOn());
    EXPECT_EQ(titles(shortEpg(xtream())), QStringList { "Now" });
    clock.advance(599 * 1000);
    EXPECT_EQ(titles(shortEpg(xtream())), QStringList { "Now" });
    EXPECT_EQ(actionCount("get_short_epg"), 1);
    clock.advance(1000);
    answer("get_short_epg", LoopbackResponse::withStatus(404));
    EXPECT_TRUE(shortEpg(xtream()).isEmpty());
    answer("get_short_epg", nowOn());
    EXPECT_TRUE(shortEpg(xtream()).isEmpty());
    EXPECT_EQ(actionCount("get_short_epg"), 2);
    // M3U playlists have none.
    const int requests = server.requestCount();
    EXPECT_TRUE(shortEpg(m3u()).isEmpty());
    EXPECT_EQ(server.requestCount(), requests);
}

TEST_F(CatalogTest, CancelledShortGuideIsNotRemembered)
{
    answer("get_short_epg", LoopbackResponse::stalled());
    {
        CancelSource leaving;
        auto guide = catalog.shortEpg(xtream(), "101", leaving.token());
        ASSERT_TRUE(QTest::qWaitFor([&] { return actionCount("get_short_epg") == 1; }));
        leaving.cancel();
        EXPECT_TRUE(runTask(std::move(guide)).isEmpty());
    }
    answer("get_short_epg", nowOn());
    EXPECT_EQ(titles(shortEpg(xtream())), QStringList { "Now" });
    EXPECT_EQ(actionCount("get_short_epg"), 2);
}

TEST_F(CatalogTest, ArchiveKeepsProgrammesEndingAfterTheCatchupWindow)
{
    const QDateTime now = clock.now();
    answer("get_simple_data_table",
        listings({ listing("Old", now.addSecs(-3 * kDay), now.addSecs(-3 * kDay + 3600)),
            listing("Edge", now.addSecs(-2 * kDay - 3600), now.addSecs(-2 * kDay + 60)),
            listing("Recent", now.addSecs(-3600), now.addSecs(-60)) }));
    const auto archive = [&](std::optional<Catchup> catchup) {
        return titles(runTask(catalog.archive(xtream(), channel("101", catchup))));
    };
    EXPECT_EQ(archive(Catchup { 2, "xc", {} }), (QStringList { "Edge", "Recent" }));
    // An absurd offer from stored data neither overflows nor loses the programmes.
    EXPECT_EQ(archive(Catchup { std::numeric_limits<qint64>::max(), "xc", {} }).size(), 3);
    EXPECT_TRUE(archive(std::nullopt).isEmpty());
    EXPECT_EQ(actionCount("get_simple_data_table"), 2);
    answer("get_simple_data_table", LoopbackResponse::withStatus(404));
    EXPECT_TRUE(archive(Catchup { 2, "xc", {} }).isEmpty());
}

TEST_F(CatalogTest, CatchupItemUsesTheAccountsZone)
{
    answer("", login(R"("auth":1)", "Asia/Tokyo"));
    load(xtream(), ContentType::live);
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1710102600, QTimeZone::utc());
    const EpgEntry programme { "News", std::nullopt, start, start.addSecs(1800), true };
    const auto play = catalog.catchupItem(xtream(), channel("101", Catchup { 2, "xc", {} }), programme);
    ASSERT_TRUE(play);
    EXPECT_EQ(play->url, server.url(QStringLiteral("/timeshift/u/p/30/2024-03-11:05-30/101.m3u8")));
    EXPECT_FALSE(catalog.catchupItem(xtream(), channel("101"), programme));
}

TEST_F(CatalogTest, DetailsAreKeptOnlyWhenTheyArrive)
{
    answer("get_vod_info", LoopbackResponse::withStatus(404));
    answer("get_series_info", LoopbackResponse::withStatus(403));
    EXPECT_EQ(runTask(catalog.vodInfo(xtream(), channel("201"))), std::nullopt);
    EXPECT_EQ(
        runOutcome(catalog.seriesInfo(xtream(), channel("301"))).errorAs<AppError>(), AppError::http(403));
    answer("get_vod_info", LoopbackResponse::json(R"({"info":{"plot":"A plot"}})"));
    answer("get_series_info",
        LoopbackResponse::json(R"({"info":{"plot":"P"},"episodes":{"1":[{"id":"9","episode_num":"1"}]}})"));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(runTask(catalog.vodInfo(xtream(), channel("201")))->plot, OptText("A plot"));
        const SeriesInfo series = runTask(catalog.seriesInfo(xtream(), channel("301")));
        EXPECT_EQ(series.plot, OptText("P"));
        EXPECT_EQ(series.episodesBySeason.value(1).size(), 1);
    }
    EXPECT_EQ(actionCount("get_vod_info"), 2);
    EXPECT_EQ(actionCount("get_series_info"), 2);
    EXPECT_EQ(runTask(catalog.vodInfo(m3u(), channel("201"))), std::nullopt);
    EXPECT_EQ(actionCount("get_vod_info"), 2);
}

TEST_F(CatalogTest, M3uSeriesEpisodesAreGroupedBySeasonInEpisodeOrder)
{
    const LoopbackResponse list = LoopbackResponse::text(R"(#EXTM3U
#EXTINF:-1 group-title="Shows" tvg-logo="http://127.0.0.1/s.png",Show S01E03
http://127.0.0.1:1/series/a.mkv
#EXTINF:-1 group-title="Shows",Show S02E01
http://127.0.0.1:1/series/b.mkv
#EXTINF:-1 group-title="Shows",Show S01E01
http://127.0.0.1:1/series/c.mkv
#EXTINF:-1 group-title="Shows",Show S01E03 again
http://127.0.0.1:1/series/d.mkv
)");
    server.serve(QStringLiteral("/list.m3u"), list);
    server.serve(QStringLiteral("/early.m3u"), list);
    // Details asked before any load read the list first.
    const SeriesInfo early = runTask(catalog.seriesInfo(m3u("/early.m3u"), channel("Shows|Show")));
    EXPECT_EQ(early.episodesBySeason.value(1).size(), 3);
    EXPECT_EQ(server.requestCount(QStringLiteral("/early.m3u")), 1);
    const MediaItem show = load(m3u(), ContentType::series)->all.first();
    const SeriesInfo info = runTask(catalog.seriesInfo(m3u(), show));
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 1);
    EXPECT_EQ(info.cover, OptText("http://127.0.0.1/s.png"));
    ASSERT_EQ(info.episodesBySeason.keys(), (QList<qint64> { 1, 2 }));
    EXPECT_EQ(names(info.episodesBySeason.value(1), &Episode::title),
        (QStringList { "Show S01E01", "Show S01E03", "Show S01E03 again" }));
    EXPECT_EQ(catalog.episodeItem(m3u(), show, info.episodesBySeason.value(2).first()).url,
        u"http://127.0.0.1:1/series/b.mkv");
}

TEST_F(CatalogTest, ResetEmptiesCachesAndReloadsFromTheDiskCache)
{
    const SectionPtr before = load(xtream(), ContentType::live);
    answer("get_vod_info", LoopbackResponse::json(R"({"info":{"plot":"A plot"}})"));
    runTask(catalog.vodInfo(xtream(), channel("201")));
    catalog.reset();
    EXPECT_FALSE(catalog.account(xtream()));
    const SectionPtr after = load(xtream(), ContentType::live);
    EXPECT_NE(after, before);
    EXPECT_EQ(names(after->all), names(before->all));
    // The lists come from the disk cache; only the login is asked again.
    EXPECT_EQ(actionCount("get_live_streams"), 1);
    EXPECT_EQ(actionCount("get_live_categories"), 1);
    EXPECT_EQ(actionCount(""), 2);
    runTask(catalog.vodInfo(xtream(), channel("201")));
    EXPECT_EQ(actionCount("get_vod_info"), 2);
}

// A cached list cut short (a full disk, a crash while writing) is not served for hours:
// it is dropped and fetched again once; an answer that is no better is the server's error.
TEST_F(CatalogTest, CachedListThatFailsToDecodeIsFetchedAgainOnce)
{
    const QStringList streamNames = names(load(xtream(), ContentType::live)->all);
    const QString address = XtreamClient::apiURL(xtream(), QStringLiteral("get_live_streams"), QString());
    const QString cached = HttpCache(http.cacheDir()).filePath(address);
    const auto truncateCache = [&] {
        QFile file(cached);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(R"([{"num":1,"name":"On)");
    };
    truncateCache();
    catalog.reset();
    EXPECT_EQ(names(load(xtream(), ContentType::live)->all), streamNames);
    EXPECT_EQ(actionCount("get_live_streams"), 2);

    truncateCache();
    catalog.reset();
    answer("get_live_streams", HostileAnswer::crafted(R"([{"name":"Tw)", "application/json"));
    EXPECT_EQ(loadError(xtream(), ContentType::live), AppError::badData());
    EXPECT_EQ(actionCount("get_live_streams"), 3);
    EXPECT_FALSE(QFile::exists(cached));
}

// Whatever a hostile provider sends for a list ends in the unexpected-data error.
TEST_F(CatalogTest, ListsOverTheCapFailWithUnexpectedData)
{
    TestHttp capped(HttpOptions { .bodyCap = 512 * 1024 });
    Catalog small { &capped.http(), &clock, [] { return QStringLiteral("Uncategorized"); } };
    for (const LoopbackResponse &hostile :
        { HostileAnswer::endless(), HostileAnswer::gzipBomb(64 * 1024 * 1024) }) {
        answer("get_vod_streams", hostile);
        small.reset();
        capped->clearCache();
        EXPECT_EQ(runOutcome(small.load(xtream(), ContentType::movie, true)).errorAs<AppError>(),
            AppError::badData());
        server.serve(QStringLiteral("/list.m3u"), hostile);
        EXPECT_EQ(
            runOutcome(small.load(m3u(), ContentType::live, true)).errorAs<AppError>(), AppError::badData());
    }
}

} // namespace
