#include "DemoCatalog.h"
#include "DemoImages.h"
#include "DevPortal.h"
#include "ManualClock.h"
#include "PortalPlaylists.h"
#include "TaskOutcome.h"
#include "TestHttp.h"
#include "model/JsonForms.h"
#include "sources/AppError.h"
#include "sources/Catalog.h"
#include "sources/M3uParser.h"
#include "sources/StreamAddresses.h"
#include "sources/XtreamClient.h"

#include <QCoroNetworkReply>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Small stand-ins for the clips: the routes only hand out bytes.
DemoMedia fakeMedia()
{
    DemoMedia media;
    for (int i = 0; i < 4096; ++i)
        media.mp4.append(char(i % 251));
    media.ts = QByteArray(2048, 'T');
    media.segments = { "seg-a", "seg-b", "seg-c" };
    media.segmentSecs = { 2.0, 2.0, 1.5 };
    return media;
}

struct Fetched {
    int status = 0;
    QByteArray body;
    QByteArray contentRange;
    bool operator==(const Fetched &) const = default;
};

// A GET, or a POST when there is a body; any status is an answer.
QCoro::Task<Fetched> fetchTask(QString address, QByteArray range, std::optional<QByteArray> post)
{
    QNetworkAccessManager network;
    QNetworkRequest request { QUrl(address) };
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    std::unique_ptr<QNetworkReply> reply(post ? network.post(request, *post) : network.get(request));
    co_await qCoro(reply.get()).waitForFinished(10s);
    co_return Fetched { reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
        reply->rawHeader("Content-Range") };
}

Fetched fetch(const QString &address, const QByteArray &range = {}, std::optional<QByteArray> post = {})
{
    return runTask(fetchTask(address, range, std::move(post)));
}

// A portal with the default options and its Xtream playlist, read as the app reads them.
class DevPortalTest : public testing::Test {
protected:
    std::unique_ptr<DevPortal> start(DevPortalOptions options = {})
    {
        options.port = 0;
        auto started = std::make_unique<DevPortal>(options, fakeMedia());
        EXPECT_TRUE(started->isListening());
        return started;
    }

    DeviceResponse deviceOf(DevPortal &portal)
    {
        const HttpResponse answer = runTask(net.postJSON(portal.baseUrl() + DevPortal::kDevicePath,
            R"({"mac":"02:AB:CD:00:11:22","model":"m","os":"o","app_version":"1.1.6"})"));
        EXPECT_EQ(answer.status, 200);
        const std::optional<DeviceResponse> device = deviceResponseFromPortalJson(answer.body);
        EXPECT_TRUE(device.has_value());
        return device.value_or(DeviceResponse {});
    }

    TestHttp http;
    Http &net = http.http();
    std::unique_ptr<DevPortal> portal = start();
    const QString base = portal->baseUrl();
    Playlist xtream = deviceOf(*portal).playlists.value(0);
};

TEST_F(DevPortalTest, DeviceRecordEchoesTheMacAndListsTheAskedPlaylists)
{
    for (int count : { 0, 1, 2 }) {
        SCOPED_TRACE(count);
        const auto asked = start({ .playlists = count });
        const DeviceResponse device = deviceOf(*asked);
        EXPECT_EQ(device.mac, u"02:AB:CD:00:11:22");
        EXPECT_EQ(device.device_key.size(), 8);
        EXPECT_EQ(device.site_url, asked->baseUrl());
        EXPECT_TRUE(device.support.value_or(Support {}).email.has_value());
        EXPECT_EQ(device.notice.has_value(), count > 0);
        ASSERT_EQ(device.playlists.size(), count);
        if (count >= 1) {
            EXPECT_EQ(device.playlists[0].type, u"xtream");
            EXPECT_EQ(XtreamClient::serverBase(device.playlists[0]), asked->baseUrl());
        }
        if (count == 2) {
            EXPECT_EQ(device.playlists[1].type, u"m3u");
            EXPECT_TRUE(device.playlists[1].url.value_or(QString()).startsWith(asked->baseUrl()));
        }
    }
}

TEST_F(DevPortalTest, DeviceKeyDependsOnTheMac)
{
    const auto key = [this](const char *mac) { return portal->deviceRecord(mac).device_key; };
    EXPECT_EQ(key("02:00:00:00:00:01"), key("02:00:00:00:00:01"));
    EXPECT_NE(key("02:00:00:00:00:01"), key("02:00:00:00:00:02"));
}

TEST_F(DevPortalTest, RefusedDeviceGetsAnErrorObjectWithAMessage)
{
    const std::tuple<int, QByteArray, int> rows[] = { { 500, R"({"mac":"02:00:00:00:00:01"})", 500 },
        { 403, R"({"mac":"02:00:00:00:00:01"})", 403 }, { 0, R"({"model":"m"})", 400 }, { 0, "mac=1", 400 } };
    for (const auto &[failStatus, body, status] : rows) {
        const Fetched answer
            = fetch(start({ .failStatus = failStatus })->baseUrl() + DevPortal::kDevicePath, {}, body);
        EXPECT_EQ(answer.status, status) << body.constData();
        const QJsonObject error = QJsonDocument::fromJson(answer.body).object().value("error").toObject();
        EXPECT_FALSE(error.value("message").toString().isEmpty()) << body.constData();
    }
}

TEST_F(DevPortalTest, XtreamAccountListsAndDetailsReadWithTheClient)
{
    const XtreamAccount account = runTask(XtreamClient::login(xtream, &net));
    EXPECT_TRUE(account.auth);
    EXPECT_TRUE(account.allowedFormats.contains(u"m3u8"));
    EXPECT_GT(account.exp.value_or(QDateTime()), QDateTime::currentDateTimeUtc());

    const QList<MediaItem> channels = XtreamClient::mediaItems(
        runTask(XtreamClient::streams(xtream, "get_live_streams", true, &net)), ContentType::live);
    ASSERT_EQ(channels.size(), DemoCatalog::titles(ContentType::live).size());
    ASSERT_TRUE(channels[0].catchup);
    EXPECT_EQ(channels[0].catchup->days, 3);
    EXPECT_EQ(channels.last().categoryId, u"__uncat__");
    EXPECT_EQ(runTask(XtreamClient::categories(xtream, "get_vod_categories", true, &net)).size(),
        DemoCatalog::categories(ContentType::movie).size());

    const VodInfo film = runTask(XtreamClient::vodInfo(xtream, "1001", &net));
    EXPECT_TRUE(film.plot.has_value());
    EXPECT_EQ(film.backdrop, DemoCatalog::backdropUrl(base, "1001"));
    const SeriesInfo show = runTask(XtreamClient::seriesInfo(xtream, "5001", &net));
    ASSERT_EQ(show.episodesBySeason.size(), 2);
    ASSERT_EQ(show.episodesBySeason[2].size(), 3);
    EXPECT_EQ(show.episodesBySeason[2][0].number, 1);
}

TEST_F(DevPortalTest, GuidesDecodeAndOnlyPastArchiveProgrammesReplay)
{
    const QList<EpgEntry> next = runTask(XtreamClient::shortEpg(xtream, "101", &net));
    ASSERT_EQ(next.size(), 6);
    EXPECT_FALSE(next[0].title.isEmpty());
    EXPECT_FALSE(next[0].title.endsWith(u'=')) << "title left in Base64";
    EXPECT_LE(next[0].start, QDateTime::currentDateTimeUtc());

    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const char *channel : { "101", "102" }) {
        const QList<EpgEntry> table = runTask(XtreamClient::epgTable(xtream, channel, &net));
        ASSERT_GT(table.size(), 100);
        const bool archive = DemoCatalog::find(ContentType::live, channel)->archive;
        for (const EpgEntry &entry : table)
            EXPECT_EQ(entry.hasArchive.value_or(false), archive && entry.end <= now) << channel;
    }
}

TEST_F(DevPortalTest, WrongCredentialsAreRefusedEverywhere)
{
    xtream.password = u"wrong"_qs;
    EXPECT_FALSE(runTask(XtreamClient::login(xtream, &net)).auth);
    const auto lists = runOutcome(XtreamClient::streams(xtream, "get_live_streams", true, &net));
    EXPECT_EQ(lists.errorAs<AppError>().value_or(AppError::badData()).kind(), AppError::Kind::xtreamAuth);
    EXPECT_EQ(fetch(base + "/get.php?username=demo&password=wrong").status, 401);
    EXPECT_EQ(fetch(XtreamClient::liveUrl(xtream, "101", "ts")).status, 403);
}

TEST_F(DevPortalTest, M3uPlaylistParsesWithChannelsFilmsAndCatchup)
{
    const Fetched playlist = fetch(base + DevPortal::kM3uPath);
    ASSERT_EQ(playlist.status, 200);
    QList<M3uParser::Entry> entries;
    M3uParser::parse(playlist.body, [&](M3uParser::Entry &&entry) { entries.append(std::move(entry)); });
    ASSERT_EQ(entries.size(),
        DemoCatalog::titles(ContentType::live).size() + DemoCatalog::titles(ContentType::movie).size());
    EXPECT_EQ(entries[0].name, u"Zelfor News 24");
    EXPECT_EQ(entries[0].group, u"News");
    EXPECT_EQ(entries[0].catchup.value_or(Catchup {}).mode, u"default");
    EXPECT_FALSE(entries[1].catchup.has_value());
    EXPECT_EQ(fetch(base + "/get.php?username=demo&password=demo").body, playlist.body);
}

TEST_F(DevPortalTest, CatalogLoadsEverySectionOfBothPlaylists)
{
    ManualClock clock;
    Catalog catalog(&net, &clock, [] { return u"Other"_qs; });
    const DeviceResponse device = deviceOf(*portal);
    const std::pair<int, ContentType> loads[] = { { 0, ContentType::live }, { 0, ContentType::movie },
        { 0, ContentType::series }, { 1, ContentType::live }, { 1, ContentType::movie } };
    for (const auto &[index, type] : loads) {
        const SectionPtr section = runTask(catalog.load(device.playlists[index], type, false));
        ASSERT_TRUE(section);
        EXPECT_EQ(section->all.size(), DemoCatalog::titles(type).size()) << index << ' ' << int(type);
    }
}

TEST_F(DevPortalTest, PlayAddressesAreServedWithByteRanges)
{
    const QByteArray mp4 = fakeMedia().mp4;
    const QString film = XtreamClient::movieUrl(xtream, "1001", u"mp4"_qs);
    EXPECT_EQ(fetch(film, "bytes=100-199"), (Fetched { 206, mp4.mid(100, 100), "bytes 100-199/4096" }));
    EXPECT_EQ(fetch(XtreamClient::seriesUrl(xtream, "500111", u"mp4"_qs), "bytes=-10").body, mp4.right(10));
    EXPECT_EQ(fetch(film, "bytes=5000-").status, 416);
    EXPECT_EQ(fetch(XtreamClient::liveUrl(xtream, "101", "ts")), (Fetched { 200, fakeMedia().ts, {} }));
    EXPECT_EQ(fetch(XtreamClient::liveUrl(xtream, "999", "ts")).status, 404);

    const Fetched hls = fetch(XtreamClient::liveUrl(xtream, "101", "m3u8"));
    ASSERT_EQ(hls.status, 200);
    const QString firstSegment = QString::fromUtf8(hls.body).section(u'\n', 6, 6);
    EXPECT_TRUE(firstSegment.startsWith(base + "/hls/")) << qPrintable(firstSegment);
    EXPECT_EQ(fetch(firstSegment).body.left(4), "seg-");
    EXPECT_EQ(fetch(base + "/hls/4.ts").body, "seg-b");
}

TEST_F(DevPortalTest, PicturesArePngsOfTheirKind)
{
    const std::pair<QString, DemoImages::Kind> pictures[]
        = { { DemoCatalog::logoUrl(base, "101"), DemoImages::Kind::logo },
              { DemoCatalog::posterUrl(base, "5001"), DemoImages::Kind::poster },
              { DemoCatalog::backdropUrl(base, "1001"), DemoImages::Kind::backdrop } };
    for (const auto &[address, kind] : pictures) {
        const Fetched picture = fetch(address);
        EXPECT_EQ(picture.status, 200) << qPrintable(address);
        EXPECT_EQ(QImage::fromData(picture.body, "PNG").size(), DemoImages::sizeOf(kind))
            << qPrintable(address);
    }
    EXPECT_EQ(fetch(base + "/img/logo/101.jpg").status, 404);

    // Below the initials a picture is its gradient alone: no title is written over it, as
    // the poster card and the details header write it beside.
    for (const DemoImages::Kind kind : { DemoImages::Kind::poster, DemoImages::Kind::backdrop }) {
        const QImage image = QImage::fromData(DemoImages::png(kind, "Quiet Rooms Forever"), "PNG");
        const bool alongRows = kind == DemoImages::Kind::poster; // the gradient runs down, else across
        int marked = 0;
        for (int y = image.height() * 3 / 4; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != image.pixel(alongRows ? 0 : x, alongRows ? y : image.height() - 1))
                    ++marked;
            }
        }
        EXPECT_EQ(marked, 0) << int(kind);
    }
    EXPECT_EQ(DemoImages::initials("star lab tonight"), u"SL");
    EXPECT_EQ(DemoImages::initials(" Pop  "), u"P");
}

// A playlist file and a folder of captured answers (auth.json, get_live_streams.json).
struct CapturedFiles {
    CapturedFiles()
    {
        QDir(folder.path()).mkdir("answers");
        write("answers/auth.json", R"({"user_info" : {"auth":1, "status":"Active"}})");
        write("answers/get_live_streams.json", "[{\"stream_id\":7, \"name\":\"Caf\xc3\xa9\"}]\n");
        write("list.m3u", "#EXTM3U\r\n#EXTINF:-1,One\r\nhttp://127.0.0.1/1.ts\r\n");
    }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString m3u() const { return folder.filePath("list.m3u"); }
    QString answers() const { return folder.filePath("answers"); }

    QTemporaryDir folder;
};

ExtraPlaylist extra(ExtraPlaylist::Kind kind, const QString &name, const QString &source,
    const QString &user = {}, const QString &password = {})
{
    return { .kind = kind, .name = name, .source = source, .username = user, .password = password };
}

Playlist listed(qint64 id, const QString &name, const QString &type, OptText url, OptText host = {},
    OptText user = {}, OptText password = {})
{
    return { .id = id,
        .name = name,
        .type = type,
        .url = url,
        .host = host,
        .username = user,
        .password = password,
        .epg_url = {} };
}

TEST(PortalPlaylistOption, ReadsEachKindAndRefusesBadValues)
{
    const CapturedFiles files;
    using Kind = ExtraPlaylist::Kind;
    struct Row {
        Kind kind;
        QString text;
        std::optional<ExtraPlaylist> parsed;
        const char *problem; // a piece of the message when refused
    };
    const Row rows[] = {
        { Kind::m3uFile, "Mine=" + files.m3u(), extra(Kind::m3uFile, "Mine", files.m3u()), "" },
        { Kind::xtreamDir, " Cap = " + files.answers(), extra(Kind::xtreamDir, "Cap", files.answers()), "" },
        { Kind::m3uUrl, "Remote=https://example.org/get.php?a=1",
            extra(Kind::m3uUrl, "Remote", "https://example.org/get.php?a=1"), "" },
        { Kind::xtreamAccount, "Acc=http://host:8080,me,pa,ss",
            extra(Kind::xtreamAccount, "Acc", "http://host:8080", "me", "pa,ss"), "" },
        { Kind::m3uFile, "Mine=/no/such/file.m3u", std::nullopt, "no readable file" },
        { Kind::m3uFile, "Mine=" + files.answers(), std::nullopt, "no readable file" },
        { Kind::xtreamDir, "Cap=" + files.m3u(), std::nullopt, "no readable folder" },
        { Kind::m3uUrl, "Remote=file:///etc/passwd", std::nullopt, "not an http or https address" },
        { Kind::m3uUrl, "no-equals-sign", std::nullopt, "--playlist needs NAME=URL" },
        { Kind::m3uUrl, "=http://host/", std::nullopt, "--playlist needs NAME=URL" },
        { Kind::xtreamAccount, "Acc=http://host,me", std::nullopt, "--xtream needs NAME=SERVER,USER,PASS" },
        { Kind::xtreamAccount, "Acc=host,me,pass", std::nullopt, "--xtream needs NAME=SERVER,USER,PASS" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(qPrintable(row.text));
        QString problem;
        EXPECT_EQ(parseExtraPlaylist(row.kind, row.text, &problem), row.parsed);
        EXPECT_TRUE(problem.contains(QString::fromUtf8(row.problem))) << qPrintable(problem);
        EXPECT_EQ(problem.isEmpty(), row.parsed.has_value());
    }
}

TEST_F(DevPortalTest, AddedPlaylistsFollowTheDemoOnesAndServeTheirFilesAsTheyAre)
{
    const CapturedFiles files;
    using Kind = ExtraPlaylist::Kind;
    const auto added = start({ .playlists = 1,
        .extras = { extra(Kind::xtreamAccount, "Acc", "http://host:8080", "me", "pw"),
            extra(Kind::m3uFile, "Mine", files.m3u()), extra(Kind::xtreamDir, "Cap", files.answers()),
            extra(Kind::m3uUrl, "Remote", "https://example.org/list.m3u") } });
    const QList<Playlist> playlists = deviceOf(*added).playlists;
    ASSERT_EQ(playlists.size(), 5);
    EXPECT_TRUE(deviceOf(*added).notice.has_value());
    // The user's own playlists alone are no demo: no demo notice.
    const auto own = start({ .playlists = 0, .extras = { extra(Kind::m3uFile, "Mine", files.m3u()) } });
    EXPECT_FALSE(deviceOf(*own).notice.has_value());
    const QString at = added->baseUrl();
    EXPECT_EQ(playlists[1], listed(3, "Acc", "xtream", {}, "http://host:8080", "me", "pw"));
    EXPECT_EQ(playlists[2], listed(4, "Mine", "m3u", at + "/extra/1.m3u"));
    EXPECT_EQ(playlists[3], listed(5, "Cap", "xtream", {}, at + "/x/2", "captured", "captured"));
    EXPECT_EQ(playlists[4], listed(6, "Remote", "m3u", "https://example.org/list.m3u"));

    EXPECT_EQ(fetch(*playlists[2].url).body, files.read("list.m3u"));
    const QString api = at + "/x/2/player_api.php?username=any&password=thing";
    EXPECT_EQ(fetch(api).body, files.read("answers/auth.json"));
    EXPECT_EQ(fetch(api + "&action=get_live_streams").body, files.read("answers/get_live_streams.json"));
    EXPECT_EQ(fetch(api + "&action=get_vod_streams").body, "[]");
    EXPECT_EQ(fetch(api + "&action=../answers/auth").body, "[]");
    const XtreamAccount account = runTask(XtreamClient::login(playlists[3], &net));
    EXPECT_TRUE(account.auth);
}

TEST(DevPortalProgram, BadOptionValuesExitWithTwoAndAMessage)
{
    const QStringList rows[] = { { "--m3u", "Mine=/no/such/file.m3u" },
        { "--xtream", "Acc=ftp://host,me,pw" }, { "--playlists", "3" }, { "--xtream-dir", "Cap" } };
    for (const QStringList &arguments : rows) {
        QProcess portal;
        portal.start(ZELFOR_DEVPORTAL_PROGRAM, arguments);
        ASSERT_TRUE(portal.waitForFinished(10000)) << qPrintable(arguments.join(' '));
        EXPECT_EQ(portal.exitCode(), 2) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(portal.readAllStandardError().contains("zelfor-devportal: --"))
            << qPrintable(arguments.join(' '));
    }
}

TEST(LiveHls, WindowSlidesOverTheLoopingSegments)
{
    struct Row {
        qint64 elapsedMs;
        qint64 sequence;
        qint64 discontinuities;
        QList<qint64> segments;
        int discontinuityBefore; // index in the window, -1: none
    };
    const Row rows[] = { { 0, 0, 0, { 0, 1, 2 }, -1 }, { 1999, 0, 0, { 0, 1, 2 }, -1 },
        { 2000, 1, 0, { 1, 2, 3 }, 2 }, { 4100, 2, 0, { 2, 3, 4 }, 1 }, { 5500, 3, 1, { 3, 4, 5 }, -1 },
        { 55000 + 4000, 32, 10, { 32, 33, 34 }, 1 }, { -50, 0, 0, { 0, 1, 2 }, -1 } };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.elapsedMs);
        const QString text = QString::fromUtf8(liveHlsPlaylist({ 2.0, 2.0, 1.5 }, row.elapsedMs, "/s/"));
        EXPECT_TRUE(text.contains(u"#EXT-X-MEDIA-SEQUENCE:%1\n"_qs.arg(row.sequence)));
        EXPECT_TRUE(text.contains(u"#EXT-X-DISCONTINUITY-SEQUENCE:%1\n"_qs.arg(row.discontinuities)));
        EXPECT_TRUE(text.contains(u"#EXT-X-TARGETDURATION:2\n"_qs));
        QList<qint64> segments;
        int discontinuityBefore = -1;
        for (const QString &line : text.split(u'\n')) {
            if (line == u"#EXT-X-DISCONTINUITY")
                discontinuityBefore = int(segments.size());
            else if (line.startsWith(u"/s/"))
                segments.append(line.mid(3).chopped(3).toLongLong());
        }
        EXPECT_EQ(segments, row.segments);
        EXPECT_EQ(discontinuityBefore, row.discontinuityBefore);
    }
    EXPECT_TRUE(liveHlsPlaylist({}, 1000, "/s/").isEmpty()) << "no segments, no playlist";
}

} // namespace
