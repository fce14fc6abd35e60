#include "sources/XtreamClient.h"

#include <gtest/gtest.h>

namespace {

Playlist withHost(OptText host)
{
    return Playlist { 0, "", "xtream", std::nullopt, host, "u", "p", std::nullopt };
}

Playlist m3u(OptText url, QString type = QStringLiteral("m3u"))
{
    return Playlist { 4, "Provider", type, url, std::nullopt, std::nullopt, std::nullopt, "http://127.0.0.1/epg.xml" };
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
    EXPECT_EQ(XtreamClient::percentEncode(QString::fromUtf8("\u0661\u0662 \u20ac/")), QString::fromUtf8("\u0661\u0662%20%E2%82%AC%2F"));
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
    EXPECT_EQ(XtreamClient::apiURL(playlist, std::nullopt, QString()), u"/player_api.php?username=a%20b&password=");
}

TEST(XtreamAddress, CredentialsComeFromTheLink)
{
    const struct {
        const char *url, *host, *username, *password;
        bool getLink;
    } cases[] = {
        { "http://127.0.0.1:8080/get.php?username=joe&password=s3cret&type=m3u_plus", "http://127.0.0.1:8080", "joe",
            "s3cret", true },
        { "http://127.0.0.1/Panel/GET.PHP?username=a%20b&password=x%2By&password=second", "http://127.0.0.1", "a b",
            "x+y", true },
        { "http://127.0.0.1/list.m3u?username=a&password=b", "http://127.0.0.1", "a", "b", false },
        { " \thttps://127.0.0.1:443/get.php?username=a&password=b\t", "https://127.0.0.1:443", "a", "b", false },
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
             "http://127.0.0.1/get.php?Username=a&Password=b", "/get.php?username=a&password=b", "not a url at all" }) {
        EXPECT_FALSE(isXtreamGetLink(m3u(QString::fromUtf8(url)))) << url;
        EXPECT_EQ(xtreamCredentials(m3u(QString::fromUtf8(url))), std::nullopt) << url;
    }
}

TEST(XtreamAddress, XtreamPlaylistsAreTheirOwnFormAndNeverGetLinks)
{
    Playlist xtream = m3u(QStringLiteral("http://127.0.0.1/get.php?username=a&password=b"), QStringLiteral("XTREAM"));
    EXPECT_EQ(xtreamCredentials(xtream), xtream);
    EXPECT_FALSE(isXtreamGetLink(xtream));
    EXPECT_FALSE(xtreamCredentials(m3u(std::nullopt)).has_value());
}

TEST(XtreamText, DecodeTakesBase64OnlyWhenItSpellsUtf8)
{
    const std::pair<const char *, const char *> cases[] = { { nullptr, nullptr }, { "", nullptr },
        { "Sm91cm5hbCBkZSAyMGg=", "Journal de 20h" }, { "IMOcbsOvY29kZSDimLogCg==", "Ünïcode ☺" },
        { "Sm91cm5h\nbCBkZSAy\nMGg=", "Journal de 20h" }, { "News", "News" }, { "abcd", "abcd" },
        { "Plain Title!", "Plain Title!" }, { "ICAg", "" }, { "QQ==QQ==", "QQ==QQ==" }, { "=", "=" } };
    const auto opt = [](const char *text) { return text ? OptText(QString::fromUtf8(text)) : std::nullopt; };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(XtreamClient::decodeText(opt(input)), opt(expected)) << (input ? input : "<absent>");
}

TEST(XtreamText, FormatDateUsesThePosixLocaleInTheGivenZone)
{
    const QDateTime date = QDateTime::fromSecsSinceEpoch(1710102615, QTimeZone::utc());
    EXPECT_EQ(XtreamClient::formatDate(date, QStringLiteral("yyyy-MM-dd:HH-mm ddd"), QTimeZone("Europe/Paris")),
              u"2024-03-10:21-30 Sun");
    EXPECT_EQ(XtreamClient::formatDate(date, QStringLiteral("MMM d, h:mm AP"), QTimeZone("Asia/Tokyo")), u"Mar 11, 5:30 AM");
}

TEST(XtreamText, RegexCompilesOrThrows)
{
    EXPECT_TRUE(XtreamClient::regex(QStringLiteral("\\$?\\{([A-Za-z]+)\\}")).match(QStringLiteral("${start}")).hasMatch());
    EXPECT_TRUE(XtreamClient::regex(QStringLiteral("abc"), QRegularExpression::CaseInsensitiveOption)
                    .match(QStringLiteral("ABC")).hasMatch());
    EXPECT_THROW(XtreamClient::regex(QStringLiteral("(unclosed")), std::invalid_argument);
}

} // namespace
