#include "NotifyAudit.h"
#include "LayerStandIn.h"
#include "VodFixture.h"
#include "sources/PlayItems.h"
#include "vod/MetaChips.h"
#include "vod/SeriesDetailsScreenModel.h"

#include <QAbstractItemModelTester>

namespace {

const MediaItem kSeries { .uid = 3,
    .type = ContentType::series,
    .id = u"77"_qs,
    .name = u"The Show"_qs,
    .logo = u"http://127.0.0.1:9/show.jpg"_qs,
    .categoryId = u"20"_qs,
    .rating = u"8.1"_qs };

QByteArray episodeJson(int season, int number, int durationSecs = 0, const char *image = nullptr)
{
    QJsonObject info { { u"duration_secs"_qs, durationSecs }, { u"plot"_qs, u"Plot %1"_qs.arg(number) } };
    if (image)
        info.insert(u"movie_image"_qs, QString::fromLatin1(image));
    return QJsonDocument(
        QJsonObject { { u"id"_qs, u"%1%2"_qs.arg(season).arg(number, 2, 10, QLatin1Char('0')) },
            { u"episode_num"_qs, number }, { u"season"_qs, season },
            { u"title"_qs, u"Episode %1"_qs.arg(number) }, { u"container_extension"_qs, u"mp4"_qs },
            { u"info"_qs, info } })
        .toJson(QJsonDocument::Compact);
}

// Seasons stored as 3, 1, 2; season 1 has five episodes, the first 45 minutes long.
const QByteArray kInfo
    = R"({"info":{"plot":"A show.","cast":"Someone","genre":"Drama","releaseDate":"2011-04-17",
"cover":"http://127.0.0.1:9/cover.jpg"},"episodes":{"3":[)"
    + episodeJson(3, 1) + "," + episodeJson(3, 2) + R"(],"1":[)"
    + episodeJson(1, 1, 2700, "http://127.0.0.1:9/e1.jpg") + "," + episodeJson(1, 2) + "," + episodeJson(1, 3)
    + "," + episodeJson(1, 4) + "," + episodeJson(1, 7) + R"(],"2":[)" + episodeJson(2, 1) + "]}}";

class SeriesDetailsTest : public ::testing::Test {
protected:
    std::unique_ptr<SeriesDetailsScreenModel> open(
        const LoopbackResponse &answer = LoopbackResponse::json(kInfo))
    {
        vod.provider.answer(u"get_series_info"_qs, answer);
        auto screen = vod.open<SeriesDetailsScreenModel>(Routes::Series { kSeries });
        EXPECT_TRUE(
            VodFixture::eventually([&] { return screen->state() != SeriesDetailsScreenModel::Loading; }));
        return screen;
    }

    QString episodeKey(const QString &id) const { return u"%1|EP|%2"_qs.arg(vod.playlist().id).arg(id); }

    static QVariantList column(const QVariantList &rows, const QString &field)
    {
        QVariantList values;
        for (const QVariant &row : rows)
            values.append(row.toMap().value(field));
        return values;
    }

    // One role of every row, read by its name as the view reads it.
    static QVariantList column(const QAbstractItemModel *model, const QByteArray &role)
    {
        QVariantList values;
        for (int row = 0; row < model->rowCount(); ++row)
            values.append(model->data(model->index(row, 0), model->roleNames().key(role)));
        return values;
    }

    VodFixture vod;
};

TEST_F(SeriesDetailsTest, SeasonsInAscendingOrderWithoutWrapping)
{
    auto screen = open();
    ASSERT_EQ(screen->state(), SeriesDetailsScreenModel::Loaded);
    EXPECT_EQ(column(screen->seasons(), u"title"_qs),
        (QVariantList { u"Season 1"_qs, u"Season 2"_qs, u"Season 3"_qs }));
    EXPECT_EQ(column(screen->seasons(), u"count"_qs), (QVariantList { 5, 1, 2 }));
    EXPECT_TRUE(press(*screen, "L"));
    EXPECT_EQ(screen->season(), 0);
    press(*screen, "DRRR");
    EXPECT_EQ(std::make_pair(screen->season(), screen->focus()), std::make_pair(2, 0));
    screen->selectSeason(1);
    EXPECT_EQ(column(screen->episodes(), "episodeId"), QVariantList { u"201"_qs });
}

TEST_F(SeriesDetailsTest, HeaderAndEpisodeRows)
{
    vod.prefs().saveResume(episodeKey(u"102"_qs), 600, 1200);
    auto screen = open();
    EXPECT_EQ(screen->chips(), metaChips(u"2011-04-17"_qs, u"8.1"_qs, std::nullopt, u"Drama"_qs));
    EXPECT_EQ(std::make_pair(screen->plot(), screen->cast()), std::make_pair(u"A show."_qs, u"Someone"_qs));
    EXPECT_EQ(screen->backdropUrl(), u"http://127.0.0.1:9/cover.jpg"_qs);
    const EpisodeListModel *rows = screen->episodes();
    EXPECT_EQ(column(rows, "label"), (QVariantList { u"E1"_qs, u"E2"_qs, u"E3"_qs, u"E4"_qs, u"E7"_qs }));
    EXPECT_EQ(
        column(rows, "duration"), (QVariantList { u"45:00"_qs, QString(), QString(), QString(), QString() }));
    EXPECT_EQ(column(rows, "progress"), (QVariantList { -1.0, 0.5, -1.0, -1.0, -1.0 }));
    EXPECT_EQ(column(rows, "image").mid(0, 2),
        (QVariantList { u"http://127.0.0.1:9/e1.jpg"_qs, u"http://127.0.0.1:9/cover.jpg"_qs }));
}

// The player saves its last point only after this screen is back on top.
TEST_F(SeriesDetailsTest, APointSavedWhileShownRenewsTheProgress)
{
    auto screen = open();
    QSignalSpy renewals(screen->episodes(), &QAbstractItemModel::dataChanged);
    vod.prefs().saveResume(episodeKey(u"102"_qs), 600, 1200);
    ASSERT_EQ(renewals.size(), 1);
    EXPECT_EQ(renewals[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(column(screen->episodes(), "progress").value(1), 0.5);
}

// The list keeps its rows: a reset would bring it back to its top.
TEST_F(SeriesDetailsTest, ChangingSeasonRedrawsTheRowsInPlace)
{
    auto screen = open();
    EpisodeListModel *rows = screen->episodes();
    QAbstractItemModelTester tester(rows);
    QSignalSpy resets(rows, &QAbstractItemModel::modelReset);
    QSignalSpy scrolls(screen.get(), &SeriesDetailsScreenModel::scrollToEpisode);
    press(*screen, "DDR");
    EXPECT_EQ(column(rows, "episodeId"), QVariantList { u"201"_qs });
    press(*screen, "R");
    EXPECT_EQ(column(rows, "episodeId"), (QVariantList { u"301"_qs, u"302"_qs }));
    press(*screen, "LL");
    EXPECT_EQ(column(rows, "label"), (QVariantList { u"E1"_qs, u"E2"_qs, u"E3"_qs, u"E4"_qs, u"E7"_qs }));
    EXPECT_EQ(resets.size(), 0);
    EXPECT_EQ(scrolls.size(), 2) << "only the two downs scroll";
}

TEST_F(SeriesDetailsTest, EnterOnTheThirdEpisodeQueuesTheSeasonOnce)
{
    auto screen = open();
    EXPECT_TRUE(press(*screen, "DDE"));
    ASSERT_EQ(vod.app().stack().size(), 3);
    const auto *player = std::get_if<Routes::Player>(&vod.app().stack().last().route);
    ASSERT_TRUE(player);
    EXPECT_EQ(std::make_tuple(player->queue.count(), player->queue.start, player->queue.resume),
        std::make_tuple(qint64(5), qint64(2), true));
    QStringList keys;
    for (qint64 at = 0; at < player->queue.count(); ++at)
        keys.append(player->queue.get(at)->key);
    EXPECT_EQ(keys,
        (QStringList { episodeKey(u"101"_qs), episodeKey(u"102"_qs), episodeKey(u"103"_qs),
            episodeKey(u"104"_qs), episodeKey(u"107"_qs) }));
    EXPECT_EQ(player->queue.get(2)->subtitle, u"S01E03 · Episode 3"_qs);
    press(*screen, "E");
    screen->play(4);
    EXPECT_EQ(vod.app().stack().size(), 3) << "a second play while the first stands is ignored";
}

TEST_F(SeriesDetailsTest, ClickFocusesTheRowAndUpAtTheTopScrollsToIt)
{
    auto screen = open();
    QSignalSpy scrolls(screen.get(), &SeriesDetailsScreenModel::scrollToEpisode);
    EXPECT_TRUE(press(*screen, "U"));
    EXPECT_EQ(screen->focus(), 0);
    ASSERT_EQ(scrolls.size(), 1);
    EXPECT_EQ(scrolls.first().at(0).toInt(), 0);
    screen->play(3);
    EXPECT_EQ(screen->focus(), 3);
    EXPECT_EQ(std::get<Routes::Player>(vod.app().stack().last().route).queue.start, 3);
    EXPECT_FALSE(press(*screen, "X") || press(*screen, "T") || press(*screen, "a"));
}

TEST_F(SeriesDetailsTest, SeriesWithoutEpisodesEndsOnNoItems)
{
    auto screen = open(LoopbackResponse::json(R"({"info":{"plot":"Soon."},"episodes":{}})"));
    EXPECT_EQ(screen->state(), SeriesDetailsScreenModel::Empty);
    EXPECT_TRUE(press(*screen, "DE"));
    EXPECT_EQ(vod.app().stack().size(), 2);
}

// A provider with no details of the series answers []: the list item stands, as for a movie.
TEST_F(SeriesDetailsTest, EmptyArrayAnswerFallsBackToTheListItem)
{
    auto screen = open(LoopbackResponse::json("[]"));
    EXPECT_EQ(screen->state(), SeriesDetailsScreenModel::Empty);
    EXPECT_TRUE(screen->error().isEmpty());
    EXPECT_EQ(screen->posterUrl(), u"http://127.0.0.1:9/show.jpg"_qs);
    EXPECT_EQ(screen->chips(), metaChips(std::nullopt, u"8.1"_qs, std::nullopt, std::nullopt));
}

TEST_F(SeriesDetailsTest, FailedLoadShowsItsMessage)
{
    auto screen = open(LoopbackResponse::withStatus(404));
    EXPECT_EQ(screen->state(), SeriesDetailsScreenModel::Failed);
    EXPECT_FALSE(screen->error().isEmpty());
    EXPECT_EQ(screen->chips(), metaChips(std::nullopt, u"8.1"_qs, std::nullopt, std::nullopt));
    EXPECT_EQ(screen->backdropUrl(), u"http://127.0.0.1:9/show.jpg"_qs);
}

// Closing the screen aborts its request, and the aborted answer comes back while the screen
// is still being torn down.
TEST_F(SeriesDetailsTest, ClosedWhileLoadingItAbortsTheRequestAndTakesNoAnswer)
{
    vod.provider.answer(u"get_series_info"_qs, LoopbackResponse::stalled());
    auto screen = vod.open<SeriesDetailsScreenModel>(Routes::Series { kSeries });
    ASSERT_TRUE(VodFixture::eventually([&] { return vod.provider.server().inFlight() == 1; }));
    int announced = 0;
    QObject::connect(screen.get(), &SeriesDetailsScreenModel::infoChanged, [&announced] { ++announced; });
    screen.reset();
    EXPECT_EQ(announced, 0);
    EXPECT_TRUE(VodFixture::eventually([&] { return vod.provider.server().inFlight() == 0; }));
}

TEST_F(SeriesDetailsTest, FavouriteToggleTwice)
{
    auto screen = open();
    screen->toggleFavorite();
    EXPECT_EQ(vod.app().toast(), u"Added to favorites"_qs);
    EXPECT_TRUE(screen->favorite());
    screen->toggleFavorite();
    EXPECT_EQ(vod.app().toast(), u"Removed from favorites"_qs);
    EXPECT_FALSE(screen->favorite());
}

// A favourite series opens with its heart filled, and every property the view reads
// announces its change while the details load and the heart turns.
TEST_F(SeriesDetailsTest, PropertiesAnnounceEveryChangeFromOpenToFavourite)
{
    vod.provider.answer(u"get_series_info"_qs, LoopbackResponse::json(kInfo));
    vod.fixture.makeState({ Routes::Home {}, Routes::Series { kSeries } });
    vod.prefs().toggleFavorite(PlayItems::favoriteOf(kSeries, vod.playlist().id));
    SeriesDetailsScreenModel screen(vod.screenDeps(), vod.fixture.topEntry());
    EXPECT_TRUE(screen.favorite());
    EXPECT_EQ(screen.posterUrl(), *kSeries.logo);
    EXPECT_TRUE(notifiesEveryChange(&screen, [&] {
        showAsLayerWould(screen, vod.app());
        ASSERT_TRUE(
            VodFixture::eventually([&] { return screen.state() == SeriesDetailsScreenModel::Loaded; }));
    }));
    EXPECT_TRUE(notifiesEveryChange(&screen, [&] { screen.toggleFavorite(); }));
    EXPECT_FALSE(screen.favorite());
    EXPECT_TRUE(notifiesEveryChange(&screen, [&] { press(screen, "DD"); }));
}

} // namespace
