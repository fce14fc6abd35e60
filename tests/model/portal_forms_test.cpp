#include "LongText.h"
#include "model/JsonForms.h"
#include "model/TextBounds.h"

#include <QJsonDocument>

#include <functional>

#include <gtest/gtest.h>

namespace {

TEST(PortalForms, playlistIdReadsLenientDecimalOrZero)
{
    const std::pair<const char *, qint64> cases[] = { { "12", 12 }, { "\" 12 \"", 12 }, { "\"+12\"", 12 },
        { "12.0", 12 }, { "true", 1 }, { "\"-4\"", -4 }, { "\"12a\"", 0 }, { "\"\"", 0 }, { "\"null\"", 0 },
        { "12.5", 0 }, { "{}", 0 }, { "null", 0 }, { "1e20", 0 }, { "\"99999999999999999999\"", 0 },
        { "[12]", 0 } };
    for (const auto &[json, expected] : cases) {
        const auto playlist = playlistFromPortalJson(QByteArray("{\"id\": ") + json + "}");
        ASSERT_TRUE(playlist.has_value()) << json;
        EXPECT_EQ(playlist->id, expected) << json;
    }
}

TEST(PortalForms, playlistFieldsAreTrimmedTextOrTheirDefaults)
{
    Playlist defaults;
    defaults.id = 12;
    EXPECT_EQ(playlistFromPortalJson(R"({"id": "12", "name": null, "url": " "})"), defaults);
    EXPECT_EQ(defaults.type, QStringLiteral("m3u"));
    const auto playlist = playlistFromPortalJson(R"({"id": 3, "name": " Sports ", "type": "xtream",
        "url": "http://u", "host": "h:8080", "username": 1234, "password": "NULL", "epg_url": "null"})");
    EXPECT_EQ(
        playlist, (Playlist { 3, "Sports", "xtream", "http://u", "h:8080", "1234", "NULL", std::nullopt }));
}

TEST(PortalForms, onlyObjectsAreRecords)
{
    for (const char *json : { "[]", "\"x\"", "12", "null", "", "{\"id\":", "<html>" }) {
        EXPECT_EQ(playlistFromPortalJson(json), std::nullopt) << json;
        EXPECT_EQ(deviceResponseFromPortalJson(json), std::nullopt) << json;
    }
    EXPECT_EQ(deviceResponseFromPortalJson(R"({"mac": null, "notice": ""})"), DeviceResponse {});
}

TEST(PortalForms, deviceAnswerReadsEveryField)
{
    const auto device = deviceResponseFromPortalJson(R"({"mac": "AA:BB", "device_key": 778899,
        "notice": " Hello ", "site_url": "http://site", "playlists": [{"id": 1, "name": "A"}, {"id": "2"}],
        "app": {"latest_version": "1.2.0", "apk_url": null, "force_update": true},
        "support": {"whatsapp": "+212", "email": "help@x"}})");
    DeviceResponse expected { "AA:BB", "778899", "Hello", "http://site", { Playlist {}, Playlist {} },
        AppInfo { "1.2.0", std::nullopt, true }, Support { "+212", "help@x" } };
    expected.playlists[0] = Playlist { .id = 1, .name = "A" };
    expected.playlists[1].id = 2;
    EXPECT_EQ(device, expected);
}

TEST(PortalForms, brokenDevicePartsAreDroppedAlone)
{
    const struct {
        const char *json;
        qsizetype playlists;
        bool hasApp, hasSupport;
    } cases[] = {
        { R"({"mac":"m","playlists":[{"id":1}],"app":{},"support":{}})", 1, true, true },
        { R"({"mac":"m","playlists":{"id":1},"app":{}})", 0, true, false },
        { R"({"mac":"m","playlists":[{"id":1},"x",{"id":2}],"support":{}})", 0, false, true },
        { R"({"mac":"m","playlists":null})", 0, false, false },
        { R"({"mac":"m","playlists":[{}],"app":{"force_update":"yes"},"support":{}})", 1, false, true },
        { R"({"mac":"m","app":"1.2","support":[]})", 0, false, false },
        { R"({"mac":"m","app":{"latest_version":"2"},"support":{"email":5}})", 0, true, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json);
        const auto device = deviceResponseFromPortalJson(c.json);
        ASSERT_TRUE(device.has_value());
        EXPECT_EQ(device->playlists.size(), c.playlists);
        EXPECT_EQ(device->app.has_value(), c.hasApp);
        EXPECT_EQ(device->support.has_value(), c.hasSupport);
        EXPECT_EQ(device->mac, QStringLiteral("m"));
    }
}

TEST(PortalForms, cachedDeviceAnswerRoundTrips)
{
    const DeviceResponse device { "00:1A:2B", "k-1", QStringLiteral("Maintenance à 22h"), std::nullopt,
        { Playlist { 9007199254740993, "Big", "xtream", std::nullopt, "h", "u", "p", "http://epg" },
            Playlist {
                -1, "", "m3u", "http://list", std::nullopt, std::nullopt, std::nullopt, std::nullopt } },
        AppInfo { " 1.2 ", std::nullopt, false }, Support { std::nullopt, "a@b" } };
    for (const DeviceResponse &value : { device, DeviceResponse {} })
        EXPECT_EQ(deviceResponseFromPortalJson(QJsonDocument(toJson(value)).toJson()), value);
}

// The record's texts keep their first KB, cut between characters.
TEST(PortalForms, longDeviceTextsAreCutAtACharacter)
{
    const struct {
        const char *label;
        LongText text;
        const char *before;
        const char *after;
        std::function<QString(const DeviceResponse &)> read;
    } rows[] = {
        { "notice", longText(TextBounds::kMessage, "abc", u"😀"_qs), R"({"notice":")", R"("})",
            [](const DeviceResponse &device) { return device.notice.value_or(QString()); } },
        { "mac", longText(TextBounds::kMessage, "ab", u"€"_qs), R"({"mac":")", R"("})",
            [](const DeviceResponse &device) { return device.mac; } },
        { "playlist name", longText(TextBounds::kName, "abc", u"é"_qs), R"({"playlists":[{"name":")",
            R"("}]})", [](const DeviceResponse &device) { return device.playlists.value(0).name; } },
        { "support email", longText(TextBounds::kMessage, "abc", u"😀"_qs, true), R"({"support":{"email":")",
            R"("}})",
            [](const DeviceResponse
                    &device) { return device.support.value_or(Support {}).email.value_or(QString()); } },
    };
    for (const auto &row : rows) {
        const auto device = deviceResponseFromPortalJson(row.before + row.text.utf8 + row.after);
        ASSERT_TRUE(device) << row.label;
        EXPECT_EQ(row.read(*device), row.text.kept) << row.label;
    }
}

} // namespace
