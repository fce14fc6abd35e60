#include "sources/XtreamClient.h"

#include <gtest/gtest.h>

namespace {

Playlist withHost(OptText host)
{
    Playlist playlist;
    playlist.type = QStringLiteral("xtream");
    playlist.host = std::move(host);
    playlist.username = QStringLiteral("u");
    playlist.password = QStringLiteral("p");
    return playlist;
}

Playlist m3u(OptText url, QString type = QStringLiteral("m3u"))
{
    Playlist playlist;
    playlist.id = 4;
    playlist.name = QStringLiteral("Provider");
    playlist.type = std::move(type);
    playlist.url = std::move(url);
    playlist.epg_url = QStringLiteral("http://127.0.0.1/epg.xml");
    return playlist;
}

struct BaseCase {
    OptText host;
    const char *base;
};

class ServerBase : public testing::TestWithParam<BaseCase> {};

TEST_P(ServerBase, NormalisesAndCutsTheApiPath)
{
    EXPECT_EQ(XtreamClient::serverBase(withHost(GetParam().host)), QString::fromUtf8(GetParam().base));
}

INSTANTIATE_TEST_SUITE_P(Hosts, ServerBase,
    testing::Values(BaseCase { QStringLiteral(" myhost/ "), "http://myhost" },
                    BaseCase { QStringLiteral("myhost:8080/"), "http://myhost:8080" },
                    BaseCase { QStringLiteral("HTTPS://Host.tv/PLAYER_API.PHP"), "HTTPS://Host.tv" },
                    BaseCase { QStringLiteral("http://h:80/player_api.php?username=a&password=b"), "http://h:80" },
                    BaseCase { QStringLiteral("http://h/panel//get.php?x=1"), "http://h/panel" },
                    BaseCase { QStringLiteral("h/a/xmltv.php/"), "http://h/a" },
                    BaseCase { QStringLiteral("https://h///"), "https://h" },
                    BaseCase { QStringLiteral("  \n "), "" },
                    BaseCase { std::nullopt, "" }));

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

struct CredentialCase {
    const char *url;
    const char *host; // nullptr: no Xtream-Codes form
    const char *username;
    const char *password;
    bool getLink;
};

class Credentials : public testing::TestWithParam<CredentialCase> {};

TEST_P(Credentials, DerivesTheAccountFromTheLink)
{
    const CredentialCase &c = GetParam();
    const Playlist source = m3u(QString::fromUtf8(c.url));
    const auto result = xtreamCredentials(source);
    EXPECT_EQ(isXtreamGetLink(source), c.getLink);
    if (!c.host) {
        EXPECT_FALSE(result.has_value());
        return;
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->type, u"xtream");
    EXPECT_FALSE(result->url.has_value());
    EXPECT_EQ(result->host, QString::fromUtf8(c.host));
    EXPECT_EQ(result->username, QString::fromUtf8(c.username));
    EXPECT_EQ(result->password, QString::fromUtf8(c.password));
    EXPECT_EQ(result->id, source.id);
    EXPECT_EQ(result->name, source.name);
    EXPECT_EQ(result->epg_url, source.epg_url);
}

INSTANTIATE_TEST_SUITE_P(Links, Credentials,
    testing::Values(
        CredentialCase { "http://127.0.0.1:8080/get.php?username=joe&password=s3cret&type=m3u_plus", "http://127.0.0.1:8080",
                         "joe", "s3cret", true },
        CredentialCase { "http://127.0.0.1:8080/get.php?username=joe&password=", nullptr, "", "", false },
        CredentialCase { "http://127.0.0.1:8080/get.php?username=joe", nullptr, "", "", false },
        CredentialCase { "http://127.0.0.1/GET.PHP", nullptr, "", "", false },
        CredentialCase { "http://127.0.0.1/Panel/GET.PHP?username=a%20b&password=x%2By&password=second", "http://127.0.0.1",
                         "a b", "x+y", true },
        CredentialCase { "http://127.0.0.1/list.m3u?username=a&password=b", "http://127.0.0.1", "a", "b", false },
        CredentialCase { "http://127.0.0.1/get.php?Username=a&Password=b", nullptr, "", "", false },
        CredentialCase { " \thttps://127.0.0.1:443/get.php?username=a&password=b\t", "https://127.0.0.1:443", "a", "b", false },
        CredentialCase { "http://[::1]:81/get.php?username=a&password=b", "http://[::1]:81", "a", "b", true },
        CredentialCase { "/get.php?username=a&password=b", nullptr, "", "", false },
        CredentialCase { "not a url at all", nullptr, "", "", false }));

TEST(XtreamAddress, XtreamPlaylistsAreTheirOwnFormAndNeverGetLinks)
{
    Playlist xtream = m3u(QStringLiteral("http://127.0.0.1/get.php?username=a&password=b"), QStringLiteral("XTREAM"));
    EXPECT_EQ(xtreamCredentials(xtream), xtream);
    EXPECT_FALSE(isXtreamGetLink(xtream));
    EXPECT_FALSE(xtreamCredentials(m3u(std::nullopt)).has_value());
}

struct DecodeCase {
    const char *input;
    const char *expected; // nullptr: absent
};

class DecodeText : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeText, TakesBase64OnlyWhenItSpellsUtf8)
{
    const DecodeCase &c = GetParam();
    const OptText input = c.input ? OptText(QString::fromUtf8(c.input)) : std::nullopt;
    const OptText result = XtreamClient::decodeText(input);
    if (!c.expected)
        EXPECT_FALSE(result.has_value());
    else
        EXPECT_EQ(result, QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, DecodeText,
    testing::Values(DecodeCase { nullptr, nullptr }, DecodeCase { "", nullptr },
                    DecodeCase { "Sm91cm5hbCBkZSAyMGg=", "Journal de 20h" },
                    DecodeCase { "IMOcbsOvY29kZSDimLogCg==", "Ünïcode ☺" },
                    DecodeCase { "Sm91cm5h\nbCBkZSAy\nMGg=", "Journal de 20h" },
                    DecodeCase { "News", "News" }, DecodeCase { "abcd", "abcd" },
                    DecodeCase { "Plain Title!", "Plain Title!" }, DecodeCase { "ICAg", "" },
                    DecodeCase { "QQ==QQ==", "QQ==QQ==" }, DecodeCase { "=", "=" }));

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
