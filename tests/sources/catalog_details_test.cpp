#include "CatalogFixture.h"

#include <QNetworkReply>

namespace {

QByteArray listing(const QString &title, const QDateTime &start, const QDateTime &end)
{
    return QStringLiteral(R"({"title":"%1","start_timestamp":"%2","stop_timestamp":"%3"})")
        .arg(title)
        .arg(start.toSecsSinceEpoch())
        .arg(end.toSecsSinceEpoch())
        .toUtf8();
}

LoopbackResponse listings(const QList<QByteArray> &entries)
{
    return LoopbackResponse::json("{\"epg_listings\":[" + entries.join(',') + "]}");
}

QStringList titles(const QList<EpgEntry> &entries)
{
    QStringList result;
    for (const EpgEntry &entry : entries)
        result.append(entry.title);
    return result;
}

MediaItem channel(const QString &id, std::optional<Catchup> catchup)
{
    MediaItem item;
    item.id = id;
    item.name = QStringLiteral("Channel ") + id;
    item.catchup = catchup;
    return item;
}

// Aborts the network replies created while it is installed, once the server has their request.
class ReplyAborter : public QObject {
public:
    explicit ReplyAborter(LoopbackServer &server)
    {
        qApp->installEventFilter(this);
        connect(&server, &LoopbackServer::requestReceived, this, [this] {
            for (const QPointer<QObject> &child : std::as_const(m_children))
                if (auto *reply = qobject_cast<QNetworkReply *>(child.data()))
                    reply->abort();
        });
    }
    ~ReplyAborter() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Replies are still plain QObjects when their parent learns of them.
        if (event->type() == QEvent::ChildAdded)
            m_children.append(static_cast<QChildEvent *>(event)->child());
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QPointer<QObject>> m_children;
};

class CatalogGuideTest : public CatalogFixture {
protected:
    QList<EpgEntry> shortEpg(const Playlist &playlist) { return runTask(catalog.shortEpg(playlist, QStringLiteral("101"))); }
    LoopbackResponse nowOn() const { return listings({ listing(u"Now"_qs, now.addSecs(-600), now.addSecs(600)) }); }
};

TEST_F(CatalogGuideTest, ShortGuideIsReusedFor600Seconds)
{
    answers.insert(QStringLiteral("get_short_epg"), nowOn());
    EXPECT_EQ(titles(shortEpg(xtream())), QStringList{ u"Now"_qs });
    now = now.addSecs(599);
    EXPECT_EQ(titles(shortEpg(xtream())), QStringList{ u"Now"_qs });
    EXPECT_EQ(actionCount(QStringLiteral("get_short_epg")), 1);
    now = now.addSecs(1);
    shortEpg(xtream());
    EXPECT_EQ(actionCount(QStringLiteral("get_short_epg")), 2);
}

TEST_F(CatalogGuideTest, FailedShortGuideIsAlsoRemembered)
{
    answers.insert(QStringLiteral("get_short_epg"), LoopbackResponse::withStatus(404));
    EXPECT_TRUE(shortEpg(xtream()).isEmpty());
    answers.insert(QStringLiteral("get_short_epg"), nowOn());
    EXPECT_TRUE(shortEpg(xtream()).isEmpty());
    EXPECT_EQ(actionCount(QStringLiteral("get_short_epg")), 1);
}

TEST_F(CatalogGuideTest, CancelledShortGuideIsNotRemembered)
{
    answers.insert(QStringLiteral("get_short_epg"), LoopbackResponse::stalled());
    {
        ReplyAborter aborter(server);
        EXPECT_TRUE(shortEpg(xtream()).isEmpty());
    }
    answers.insert(QStringLiteral("get_short_epg"), nowOn());
    EXPECT_EQ(titles(shortEpg(xtream())), QStringList{ u"Now"_qs });
    EXPECT_EQ(actionCount(QStringLiteral("get_short_epg")), 2);
}

TEST_F(CatalogGuideTest, M3uPlaylistsHaveNoShortGuide)
{
    EXPECT_TRUE(shortEpg(m3u(QStringLiteral("/list.m3u"))).isEmpty());
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(CatalogGuideTest, ArchiveKeepsProgrammesEndingAfterTheCatchupWindow)
{
    answers.insert(QStringLiteral("get_simple_data_table"),
                   listings({ listing(u"Old"_qs, now.addSecs(-3 * kDay), now.addSecs(-3 * kDay + 3600)),
                              listing(u"Edge"_qs, now.addSecs(-2 * kDay - 3600), now.addSecs(-2 * kDay + 60)),
                              listing(u"Recent"_qs, now.addSecs(-3600), now.addSecs(-60)) }));
    const auto archive = [&](std::optional<Catchup> catchup) {
        return titles(runTask(catalog.archive(xtream(), channel(u"101"_qs, catchup))));
    };
    EXPECT_EQ(archive(Catchup{ 2, u"xc"_qs, {} }), (QStringList{ u"Edge"_qs, u"Recent"_qs }));
    // An absurd offer from stored data neither overflows nor loses the programmes.
    EXPECT_EQ(archive(Catchup{ std::numeric_limits<qint64>::max(), u"xc"_qs, {} }).size(), 3);
    EXPECT_EQ(actionCount(QStringLiteral("get_simple_data_table")), 2);
    EXPECT_TRUE(archive(std::nullopt).isEmpty());
    EXPECT_EQ(actionCount(QStringLiteral("get_simple_data_table")), 2);
    answers.insert(QStringLiteral("get_simple_data_table"), LoopbackResponse::withStatus(404));
    EXPECT_TRUE(archive(Catchup{ 2, u"xc"_qs, {} }).isEmpty());
}

TEST_F(CatalogGuideTest, CatchupItemUsesTheAccountsZone)
{
    answers.insert(QString(), login(R"("auth":1)", "Asia/Tokyo"));
    load(xtream(), ContentType::live);
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1710102600, QTimeZone::utc());
    const EpgEntry programme{ u"News"_qs, std::nullopt, start, start.addSecs(1800), true };
    const auto play = catalog.catchupItem(xtream(), channel(u"101"_qs, Catchup{ 2, u"xc"_qs, {} }), programme);
    ASSERT_TRUE(play);
    EXPECT_EQ(play->url, server.url(QStringLiteral("/timeshift/u/p/30/2024-03-11:05-30/101.m3u8")));
    EXPECT_FALSE(catalog.catchupItem(xtream(), channel(u"101"_qs, std::nullopt), programme));
}

class CatalogDetailsTest : public CatalogFixture {};

TEST_F(CatalogDetailsTest, MovieDetailsAreKeptOnlyWhenTheyArrive)
{
    const MediaItem movie = channel(u"201"_qs, std::nullopt);
    answers.insert(QStringLiteral("get_vod_info"), LoopbackResponse::withStatus(404));
    EXPECT_EQ(runTask(catalog.vodInfo(xtream(), movie)), std::nullopt);
    answers.insert(QStringLiteral("get_vod_info"), LoopbackResponse::json(R"({"info":{"plot":"A plot"}})"));
    EXPECT_EQ(runTask(catalog.vodInfo(xtream(), movie))->plot, OptText(u"A plot"_qs));
    EXPECT_EQ(runTask(catalog.vodInfo(xtream(), movie))->plot, OptText(u"A plot"_qs));
    EXPECT_EQ(actionCount(QStringLiteral("get_vod_info")), 2);
    EXPECT_EQ(runTask(catalog.vodInfo(m3u(u"/list.m3u"_qs), movie)), std::nullopt);
    EXPECT_EQ(actionCount(QStringLiteral("get_vod_info")), 2);
}

TEST_F(CatalogDetailsTest, XtreamSeriesDetailsAreCachedAndFailuresPassedOn)
{
    const MediaItem show = channel(u"301"_qs, std::nullopt);
    answers.insert(QStringLiteral("get_series_info"), LoopbackResponse::withStatus(403));
    EXPECT_EQ(runOutcome(catalog.seriesInfo(xtream(), show)).errorAs<AppError>(), AppError::http(403));
    answers.insert(QStringLiteral("get_series_info"),
                   LoopbackResponse::json(R"({"info":{"plot":"P"},"episodes":{"1":[{"id":"9","episode_num":"1"}]}})"));
    EXPECT_EQ(runTask(catalog.seriesInfo(xtream(), show)).episodesBySeason.value(1).size(), 1);
    EXPECT_EQ(runTask(catalog.seriesInfo(xtream(), show)).plot, OptText(u"P"_qs));
    EXPECT_EQ(actionCount(QStringLiteral("get_series_info")), 2);
}

TEST_F(CatalogDetailsTest, M3uSeriesEpisodesAreGroupedBySeasonInEpisodeOrder)
{
    server.serve(QStringLiteral("/list.m3u"), LoopbackResponse::text(R"(#EXTM3U
#EXTINF:-1 group-title="Shows" tvg-logo="http://127.0.0.1/s.png",Show S01E03
http://127.0.0.1:1/series/a.mkv
#EXTINF:-1 group-title="Shows",Show S02E01
http://127.0.0.1:1/series/b.mkv
#EXTINF:-1 group-title="Shows",Show S01E01
http://127.0.0.1:1/series/c.mkv
#EXTINF:-1 group-title="Shows",Show S01E03 again
http://127.0.0.1:1/series/d.mkv
)"));
    const Playlist playlist = m3u(u"/list.m3u"_qs);
    const MediaItem show = load(playlist, ContentType::series)->all.first();
    const SeriesInfo info = runTask(catalog.seriesInfo(playlist, show));
    EXPECT_EQ(info.cover, OptText(u"http://127.0.0.1/s.png"_qs));
    ASSERT_EQ(info.episodesBySeason.keys(), (QList<qint64>{ 1, 2 }));
    QStringList seasonOne;
    for (const Episode &episode : info.episodesBySeason.value(1))
        seasonOne.append(episode.title);
    EXPECT_EQ(seasonOne, (QStringList{ u"Show S01E01"_qs, u"Show S01E03"_qs, u"Show S01E03 again"_qs }));
    EXPECT_EQ(catalog.episodeItem(playlist, show, info.episodesBySeason.value(2).first()).url,
              u"http://127.0.0.1:1/series/b.mkv");
}

TEST_F(CatalogDetailsTest, M3uSeriesDetailsLoadTheListFirst)
{
    server.serve(QStringLiteral("/list.m3u"), LoopbackResponse::text("#EXTINF:-1,Show S01E01\nhttp://127.0.0.1:1/series/a.mkv\n"));
    MediaItem show = channel(u"__uncat__|Show"_qs, std::nullopt);
    EXPECT_EQ(runTask(catalog.seriesInfo(m3u(u"/list.m3u"_qs), show)).episodesBySeason.value(1).size(), 1);
    EXPECT_EQ(server.requestCount(QStringLiteral("/list.m3u")), 1);
}

TEST_F(CatalogDetailsTest, ResetEmptiesCachesAndReloadsFromTheDiskCache)
{
    const SectionPtr before = load(xtream(), ContentType::live);
    answers.insert(QStringLiteral("get_vod_info"), LoopbackResponse::json(R"({"info":{"plot":"A plot"}})"));
    runTask(catalog.vodInfo(xtream(), channel(u"201"_qs, std::nullopt)));
    catalog.reset();
    EXPECT_FALSE(catalog.account(xtream()));
    const SectionPtr after = load(xtream(), ContentType::live);
    EXPECT_NE(after, before);
    EXPECT_EQ(names(after->all), names(before->all));
    // The lists come from the disk cache; only the login is asked again.
    EXPECT_EQ(actionCount(QStringLiteral("get_live_streams")), 1);
    EXPECT_EQ(actionCount(QStringLiteral("get_live_categories")), 1);
    EXPECT_EQ(actionCount(QString()), 2);
    runTask(catalog.vodInfo(xtream(), channel(u"201"_qs, std::nullopt)));
    EXPECT_EQ(actionCount(QStringLiteral("get_vod_info")), 2);
}

} // namespace
