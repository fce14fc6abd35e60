#include "sources/StreamAddresses.h"
#include "sources/XtreamClient.h"

#include <gtest/gtest.h>

namespace {

const QTimeZone kParis("Europe/Paris");
// 2024-03-10 20:30:15.750 UTC, a 90-minute programme, "now" at 23:00:00 UTC.
const QDateTime kStart = QDateTime::fromMSecsSinceEpoch(1710102615750LL, QTimeZone::utc());
const QDateTime kEnd = kStart.addSecs(90 * 60);
const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1710111600LL, QTimeZone::utc());

OptText opt(const char *text)
{
    return text ? OptText(QString::fromUtf8(text)) : std::nullopt;
}

Playlist withHost(OptText host)
{
    return Playlist { 0, "", "xtream", std::nullopt, host, "u", "p", std::nullopt };
}

Playlist m3u(OptText url, QString type = QStringLiteral("m3u"))
{
    return Playlist { 4, "Provider", type, url, std::nullopt, std::nullopt, std::nullopt,
        "http://127.0.0.1/epg.xml" };
}

TEST(XtreamAddress, ServerBaseIsNormalisedWithoutTheApiPath)
{
    const std::pair<OptText, const char *> cases[] = { { " myhost/ ", "http://myhost" },
        { "myhost:8080/", "http://myhost:8080" }, { "HTTPS://Host.tv/PLAYER_API.PHP", "HTTPS://Host.tv" },
        { "http://h:80/player_api.php?username=a&password=b", "http://h:80" },
        { "http://h/panel//get.php?x=1", "http://h/panel" }, { "h/a/xmltv.php/", "http://h/a" },
        { "https://h///", "https://h" }, { "  \n ", "" }, { std::nullopt, "" } };
    for (const auto &[host, base] : cases)
        EXPECT_EQ(XtreamClient::serverBase(withHost(host)), QString::fromUtf8(base)) << base;
}

TEST(XtreamAddress, PercentEncodeKeepsUnicodeLettersAndUnreservedMarks)
{
    EXPECT_EQ(XtreamClient::percentEncode(QStringLiteral("x y+z")), u"x%20y%2Bz");
    EXPECT_EQ(XtreamClient::percentEncode(QStringLiteral("a b&c")), u"a%20b%26c");
    EXPECT_EQ(XtreamClient::percentEncode(QStringLiteral("é-._~")), u"é-._~");
    EXPECT_EQ(XtreamClient::percentEncode(QString::fromUtf8("\u0661\u0662 \u20ac/")),
        QString::fromUtf8("\u0661\u0662%20%E2%82%AC%2F"));
    EXPECT_EQ(XtreamClient::percentEncode(QString::fromUtf8("\U0001F600")), u"%F0%9F%98%80");
    EXPECT_EQ(XtreamClient::percentEncode(std::nullopt), u"");
    EXPECT_EQ(XtreamClient::percentEncode(QString(QChar(0xD800))), u"");
}

TEST(XtreamAddress, ApiUrlAddsTheActionOnlyWhenGiven)
{
    Playlist playlist = withHost(QStringLiteral("127.0.0.1:9/"));
    playlist.username = QStringLiteral("a b");
    playlist.password = QStringLiteral("p&w");
    EXPECT_EQ(XtreamClient::apiURL(playlist, std::nullopt, QStringLiteral("&ignored=1")),
        u"http://127.0.0.1:9/player_api.php?username=a%20b&password=p%26w");
    EXPECT_EQ(XtreamClient::apiURL(playlist, QStringLiteral("get_short_epg"), QStringLiteral("&stream_id=5")),
        u"http://127.0.0.1:9/player_api.php?username=a%20b&password=p%26w&action=get_short_epg&stream_id=5");
    playlist.host.reset();
    playlist.password.reset();
    EXPECT_EQ(
        XtreamClient::apiURL(playlist, std::nullopt, QString()), u"/player_api.php?username=a%20b&password=");
}

TEST(XtreamAddress, CredentialsComeFromTheLink)
{
    const struct {
        const char *url, *host, *username, *password;
        bool getLink;
    } cases[] = {
        { "http://127.0.0.1:8080/get.php?username=joe&password=s3cret&type=m3u_plus", "http://127.0.0.1:8080",
            "joe", "s3cret", true },
        { "http://127.0.0.1/Panel/GET.PHP?username=a%20b&password=x%2By&password=second", "http://127.0.0.1",
            "a b", "x+y", true },
        { "http://127.0.0.1/list.m3u?username=a&password=b", "http://127.0.0.1", "a", "b", false },
        { " \thttps://127.0.0.1:443/get.php?username=a&password=b\t", "https://127.0.0.1:443", "a", "b",
            false },
        { "http://[::1]:81/get.php?username=a&password=b", "http://[::1]:81", "a", "b", true },
    };
    for (const auto &c : cases) {
        const Playlist source = m3u(QString::fromUtf8(c.url));
        EXPECT_EQ(isXtreamGetLink(source), c.getLink) << c.url;
        EXPECT_EQ(xtreamCredentials(source),
            (Playlist { source.id, source.name, "xtream", std::nullopt, c.host, c.username, c.password,
                source.epg_url }));
    }
    for (const char *url : { "http://127.0.0.1:8080/get.php?username=joe&password=",
             "http://127.0.0.1:8080/get.php?username=joe", "http://127.0.0.1/GET.PHP",
             "http://127.0.0.1/get.php?Username=a&Password=b", "/get.php?username=a&password=b",
             "not a url at all" }) {
        EXPECT_FALSE(isXtreamGetLink(m3u(QString::fromUtf8(url)))) << url;
        EXPECT_EQ(xtreamCredentials(m3u(QString::fromUtf8(url))), std::nullopt) << url;
    }
}

TEST(XtreamAddress, XtreamPlaylistsAreTheirOwnFormAndNeverGetLinks)
{
    Playlist xtream
        = m3u(QStringLiteral("http://127.0.0.1/get.php?username=a&password=b"), QStringLiteral("XTREAM"));
    EXPECT_EQ(xtreamCredentials(xtream), xtream);
    EXPECT_FALSE(isXtreamGetLink(xtream));
    EXPECT_FALSE(xtreamCredentials(m3u(std::nullopt)).has_value());
}

TEST(XtreamText, DecodeTakesBase64OnlyWhenItSpellsPlausibleUtf8)
{
    const std::pair<const char *, const char *> cases[] = { { nullptr, nullptr }, { "", nullptr },
        { "Sm91cm5hbCBkZSAyMGg=", "Journal de 20h" }, { "IMOcbsOvY29kZSDimLogCg==", "Ünïcode ☺" },
        { "Sm91cm5h\nbCBkZSAy\nMGg=", "Journal de 20h" }, { "News", "News" }, { "abcd", "abcd" },
        { "Plain Title!", "Plain Title!" }, { "ICAg", "" }, { "QQ==QQ==", "QQ==QQ==" }, { "=", "=" },
        { "Film", "Film" }, { "Kids", "Kids" }, { "AAAA", "AAAA" }, { "TmV3cw==", "News" },
        { "S2lkcw==", "Kids" }, { "TGlnbmUgMQpMaWduZSAy", "Ligne 1\nLigne 2" } };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(XtreamClient::decodeText(opt(input)), opt(expected)) << (input ? input : "<absent>");
}

TEST(XtreamText, FormatDateUsesThePosixLocaleInTheGivenZone)
{
    const QDateTime date = QDateTime::fromSecsSinceEpoch(1710102615, QTimeZone::utc());
    EXPECT_EQ(
        XtreamClient::formatDate(date, QStringLiteral("yyyy-MM-dd:HH-mm ddd"), QTimeZone("Europe/Paris")),
        u"2024-03-10:21-30 Sun");
    EXPECT_EQ(XtreamClient::formatDate(date, QStringLiteral("MMM d, h:mm AP"), QTimeZone("Asia/Tokyo")),
        u"Mar 11, 5:30 AM");
}

TEST(XtreamText, RegexCompilesOrThrows)
{
    EXPECT_TRUE(XtreamClient::regex(QStringLiteral("\\$?\\{([A-Za-z]+)\\}"))
                    .match(QStringLiteral("${start}"))
                    .hasMatch());
    EXPECT_TRUE(XtreamClient::regex(QStringLiteral("abc"), QRegularExpression::CaseInsensitiveOption)
                    .match(QStringLiteral("ABC"))
                    .hasMatch());
    EXPECT_THROW(XtreamClient::regex(QStringLiteral("(unclosed")), std::invalid_argument);
}

TEST(StreamAddresses, XtreamStreamForms)
{
    const Playlist p = withHost("http://127.0.0.1:8080/");
    EXPECT_EQ(XtreamClient::liveUrl(p, "77", "m3u8"), u"http://127.0.0.1:8080/live/u/p/77.m3u8");
    EXPECT_EQ(XtreamClient::movieUrl(p, "9", "mkv"), u"http://127.0.0.1:8080/movie/u/p/9.mkv");
    EXPECT_EQ(XtreamClient::movieUrl(p, "9", std::nullopt), u"http://127.0.0.1:8080/movie/u/p/9.mp4");
    EXPECT_EQ(XtreamClient::seriesUrl(p, "5", std::nullopt), u"http://127.0.0.1:8080/series/u/p/5.mp4");
    // Credentials are path segments: reserved characters are encoded; absent ones leave empty pieces.
    Playlist spaced = p;
    spaced.username = QStringLiteral("a b#c?d");
    spaced.password.reset();
    EXPECT_EQ(XtreamClient::liveUrl(spaced, "1", "ts"), u"http://127.0.0.1:8080/live/a%20b%23c%3Fd//1.ts");
    spaced.password = QStringLiteral("x/y%z");
    EXPECT_EQ(XtreamClient::seriesUrl(spaced, "2", "mkv"),
        u"http://127.0.0.1:8080/series/a%20b%23c%3Fd/x%2Fy%25z/2.mkv");
}

TEST(StreamAddresses, LiveTsBecomesM3u8)
{
    const std::pair<const char *, const char *> cases[] = {
        { "http://127.0.0.1:8080/u/p/1234.ts", "http://127.0.0.1:8080/u/p/1234.m3u8" },
        { "http://127.0.0.1:8080/u/p/1234.TS", "http://127.0.0.1:8080/u/p/1234.m3u8" },
        { "http://127.0.0.1:8080/u/p/1234.ts?token=x", nullptr },
        { "http://127.0.0.1:8080/u/p/1234", "http://127.0.0.1:8080/u/p/1234.m3u8" },
        { "http://127.0.0.1/live/u/p/-12", "http://127.0.0.1/live/u/p/-12.m3u8" },
        { "http://127.0.0.1/a%20b/p/7.ts", "http://127.0.0.1/a%20b/p/7.m3u8" },
        { "http://127.0.0.1/u/p/index.m3u8", nullptr },
        { "http://127.0.0.1/p/1234.ts", nullptr },
        { "http://127.0.0.1/u/p/film.mp4", nullptr },
        { "http://127.0.0.1/u/p/channel", nullptr },
        { "http://127.0.0.1/u/p/12a", nullptr },
        { "http://127.0.0.1/u/p/1234/", nullptr },
        { "http://[::1/u/p/1.ts", nullptr },
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(liveM3u8Url(QString::fromUtf8(input)), opt(expected)) << input;
}

TEST(StreamAddresses, TimeshiftDateUsesTheGivenZone)
{
    EXPECT_EQ(XtreamClient::timeshiftDate(kStart, kParis), u"2024-03-10:21-30");
    EXPECT_EQ(XtreamClient::timeshiftDate(kStart, QTimeZone::utc()), u"2024-03-10:20-30");
}

TEST(StreamAddresses, TimeshiftMinutesAreTruncatedAndAtLeastOne)
{
    const std::pair<qint64, QString> cases[]
        = { { 30, "1" }, { 90 * 60, "90" }, { 90 * 60 - 1, "89" }, { -600, "1" }, { 0, "1" } };
    for (const auto &[lengthSecs, minutes] : cases) {
        const auto [path, php] = XtreamClient::timeshiftUrls(
            "http://h", "u", "p", "5", kStart, kStart.addSecs(lengthSecs), QTimeZone::utc());
        EXPECT_EQ(path, "http://h/timeshift/u/p/" + minutes + "/2024-03-10:20-30/5.m3u8");
        EXPECT_TRUE(php->contains("&duration=" + minutes + '&')) << php->toStdString();
    }
}

TEST(StreamAddresses, TimeshiftPhpEncodesCredentialsAndId)
{
    const auto [path, php]
        = XtreamClient::timeshiftUrls("http://h:81", "a b&c", "p+q", "7/1", kStart, kEnd, kParis);
    EXPECT_EQ(path, u"http://h:81/timeshift/a%20b%26c/p%2Bq/90/2024-03-10:21-30/7/1.m3u8");
    EXPECT_EQ(php,
        opt("http://h:81/streaming/timeshift.php?username=a%20b%26c&password=p%2Bq&stream=7%2F1"
            "&start=2024-03-10:21-30&duration=90&extension=m3u8"));
}

TEST(StreamAddresses, CatchupTemplateIsFilled)
{
    const std::pair<const char *, const char *> cases[] = {
        { "?s=${start}&n={lutc}&x={other}", "?s=1710102615&n=1710111600&x={other}" },
        { "{utc}/{utcend}/{end}/{timestamp}/{now}",
            "1710102615/1710108015/1710108015/1710111600/1710111600" },
        { "d={duration}&o=${offset}", "d=5400&o=8985" },
        { "/${Y}/{m}/{d}/{H}-{M}-{S}.ts", "/2024/03/10/21-30-15.ts" },
        { "{UTC}{Start}{ utc}$utc", "{UTC}{Start}{ utc}$utc" },
        { "{start}{start}", "17101026151710102615" },
        { "", "" },
    };
    for (const auto &[pattern, expected] : cases)
        EXPECT_EQ(XtreamClient::fillCatchupTemplate(QString::fromUtf8(pattern), kStart, kEnd, kParis, kNow),
            QString::fromUtf8(expected));
    // numbers go negative for programmes in the future
    const QDateTime future = kNow.addSecs(120);
    EXPECT_EQ(XtreamClient::fillCatchupTemplate(
                  "{offset}|{duration}", future, future.addSecs(-60), QTimeZone::utc(), kNow),
        u"-120|-60");
}

TEST(StreamAddresses, M3uCatchupIsBuiltByMode)
{
    const char *php = "/streaming/timeshift.php?username=u&password=p&stream=%1&start=2024-03-10:21-30"
                      "&duration=90&extension=m3u8";
    const struct {
        const char *mode;
        const char *source; // nullptr: absent
        const char *url;
        const char *address;
        OptText second;
    } cases[] = {
        { "default", "http://h/arch?b={utc}&e={utcend}", "http://h/ch",
            "http://h/arch?b=1710102615&e=1710108015", {} },
        { "default", nullptr, "http://h/ch", "", {} },
        { "append", "?start=${start}", "http://h/ch.m3u8", "http://h/ch.m3u8?start=1710102615", {} },
        { "shift", nullptr, "http://h/ch.m3u8", "http://h/ch.m3u8?utc=1710102615&lutc=1710111600", {} },
        { "shift", nullptr, "http://h/ch.m3u8?tok=1", "http://h/ch.m3u8?tok=1&utc=1710102615&lutc=1710111600",
            {} },
        { "xc", nullptr, "http://127.0.0.1:8080/live/u/p/5.ts",
            "http://127.0.0.1:8080/timeshift/u/p/90/2024-03-10:21-30/5.m3u8",
            "http://127.0.0.1:8080" + QString::fromLatin1(php).arg(5) },
        { "xc", nullptr, "https://127.0.0.1/u/p/.6.ts",
            "https://127.0.0.1/timeshift/u/p/90/2024-03-10:21-30/6.m3u8",
            "https://127.0.0.1" + QString::fromLatin1(php).arg(6) },
        { "xc", nullptr, "http://[::1]:8080/live/u/p/7.ts",
            "http://[::1]:8080/timeshift/u/p/90/2024-03-10:21-30/7.m3u8",
            "http://[::1]:8080" + QString::fromLatin1(php).arg(7) },
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(std::string(row.mode) + " " + row.url);
        const auto urls = XtreamClient::m3uCatchupUrls(
            row.mode, opt(row.source), QString::fromUtf8(row.url), kStart, kEnd, kParis, kNow);
        ASSERT_TRUE(urls.has_value());
        EXPECT_EQ(urls->first, QString::fromUtf8(row.address));
        EXPECT_EQ(urls->second, row.second);
    }
    const std::pair<const char *, const char *> refused[] = { { "Shift", "http://h/x/u/p/5.ts" },
        { "xc", "http://h/live/x/u/p/5.ts" }, { "xc", "http://h/u/p" }, { "xc", "/live/u/p/5.ts" },
        { "xc", "http://h/u/p/..." } };
    for (const auto &[mode, url] : refused)
        EXPECT_EQ(
            XtreamClient::m3uCatchupUrls(mode, std::nullopt, url, kStart, kEnd, kParis, kNow), std::nullopt)
            << mode << " " << url;
}

} // namespace
