#include "AppStateFixture.h"
#include "HostileAnswers.h"
#include "PeakMemory.h"
#include "TaskOutcome.h"

#include <QElapsedTimer>

#include <limits>

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
            R"({"error":{"message":"abc)" + u"😀"_qs.repeated(3000).toUtf8() + R"("}})",
            u"abc"_qs + u"😀"_qs.repeated(2046) }),
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

// An answer that never ends is cut after a few MiB and refused as bad data, which the
// splash shows as it shows any other failed exchange.
TEST_F(PortalExchangeTest, EndlessAnswerIsBadDataAndCostsLittleMemory)
{
    server.serve(kDevicePath, HostileAnswer::endless());
    AppState &state = fixture.makeState();
    PeakMemory::reset();
    const qint64 before = PeakMemory::bytes();
    EXPECT_EQ(failureAs<AppError>(refresh()), AppError::badData());
    EXPECT_FALSE(state.hasDevice());
    if (PeakMemory::measurable())
        EXPECT_LT(PeakMemory::bytes() - before, 48LL * 1024 * 1024);
}

struct RecordSizeRow {
    const char *name;
    bool overCap;
};

class PortalRecordSize : public PortalExchangeTest, public ::testing::WithParamInterface<RecordSizeRow> { };

// The largest record the portal may send is taken and cached, a larger one is refused; a
// settings change afterwards stays quick either way, as the interface waits on each one.
TEST_P(PortalRecordSize, SettingsChangesStayQuick)
{
    QJsonObject answer { { u"mac"_qs, u"00:1a:79:00:00:02"_qs }, { u"device_key"_qs, u"777111"_qs } };
    QJsonArray playlists;
    if (GetParam().overCap) {
        answer.insert(u"notice"_qs, QString(8 * AppState::kDeviceAnswerCap, u'x'));
    } else {
        const QString padding(200, u'x');
        for (int id = 0; id < 14000; ++id)
            playlists.append(QJsonObject { { u"id"_qs, id }, { u"name"_qs, u"List %1 "_qs.arg(id) + padding },
                { u"url"_qs, u"http://127.0.0.1:9/%1.m3u"_qs.arg(id) } });
        answer.insert(u"playlists"_qs, playlists);
    }
    const QByteArray record = QJsonDocument(answer).toJson(QJsonDocument::Compact);
    ASSERT_EQ(record.size() > AppState::kDeviceAnswerCap, GetParam().overCap);
    ASSERT_GT(record.size(), AppState::kDeviceAnswerCap * 3 / 4);
    server.serve(kDevicePath, LoopbackResponse::json(record));
    fixture.makeState();
    const DeviceResult result = refresh();
    if (GetParam().overCap) {
        EXPECT_EQ(failureAs<AppError>(result), AppError::badData());
        EXPECT_FALSE(fixture.prefs->cachedDevice());
    } else {
        ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
        EXPECT_EQ(fixture.prefs->cachedDevice()->playlists.size(), playlists.size());
    }

    // The quickest of a few, so a busy machine does not decide.
    qint64 quickest = std::numeric_limits<qint64>::max();
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        fixture.prefs->toggleFavorite({ .playlistId = 10, .id = u"1"_qs, .name = u"One"_qs });
        quickest = qMin(quickest, timer.elapsed());
    }
    EXPECT_LT(quickest, 50);
}

INSTANTIATE_TEST_SUITE_P(Table, PortalRecordSize,
    ::testing::Values(RecordSizeRow { "LargestTaken", false }, RecordSizeRow { "LargerRefused", true }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
