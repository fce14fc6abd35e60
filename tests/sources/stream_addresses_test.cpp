#include "sources/StreamAddresses.h"

#include <gtest/gtest.h>

namespace {

const QTimeZone kParis("Europe/Paris");
// 2024-03-10 20:30:15.750 UTC, a 90-minute programme, "now" at 23:00:00 UTC.
const QDateTime kStart = QDateTime::fromMSecsSinceEpoch(1710102615750LL, QTimeZone::utc());
const QDateTime kEnd = kStart.addSecs(90 * 60);
const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1710111600LL, QTimeZone::utc());

Playlist xtream(OptText user = QStringLiteral("u"), OptText pass = QStringLiteral("p"))
{
    Playlist playlist;
    playlist.id = 3;
    playlist.type = QStringLiteral("xtream");
    playlist.host = QStringLiteral("http://127.0.0.1:8080/");
    playlist.username = user;
    playlist.password = pass;
    return playlist;
}

TEST(StreamAddresses, XtreamStreamForms)
{
    const Playlist p = xtream();
    EXPECT_EQ(XtreamClient::liveUrl(p, QStringLiteral("77"), QStringLiteral("m3u8")),
              u"http://127.0.0.1:8080/live/u/p/77.m3u8");
    EXPECT_EQ(XtreamClient::movieUrl(p, QStringLiteral("9"), QStringLiteral("mkv")),
              u"http://127.0.0.1:8080/movie/u/p/9.mkv");
    EXPECT_EQ(XtreamClient::movieUrl(p, QStringLiteral("9"), std::nullopt), u"http://127.0.0.1:8080/movie/u/p/9.mp4");
    EXPECT_EQ(XtreamClient::seriesUrl(p, QStringLiteral("5"), std::nullopt),
              u"http://127.0.0.1:8080/series/u/p/5.mp4");
    // Credentials are not encoded in stream paths; absent ones leave empty pieces.
    EXPECT_EQ(XtreamClient::liveUrl(xtream(QStringLiteral("a b"), std::nullopt), QStringLiteral("1"), QStringLiteral("ts")),
              u"http://127.0.0.1:8080/live/a b//1.ts");
}

struct HlsCase {
    const char *input;
    const char *expected; // nullptr: no rewrite
};

class LiveM3u8Test : public ::testing::TestWithParam<HlsCase> {};

TEST_P(LiveM3u8Test, Rewrites)
{
    const HlsCase row = GetParam();
    const OptText result = liveM3u8Url(QString::fromUtf8(row.input));
    if (row.expected)
        EXPECT_EQ(result, OptText(QString::fromUtf8(row.expected)));
    else
        EXPECT_EQ(result, std::nullopt) << result->toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    StreamAddresses, LiveM3u8Test,
    ::testing::Values(HlsCase{ "http://127.0.0.1:8080/u/p/1234.ts", "http://127.0.0.1:8080/u/p/1234.m3u8" },
                      HlsCase{ "http://127.0.0.1:8080/u/p/1234.TS", "http://127.0.0.1:8080/u/p/1234.m3u8" },
                      HlsCase{ "http://127.0.0.1:8080/u/p/1234.ts?token=x", nullptr },
                      HlsCase{ "http://127.0.0.1:8080/u/p/1234", "http://127.0.0.1:8080/u/p/1234.m3u8" },
                      HlsCase{ "http://127.0.0.1/live/u/p/-12", "http://127.0.0.1/live/u/p/-12.m3u8" },
                      HlsCase{ "http://127.0.0.1/a%20b/p/7.ts", "http://127.0.0.1/a%20b/p/7.m3u8" },
                      HlsCase{ "http://127.0.0.1/u/p/index.m3u8", nullptr },
                      HlsCase{ "http://127.0.0.1/p/1234.ts", nullptr },
                      HlsCase{ "http://127.0.0.1/u/p/film.mp4", nullptr },
                      HlsCase{ "http://127.0.0.1/u/p/channel", nullptr },
                      HlsCase{ "http://127.0.0.1/u/p/12a", nullptr },
                      HlsCase{ "http://127.0.0.1/u/p/1234/", nullptr },
                      HlsCase{ "http://[::1/u/p/1.ts", nullptr }));

TEST(StreamAddresses, TimeshiftDateUsesTheGivenZone)
{
    EXPECT_EQ(XtreamClient::timeshiftDate(kStart, kParis), u"2024-03-10:21-30");
    EXPECT_EQ(XtreamClient::timeshiftDate(kStart, QTimeZone::utc()), u"2024-03-10:20-30");
}

struct MinutesCase {
    qint64 lengthSecs;
    const char *minutes;
};

class TimeshiftMinutesTest : public ::testing::TestWithParam<MinutesCase> {};

TEST_P(TimeshiftMinutesTest, TruncatesAndKeepsAtLeastOne)
{
    const auto [path, php] = XtreamClient::timeshiftUrls(QStringLiteral("http://h"), QStringLiteral("u"),
                                                         QStringLiteral("p"), QStringLiteral("5"), kStart,
                                                         kStart.addSecs(GetParam().lengthSecs), QTimeZone::utc());
    const QString minutes = QString::fromUtf8(GetParam().minutes);
    EXPECT_EQ(path, QStringLiteral("http://h/timeshift/u/p/") + minutes + QStringLiteral("/2024-03-10:20-30/5.m3u8"));
    EXPECT_TRUE(php->contains(QStringLiteral("&duration=") + minutes + QLatin1Char('&'))) << php->toStdString();
}

INSTANTIATE_TEST_SUITE_P(StreamAddresses, TimeshiftMinutesTest,
                         ::testing::Values(MinutesCase{ 30, "1" }, MinutesCase{ 90 * 60, "90" },
                                           MinutesCase{ 90 * 60 - 1, "89" }, MinutesCase{ -600, "1" },
                                           MinutesCase{ 0, "1" }));

TEST(StreamAddresses, TimeshiftPhpEncodesCredentialsAndId)
{
    const auto [path, php] = XtreamClient::timeshiftUrls(QStringLiteral("http://h:81"), QStringLiteral("a b&c"),
                                                         QStringLiteral("p+q"), QStringLiteral("7/1"), kStart, kEnd,
                                                         kParis);
    EXPECT_EQ(path, u"http://h:81/timeshift/a b&c/p+q/90/2024-03-10:21-30/7/1.m3u8");
    EXPECT_EQ(php, OptText(QStringLiteral("http://h:81/streaming/timeshift.php?username=a%20b%26c&password=p%2Bq&stream=7%2F1"
                           "&start=2024-03-10:21-30&duration=90&extension=m3u8")));
}

struct TemplateCase {
    const char *tmpl;
    const char *expected;
};

class CatchupTemplateTest : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(CatchupTemplateTest, Fills)
{
    EXPECT_EQ(XtreamClient::fillCatchupTemplate(QString::fromUtf8(GetParam().tmpl), kStart, kEnd, kParis, kNow),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    StreamAddresses, CatchupTemplateTest,
    ::testing::Values(
        TemplateCase{ "?s=${start}&n={lutc}&x={other}", "?s=1710102615&n=1710111600&x={other}" },
        TemplateCase{ "{utc}/{utcend}/{end}/{timestamp}/{now}", "1710102615/1710108015/1710108015/1710111600/1710111600" },
        TemplateCase{ "d={duration}&o=${offset}", "d=5400&o=8985" },
        TemplateCase{ "/${Y}/{m}/{d}/{H}-{M}-{S}.ts", "/2024/03/10/21-30-15.ts" },
        TemplateCase{ "{UTC}{Start}{ utc}$utc", "{UTC}{Start}{ utc}$utc" },
        TemplateCase{ "{start}{start}", "17101026151710102615" }, TemplateCase{ "", "" }));

TEST(StreamAddresses, TemplateNumbersGoNegativeForFutureProgrammes)
{
    const QDateTime future = kNow.addSecs(120);
    EXPECT_EQ(XtreamClient::fillCatchupTemplate(QStringLiteral("{offset}|{duration}"), future, future.addSecs(-60),
                                                QTimeZone::utc(), kNow),
              u"-120|-60");
}

struct ModeCase {
    const char *mode;
    const char *source; // nullptr: absent
    const char *url;
    const char *address; // nullptr: no catch-up
    const char *second;  // nullptr: none
};

class M3uCatchupTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(M3uCatchupTest, BuildsByMode)
{
    const ModeCase row = GetParam();
    const OptText source = row.source ? OptText(QString::fromUtf8(row.source)) : std::nullopt;
    const auto urls = XtreamClient::m3uCatchupUrls(QString::fromUtf8(row.mode), source, QString::fromUtf8(row.url),
                                                   kStart, kEnd, kParis, kNow);
    if (!row.address) {
        EXPECT_EQ(urls, std::nullopt);
        return;
    }
    ASSERT_TRUE(urls.has_value());
    EXPECT_EQ(urls->first, QString::fromUtf8(row.address));
    EXPECT_EQ(urls->second, row.second ? OptText(QString::fromUtf8(row.second)) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    StreamAddresses, M3uCatchupTest,
    ::testing::Values(
        ModeCase{ "default", "http://h/arch?b={utc}&e={utcend}", "http://h/ch", "http://h/arch?b=1710102615&e=1710108015",
                  nullptr },
        ModeCase{ "default", nullptr, "http://h/ch", "", nullptr },
        ModeCase{ "append", "?start=${start}", "http://h/ch.m3u8", "http://h/ch.m3u8?start=1710102615", nullptr },
        ModeCase{ "shift", nullptr, "http://h/ch.m3u8", "http://h/ch.m3u8?utc=1710102615&lutc=1710111600", nullptr },
        ModeCase{ "shift", nullptr, "http://h/ch.m3u8?tok=1", "http://h/ch.m3u8?tok=1&utc=1710102615&lutc=1710111600",
                  nullptr },
        ModeCase{ "xc", nullptr, "http://127.0.0.1:8080/live/u/p/5.ts",
                  "http://127.0.0.1:8080/timeshift/u/p/90/2024-03-10:21-30/5.m3u8",
                  "http://127.0.0.1:8080/streaming/timeshift.php?username=u&password=p&stream=5"
                  "&start=2024-03-10:21-30&duration=90&extension=m3u8" },
        ModeCase{ "xc", nullptr, "https://127.0.0.1/u/p/.6.ts",
                  "https://127.0.0.1/timeshift/u/p/90/2024-03-10:21-30/6.m3u8",
                  "https://127.0.0.1/streaming/timeshift.php?username=u&password=p&stream=6"
                  "&start=2024-03-10:21-30&duration=90&extension=m3u8" },
        ModeCase{ "Shift", nullptr, "http://h/x/u/p/5.ts", nullptr, nullptr },
        ModeCase{ "xc", nullptr, "http://h/live/x/u/p/5.ts", nullptr, nullptr },
        ModeCase{ "xc", nullptr, "http://h/u/p", nullptr, nullptr },
        ModeCase{ "xc", nullptr, "/live/u/p/5.ts", nullptr, nullptr },
        ModeCase{ "xc", nullptr, "http://h/u/p/...", nullptr, nullptr }));

} // namespace
