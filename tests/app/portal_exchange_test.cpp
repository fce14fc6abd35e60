#include "AppStateFixture.h"
#include "LoopbackServer.h"
#include "RunTask.h"
#include "model/JsonForms.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/api/app/device");
const QByteArray kRecord = R"({"mac":"00:1a:79:00:00:01","device_key":"483920",
    "playlists":[{"id":7,"name":"Home","type":"m3u","url":"http://127.0.0.1:9/a.m3u"}],
    "app":{"latest_version":"1.2.0"}})";

template <typename E> std::optional<E> failureAs(const DeviceResult &result)
{
    const auto *error = std::get_if<std::exception_ptr>(&result);
    if (!error)
        return std::nullopt;
    try {
        std::rethrow_exception(*error);
    } catch (const E &typed) {
        return typed;
    } catch (...) {
        return std::nullopt;
    }
}

class PortalExchangeTest : public ::testing::Test {
protected:
    LoopbackServer server;
    AppStateFixture fixture { server.baseUrl() };

    DeviceResult refresh(AppState &state) { return runTask(state.refreshDevice()); }
};

TEST_F(PortalExchangeTest, SuccessStoresRecordAndClearsOffline)
{
    server.serveSequence(kPath, { LoopbackResponse::withStatus(503), LoopbackResponse::json(kRecord) });
    fixture.cacheDevice(AppStateFixture::device({ 1 }));
    AppState &state = fixture.makeState();
    QSignalSpy deviceSpy(&state, &AppState::deviceChanged);

    ASSERT_TRUE(failureAs<AppError>(refresh(state)).has_value());
    EXPECT_TRUE(state.offline()) << "a failure with a record held goes offline";
    const DeviceResult result = refresh(state);

    ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
    const DeviceResponse &device = std::get<DeviceResponse>(result);
    EXPECT_EQ(device.device_key, QStringLiteral("483920"));
    ASSERT_EQ(device.playlists.size(), 1);
    EXPECT_EQ(state.device(), device);
    EXPECT_EQ(deviceSpy.count(), 1);
    EXPECT_FALSE(state.offline());
    EXPECT_EQ(Prefs(fixture.prefs->defaults().filePath(), fixture.portal).cachedDevice(), device);

    const LoopbackRequest request = server.requests().last();
    EXPECT_EQ(request.method, QByteArray("POST"));
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    EXPECT_EQ(body.value(QStringLiteral("mac")).toString(), fixture.prefs->deviceMac());
    EXPECT_EQ(body.value(QStringLiteral("app_version")).toString(), QStringLiteral("1.1.6"));
    EXPECT_FALSE(body.value(QStringLiteral("model")).toString().isEmpty());
    EXPECT_TRUE(body.contains(QStringLiteral("os")));
}

struct RefusalRow {
    const char *name;
    int status;
    QByteArray body;
    std::optional<QString> serverMessage; // nothing: a plain HTTP error
};

class PortalRefusalTest : public PortalExchangeTest, public ::testing::WithParamInterface<RefusalRow> { };

TEST_P(PortalRefusalTest, ErrorBodyDecidesTheKind)
{
    const RefusalRow &row = GetParam();
    server.serve(kPath, LoopbackResponse::json(row.body, row.status));
    AppState &state = fixture.makeState();

    const std::optional<AppError> error = failureAs<AppError>(refresh(state));
    ASSERT_TRUE(error.has_value());
    const AppError expected
        = row.serverMessage ? AppError::server(row.status, *row.serverMessage) : AppError::http(row.status);
    EXPECT_EQ(*error, expected) << error->what();
    EXPECT_FALSE(state.hasDevice());
    EXPECT_FALSE(state.offline()) << "no record held, so not offline";
}

INSTANTIATE_TEST_SUITE_P(Table, PortalRefusalTest,
    ::testing::Values(RefusalRow { "ServerMessage", 403, R"({"error":{"message":"Device blocked"}})",
                          QStringLiteral("Device blocked") },
        RefusalRow { "ServerMessageOn404", 404, R"({"error":{"message":"Unknown"},"x":1})",
            QStringLiteral("Unknown") },
        RefusalRow { "ErrorIsText", 403, R"({"error":"Device blocked"})", std::nullopt },
        RefusalRow { "MessageIsNumber", 403, R"({"error":{"message":5}})", std::nullopt },
        RefusalRow { "NotJson", 403, "<html>Forbidden</html>", std::nullopt },
        RefusalRow { "ErrorInsideArray", 403, R"([{"error":{"message":"x"}}])", std::nullopt },
        RefusalRow { "EmptyBody", 500, "", std::nullopt }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PortalExchangeTest, UnreadableRecordLeavesDeviceAndCache)
{
    const DeviceResponse cached = AppStateFixture::device({ 3, 4 });
    fixture.cacheDevice(cached);
    server.serve(kPath, LoopbackResponse::json("[1,2]"));
    AppState &state = fixture.makeState();

    const DeviceResult result = refresh(state);
    EXPECT_TRUE(failureAs<DecodingError>(result).has_value());
    EXPECT_EQ(state.device(), cached);
    EXPECT_EQ(fixture.prefs->cachedDevice(), cached);
    EXPECT_TRUE(state.offline());
}

TEST_F(PortalExchangeTest, UnreachablePortalIsANetworkError)
{
    server.serve(kPath, LoopbackResponse::dropped());
    AppState &state = fixture.makeState();
    EXPECT_TRUE(failureAs<NetError>(refresh(state)).has_value());
    EXPECT_FALSE(state.offline());
    EXPECT_FALSE(state.hasDevice());
}

} // namespace
