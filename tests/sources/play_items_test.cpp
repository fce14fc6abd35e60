#include "sources/PlayItems.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1710111600LL, QTimeZone::utc());
// 20:30:15.750 UTC; the key keeps only the whole seconds.
const QDateTime kStart = QDateTime::fromMSecsSinceEpoch(1710102615750LL, QTimeZone::utc());
const QString kLogo = QStringLiteral("http://127.0.0.1/logo.png");

Playlist m3u(const QString &url = QStringLiteral("http://127.0.0.1:9/list.m3u"))
{
    return Playlist { .id = 7, .name = "Home", .url = url };
}

Playlist xtream()
{
    return Playlist { 7, "", "Xtream", std::nullopt, "127.0.0.1:8080", "u", "p", std::nullopt };
}

MediaItem item(
    ContentType type, const QString &id, OptText url = std::nullopt, std::optional<Catchup> catchup = {})
{
    return MediaItem { 4, type, id, "Name " + id, kLogo, "12", url, "epg.1", std::nullopt, "7.1", 41,
        catchup };
}

OptText opt(const char *text)
{
    return text ? OptText(QString::fromUtf8(text)) : std::nullopt;
}

TEST(PlayItems, ItemAddressAndFallback)
{
    const struct {
        ContentType type;
        const char *url; // nullptr: Xtream-Codes item
        const char *ext;
        bool xtreamPlaylist;
        const char *expectedUrl;
        const char *expectedFallback;
    } cases[] = {
        { ContentType::live, "http://127.0.0.1/u/p/1234.ts", nullptr, false, "http://127.0.0.1/u/p/1234.m3u8",
            "http://127.0.0.1/u/p/1234.ts" },
        { ContentType::live, "http://127.0.0.1/u/p/1234.ts?t=1", nullptr, false,
            "http://127.0.0.1/u/p/1234.ts?t=1", nullptr },
        { ContentType::movie, "http://127.0.0.1/movie/u/p/1234.ts", nullptr, false,
            "http://127.0.0.1/movie/u/p/1234.ts", nullptr },
        { ContentType::live, nullptr, "ts", true, "http://127.0.0.1:8080/live/u/p/77.m3u8",
            "http://127.0.0.1:8080/live/u/p/77.ts" },
        { ContentType::movie, nullptr, nullptr, true, "http://127.0.0.1:8080/movie/u/p/77.mp4", nullptr },
        { ContentType::movie, nullptr, "mkv", true, "http://127.0.0.1:8080/movie/u/p/77.mkv", nullptr },
        { ContentType::series, nullptr, nullptr, true, "http://127.0.0.1:8080/movie/u/p/77.mp4", nullptr },
        // request headers after a "|" are not part of the address
        { ContentType::live, "http://127.0.0.1/u/p/1234.ts|User-Agent=VLC", nullptr, false,
            "http://127.0.0.1/u/p/1234.m3u8", "http://127.0.0.1/u/p/1234.ts" },
        { ContentType::live, "http://127.0.0.1/hls/01.m3u8|Referer=http://127.0.0.1|x", nullptr, false,
            "http://127.0.0.1/hls/01.m3u8", nullptr },
        { ContentType::movie, "http://127.0.0.1/movie/u/p/9.mkv|Referer=http://127.0.0.1&User-Agent=VLC",
            nullptr, false, "http://127.0.0.1/movie/u/p/9.mkv", nullptr },
    };
    for (const auto &row : cases) {
        MediaItem media = item(row.type, QStringLiteral("77"), opt(row.url));
        media.ext = opt(row.ext);
        const PlayItem play = PlayItems::forItem(media, row.xtreamPlaylist ? xtream() : m3u());
        EXPECT_EQ(play.url, QString::fromUtf8(row.expectedUrl));
        EXPECT_EQ(play.fallbackUrl, opt(row.expectedFallback)) << row.expectedUrl;
        EXPECT_EQ(play.favorite->url, media.url) << "the stored entry keeps the address as read";
    }
}

// Address lines without a scheme are relative to the playlist's own web address.
TEST(PlayItems, RelativeAddressesResolveAgainstTheWebPlaylist)
{
    const struct {
        const char *playlist;
        ContentType type;
        const char *url;
        const char *expectedUrl;
    } cases[] = {
        { "http://127.0.0.1:9/lists/tv.m3u?key=1", ContentType::movie, "films/a b.mkv",
            "http://127.0.0.1:9/lists/films/a%20b.mkv" },
        { "https://127.0.0.1/lists/tv.m3u", ContentType::movie, "/vod/1.mp4", "https://127.0.0.1/vod/1.mp4" },
        { "http://127.0.0.1:9/lists/tv.m3u", ContentType::movie, "../up/2.mp4",
            "http://127.0.0.1:9/up/2.mp4" },
        { " http://127.0.0.1:9/tv.m3u\t", ContentType::live, "u/p/1234.ts",
            "http://127.0.0.1:9/u/p/1234.m3u8" },
        { "http://127.0.0.1:9/tv.m3u", ContentType::movie, "//127.0.0.2/x.mp4", "http://127.0.0.2/x.mp4" },
        // An absolute address stays as written; a playlist that is no web address resolves nothing.
        { "http://127.0.0.1:9/tv.m3u", ContentType::movie, "rtsp://127.0.0.3/cam", "rtsp://127.0.0.3/cam" },
        { "file:///home/user/tv.m3u", ContentType::movie, "films/a.mkv", "films/a.mkv" },
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.url);
        const MediaItem media = item(row.type, QStringLiteral("3"), opt(row.url));
        EXPECT_EQ(PlayItems::forItem(media, m3u(QString::fromUtf8(row.playlist))).url,
            QString::fromUtf8(row.expectedUrl));
        EXPECT_EQ(media.url, opt(row.url));
    }
    MediaItem series = item(ContentType::series, QStringLiteral("s"));
    Episode episode;
    episode.url = QStringLiteral("shows/e1.mkv");
    EXPECT_EQ(
        PlayItems::forEpisode(m3u(), series, episode).url, QStringLiteral("http://127.0.0.1:9/shows/e1.mkv"));
}

TEST(PlayItems, ItemRecordFields)
{
    const FavoriteEntry favorite { 7, ContentType::live, "77", "Name 77", kLogo, std::nullopt, "12", "epg.1",
        std::nullopt, "7.1", std::nullopt };
    EXPECT_EQ(PlayItems::forItem(item(ContentType::live, "77"), xtream()),
        (PlayItem { "7|LIVE|77", "Name 77", "http://127.0.0.1:8080/live/u/p/77.m3u8", kLogo, true, "77",
            std::nullopt, 41, favorite, "http://127.0.0.1:8080/live/u/p/77.ts", false, std::nullopt }));
    const PlayItem movie = PlayItems::forItem(item(ContentType::movie, "42"), xtream());
    EXPECT_EQ(movie.key, QStringLiteral("7|MOVIE|42"));
    EXPECT_FALSE(movie.live);
    EXPECT_EQ(movie.streamId, std::nullopt);
    EXPECT_EQ(PlayItems::forItem(item(ContentType::live, "x", "http://h/1"), m3u()).streamId, std::nullopt);
}

// Channels of a get.php playlist whose download failed come from Xtream-Codes requests
// and carry no url: their address must use the account in the playlist's link.
TEST(PlayItems, ItemsWithoutUrlOfAGetPhpPlaylistUseItsXtreamForm)
{
    const Playlist getPhp = m3u("http://127.0.0.1:8081/get.php?username=ann&password=pw&type=m3u_plus");
    const PlayItem live = PlayItems::forItem(item(ContentType::live, "5"), getPhp);
    EXPECT_EQ(live.url, QStringLiteral("http://127.0.0.1:8081/live/ann/pw/5.m3u8"));
    EXPECT_EQ(live.fallbackUrl, OptText("http://127.0.0.1:8081/live/ann/pw/5.ts"));
    EXPECT_EQ(live.streamId, OptText("5"));
    EXPECT_EQ(live.key, QStringLiteral("7|LIVE|5"));
    EXPECT_EQ(live.favorite->playlistId, 7);
    EXPECT_EQ(PlayItems::forItem(item(ContentType::movie, "9"), getPhp).url,
        QStringLiteral("http://127.0.0.1:8081/movie/ann/pw/9.mp4"));
}

EpgEntry programme(qint64 lengthSecs)
{
    return EpgEntry { QStringLiteral("News"), std::nullopt, kStart, kStart.addSecs(lengthSecs), true };
}

TEST(PlayItems, XtreamProgrammeUsesTimeshiftAddresses)
{
    const MediaItem channel = item(ContentType::live, "5", std::nullopt, Catchup { 3, "xc", {} });
    EXPECT_EQ(PlayItems::forProgramme(xtream(), channel, programme(30 * 60), QTimeZone::utc(), kNow),
        (PlayItem { "7|CATCHUP|5|1710102615", "News",
            "http://127.0.0.1:8080/timeshift/u/p/30/2024-03-10:20-30/5.m3u8", kLogo, false, std::nullopt,
            "Name 5", 0, std::nullopt,
            "http://127.0.0.1:8080/streaming/timeshift.php?username=u&password=p&stream=5"
            "&start=2024-03-10:20-30&duration=30&extension=m3u8",
            true, std::nullopt }));
}

TEST(PlayItems, M3uProgrammeIsBuiltOrRefused)
{
    const struct {
        const char *url;
        const char *mode; // nullptr: no catch-up
        const char *expectedUrl; // nullptr: no item
    } cases[] = {
        { "http://127.0.0.1/ch", "shift", "http://127.0.0.1/ch?utc=1710102615&lutc=1710111600" },
        { "http://127.0.0.1/ch|Referer=http://127.0.0.1", "shift",
            "http://127.0.0.1/ch?utc=1710102615&lutc=1710111600" },
        { "http://127.0.0.1:81/live/u/p/5.ts|User-Agent=VLC", "xc",
            "http://127.0.0.1:81/timeshift/u/p/60/2024-03-10:20-30/5.m3u8" },
        { "http://127.0.0.1:81/live/u/p/5.ts", "xc",
            "http://127.0.0.1:81/timeshift/u/p/60/2024-03-10:20-30/5.m3u8" },
        { "http://127.0.0.1:81/live/a/u/p/5.ts", "xc", nullptr },
        { nullptr, "shift", nullptr },
        { "http://127.0.0.1/ch", nullptr, nullptr },
    };
    for (const auto &row : cases) {
        const auto catchup = row.mode ? std::optional(Catchup { 2, row.mode, {} }) : std::nullopt;
        const MediaItem channel = item(ContentType::live, "5", opt(row.url), catchup);
        const auto play = PlayItems::forProgramme(m3u(), channel, programme(3600), QTimeZone::utc(), kNow);
        EXPECT_EQ(play ? OptText(play->url) : std::nullopt, opt(row.expectedUrl)) << "row " << &row - cases;
    }
}

TEST(PlayItems, EpisodeRecord)
{
    const MediaItem series = item(ContentType::series, "31");
    Episode episode { "901", 1, 2, "Pilot", std::nullopt, "mkv", std::nullopt, std::nullopt, std::nullopt };
    EXPECT_EQ(PlayItems::forEpisode(xtream(), series, episode),
        (PlayItem { "7|EP|901", "Name 31", "http://127.0.0.1:8080/series/u/p/901.mkv", kLogo, false,
            std::nullopt, QStringLiteral("S01E02 · Pilot"), 2, std::nullopt, std::nullopt, false, "mkv" }));

    episode.ext.reset();
    episode.season = 12;
    episode.number = 105;
    const PlayItem play = PlayItems::forEpisode(xtream(), series, episode);
    EXPECT_EQ(play.url, QStringLiteral("http://127.0.0.1:8080/series/u/p/901.mp4"));
    EXPECT_EQ(play.subtitle, OptText(QStringLiteral("S12E105 · Pilot")));

    episode.url = QStringLiteral("http://127.0.0.1/series/show/e1.mkv");
    episode.image = QStringLiteral("http://127.0.0.1/still.jpg");
    const PlayItem fromList = PlayItems::forEpisode(m3u(), series, episode);
    EXPECT_EQ(fromList.url, *episode.url);
    EXPECT_EQ(fromList.logo, episode.image);
    episode.url = QStringLiteral("http://127.0.0.1/series/show/e1.mkv|User-Agent=VLC");
    EXPECT_EQ(PlayItems::forEpisode(m3u(), series, episode).url,
        QStringLiteral("http://127.0.0.1/series/show/e1.mkv"));
}

TEST(PlayItems, CatchupZoneFallsBackToTheDeviceZone)
{
    EXPECT_EQ(catchupTimeZone(QStringLiteral("Asia/Tokyo")), QTimeZone("Asia/Tokyo"));
    EXPECT_EQ(catchupTimeZone(QStringLiteral("Mars/Olympus")), QTimeZone::systemTimeZone());
    EXPECT_EQ(catchupTimeZone(std::nullopt), QTimeZone::systemTimeZone());
}

} // namespace
