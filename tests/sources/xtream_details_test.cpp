#include "XtreamProvider.h"
#include "sources/AppError.h"
#include "sources/XtreamClient.h"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <functional>
#include <string>

namespace {

std::string text(const OptText &value)
{
    return value ? value->toStdString() : std::string("<absent>");
}

QDateTime at(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000), QTimeZone::utc());
}

// The kind of AppError a reader throws; "other" for any other exception, "none" without one.
template<typename Reader>
std::string failureOf(Reader read)
{
    try {
        read();
    } catch (const AppError &error) {
        switch (error.kind()) {
        case AppError::Kind::badData:
            return "badData";
        case AppError::Kind::xtreamAuth:
            return "xtreamAuth";
        default:
            return "appError";
        }
    } catch (const DecodingError &) {
        return "decoding";
    } catch (...) {
        return "other";
    }
    return "none";
}

TEST(XtreamAccountReader, ReadsAnActiveAccount)
{
    const XtreamAccount account = XtreamClient::parseAccount(XtreamProvider::fixture("account.json"));
    EXPECT_TRUE(account.auth);
    EXPECT_EQ(text(account.status), "Active");
    EXPECT_EQ(account.exp, at(4102444800));
    EXPECT_EQ(account.allowedFormats, QStringList({ "m3u8", "ts", "rtmp" }));
    EXPECT_EQ(text(account.timezone), "Europe/Paris");
}

TEST(XtreamAccountReader, LooseFieldsAreAbsentNotGuessed)
{
    const XtreamAccount account = XtreamClient::parseAccount(XtreamProvider::fixture("account_quirks.json"));
    EXPECT_TRUE(account.auth);
    EXPECT_EQ(account.status, std::nullopt);
    EXPECT_EQ(account.exp, std::nullopt);
    EXPECT_TRUE(account.allowedFormats.isEmpty());
    EXPECT_EQ(account.timezone, std::nullopt);
}

struct AccountCase {
    const char *body;
    const char *failure;
    bool auth;
    std::optional<double> exp;
};

class AccountBodies : public testing::TestWithParam<AccountCase> {};

TEST_P(AccountBodies, JudgeAuthExpiryAndShape)
{
    const AccountCase &c = GetParam();
    const QByteArray body(c.body);
    ASSERT_EQ(failureOf([&] { XtreamClient::parseAccount(body); }), c.failure) << c.body;
    if (std::string(c.failure) != "none")
        return;
    const XtreamAccount account = XtreamClient::parseAccount(body);
    EXPECT_EQ(account.auth, c.auth) << c.body;
    EXPECT_EQ(account.exp, c.exp ? std::optional(at(*c.exp)) : std::nullopt) << c.body;
}

INSTANTIATE_TEST_SUITE_P(Bodies, AccountBodies,
    testing::Values(
        AccountCase { R"({"user_info":{"auth":1,"status":"Active","exp_date":"0"}})", "none", true, std::nullopt },
        AccountCase { R"({"user_info":{}})", "none", false, std::nullopt },
        AccountCase { R"({"user_info":{"auth":true,"exp_date":1700000000.5}})", "none", true, 1700000000.5 },
        AccountCase { R"({"user_info":{"auth":"true","exp_date":"-5"}})", "none", true, std::nullopt },
        AccountCase { R"({"user_info":{"auth":"TRUE","exp_date":"soon"}})", "none", false, std::nullopt },
        AccountCase { R"({"user_info":{"auth":"1","exp_date":"1e300"}})", "none", true, std::nullopt },
        AccountCase { R"({"user_info":{"auth":"1","exp_date":"inf"}})", "none", true, std::nullopt },
        AccountCase { R"({"user_info":{"auth":"1","exp_date":" 1700000000"}})", "none", true, std::nullopt },
        AccountCase { R"({})", "xtreamAuth", false, std::nullopt },
        AccountCase { R"({"user_info":[]})", "xtreamAuth", false, std::nullopt },
        AccountCase { R"([])", "badData", false, std::nullopt },
        AccountCase { R"(<html>blocked</html>)", "decoding", false, std::nullopt }));

TEST(XtreamGuide, ListingsReadBase64AndLooseTimes)
{
    const QList<EpgEntry> entries = XtreamClient::parseEpgListings(XtreamProvider::fixture("epg_listings.json"));
    QStringList titles;
    for (const EpgEntry &entry : entries)
        titles << entry.title;
    EXPECT_EQ(titles, QStringList({ "Journal de 20h", "Old Show", "Plain Title!", "Zero length", "Same start as the news",
                                    "Titre en liste", QString::fromUtf8("Ünïcode ☺") }));
    ASSERT_EQ(entries.size(), 7);
    EXPECT_EQ(entries[0].start, at(4102444800));
    EXPECT_EQ(entries[0].end, at(4102448400));
    EXPECT_EQ(text(entries[0].description), "Les infos du soir");
    EXPECT_EQ(entries[0].hasArchive, false);
    EXPECT_EQ(entries[1].hasArchive, true);
    EXPECT_EQ(entries[2].end, at(4102444800)); // from "end_timestamp"
    EXPECT_EQ(text(entries[2].description), "not base64 at all");
    EXPECT_EQ(entries[2].hasArchive, std::nullopt);
    EXPECT_EQ(entries[5].end, entries[5].start); // an infinite stop time counts as missing
    EXPECT_EQ(entries[6].start, at(1000003600.5));
}

TEST(XtreamGuide, UnexpectedBodiesGiveNoListings)
{
    for (const char *body : { "", "[]", "{}", "{\"epg_listings\":{}}", "not json", "{\"epg_listings\":[1,\"x\"]}" })
        EXPECT_TRUE(XtreamClient::parseEpgListings(body).isEmpty()) << body;
}

TEST(XtreamGuide, ShortGuideKeepsWhatHasNotEndedSortedByStart)
{
    const QList<EpgEntry> entries = XtreamClient::shortGuide(XtreamProvider::fixture("epg_listings.json"), at(1710000000));
    QStringList titles;
    for (const EpgEntry &entry : entries)
        titles << entry.title;
    EXPECT_EQ(titles, QStringList({ "Plain Title!", "Journal de 20h", "Same start as the news", "Zero length", "Titre en liste" }));
    EXPECT_TRUE(XtreamClient::shortGuide(XtreamProvider::fixture("epg_listings.json"), at(4102455600)).isEmpty());
}

TEST(XtreamGuide, TableDropsEmptyAndRepeatedStarts)
{
    const QList<EpgEntry> entries = XtreamClient::guideTable(XtreamProvider::fixture("epg_listings.json"));
    QStringList titles;
    for (const EpgEntry &entry : entries)
        titles << entry.title;
    EXPECT_EQ(titles, QStringList({ "Old Show", QString::fromUtf8("Ünïcode ☺"), "Plain Title!", "Journal de 20h" }));
}

TEST(XtreamDetails, MovieDetailsFallBackAcrossKeys)
{
    const VodInfo info = XtreamClient::parseVodInfo(XtreamProvider::fixture("vod_info.json"));
    EXPECT_EQ(text(info.plot), "A group of professional bank robbers.");
    EXPECT_EQ(text(info.rating), "4.1");
    EXPECT_EQ(text(info.genre), "Crime, Drama");
    EXPECT_EQ(text(info.director), "Michael Mann");
    EXPECT_EQ(text(info.cast), "Al Pacino, Robert De Niro");
    EXPECT_EQ(text(info.releaseDate), "1995");
    EXPECT_EQ(text(info.duration), "02:50:00");
    EXPECT_EQ(text(info.poster), "http://127.0.0.1/posters/heat_big.jpg");
    EXPECT_EQ(text(info.backdrop), "http://127.0.0.1/backdrops/heat.jpg");
    for (const char *body : { "", "[]", "{\"info\":[]}", "{\"info\":null}", "garbage" })
        EXPECT_EQ(XtreamClient::parseVodInfo(body), VodInfo()) << body;
}

QString episodeLine(const Episode &e)
{
    return QStringLiteral("%1 s%2 e%3 %4 %5 %6 %7 %8")
        .arg(e.id)
        .arg(e.season)
        .arg(e.number)
        .arg(e.title, e.ext.value_or("-"), e.image.value_or("-"), e.plot.value_or("-"))
        .arg(e.durationSecs ? QString::number(*e.durationSecs) : QStringLiteral("-"));
}

QStringList episodeLines(const SeriesInfo &info)
{
    QStringList lines;
    for (auto it = info.episodesBySeason.begin(); it != info.episodesBySeason.end(); ++it) {
        for (const Episode &episode : *it) {
            EXPECT_EQ(episode.season, it.key());
            lines << episodeLine(episode);
        }
    }
    return lines;
}

TEST(XtreamDetails, SeriesEpisodesBySeasonKey)
{
    const SeriesInfo info = XtreamClient::parseSeriesInfo(XtreamProvider::fixture("series_info.json"));
    EXPECT_EQ(episodeLines(info),
              QStringList({
                  "1003 s1 e0 E0 - - - -",
                  "1001 s1 e1 The Wire S01E01 mkv http://127.0.0.1/stills/e1.jpg - 3540",
                  "9001 s1 e1 E1 - - - -",
                  "1002 s1 e2 The Wire S01E02 mkv http://127.0.0.1/stills/e2.jpg Second. 3600",
                  "2001 s2 e1 E1 - - - -",
                  "4001 s4 e2 Moved - - - -",
              }));
    EXPECT_EQ(text(info.plot), "Baltimore drug scene.");
    EXPECT_EQ(text(info.cover), "http://127.0.0.1/covers/wire_big.jpg");
    EXPECT_EQ(text(info.backdrop), "http://127.0.0.1/backdrops/wire.jpg");
    EXPECT_EQ(text(info.rating), "8.6");
    EXPECT_EQ(text(info.genre), "Crime");
    EXPECT_EQ(text(info.releaseDate), "2002-06-02");
    EXPECT_EQ(text(info.cast), "Dominic West");
}

TEST(XtreamDetails, SeriesEpisodesAsAListAndBrokenBodies)
{
    const SeriesInfo info = XtreamClient::parseSeriesInfo(XtreamProvider::fixture("series_info_list.json"));
    EXPECT_EQ(episodeLines(info), QStringList({ "12 s1 e1 E1 - - - -", "11 s1 e2 E2 - - - -", "13 s3 e5 E5 - - - -" }));
    EXPECT_EQ(info.plot, std::nullopt);
    EXPECT_TRUE(XtreamClient::parseSeriesInfo(R"({"episodes":"none"})").episodesBySeason.isEmpty());
    for (const char *body : { "", "[]", "\"text\"", "{broken" })
        EXPECT_EQ(failureOf([&] { XtreamClient::parseSeriesInfo(body); }), "badData") << body;
}

TEST(XtreamDetails, FirstTextTakesTheFirstUsableKey)
{
    simdjson::dom::parser parser;
    simdjson::dom::object object;
    ASSERT_EQ(parser.parse(std::string(R"({"a":null,"b":[],"c":"  <null> ","d":[" ","x"],"e":[" 7 "],"f":2.50,"g":{"k":1}})"))
                  .get_object()
                  .get(object),
              simdjson::SUCCESS);
    EXPECT_EQ(text(XtreamClient::firstText(&object, { "missing", "a", "b", "c", "e" })), "7");
    EXPECT_EQ(text(XtreamClient::firstText(&object, { "d", "f" })), "2.5");
    EXPECT_EQ(text(XtreamClient::firstText(&object, { "g", "a" })), "<absent>");
    EXPECT_EQ(text(XtreamClient::firstText(nullptr, { "f" })), "<absent>");
}

} // namespace
