#include "AppStateFixture.h"
#include "LoopbackServer.h"
#include "app/ErrorMessages.h"
#include "app/KeyRouter.h"
#include "app/SplashScreen.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/api/app/device");

QByteArray record(int playlistCount)
{
    QJsonArray playlists;
    for (int i = 0; i < playlistCount; ++i)
        playlists.append(
            QJsonObject { { QStringLiteral("id"), 10 + i }, { QStringLiteral("name"), QStringLiteral("P") },
                { QStringLiteral("url"), QStringLiteral("http://127.0.0.1:9/p.m3u") } });
    return QJsonDocument(QJsonObject { { QStringLiteral("mac"), QStringLiteral("00:1a:79:00:00:01") },
                             { QStringLiteral("device_key"), QStringLiteral("1234") },
                             { QStringLiteral("playlists"), playlists } })
        .toJson();
}

// The splash over a loopback portal whose answers take `exchangeMs` of virtual time.
class SplashScreenTest : public ::testing::Test {
protected:
    void answer(const LoopbackResponse &response, qint64 exchangeMs = 200)
    {
        server.route(kPath, [this, response, exchangeMs](const LoopbackRequest &) {
            fixture.clock.advance(exchangeMs);
            return response;
        });
    }
    SplashScreen &start()
    {
        AppState &state = fixture.makeState();
        router = std::make_unique<KeyRouter>(&state, KeyRouterHooks { .clock = &fixture.clock });
        splash = std::make_unique<SplashScreen>(&state, router.get(), &fixture.clock);
        splash->setActive(true);
        splash->appeared();
        return *splash;
    }
    // The exchange is over and the splash holds itself for the rest of its minimum time.
    bool waitForHold()
    {
        return QTest::qWaitFor([this] { return fixture.clock.pending() == 1; });
    }
    QString route() const { return routeName(fixture.state->current()); }

    LoopbackServer server;
    AppStateFixture fixture { server.baseUrl() };
    std::unique_ptr<KeyRouter> router;
    std::unique_ptr<SplashScreen> splash;
};

TEST_F(SplashScreenTest, QuickExchangeHoldsUntilMinimumTime)
{
    answer(LoopbackResponse::json(record(1)), 200);
    start();
    EXPECT_TRUE(splash->appear());
    ASSERT_TRUE(waitForHold());
    EXPECT_EQ(route(), QStringLiteral("splash"));
    fixture.clock.advance(699);
    EXPECT_EQ(route(), QStringLiteral("splash"));
    fixture.clock.advance(1);
    EXPECT_EQ(route(), QStringLiteral("home"));
    EXPECT_EQ(fixture.state->stack().size(), 1);
}

TEST_F(SplashScreenTest, SlowExchangeRootsAtOnce)
{
    answer(LoopbackResponse::json(record(1)), 2000);
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return route() == QLatin1String("home"); }));
    EXPECT_EQ(fixture.clock.nowMs(), 2000);
    EXPECT_EQ(fixture.clock.pending(), 0);
}

struct OutcomeRow {
    const char *name;
    int playlists;
    QString route;
};

class SplashOutcomeTest : public SplashScreenTest, public ::testing::WithParamInterface<OutcomeRow> { };

TEST_P(SplashOutcomeTest, RecordChoosesTheRoute)
{
    answer(LoopbackResponse::json(record(GetParam().playlists)));
    start();
    ASSERT_TRUE(waitForHold());
    fixture.clock.advance(700);
    EXPECT_EQ(route(), GetParam().route);
    EXPECT_FALSE(splash->hasError());
}

INSTANTIATE_TEST_SUITE_P(Table, SplashOutcomeTest,
    ::testing::Values(OutcomeRow { "None", 0, "activation" }, OutcomeRow { "One", 1, "home" },
        OutcomeRow { "Several", 3, "playlistPicker" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SplashScreenTest, FailureWithoutRecordShowsErrorAndEnterRetries)
{
    answer(LoopbackResponse::withStatus(500));
    start();
    EXPECT_FALSE(router->dispatch({ Key::Kind::enter, {} })) << "Enter while connecting does nothing";
    ASSERT_TRUE(waitForHold());
    fixture.clock.advance(700);
    EXPECT_EQ(splash->error(), userMessage(std::make_exception_ptr(AppError::http(500))));
    EXPECT_EQ(route(), QStringLiteral("splash"));
    EXPECT_FALSE(router->dispatch(Key::character(QStringLiteral("r"))));
    EXPECT_EQ(server.requestCount(kPath), 1);

    answer(LoopbackResponse::json(record(2)));
    fixture.prefs->setSelectedPlaylistId(11);
    QSignalSpy errorSpy(splash.get(), &SplashScreen::errorChanged);
    EXPECT_TRUE(router->dispatch({ Key::Kind::enter, {} }));
    EXPECT_FALSE(splash->hasError()) << "the message clears at once";
    EXPECT_EQ(splash->attempt(), 1);
    ASSERT_TRUE(waitForHold());
    fixture.clock.advance(700);
    EXPECT_EQ(route(), QStringLiteral("home"));
    EXPECT_EQ(server.requestCount(kPath), 2);
    EXPECT_EQ(errorSpy.count(), 1);
}

TEST_F(SplashScreenTest, FailureWithCachedRecordCarriesOnOffline)
{
    fixture.cacheDevice(AppStateFixture::device({ 3, 4 }));
    answer(LoopbackResponse::dropped());
    start();
    ASSERT_TRUE(waitForHold());
    fixture.clock.advance(700);
    EXPECT_EQ(route(), QStringLiteral("playlistPicker"));
    EXPECT_TRUE(fixture.state->offline());
    EXPECT_FALSE(splash->hasError());
}

} // namespace
