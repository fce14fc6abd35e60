#include "model/JsonForms.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <limits>

namespace {

Catchup sampleCatchup()
{
    return Catchup { 3, QStringLiteral("shift"), QStringLiteral("http://a/{utc}") };
}

FavoriteEntry fullFavorite()
{
    return FavoriteEntry { 7, ContentType::series, QStringLiteral("42"), QStringLiteral("Show"),
        QStringLiteral("http://logo"), QStringLiteral("http://stream"), QStringLiteral("9"),
        QStringLiteral("epg.1"), QStringLiteral("mkv"), QStringLiteral("7.5"), sampleCatchup() };
}

FavoriteEntry bareFavorite()
{
    FavoriteEntry entry;
    entry.playlistId = -3;
    entry.type = ContentType::live;
    entry.id = QStringLiteral("1");
    entry.categoryId = QStringLiteral("__uncat__");
    return entry;
}

PlayItem minimalPlayItem()
{
    PlayItem item;
    item.key = QStringLiteral("k");
    item.title = QStringLiteral("t");
    item.url = QStringLiteral("u");
    return item;
}

PlayItem fullPlayItem()
{
    return PlayItem { QStringLiteral("7|LIVE|1"), QStringLiteral("News"), QStringLiteral("http://s/1.ts"),
        QStringLiteral("http://logo"), true, QStringLiteral("1"), QStringLiteral("Now"),
        std::numeric_limits<qint64>::max(), fullFavorite(), QStringLiteral("http://s/1.m3u8"), false,
        QStringLiteral("ts") };
}

// Through bytes, as the settings store keeps them.
QJsonObject throughBytes(const QJsonObject &object)
{
    return QJsonDocument::fromJson(QJsonDocument(object).toJson(QJsonDocument::Compact)).object();
}

QJsonObject parse(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

TEST(StrictForms, storedRecordsRoundTrip)
{
    for (const FavoriteEntry &entry : { fullFavorite(), bareFavorite() })
        EXPECT_EQ(favoriteFromJson(throughBytes(toJson(entry))), entry);
    for (const PlayItem &item : { fullPlayItem(), minimalPlayItem() })
        EXPECT_EQ(playItemFromJson(throughBytes(toJson(item))), item);
    for (const Catchup &catchup : { sampleCatchup(), Catchup { 1, QStringLiteral("xc"), std::nullopt } })
        EXPECT_EQ(catchupFromJson(throughBytes(toJson(catchup))), catchup);
    for (const AppInfo &info :
        { AppInfo {}, AppInfo { QStringLiteral("2.0"), QStringLiteral("http://apk"), false } })
        EXPECT_EQ(appInfoFromJson(throughBytes(toJson(info))), info);
    for (const Support &support : { Support {}, Support { QStringLiteral("+212"), QStringLiteral("a@b.c") } })
        EXPECT_EQ(supportFromJson(throughBytes(toJson(support))), support);
}

TEST(StrictForms, absentOptionalsAreLeftOutAndTypesAreRaw)
{
    const QJsonObject item = toJson(minimalPlayItem());
    EXPECT_EQ(QStringList(item.keys()), QStringList({ "catchup", "key", "live", "number", "title", "url" }));
    const QJsonObject entry = toJson(fullFavorite());
    EXPECT_EQ(entry.value("type").toString(), QStringLiteral("SERIES"));
    EXPECT_TRUE(entry.value("catchup").isObject());
    EXPECT_EQ(entry.value("playlistId").toInteger(), 7);
    EXPECT_EQ(QStringList(toJson(bareFavorite()).keys()),
        QStringList({ "categoryId", "id", "name", "playlistId", "type" }));
    EXPECT_TRUE(toJson(AppInfo {}).isEmpty());
}

TEST(StrictForms, requestCarriesItsFourFields)
{
    const QJsonObject body = toJson(DeviceRequest { "AA:BB", "Desk", "Linux", "1.1.6" });
    EXPECT_EQ(body, parse(R"({"mac":"AA:BB","model":"Desk","os":"Linux","app_version":"1.1.6"})"));
}

TEST(StrictForms, explicitNullReadsAsAbsentOptional)
{
    const auto item = playItemFromJson(parse(
        R"({"key":"k","title":"t","url":"u","live":true,"number":2,"catchup":false,"logo":null,"favorite":null})"));
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->logo, std::nullopt);
    EXPECT_EQ(item->favorite, std::nullopt);
    EXPECT_EQ(item->number, 2);
}

struct BrokenCase {
    const char *name;
    const char *json;
};

void PrintTo(const BrokenCase &c, std::ostream *out)
{
    *out << c.name;
}

class BrokenFavoriteTest : public testing::TestWithParam<BrokenCase> { };

TEST_P(BrokenFavoriteTest, failsAsAWhole)
{
    EXPECT_EQ(favoriteFromJson(parse(GetParam().json)), std::nullopt);
    // nested in a recently watched item, it fails the item too
    QJsonObject item = toJson(minimalPlayItem());
    item.insert("favorite", parse(GetParam().json));
    EXPECT_EQ(playItemFromJson(item), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Records, BrokenFavoriteTest,
    testing::Values(
        BrokenCase { "missingName", R"({"playlistId":1,"type":"LIVE","id":"1","categoryId":"c"})" },
        BrokenCase {
            "unknownType", R"({"playlistId":1,"type":"live","id":"1","name":"n","categoryId":"c"})" },
        BrokenCase { "numericId", R"({"playlistId":1,"type":"LIVE","id":1,"name":"n","categoryId":"c"})" },
        BrokenCase {
            "textPlaylistId", R"({"playlistId":"1","type":"LIVE","id":"1","name":"n","categoryId":"c"})" },
        BrokenCase { "fractionPlaylistId",
            R"({"playlistId":1.5,"type":"LIVE","id":"1","name":"n","categoryId":"c"})" },
        BrokenCase {
            "hugePlaylistId", R"({"playlistId":1e300,"type":"LIVE","id":"1","name":"n","categoryId":"c"})" },
        BrokenCase {
            "nullCategory", R"({"playlistId":1,"type":"LIVE","id":"1","name":"n","categoryId":null})" },
        BrokenCase { "numericLogo",
            R"({"playlistId":1,"type":"LIVE","id":"1","name":"n","categoryId":"c","logo":5})" },
        BrokenCase { "catchupWithoutMode",
            R"({"playlistId":1,"type":"LIVE","id":"1","name":"n","categoryId":"c","catchup":{"days":2}})" },
        BrokenCase { "catchupNotObject",
            R"({"playlistId":1,"type":"LIVE","id":"1","name":"n","categoryId":"c","catchup":"xc"})" }));

class BrokenPlayItemTest : public testing::TestWithParam<BrokenCase> { };

TEST_P(BrokenPlayItemTest, failsAsAWhole)
{
    EXPECT_EQ(playItemFromJson(parse(GetParam().json)), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Records, BrokenPlayItemTest,
    testing::Values(
        BrokenCase { "missingCatchup", R"({"key":"k","title":"t","url":"u","live":true,"number":1})" },
        BrokenCase {
            "liveAsNumber", R"({"key":"k","title":"t","url":"u","live":1,"number":1,"catchup":false})" },
        BrokenCase {
            "numberAsText", R"({"key":"k","title":"t","url":"u","live":true,"number":"1","catchup":false})" },
        BrokenCase {
            "nullUrl", R"({"key":"k","title":"t","url":null,"live":true,"number":1,"catchup":false})" },
        BrokenCase { "extAsBool",
            R"({"key":"k","title":"t","url":"u","live":true,"number":1,"catchup":false,"ext":true})" }));

TEST(StrictForms, integersAreCheckedForWholenessAndRange)
{
    const auto days = [](const char *value) {
        return catchupFromJson(parse((QByteArray(R"({"mode":"xc","days":)") + value + "}").constData()));
    };
    EXPECT_EQ(days("4.0")->days, 4);
    EXPECT_EQ(days("0")->days, 0);
    EXPECT_EQ(days("-9223372036854775808")->days, std::numeric_limits<qint64>::min());
    EXPECT_EQ(days("4.5"), std::nullopt);
    EXPECT_EQ(days("true"), std::nullopt);
    EXPECT_EQ(days("null"), std::nullopt);
}

TEST(StrictForms, appInfoNeedsBooleanForceUpdate)
{
    EXPECT_EQ(appInfoFromJson(parse(R"({"force_update":"yes"})")), std::nullopt);
    EXPECT_EQ(appInfoFromJson(parse(R"({"force_update":1})")), std::nullopt);
    EXPECT_EQ(appInfoFromJson(parse(R"({"latest_version":2})")), std::nullopt);
    EXPECT_EQ(supportFromJson(parse(R"({"email":["a"]})")), std::nullopt);
    const auto info = appInfoFromJson(parse(R"({"force_update":true,"extra":1})"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->force_update, true);
}

} // namespace
