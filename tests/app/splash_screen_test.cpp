#include "AppStateFixture.h"
#include "LayerStandIn.h"
#include "app/ErrorMessages.h"
#include "app/SplashScreenModel.h"

namespace {

// The splash over a loopback portal whose answers take `exchangeMs` of virtual time.
class SplashScreenTest : public ::testing::Test {
protected:
    void answer(const LoopbackResponse &response, qint64 exchangeMs = 200)
    {
        server.route(kDevicePath, [this, response, exchangeMs](const LoopbackRequest &) {
            fixture.clock.advance(exchangeMs);
            return response;
        });
    }
    void start()
    {
        fixture.makeState({ Routes::Splash {} });
        splash = std::make_unique<SplashScreenModel>(fixture.screenDeps(), fixture.topEntry());
        showAsLayerWould(*splash, *fixture.state);
    }
    // Waits for the exchange, then for the rest of the splash's minimum time (`heldMs` of it).
    void finish(qint64 heldMs = 700)
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return fixture.clock.pending() == 1; }));
        fixture.clock.advance(heldMs - 1);
        EXPECT_EQ(fixture.route(), u"splash"_qs) << "held for the minimum time";
        fixture.clock.advance(1);
    }

    LoopbackServer server;
    AppStateFixture fixture { server.baseUrl() };
    std::unique_ptr<SplashScreenModel> splash;
};

class SplashOutcomeTest : public SplashScreenTest,
                          public ::testing::WithParamInterface<std::pair<int, QString>> { };

TEST_P(SplashOutcomeTest, QuickExchangeHoldsThenTheRecordChoosesTheRoute)
{
    answer(LoopbackResponse::json(portalRecord(GetParam().first)));
    start();
    EXPECT_TRUE(splash->appear());
    ASSERT_NO_FATAL_FAILURE(finish());
    EXPECT_EQ(fixture.route(), GetParam().second);
    EXPECT_EQ(fixture.state->stack().size(), 1);
    EXPECT_FALSE(splash->hasError());
}

INSTANTIATE_TEST_SUITE_P(Table, SplashOutcomeTest,
    ::testing::Values(std::pair { 0, u"activation"_qs }, std::pair { 1, u"home"_qs },
        std::pair { 3, u"playlistPicker"_qs }),
    [](const auto &info) { return info.param.second.toStdString(); });

TEST_F(SplashScreenTest, SlowExchangeRootsAtOnce)
{
    answer(LoopbackResponse::json(portalRecord(1)), 2000);
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return fixture.route() == QLatin1String("home"); }));
    EXPECT_EQ(fixture.clock.nowMs(), 2000);
    EXPECT_EQ(fixture.clock.pending(), 0);
}

TEST_F(SplashScreenTest, FailureWithoutRecordShowsErrorAndEnterRetries)
{
    answer(LoopbackResponse::withStatus(500));
    start();
    EXPECT_FALSE(fixture.router->dispatch(key(Key::Kind::enter))) << "Enter while connecting does nothing";
    ASSERT_NO_FATAL_FAILURE(finish());
    EXPECT_EQ(splash->error(), userMessage(std::make_exception_ptr(AppError::http(500))));
    EXPECT_EQ(fixture.route(), u"splash"_qs);
    EXPECT_FALSE(fixture.router->dispatch(Key::character(u"r"_qs)));
    EXPECT_EQ(server.requestCount(kDevicePath), 1);

    answer(LoopbackResponse::json(portalRecord(2)));
    fixture.prefs->setSelectedPlaylistId(11);
    QSignalSpy errorSpy(splash.get(), &SplashScreenModel::errorChanged);
    EXPECT_TRUE(fixture.router->dispatch(key(Key::Kind::enter)));
    EXPECT_FALSE(splash->hasError()) << "the message clears at once";
    EXPECT_EQ(splash->attempt(), 1);
    ASSERT_NO_FATAL_FAILURE(finish());
    EXPECT_EQ(fixture.route(), u"home"_qs);
    EXPECT_EQ(server.requestCount(kDevicePath), 2);
    EXPECT_EQ(errorSpy.count(), 1);
}

TEST_F(SplashScreenTest, FailureWithCachedRecordCarriesOnOffline)
{
    fixture.cacheDevice(AppStateFixture::device({ 3, 4 }));
    answer(LoopbackResponse::dropped());
    start();
    // The record is posted once: one 200 ms exchange, not one per resend.
    ASSERT_NO_FATAL_FAILURE(finish());
    EXPECT_EQ(server.requestCount(kDevicePath), 1);
    EXPECT_EQ(fixture.route(), u"playlistPicker"_qs);
    EXPECT_TRUE(fixture.state->offline());
    EXPECT_FALSE(splash->hasError());
}

} // namespace
