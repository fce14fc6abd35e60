#include "LongText.h"
#include "XtreamProvider.h"
#include "model/TextBounds.h"
#include "sources/AppError.h"
#include "sources/XtreamClient.h"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <string>

namespace {

QDateTime at(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000), QTimeZone::utc());
}

// The kind of error a reader throws; "other" for any other exception, "none" without one.
template <typename Reader> std::string failureOf(Reader read)
{
    try {
        read();
    } catch (const AppError &error) {
        return error.kind() == AppError::Kind::badData   ? "badData"
            : error.kind() == AppError::Kind::xtreamAuth ? "xtreamAuth"
                                                         : "appError";
    } catch (const DecodingError &) {
        return "decoding";
    } catch (...) {
        return "other";
    }
    return "none";
}

QStringList titles(const QList<EpgEntry> &entries)
{
    QStringList result;
    for (const EpgEntry &entry : entries)
        result << entry.title;
    return result;
}

TEST(XtreamAccountReader, ReadsTheAccountAndLeavesLooseFieldsAbsent)
{
    EXPECT_EQ(XtreamClient::parseAccount(XtreamProvider::fixture("account.json")),
        (XtreamAccount { true, "Active", at(4102444800), { "m3u8", "ts", "rtmp" }, "Europe/Paris" }));
    EXPECT_EQ(XtreamClient::parseAccount(XtreamProvider::fixture("account_quirks.json")),
        XtreamAccount { .auth = true });
}

TEST(XtreamAccountReader, JudgesAuthExpiryAndShape)
{
    const struct {
        const char *body, *failure;
        bool auth;
        std::optional<double> exp;
    } cases[] = {
        { R"({"user_info":{"auth":1,"status":"Active","exp_date":"0"}})", "none", true, std::nullopt },
        { R"({"user_info":{}})", "none", false, std::nullopt },
        { R"({"user_info":{"auth":true,"exp_date":1700000000.5}})", "none", true, 1700000000.5 },
        { R"({"user_info":{"auth":"true","exp_date":"-5"}})", "none", true, std::nullopt },
        { R"({"user_info":{"auth":"TRUE","exp_date":"soon"}})", "none", false, std::nullopt },
        { R"({"user_info":{"auth":"1","exp_date":"1e300"}})", "none", true, std::nullopt },
        { R"({"user_info":{"auth":"1","exp_date":"inf"}})", "none", true, std::nullopt },
        { R"({"user_info":{"auth":"1","exp_date":" 1700000000"}})", "none", true, std::nullopt },
        { R"({})", "xtreamAuth", false, std::nullopt },
        { R"({"user_info":[]})", "xtreamAuth", false, std::nullopt },
        { R"([])", "badData", false, std::nullopt },
        { R"(<html>blocked</html>)", "decoding", false, std::nullopt },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body);
        ASSERT_EQ(failureOf([&] { XtreamClient::parseAccount(c.body); }), c.failure);
        if (std::string(c.failure) != "none")
            continue;
        const XtreamAccount account = XtreamClient::parseAccount(c.body);
        EXPECT_EQ(account.auth, c.auth);
        EXPECT_EQ(account.exp, c.exp ? std::optional(at(*c.exp)) : std::nullopt);
    }
}

TEST(XtreamGuide, ListingsReadBase64AndLooseTimes)
{
    const QList<EpgEntry> entries
        = XtreamClient::parseEpgListings(XtreamProvider::fixture("epg_listings.json"));
    EXPECT_EQ(titles(entries),
        QStringList({ "Journal de 20h", "Old Show", "Plain Title!", "Zero length", "Same start as the news",
            "Titre en liste", QString::fromUtf8("Ünïcode ☺") }));
    ASSERT_EQ(entries.size(), 7);
    EXPECT_EQ(entries[0],
        (EpgEntry { "Journal de 20h", "Les infos du soir", at(4102444800), at(4102448400), false }));
    EXPECT_EQ(entries[1].hasArchive, true);
    EXPECT_EQ(entries[2].end, at(4102444800)); // from "end_timestamp"
    EXPECT_EQ(entries[2].description, OptText("not base64 at all"));
    EXPECT_EQ(entries[2].hasArchive, std::nullopt);
    EXPECT_EQ(entries[5].end, entries[5].start); // an infinite stop time counts as missing
    EXPECT_EQ(entries[6].start, at(1000003600.5));
    for (const char *body :
        { "", "[]", "{}", "{\"epg_listings\":{}}", "not json", "{\"epg_listings\":[1,\"x\"]}" })
        EXPECT_TRUE(XtreamClient::parseEpgListings(body).isEmpty()) << body;
}

TEST(XtreamGuide, ShortGuideKeepsWhatHasNotEndedSortedByStartAndTableDropsRepeats)
{
    const QByteArray listings = XtreamProvider::fixture("epg_listings.json");
    EXPECT_EQ(titles(XtreamClient::shortGuide(listings, at(1710000000))),
        QStringList(
            { "Plain Title!", "Journal de 20h", "Same start as the news", "Zero length", "Titre en liste" }));
    EXPECT_TRUE(XtreamClient::shortGuide(listings, at(4102455600)).isEmpty());
    // the table drops empty and repeated starts
    EXPECT_EQ(titles(XtreamClient::guideTable(listings)),
        QStringList({ "Old Show", QString::fromUtf8("Ünïcode ☺"), "Plain Title!", "Journal de 20h" }));
}

TEST(XtreamDetails, MovieDetailsFallBackAcrossKeys)
{
    EXPECT_EQ(XtreamClient::parseVodInfo(XtreamProvider::fixture("vod_info.json")),
        (VodInfo { "A group of professional bank robbers.", "4.1", "Crime, Drama", "Michael Mann",
            "Al Pacino, Robert De Niro", "1995", "02:50:00", "http://127.0.0.1/posters/heat_big.jpg",
            "http://127.0.0.1/backdrops/heat.jpg" }));
    for (const char *body : { "", "[]", "{\"info\":[]}", "{\"info\":null}", "garbage" })
        EXPECT_EQ(XtreamClient::parseVodInfo(body), VodInfo()) << body;
}

// One line per episode, checking that each sits under its own season.
QStringList episodeLines(SeriesInfo &info)
{
    QStringList lines;
    for (auto it = info.episodesBySeason.begin(); it != info.episodesBySeason.end(); ++it) {
        for (const Episode &e : *it) {
            EXPECT_EQ(e.season, it.key());
            lines << QStringLiteral("%1 s%2 e%3 %4 %5 %6 %7 %8")
                         .arg(e.id)
                         .arg(e.season)
                         .arg(e.number)
                         .arg(e.title, e.ext.value_or("-"), e.image.value_or("-"), e.plot.value_or("-"))
                         .arg(e.durationSecs ? QString::number(*e.durationSecs) : QStringLiteral("-"));
        }
    }
    info.episodesBySeason.clear();
    return lines;
}

TEST(XtreamDetails, SeriesEpisodesBySeasonKeyOrAsAList)
{
    SeriesInfo info = XtreamClient::parseSeriesInfo(XtreamProvider::fixture("series_info.json"));
    EXPECT_EQ(episodeLines(info),
        QStringList({ "1003 s1 e0 E0 - - - -",
            "1001 s1 e1 The Wire S01E01 mkv http://127.0.0.1/stills/e1.jpg - 3540", "9001 s1 e1 E1 - - - -",
            "1002 s1 e2 The Wire S01E02 mkv http://127.0.0.1/stills/e2.jpg Second. 3600",
            "2001 s2 e1 E1 - - - -", "4001 s4 e2 Moved - - - -" }));
    EXPECT_EQ(info,
        (SeriesInfo { "Baltimore drug scene.", "http://127.0.0.1/covers/wire_big.jpg",
            "http://127.0.0.1/backdrops/wire.jpg", "8.6", "Crime", "2002-06-02", "Dominic West", {} }));

    SeriesInfo listed = XtreamClient::parseSeriesInfo(XtreamProvider::fixture("series_info_list.json"));
    EXPECT_EQ(episodeLines(listed),
        QStringList({ "12 s1 e1 E1 - - - -", "11 s1 e2 E2 - - - -", "13 s3 e5 E5 - - - -" }));
    EXPECT_EQ(listed, SeriesInfo());
    for (const char *body : { R"({"episodes":"none"})", R"({"episodes":{}})", R"({"episodes":[]})" })
        EXPECT_TRUE(XtreamClient::parseSeriesInfo(body).episodesBySeason.isEmpty()) << body;
    EXPECT_EQ(XtreamClient::parseSeriesInfo("[]"), SeriesInfo());
    for (const char *body : { "", "\"text\"", "{broken" })
        EXPECT_EQ(failureOf([&] { XtreamClient::parseSeriesInfo(body); }), "badData") << body;
}

TEST(XtreamDetails, FirstTextTakesTheFirstUsableKey)
{
    simdjson::dom::parser parser;
    simdjson::dom::object object;
    ASSERT_EQ(parser
                  .parse(std::string(
                      R"({"a":null,"b":[],"c":"  <null> ","d":[" ","x"],"e":[" 7 "],"f":2.50,"g":{"k":1}})"))
                  .get_object()
                  .get(object),
        simdjson::SUCCESS);
    EXPECT_EQ(XtreamClient::firstText(&object, { "missing", "a", "b", "c", "e" }), OptText("7"));
    EXPECT_EQ(XtreamClient::firstText(&object, { "d", "f" }), OptText("2.5"));
    EXPECT_EQ(XtreamClient::firstText(&object, { "g", "a" }), std::nullopt);
    EXPECT_EQ(XtreamClient::firstText(nullptr, { "f" }), std::nullopt);
}

// Each text the client reads keeps its first KB, cut between characters: names and titles
// a few, descriptions tens.
TEST(XtreamReaders, LongTextsAreCutAtACharacter)
{
    using namespace XtreamClient;
    const struct {
        const char *label;
        qsizetype limit;
        const char *before;
        const char *after;
        std::function<OptText(const QByteArray &)> read;
    } rows[] = {
        { "stream name", TextBounds::kName, R"([{"stream_id":1,"name":")", R"("}])",
            [](const QByteArray &body) { return decodeMediaItems(body, ContentType::live).value(0).name; } },
        { "decoded stream name", TextBounds::kName, R"([{"stream_id":1,"name":")", R"("}])",
            [](const QByteArray &body) { return decodeStreams(body).value(0).name; } },
        { "category name", TextBounds::kName, R"([{"category_id":"1","category_name":")", R"("}])",
            [](const QByteArray &body) { return decodeCategories(body).value(0).name; } },
        { "episode title", TextBounds::kName, R"({"episodes":{"1":[{"id":"7","title":")", R"("}]}})",
            [](const QByteArray
                    &body) { return parseSeriesInfo(body).episodesBySeason.value(1).value(0).title; } },
        { "movie plot", TextBounds::kLongText, R"({"info":{"plot":")", R"("}})",
            [](const QByteArray &body) { return parseVodInfo(body).plot; } },
        { "programme title", TextBounds::kName, R"({"epg_listings":[{"start_timestamp":"1","title":")",
            R"("}]})", [](const QByteArray &body) { return parseEpgListings(body).value(0).title; } },
        { "programme description", TextBounds::kLongText,
            R"({"epg_listings":[{"start_timestamp":"1","title":"T","description":")", R"("}]})",
            [](const QByteArray &body) { return parseEpgListings(body).value(0).description; } },
    };
    for (const auto &row : rows) {
        for (const QString &character : { u"é"_qs, u"😀"_qs }) {
            const LongText text = longText(row.limit, "abc", character);
            EXPECT_EQ(row.read(row.before + text.utf8 + row.after), OptText(text.kept)) << row.label;
        }
    }
}

} // namespace
