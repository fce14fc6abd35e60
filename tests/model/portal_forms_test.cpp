#include "model/JsonForms.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

struct IdCase {
    const char *json; // the value stored under "id"
    qint64 expected;
};

void PrintTo(const IdCase &c, std::ostream *out)
{
    *out << c.json;
}

class PlaylistIdTest : public testing::TestWithParam<IdCase> { };

TEST_P(PlaylistIdTest, readsLenientDecimalOrZero)
{
    const auto playlist = playlistFromPortalJson(QByteArray("{\"id\": ") + GetParam().json + "}");
    ASSERT_TRUE(playlist.has_value());
    EXPECT_EQ(playlist->id, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, PlaylistIdTest,
    testing::Values(IdCase { "12", 12 }, IdCase { "\" 12 \"", 12 }, IdCase { "\"+12\"", 12 },
        IdCase { "12.0", 12 }, IdCase { "true", 1 }, IdCase { "\"-4\"", -4 }, IdCase { "\"12a\"", 0 },
        IdCase { "\"\"", 0 }, IdCase { "\"null\"", 0 }, IdCase { "12.5", 0 }, IdCase { "{}", 0 },
        IdCase { "null", 0 }, IdCase { "1e20", 0 }, IdCase { "\"99999999999999999999\"", 0 },
        IdCase { "[12]", 0 }));

TEST(PortalForms, playlistFieldsTakeTheirDefaults)
{
    const auto playlist = playlistFromPortalJson(R"({"id": "12", "name": null, "url": " "})");
    ASSERT_TRUE(playlist.has_value());
    Playlist expected;
    expected.id = 12;
    EXPECT_EQ(*playlist, expected);
    EXPECT_EQ(playlist->type, QStringLiteral("m3u"));
}

TEST(PortalForms, playlistFieldsAreTrimmedText)
{
    const auto playlist = playlistFromPortalJson(R"({"id": 3, "name": " Sports ", "type": "xtream",
        "url": "http://u", "host": "h:8080", "username": 1234, "password": "NULL", "epg_url": "null"})");
    ASSERT_TRUE(playlist.has_value());
    const Playlist expected { 3, "Sports", "xtream", "http://u", "h:8080", "1234", "NULL", std::nullopt };
    EXPECT_EQ(*playlist, expected);
}

TEST(PortalForms, onlyObjectsAreRecords)
{
    for (const char *json : { "[]", "\"x\"", "12", "null", "", "{\"id\":", "<html>" }) {
        EXPECT_EQ(playlistFromPortalJson(json), std::nullopt) << json;
        EXPECT_EQ(deviceResponseFromPortalJson(json), std::nullopt) << json;
    }
}

TEST(PortalForms, deviceAnswerReadsEveryField)
{
    const auto device = deviceResponseFromPortalJson(R"({"mac": "AA:BB", "device_key": 778899,
        "notice": " Hello ", "site_url": "http://site", "playlists": [{"id": 1, "name": "A"}, {"id": "2"}],
        "app": {"latest_version": "1.2.0", "apk_url": null, "force_update": true},
        "support": {"whatsapp": "+212", "email": "help@x"}})");
    ASSERT_TRUE(device.has_value());
    EXPECT_EQ(device->mac, QStringLiteral("AA:BB"));
    EXPECT_EQ(device->device_key, QStringLiteral("778899"));
    EXPECT_EQ(device->notice, QStringLiteral("Hello"));
    EXPECT_EQ(device->site_url, QStringLiteral("http://site"));
    ASSERT_EQ(device->playlists.size(), 2);
    EXPECT_EQ(device->playlists[0].name, QStringLiteral("A"));
    EXPECT_EQ(device->playlists[1].id, 2);
    EXPECT_EQ(device->app, (AppInfo { "1.2.0", std::nullopt, true }));
    EXPECT_EQ(device->support, (Support { "+212", "help@x" }));
}

struct DeviceCase {
    const char *name;
    const char *json;
    qsizetype playlists;
    bool hasApp;
    bool hasSupport;
};

void PrintTo(const DeviceCase &c, std::ostream *out)
{
    *out << c.name;
}

class DeviceAnswerTest : public testing::TestWithParam<DeviceCase> { };

TEST_P(DeviceAnswerTest, brokenPartsAreDroppedAlone)
{
    const auto device = deviceResponseFromPortalJson(GetParam().json);
    ASSERT_TRUE(device.has_value());
    EXPECT_EQ(device->playlists.size(), GetParam().playlists);
    EXPECT_EQ(device->app.has_value(), GetParam().hasApp);
    EXPECT_EQ(device->support.has_value(), GetParam().hasSupport);
    EXPECT_EQ(device->mac, QStringLiteral("m"));
}

INSTANTIATE_TEST_SUITE_P(Answers, DeviceAnswerTest,
    testing::Values(
        DeviceCase { "whole", R"({"mac":"m","playlists":[{"id":1}],"app":{},"support":{}})", 1, true, true },
        DeviceCase { "playlistsObject", R"({"mac":"m","playlists":{"id":1},"app":{}})", 0, true, false },
        DeviceCase { "stringAmongPlaylists",
            R"({"mac":"m","playlists":[{"id":1},"x",{"id":2}],"support":{}})", 0, false, true },
        DeviceCase { "nullPlaylists", R"({"mac":"m","playlists":null})", 0, false, false },
        DeviceCase { "forceUpdateText",
            R"({"mac":"m","playlists":[{}],"app":{"force_update":"yes"},"support":{}})", 1, false, true },
        DeviceCase { "appNotObject", R"({"mac":"m","app":"1.2","support":[]})", 0, false, false },
        DeviceCase { "numericEmail", R"({"mac":"m","app":{"latest_version":"2"},"support":{"email":5}})", 0,
            true, false }));

TEST(PortalForms, missingAddressAndKeyReadAsEmpty)
{
    const auto device = deviceResponseFromPortalJson(R"({"mac": null, "notice": ""})");
    ASSERT_TRUE(device.has_value());
    EXPECT_EQ(*device, DeviceResponse {});
}

TEST(PortalForms, cachedDeviceAnswerRoundTrips)
{
    DeviceResponse device;
    device.mac = QStringLiteral("00:1A:2B");
    device.device_key = QStringLiteral("k-1");
    device.notice = QStringLiteral("Maintenance à 22h");
    device.playlists = { Playlist {
                             9007199254740993, "Big", "xtream", std::nullopt, "h", "u", "p", "http://epg" },
        Playlist { -1, "", "m3u", "http://list", std::nullopt, std::nullopt, std::nullopt, std::nullopt } };
    device.app = AppInfo { " 1.2 ", std::nullopt, false };
    device.support = Support { std::nullopt, "a@b" };
    const QByteArray stored = QJsonDocument(toJson(device)).toJson();
    EXPECT_EQ(deviceResponseFromPortalJson(stored), device);

    const DeviceResponse bare;
    EXPECT_EQ(deviceResponseFromPortalJson(QJsonDocument(toJson(bare)).toJson()), bare);
}

} // namespace
