#include "AppStateFixture.h"
#include "TaskOutcome.h"

namespace {

template <typename E> std::optional<E> failureAs(const DeviceResult &result)
{
    const auto *error = std::get_if<std::exception_ptr>(&result);
    return Outcome<int> { {}, error ? *error : nullptr }.template errorAs<E>();
}

class PortalExchangeTest : public ::testing::Test {
protected:
    LoopbackServer server;
    AppStateFixture fixture { server.baseUrl() };

    DeviceResult refresh() { return runTask(fixture.state->refreshDevice()); }
};

TEST_F(PortalExchangeTest, SuccessStoresRecordAndClearsOffline)
{
    server.serveSequence(
        kDevicePath, { LoopbackResponse::withStatus(503), LoopbackResponse::json(portalRecord(1)) });
    fixture.cacheDevice(AppStateFixture::device({ 1 }));
    AppState &state = fixture.makeState();
    QSignalSpy deviceSpy(&state, &AppState::deviceChanged);

    ASSERT_TRUE(failureAs<AppError>(refresh()).has_value());
    EXPECT_TRUE(state.offline()) << "a failure with a record held goes offline";
    const DeviceResult result = refresh();
    ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
    const DeviceResponse &device = std::get<DeviceResponse>(result);
    EXPECT_EQ(device.device_key, u"777111"_qs);
    EXPECT_EQ(device.playlists.size(), 1);
    EXPECT_EQ(state.device(), device);
    EXPECT_EQ(deviceSpy.count(), 1);
    EXPECT_FALSE(state.offline());
    EXPECT_EQ(Prefs(fixture.prefs->defaults().filePath(), fixture.portal).cachedDevice(), device);

    const LoopbackRequest request = server.requests().last();
    EXPECT_EQ(request.method, QByteArray("POST"));
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    EXPECT_EQ(body.value(u"mac"_qs).toString(), fixture.prefs->deviceMac());
    EXPECT_EQ(body.value(u"app_version"_qs).toString(), u"1.1.6"_qs);
    EXPECT_FALSE(body.value(u"model"_qs).toString().isEmpty());
    EXPECT_TRUE(body.contains(u"os"_qs));
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
    server.serve(kDevicePath, LoopbackResponse::json(row.body, row.status));
    AppState &state = fixture.makeState();
    const std::optional<AppError> error = failureAs<AppError>(refresh());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error,
        row.serverMessage ? AppError::server(row.status, *row.serverMessage) : AppError::http(row.status))
        << error->what();
    EXPECT_FALSE(state.hasDevice());
    EXPECT_FALSE(state.offline()) << "no record held, so not offline";
}

INSTANTIATE_TEST_SUITE_P(Table, PortalRefusalTest,
    ::testing::Values(RefusalRow { "ServerMessage", 403, R"({"error":{"message":"Device blocked"}})",
                          u"Device blocked"_qs },
        RefusalRow { "ServerMessageOn400", 400, R"({"error":{"message":"Bad MAC"}})", u"Bad MAC"_qs },
        RefusalRow { "ServerMessageOn404", 404, R"({"error":{"message":"Unknown"},"x":1})", u"Unknown"_qs },
        RefusalRow { "ErrorIsText", 403, R"({"error":"Device blocked"})", std::nullopt },
        RefusalRow { "MessageIsNumber", 403, R"({"error":{"message":5}})", std::nullopt },
        RefusalRow { "NotJson", 403, "<html>Forbidden</html>", std::nullopt },
        RefusalRow { "ErrorInsideArray", 403, R"([{"error":{"message":"x"}}])", std::nullopt },
        RefusalRow { "EmptyBody", 500, "", std::nullopt },
        // Kept to a few KB, cut between characters.
        RefusalRow { "LongMessage", 403,
            R"({"error":{"message":"abc)" + u"😀"_qs.repeated(3000).toUtf8() + R"("}})", u"abc"_qs + u"😀"_qs.repeated(2046) }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PortalExchangeTest, UnreadableOrMissingAnswerLeavesDeviceAndCache)
{
    const DeviceResponse cached = AppStateFixture::device({ 3, 4 });
    fixture.cacheDevice(cached);
    server.serve(kDevicePath, LoopbackResponse::json("[1,2]"));
    AppState &state = fixture.makeState();
    EXPECT_TRUE(failureAs<DecodingError>(refresh()).has_value());
    EXPECT_EQ(state.device(), cached);
    EXPECT_EQ(fixture.prefs->cachedDevice(), cached);
    EXPECT_TRUE(state.offline());

    server.serve(kDevicePath, LoopbackResponse::dropped());
    EXPECT_TRUE(failureAs<NetError>(refresh()).has_value());
    EXPECT_EQ(state.device(), cached);
    EXPECT_EQ(fixture.prefs->cachedDevice(), cached);
}

} // namespace
