#include "ManualClock.h"
#include "TaskOutcome.h"
#include "TestHttp.h"
#include "XtreamProvider.h"
#include "sources/XtreamClient.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace std::chrono_literals;

namespace {

class XtreamClientTest : public testing::Test {
protected:
    XtreamProvider provider;
    TestHttp http;
    Http *client = &http.http();

    Playlist wrongPassword() const
    {
        Playlist playlist = provider.playlist();
        playlist.password = QStringLiteral("nope");
        return playlist;
    }

    template <typename T> std::optional<AppError> appError(QCoro::Task<T> &&task)
    {
        return runOutcome(std::move(task)).template errorAs<AppError>();
    }
};

TEST_F(XtreamClientTest, LoginSendsEncodedCredentialsAndReadsTheAccount)
{
    const XtreamAccount account = runTask(XtreamClient::login(provider.playlist(), client));
    EXPECT_TRUE(account.auth);
    EXPECT_EQ(account.status, u"Active");
    EXPECT_EQ(account.timezone, u"Europe/Paris");
    ASSERT_EQ(provider.server().requestCount(), 1);
    const LoopbackRequest request = provider.server().requests().first();
    EXPECT_EQ(request.path, XtreamProvider::kApiPath);
    EXPECT_EQ(request.query.toString(QUrl::FullyEncoded), u"username=demo%20user&password=p%26ss%2B1");
}

TEST_F(XtreamClientTest, RefusedLoginIsAnAccountWithoutAuth)
{
    EXPECT_FALSE(runTask(XtreamClient::login(wrongPassword(), client)).auth);
    provider.answer(XtreamProvider::kLogin, LoopbackResponse::json("[]"));
    EXPECT_EQ(appError(XtreamClient::login(provider.playlist(), client)), AppError::badData());
    provider.answer(XtreamProvider::kLogin, LoopbackResponse::json("{}"));
    EXPECT_EQ(appError(XtreamClient::login(provider.playlist(), client)), AppError::xtreamAuth());
    provider.answer(XtreamProvider::kLogin, LoopbackResponse::text("<html>maintenance</html>"));
    EXPECT_TRUE(runOutcome(XtreamClient::login(provider.playlist(), client)).errorAs<DecodingError>());
    provider.answer(XtreamProvider::kLogin, LoopbackResponse::dropped());
    EXPECT_TRUE(runOutcome(XtreamClient::login(provider.playlist(), client)).errorAs<NetError>());
}

QCoro::Task<int> request(const QString &action, Playlist playlist, Http *client)
{
    if (action.isEmpty())
        co_await XtreamClient::login(playlist, client);
    else if (action == u"get_live_categories")
        co_await XtreamClient::categories(playlist, action, true, client);
    else if (action == u"get_vod_streams")
        co_await XtreamClient::streams(playlist, action, true, client);
    else if (action == u"get_short_epg")
        co_await XtreamClient::shortEpg(playlist, QStringLiteral("1"), client);
    else if (action == u"get_simple_data_table")
        co_await XtreamClient::epgTable(playlist, QStringLiteral("1"), client);
    else if (action == u"get_vod_info")
        co_await XtreamClient::vodInfo(playlist, QStringLiteral("1"), client);
    else
        co_await XtreamClient::seriesInfo(playlist, QStringLiteral("1"), client);
    co_return 0;
}

TEST_F(XtreamClientTest, ErrorStatusesArePassedOn)
{
    const std::tuple<const char *, int, int> cases[] = { { "", 401, 1 }, { "", 403, 1 }, { "", 884, 1 },
        { "", 503, 3 }, { "get_live_categories", 404, 1 }, { "get_vod_streams", 403, 1 },
        { "get_vod_streams", 500, 3 }, { "get_vod_streams", 884, 1 }, { "get_short_epg", 404, 1 },
        { "get_simple_data_table", 502, 3 }, { "get_vod_info", 401, 1 }, { "get_series_info", 884, 1 } };
    for (const auto &[name, status, requests] : cases) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(status));
        const QString action = QString::fromUtf8(name);
        const int before = provider.requestCount(action);
        provider.answer(action, LoopbackResponse::withStatus(status, "{\"error\":true}"));
        EXPECT_EQ(appError(request(action, provider.playlist(), client)), AppError::http(status));
        EXPECT_EQ(provider.requestCount(action) - before, requests);
    }
}

TEST_F(XtreamClientTest, ListsAreServedFromTheCacheUnlessForcedAndRefusalsFail)
{
    const QString action = QStringLiteral("get_live_streams");
    const QList<XStream> streams = runTask(XtreamClient::streams(provider.playlist(), action, false, client));
    EXPECT_EQ(streams.size(), 8);
    // stream items share the cached list
    const QList<MediaItem> items
        = runTask(XtreamClient::streamItems(provider.playlist(), action, ContentType::live, false, client));
    EXPECT_EQ(items, XtreamClient::mediaItems(streams, ContentType::live));
    EXPECT_EQ(items.size(), 7);
    EXPECT_EQ(provider.requestCount(action), 1);
    // refused lists fail with the login error
    EXPECT_EQ(appError(XtreamClient::streamItems(wrongPassword(), action, ContentType::live, false, client)),
        AppError::xtreamAuth());
    EXPECT_EQ(appError(XtreamClient::streams(wrongPassword(), "get_series", false, client)),
        AppError::xtreamAuth());
    EXPECT_EQ(appError(XtreamClient::categories(wrongPassword(), "get_series_categories", false, client)),
        AppError::xtreamAuth());
    provider.answer(action, LoopbackResponse::json("[{\"stream_id\":\"1\"}]"));
    EXPECT_EQ(runTask(XtreamClient::streams(provider.playlist(), action, true, client)).size(), 1);
    EXPECT_EQ(provider.requestCount(action), 3);
    EXPECT_EQ(
        runTask(XtreamClient::categories(provider.playlist(), "get_vod_categories", false, client)).size(),
        2);
}

TEST_F(XtreamClientTest, OddListBodiesGiveEmptyListsOrBadData)
{
    for (const char *body :
        { "{\"user_info\":{\"auth\":1}}", "  \n ", "<html>", "[{\"stream_id\":1}", "[1, \"two\", null]" }) {
        SCOPED_TRACE(body);
        provider.answer(QStringLiteral("get_live_streams"), LoopbackResponse::json(body));
        provider.answer(QStringLiteral("get_live_categories"), LoopbackResponse::json(body));
        const auto streams
            = runOutcome(XtreamClient::streams(provider.playlist(), "get_live_streams", true, client));
        if (QByteArray(body).startsWith("[{"))
            EXPECT_EQ(streams.errorAs<AppError>(), AppError::badData());
        else
            EXPECT_EQ(streams.value, QList<XStream>());
        EXPECT_TRUE(
            runTask(XtreamClient::categories(provider.playlist(), "get_live_categories", true, client))
                .isEmpty());
    }
}

TEST_F(XtreamClientTest, GuidesAskForTheEncodedStreamAndFilter)
{
    const QList<EpgEntry> guide
        = runTask(XtreamClient::shortEpg(provider.playlist(), QStringLiteral("7 a/b"), client));
    EXPECT_EQ(guide.size(), 5);
    const QUrlQuery shortQuery = provider.lastQuery(QStringLiteral("get_short_epg"));
    EXPECT_EQ(shortQuery.queryItemValue(QStringLiteral("stream_id"), QUrl::FullyDecoded), u"7 a/b");
    EXPECT_EQ(shortQuery.queryItemValue(QStringLiteral("limit")), u"6");
    const QList<EpgEntry> table
        = runTask(XtreamClient::epgTable(provider.playlist(), QStringLiteral("42"), client));
    EXPECT_EQ(table.size(), 4);
    EXPECT_EQ(provider.lastQuery(QStringLiteral("get_simple_data_table"))
                  .queryItemValue(QStringLiteral("stream_id")),
        u"42");
    provider.answer(QStringLiteral("get_short_epg"), LoopbackResponse::text("not json"));
    EXPECT_TRUE(runTask(XtreamClient::shortEpg(provider.playlist(), QStringLiteral("7"), client)).isEmpty());
}

// The short guide begins with what is on at the client's clock, not at the system's.
TEST_F(XtreamClientTest, ShortGuideBeginsAtTheClientsNow)
{
    ManualClock clock(QDateTime::fromSecsSinceEpoch(4102446000, QTimeZone::utc())); // during the 20h news
    TestHttp timed({ .clock = &clock });
    QStringList titles;
    for (const EpgEntry &entry :
        runTask(XtreamClient::shortEpg(provider.playlist(), QStringLiteral("7"), &timed.http())))
        titles.append(entry.title);
    EXPECT_EQ(
        titles, QStringList({ "Journal de 20h", "Same start as the news", "Zero length", "Titre en liste" }));
}

TEST_F(XtreamClientTest, DetailsAskForTheEncodedIds)
{
    const VodInfo vod
        = runTask(XtreamClient::vodInfo(provider.playlist(), QStringLiteral("201&x=1"), client));
    EXPECT_EQ(vod.director, u"Michael Mann");
    EXPECT_EQ(provider.lastQuery(QStringLiteral("get_vod_info"))
                  .queryItemValue(QStringLiteral("vod_id"), QUrl::FullyDecoded),
        u"201&x=1");
    const SeriesInfo series
        = runTask(XtreamClient::seriesInfo(provider.playlist(), QStringLiteral("301"), client));
    EXPECT_EQ(series.episodesBySeason.keys(), QList<qint64>({ 1, 2, 4 }));
    EXPECT_EQ(
        provider.lastQuery(QStringLiteral("get_series_info")).queryItemValue(QStringLiteral("series_id")),
        u"301");
    provider.answer(QStringLiteral("get_vod_info"), LoopbackResponse::json("{\"info\":[]}"));
    EXPECT_EQ(runTask(XtreamClient::vodInfo(provider.playlist(), QStringLiteral("1"), client)), VodInfo());
    // A series without details is answered [] like a movie's empty info: the list item stands.
    provider.answer(QStringLiteral("get_series_info"), LoopbackResponse::json("[]"));
    EXPECT_EQ(
        runTask(XtreamClient::seriesInfo(provider.playlist(), QStringLiteral("1"), client)), SeriesInfo());
    provider.answer(QStringLiteral("get_series_info"), LoopbackResponse::json("<html>"));
    EXPECT_EQ(appError(XtreamClient::seriesInfo(provider.playlist(), QStringLiteral("1"), client)),
        AppError::badData());
}

TEST_F(XtreamClientTest, GetPhpLinkLogsInAsItsAccount)
{
    const Playlist link = provider.getPhpPlaylist();
    ASSERT_TRUE(isXtreamGetLink(link));
    const std::optional<Playlist> account = xtreamCredentials(link);
    ASSERT_TRUE(account.has_value());
    EXPECT_EQ(account->host, provider.server().baseUrl());
    EXPECT_TRUE(runTask(XtreamClient::login(*account, client)).auth);
    EXPECT_EQ(runTask(http->get(*link.url, 5s)).left(7), "#EXTM3U");
    provider.answer(XtreamProvider::kGetPath, LoopbackResponse::withStatus(884));
    EXPECT_EQ(appError(http->get(*link.url, 5s)), AppError::http(884));
}

} // namespace
