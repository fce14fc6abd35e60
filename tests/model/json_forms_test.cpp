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
    return FavoriteEntry { 7, ContentType::series, "42", "Show", "http://logo", "http://stream", "9", "epg.1",
        "mkv", "7.5", sampleCatchup() };
}

FavoriteEntry bareFavorite()
{
    return FavoriteEntry {
        .playlistId = -3, .type = ContentType::live, .id = "1", .categoryId = "__uncat__"
    };
}

PlayItem minimalPlayItem()
{
    return PlayItem { .key = "k", .title = "t", .url = "u" };
}

QJsonObject parse(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

// Through bytes, as the settings store keeps them.
QJsonObject throughBytes(const QJsonObject &object)
{
    return parse(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

TEST(StrictForms, storedRecordsRoundTrip)
{
    const PlayItem fullItem { "7|LIVE|1", "News", "http://s/1.ts", "http://logo", true, "1", "Now",
        std::numeric_limits<qint64>::max(), fullFavorite(), "http://s/1.m3u8", false, "ts" };
    for (const FavoriteEntry &entry : { fullFavorite(), bareFavorite() })
        EXPECT_EQ(favoriteFromJson(throughBytes(toJson(entry))), entry);
    for (const PlayItem &item : { fullItem, minimalPlayItem() })
        EXPECT_EQ(playItemFromJson(throughBytes(toJson(item))), item);
    for (const Catchup &catchup : { sampleCatchup(), Catchup { 1, QStringLiteral("xc"), std::nullopt } })
        EXPECT_EQ(catchupFromJson(throughBytes(toJson(catchup))), catchup);
    for (const AppInfo &info : { AppInfo {}, AppInfo { "2.0", "http://apk", false } })
        EXPECT_EQ(appInfoFromJson(throughBytes(toJson(info))), info);
    for (const Support &support : { Support {}, Support { "+212", "a@b.c" } })
        EXPECT_EQ(supportFromJson(throughBytes(toJson(support))), support);
}

TEST(StrictForms, anEmptyTextIsWrittenAndReadBackApartFromAnAbsentOne)
{
    const std::pair<OptText, const char *> cases[] = { { std::nullopt, R"({})" },
        { QString(), R"({"email":""})" }, { "", R"({"email":""})" }, { "a", R"({"email":"a"})" } };
    for (const auto &[email, json] : cases) {
        const Support support { .email = email };
        EXPECT_EQ(QJsonDocument(toJson(support)).toJson(QJsonDocument::Compact), json);
        EXPECT_EQ(supportFromJson(parse(json)), support) << json;
    }
}

TEST(StrictForms, absentOptionalsAreLeftOutAndTypesAreRaw)
{
    EXPECT_EQ(QStringList(toJson(minimalPlayItem()).keys()),
        QStringList({ "catchup", "key", "live", "number", "title", "url" }));
    const QJsonObject entry = toJson(fullFavorite());
    EXPECT_EQ(entry.value("type").toString(), QStringLiteral("SERIES"));
    EXPECT_TRUE(entry.value("catchup").isObject());
    EXPECT_EQ(entry.value("playlistId").toInteger(), 7);
    EXPECT_EQ(QStringList(toJson(bareFavorite()).keys()),
        QStringList({ "categoryId", "id", "name", "playlistId", "type" }));
    EXPECT_TRUE(toJson(AppInfo {}).isEmpty());
    EXPECT_EQ(toJson(DeviceRequest { "AA:BB", "Desk", "Linux", "1.1.6" }),
        parse(R"({"mac":"AA:BB","model":"Desk","os":"Linux","app_version":"1.1.6"})"));
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

// `base` with the fields of `patch` put over it and `drop` left out.
QJsonObject patched(const QByteArray &base, const char *drop, const QByteArray &patch)
{
    QJsonObject object = parse(base);
    object.remove(QLatin1String(drop));
    const QJsonObject changes = parse(patch);
    for (auto it = changes.begin(); it != changes.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

TEST(StrictForms, brokenRecordFailsAsAWhole)
{
    const QByteArray favorite = R"({"playlistId":1,"type":"LIVE","id":"1","name":"n","categoryId":"c"})";
    const std::pair<const char *, const char *> favoriteCases[] = { { "name", "{}" },
        { "", R"({"type":"live"})" }, { "", R"({"id":1})" }, { "", R"({"playlistId":"1"})" },
        { "", R"({"playlistId":1.5})" }, { "", R"({"playlistId":1e300})" }, { "", R"({"categoryId":null})" },
        { "", R"({"logo":5})" }, { "", R"({"catchup":{"days":2}})" }, { "", R"({"catchup":"xc"})" } };
    ASSERT_TRUE(favoriteFromJson(patched(favorite, "", "{}")));
    for (const auto &[drop, patch] : favoriteCases) {
        SCOPED_TRACE(std::string(drop) + patch);
        const QJsonObject broken = patched(favorite, drop, patch);
        EXPECT_EQ(favoriteFromJson(broken), std::nullopt);
        // nested in a recently watched item, it fails the item too
        QJsonObject item = toJson(minimalPlayItem());
        item.insert("favorite", broken);
        EXPECT_EQ(playItemFromJson(item), std::nullopt);
    }

    const QByteArray item = R"({"key":"k","title":"t","url":"u","live":true,"number":1,"catchup":false})";
    const std::pair<const char *, const char *> itemCases[] = { { "catchup", "{}" }, { "", R"({"live":1})" },
        { "", R"({"number":"1"})" }, { "", R"({"url":null})" }, { "", R"({"ext":true})" } };
    ASSERT_TRUE(playItemFromJson(patched(item, "", "{}")));
    for (const auto &[drop, patch] : itemCases)
        EXPECT_EQ(playItemFromJson(patched(item, drop, patch)), std::nullopt) << drop << patch;
}

TEST(StrictForms, integersAreCheckedForWholenessAndRange)
{
    const auto days = [](const char *value) {
        return catchupFromJson(parse(QByteArray(R"({"mode":"xc","days":)") + value + "}"));
    };
    EXPECT_EQ(days("4.0")->days, 4);
    EXPECT_EQ(days("0")->days, 0);
    EXPECT_EQ(days("-9223372036854775808")->days, std::numeric_limits<qint64>::min());
    for (const char *bad : { "4.5", "true", "null" })
        EXPECT_EQ(days(bad), std::nullopt) << bad;
}

TEST(StrictForms, appInfoNeedsBooleanForceUpdate)
{
    for (const char *json :
        { R"({"force_update":"yes"})", R"({"force_update":1})", R"({"latest_version":2})" })
        EXPECT_EQ(appInfoFromJson(parse(json)), std::nullopt) << json;
    EXPECT_EQ(supportFromJson(parse(R"({"email":["a"]})")), std::nullopt);
    EXPECT_EQ(appInfoFromJson(parse(R"({"force_update":true,"extra":1})")), (AppInfo { {}, {}, true }));
}

} // namespace
