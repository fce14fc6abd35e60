#include "sources/PlayItems.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1710111600LL, QTimeZone::utc());
// 20:30:15.750 UTC; the key keeps only the whole seconds.
const QDateTime kStart = QDateTime::fromMSecsSinceEpoch(1710102615750LL, QTimeZone::utc());

Playlist m3u(const QString &url = QStringLiteral("http://127.0.0.1:9/list.m3u"))
{
    Playlist playlist;
    playlist.id = 7;
    playlist.name = QStringLiteral("Home");
    playlist.url = url;
    return playlist;
}

Playlist xtream()
{
    Playlist playlist;
    playlist.id = 7;
    playlist.type = QStringLiteral("Xtream");
    playlist.host = QStringLiteral("127.0.0.1:8080");
    playlist.username = QStringLiteral("u");
    playlist.password = QStringLiteral("p");
    return playlist;
}

MediaItem item(ContentType type, const QString &id, OptText url = std::nullopt)
{
    MediaItem media;
    media.uid = 4;
    media.type = type;
    media.id = id;
    media.name = QStringLiteral("Name ") + id;
    media.logo = QStringLiteral("http://127.0.0.1/logo.png");
    media.categoryId = QStringLiteral("12");
    media.url = url;
    media.epgId = QStringLiteral("epg.1");
    media.rating = QStringLiteral("7.1");
    media.num = 41;
    return media;
}

struct AddressCase {
    const char *name;
    ContentType type;
    const char *url; // nullptr: Xtream-Codes item
    const char *ext;
    bool xtreamPlaylist;
    const char *expectedUrl;
    const char *expectedFallback;
};

class PlayItemAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(PlayItemAddressTest, ChoosesAddressAndFallback)
{
    const AddressCase row = GetParam();
    MediaItem media = item(row.type, QStringLiteral("77"), row.url ? OptText(QString::fromUtf8(row.url)) : std::nullopt);
    if (row.ext)
        media.ext = QString::fromUtf8(row.ext);
    const PlayItem play = PlayItems::forItem(media, row.xtreamPlaylist ? xtream() : m3u());
    EXPECT_EQ(play.url, QString::fromUtf8(row.expectedUrl));
    EXPECT_EQ(play.fallbackUrl, row.expectedFallback ? OptText(QString::fromUtf8(row.expectedFallback)) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    PlayItems, PlayItemAddressTest,
    ::testing::Values(
        AddressCase{ "m3uLiveTs", ContentType::live, "http://127.0.0.1/u/p/1234.ts", nullptr, false,
                     "http://127.0.0.1/u/p/1234.m3u8", "http://127.0.0.1/u/p/1234.ts" },
        AddressCase{ "m3uLiveQuery", ContentType::live, "http://127.0.0.1/u/p/1234.ts?t=1", nullptr, false,
                     "http://127.0.0.1/u/p/1234.ts?t=1", nullptr },
        AddressCase{ "m3uLiveBareNumber", ContentType::live, "http://127.0.0.1/u/p/1234", nullptr, false,
                     "http://127.0.0.1/u/p/1234.m3u8", "http://127.0.0.1/u/p/1234" },
        AddressCase{ "m3uLiveShortPath", ContentType::live, "http://127.0.0.1/p/1234.ts", nullptr, false,
                     "http://127.0.0.1/p/1234.ts", nullptr },
        AddressCase{ "m3uMovieNeverRewritten", ContentType::movie, "http://127.0.0.1/movie/u/p/1234.ts", nullptr,
                     false, "http://127.0.0.1/movie/u/p/1234.ts", nullptr },
        AddressCase{ "xtreamLive", ContentType::live, nullptr, "ts", true, "http://127.0.0.1:8080/live/u/p/77.m3u8",
                     "http://127.0.0.1:8080/live/u/p/77.ts" },
        AddressCase{ "xtreamMovieNoExt", ContentType::movie, nullptr, nullptr, true,
                     "http://127.0.0.1:8080/movie/u/p/77.mp4", nullptr },
        AddressCase{ "xtreamMovieExt", ContentType::movie, nullptr, "mkv", true,
                     "http://127.0.0.1:8080/movie/u/p/77.mkv", nullptr },
        AddressCase{ "xtreamSeriesItem", ContentType::series, nullptr, nullptr, true,
                     "http://127.0.0.1:8080/movie/u/p/77.mp4", nullptr }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PlayItems, ItemRecordFields)
{
    const MediaItem live = item(ContentType::live, QStringLiteral("77"));
    const PlayItem play = PlayItems::forItem(live, xtream());
    EXPECT_EQ(play.key, QStringLiteral("7|LIVE|77"));
    EXPECT_EQ(play.title, QStringLiteral("Name 77"));
    EXPECT_EQ(play.logo, live.logo);
    EXPECT_TRUE(play.live);
    EXPECT_FALSE(play.catchup);
    EXPECT_EQ(play.streamId, OptText(QStringLiteral("77")));
    EXPECT_EQ(play.number, 41);
    EXPECT_EQ(play.subtitle, std::nullopt);
    const FavoriteEntry expected{ 7,         ContentType::live, QStringLiteral("77"), QStringLiteral("Name 77"),
                                  live.logo, std::nullopt,      QStringLiteral("12"), live.epgId,
                                  std::nullopt, live.rating,    std::nullopt };
    EXPECT_EQ(play.favorite, expected);

    const MediaItem movie = item(ContentType::movie, QStringLiteral("42"));
    const PlayItem moviePlay = PlayItems::forItem(movie, xtream());
    EXPECT_EQ(moviePlay.key, QStringLiteral("7|MOVIE|42"));
    EXPECT_FALSE(moviePlay.live);
    EXPECT_EQ(moviePlay.streamId, std::nullopt);

    const PlayItem m3uLive = PlayItems::forItem(item(ContentType::live, QStringLiteral("x"), QStringLiteral("http://h/1")), m3u());
    EXPECT_EQ(m3uLive.streamId, std::nullopt);
}

// Channels of a get.php playlist whose download failed come from Xtream-Codes requests
// and carry no url: their address must use the account in the playlist's link.
TEST(PlayItems, ItemsWithoutUrlOfAGetPhpPlaylistUseItsXtreamForm)
{
    const Playlist getPhp = m3u(QStringLiteral("http://127.0.0.1:8081/get.php?username=ann&password=pw&type=m3u_plus"));
    const PlayItem live = PlayItems::forItem(item(ContentType::live, QStringLiteral("5")), getPhp);
    EXPECT_EQ(live.url, QStringLiteral("http://127.0.0.1:8081/live/ann/pw/5.m3u8"));
    EXPECT_EQ(live.fallbackUrl, OptText(QStringLiteral("http://127.0.0.1:8081/live/ann/pw/5.ts")));
    EXPECT_EQ(live.streamId, OptText(QStringLiteral("5")));
    EXPECT_EQ(live.key, QStringLiteral("7|LIVE|5"));
    EXPECT_EQ(live.favorite->playlistId, 7);

    const PlayItem movie = PlayItems::forItem(item(ContentType::movie, QStringLiteral("9")), getPhp);
    EXPECT_EQ(movie.url, QStringLiteral("http://127.0.0.1:8081/movie/ann/pw/9.mp4"));
}

EpgEntry programme(qint64 lengthSecs)
{
    return EpgEntry{ QStringLiteral("News"), std::nullopt, kStart, kStart.addSecs(lengthSecs), true };
}

MediaItem channel(OptText url, std::optional<Catchup> catchup)
{
    MediaItem media = item(ContentType::live, QStringLiteral("5"), url);
    media.catchup = catchup;
    return media;
}

TEST(PlayItems, XtreamProgrammeUsesTimeshiftAddresses)
{
    const auto play = PlayItems::forProgramme(xtream(), channel(std::nullopt, Catchup{ 3, QStringLiteral("xc"), {} }),
                                              programme(30 * 60), QTimeZone::utc(), kNow);
    ASSERT_TRUE(play.has_value());
    EXPECT_EQ(play->key, QStringLiteral("7|CATCHUP|5|1710102615"));
    EXPECT_EQ(play->url, QStringLiteral("http://127.0.0.1:8080/timeshift/u/p/30/2024-03-10:20-30/5.m3u8"));
    EXPECT_EQ(play->fallbackUrl,
              OptText(QStringLiteral("http://127.0.0.1:8080/streaming/timeshift.php?username=u&password=p&stream=5"
                                     "&start=2024-03-10:20-30&duration=30&extension=m3u8")));
    EXPECT_EQ(play->title, QStringLiteral("News"));
    EXPECT_EQ(play->subtitle, OptText(QStringLiteral("Name 5")));
    EXPECT_EQ(play->logo, OptText(QStringLiteral("http://127.0.0.1/logo.png")));
    EXPECT_TRUE(play->catchup);
    EXPECT_FALSE(play->live);
    EXPECT_EQ(play->number, 0);
    EXPECT_EQ(play->favorite, std::nullopt);
    EXPECT_EQ(play->streamId, std::nullopt);
    EXPECT_EQ(play->ext, std::nullopt);
}

struct ProgrammeCase {
    const char *name;
    const char *url;
    const char *mode; // nullptr: no catch-up
    const char *expectedUrl; // nullptr: no item
};

class M3uProgrammeTest : public ::testing::TestWithParam<ProgrammeCase> {};

TEST_P(M3uProgrammeTest, BuildsOrRefuses)
{
    const ProgrammeCase row = GetParam();
    const OptText url = row.url ? OptText(QString::fromUtf8(row.url)) : std::nullopt;
    const auto catchup = row.mode ? std::optional<Catchup>(Catchup{ 2, QString::fromUtf8(row.mode), {} }) : std::nullopt;
    const auto play = PlayItems::forProgramme(m3u(), channel(url, catchup), programme(3600), QTimeZone::utc(), kNow);
    if (!row.expectedUrl) {
        EXPECT_EQ(play, std::nullopt);
        return;
    }
    ASSERT_TRUE(play.has_value());
    EXPECT_EQ(play->url, QString::fromUtf8(row.expectedUrl));
}

INSTANTIATE_TEST_SUITE_P(
    PlayItems, M3uProgrammeTest,
    ::testing::Values(
        ProgrammeCase{ "shift", "http://127.0.0.1/ch", "shift", "http://127.0.0.1/ch?utc=1710102615&lutc=1710111600" },
        ProgrammeCase{ "xcPathForm", "http://127.0.0.1:81/live/u/p/5.ts", "xc",
                       "http://127.0.0.1:81/timeshift/u/p/60/2024-03-10:20-30/5.m3u8" },
        ProgrammeCase{ "xcFourPieces", "http://127.0.0.1:81/live/a/u/p/5.ts", "xc", nullptr },
        ProgrammeCase{ "noUrl", nullptr, "shift", nullptr },
        ProgrammeCase{ "noCatchup", "http://127.0.0.1/ch", nullptr, nullptr }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PlayItems, EpisodeRecord)
{
    MediaItem series = item(ContentType::series, QStringLiteral("31"));
    Episode episode{ QStringLiteral("901"), 1, 2, QStringLiteral("Pilot"), std::nullopt, QStringLiteral("mkv"),
                     std::nullopt, std::nullopt, std::nullopt };
    PlayItem play = PlayItems::forEpisode(xtream(), series, episode);
    EXPECT_EQ(play.key, QStringLiteral("7|EP|901"));
    EXPECT_EQ(play.title, QStringLiteral("Name 31"));
    EXPECT_EQ(play.subtitle, OptText(QStringLiteral("S01E02 · Pilot")));
    EXPECT_EQ(play.url, QStringLiteral("http://127.0.0.1:8080/series/u/p/901.mkv"));
    EXPECT_EQ(play.logo, series.logo);
    EXPECT_EQ(play.number, 2);
    EXPECT_EQ(play.ext, OptText(QStringLiteral("mkv")));
    EXPECT_FALSE(play.live || play.catchup);
    EXPECT_EQ(play.fallbackUrl, std::nullopt);

    episode.ext.reset();
    episode.season = 12;
    episode.number = 105;
    EXPECT_EQ(PlayItems::forEpisode(xtream(), series, episode).url, QStringLiteral("http://127.0.0.1:8080/series/u/p/901.mp4"));
    EXPECT_EQ(PlayItems::forEpisode(xtream(), series, episode).subtitle, OptText(QStringLiteral("S12E105 · Pilot")));

    episode.url = QStringLiteral("http://127.0.0.1/series/show/e1.mkv");
    episode.image = QStringLiteral("http://127.0.0.1/still.jpg");
    play = PlayItems::forEpisode(m3u(), series, episode);
    EXPECT_EQ(play.url, *episode.url);
    EXPECT_EQ(play.logo, episode.image);
}

TEST(PlayItems, CatchupZoneFallsBackToTheDeviceZone)
{
    EXPECT_EQ(catchupTimeZone(QStringLiteral("Asia/Tokyo")), QTimeZone("Asia/Tokyo"));
    EXPECT_EQ(catchupTimeZone(QStringLiteral("Mars/Olympus")), QTimeZone::systemTimeZone());
    EXPECT_EQ(catchupTimeZone(std::nullopt), QTimeZone::systemTimeZone());
}

} // namespace
