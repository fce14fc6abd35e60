#include "ManualClock.h"
#include "TestHttp.h"
#include "XtreamProvider.h"
#include "live/PreviewGuide.h"
#include "sources/Catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// A short guide answer: one programme per (start, end) offset pair from `now`, in seconds.
QByteArray guideAnswer(const QDateTime &now, const QList<std::pair<int, int>> &offsets)
{
    QJsonArray listings;
    for (qsizetype i = 0; i < offsets.size(); ++i) {
        listings.append(QJsonObject {
            { "title", QString::fromLatin1(QStringLiteral("Show %1").arg(i).toUtf8().toBase64()) },
            { "description", QString::fromLatin1(QStringLiteral("About %1").arg(i).toUtf8().toBase64()) },
            { "start_timestamp", QString::number(now.toSecsSinceEpoch() + offsets[i].first) },
            { "stop_timestamp", QString::number(now.toSecsSinceEpoch() + offsets[i].second) },
        });
    }
    return QJsonDocument(QJsonObject { { "epg_listings", listings } }).toJson();
}

MediaItem channel(const QString &id)
{
    MediaItem item;
    item.uid = id.toLongLong();
    item.id = id;
    item.name = "Channel " + id;
    return item;
}

class PreviewGuideTest : public ::testing::Test {
protected:
    bool settled()
    {
        return QTest::qWaitFor([this] { return !guide.loading(); }, 5000);
    }
    int requests() const { return provider.requestCount("get_short_epg"); }

    XtreamProvider provider;
    TestHttp http;
    ManualClock clock;
    Catalog catalog { &http.http(), &clock, [] { return QStringLiteral("Uncategorized"); } };
    PreviewGuide guide { &catalog, &clock };
    Playlist playlist = provider.playlist();
};

TEST_F(PreviewGuideTest, AsksOnlyForTheChannelWhereZappingStops)
{
    guide.show(playlist, channel("101"));
    clock.advance(100);
    guide.show(playlist, channel("102"));
    clock.advance(PreviewGuide::kSettleMs - 1);
    EXPECT_EQ(requests(), 0);
    EXPECT_TRUE(guide.loading());
    clock.advance(1);
    ASSERT_TRUE(settled());
    EXPECT_EQ(requests(), 1);
    EXPECT_EQ(provider.lastQuery("get_short_epg").queryItemValue("stream_id"), "102");
}

TEST_F(PreviewGuideTest, NoChannelAsksForNothing)
{
    guide.show(playlist, std::nullopt);
    clock.advance(1000);
    EXPECT_EQ(clock.pending(), 0) << "nothing left to ask later";
    EXPECT_EQ(requests(), 0);
    EXPECT_TRUE(guide.rows().isEmpty());
}

TEST_F(PreviewGuideTest, AnAnswerForAChannelNoLongerPreviewedIsDropped)
{
    const QDateTime now = clock.now();
    provider.answer("get_short_epg", LoopbackResponse::json(guideAnswer(now, { { -60, 600 } })).after(300ms));
    guide.show(playlist, channel("101"));
    clock.advance(PreviewGuide::kSettleMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requests() == 1; }, 5000));
    provider.answer("get_short_epg", LoopbackResponse::json(guideAnswer(now, {})));
    guide.show(playlist, channel("102"));
    clock.advance(PreviewGuide::kSettleMs);
    ASSERT_TRUE(settled());
    // Past this the first answer can no longer arrive.
    ASSERT_TRUE(QTest::qWaitFor([&] { return provider.server().inFlight() == 0; }, 5000));
    ASSERT_TRUE(guide.epg());
    EXPECT_TRUE(guide.epg()->isEmpty());
}

TEST_F(PreviewGuideTest, ChangingTheChannelAbortsTheRequestBefore)
{
    provider.answer("get_short_epg", LoopbackResponse::stalled());
    guide.show(playlist, channel("101"));
    clock.advance(PreviewGuide::kSettleMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return provider.server().inFlight() == 1; }, 5000));
    guide.show(playlist, channel("102"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return provider.server().inFlight() == 0; }, 2000));
}

TEST_F(PreviewGuideTest, ShowsThreeEntriesAndDescribesOnlyTheOneOnAir)
{
    const QDateTime now = clock.now();
    provider.answer("get_short_epg",
        LoopbackResponse::json(guideAnswer(
            now, { { -900, 2700 }, { 2700, 6300 }, { 6300, 9900 }, { 9900, 13500 }, { 13500, 17100 } })));
    guide.show(playlist, channel("101"));
    clock.advance(PreviewGuide::kSettleMs);
    ASSERT_TRUE(settled());
    const QVariantList rows = guide.rows();
    ASSERT_EQ(rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QVariantMap row = rows[i].toMap();
        EXPECT_EQ(row["title"].toString(), QStringLiteral("Show %1").arg(i));
        EXPECT_EQ(row["onAir"].toBool(), i == 0) << i;
        EXPECT_EQ(row["description"].toString(), i == 0 ? "About 0" : "") << i;
    }
    EXPECT_NEAR(rows[0].toMap()["progress"].toDouble(), 0.25, 0.01);
}

TEST_F(PreviewGuideTest, AFailedFetchShowsAnEmptyGuide)
{
    provider.answer("get_short_epg", LoopbackResponse::withStatus(500));
    guide.show(playlist, channel("101"));
    clock.advance(PreviewGuide::kSettleMs);
    ASSERT_TRUE(settled());
    EXPECT_TRUE(guide.rows().isEmpty());
}

TEST_F(PreviewGuideTest, AGuideDestroyedWhileAskingTakesNoAnswer)
{
    provider.answer("get_short_epg", LoopbackResponse::stalled());
    auto asking = std::make_unique<PreviewGuide>(&catalog, &clock);
    asking->show(playlist, channel("101"));
    clock.advance(PreviewGuide::kSettleMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return provider.server().inFlight() == 1; }, 5000));
    int announced = 0;
    QObject::connect(asking.get(), &PreviewGuide::changed, [&announced] { ++announced; });
    asking.reset();
    EXPECT_EQ(announced, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return provider.server().inFlight() == 0; }, 2000));
}

} // namespace
