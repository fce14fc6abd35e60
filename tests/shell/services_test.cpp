#include "../kit/KitTestSupport.h"
#include "LoopbackServer.h"
#include "ManualClock.h"
#include "RunTask.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Prefs.h"
#include "kit/ImageStore.h"
#include "playback/PlayerEngine.h"
#include "shell/FirstFrame.h"
#include "shell/ScreenTable.h"
#include "shell/Services.h"
#include "shell/WindowSize.h"
#include "sources/Http.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Services on folders of their own, a closed portal and a virtual clock.
class ServicesTest : public ::testing::Test {
protected:
    ServicePlaces places()
    {
        return { dir.filePath(QStringLiteral("settings.json")), dir.filePath(QStringLiteral("http")),
            dir.filePath(QStringLiteral("images")), QStringLiteral("http://127.0.0.1:9"), &clock };
    }

    QTemporaryDir dir;
    ManualClock clock;
    Services services { places() };
};

TEST_F(ServicesTest, QmlSingletonsAreTheRegisteredInstances)
{
    services.registerInstances();
    const std::pair<QObject *, QObject *> rows[] = {
        { AppState::create(nullptr, nullptr), services.app() },
        { KeyRouter::create(nullptr, nullptr), services.router() },
        { WindowSize::create(nullptr, nullptr), services.windowSize() },
        { FirstFrame::create(nullptr, nullptr), services.firstFrame() },
        { ScreenTable::create(nullptr, nullptr), services.screens() },
    };
    for (const auto &[created, registered] : rows)
        EXPECT_EQ(created, registered) << registered->metaObject()->className();
}

TEST_F(ServicesTest, KeepTheirFilesInTheGivenPlaces)
{
    EXPECT_EQ(services.http()->cacheDir(), places().httpCache);
    services.prefs()->setUserAgent(QStringLiteral("Kept"));
    EXPECT_TRUE(QFile::exists(places().settingsFile));
}

TEST_F(ServicesTest, ScreensGetEveryServiceOnTheGivenPortal)
{
    const ScreenDeps deps = services.screenDeps();
    const std::pair<const char *, bool> set[] = { { "app", deps.app }, { "router", deps.router },
        { "catalog", deps.catalog }, { "http", deps.http }, { "clock", deps.clock },
        { "playback", deps.playback }, { "pictures", deps.pictures }, { "openUrl", bool(deps.openUrl) },
        { "quit", bool(deps.quit) } };
    for (const auto &[name, isSet] : set)
        EXPECT_TRUE(isSet) << name;
    EXPECT_EQ(PlayerEngine::of(deps), services.engine());
    EXPECT_EQ(deps.portalAddress, places().portalAddress);
}

// The settings' user agent goes with every request, of the content layer and of pictures.
TEST_F(ServicesTest, RequestsCarryTheUserAgentOfTheSettings)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/list"), LoopbackResponse::text("list"));
    server.serve(QStringLiteral("/logo.png"), picture({ 4, 4 }));
    services.prefs()->setUserAgent(QStringLiteral("Agent/2"));
    runTask(services.http()->get(server.url(QStringLiteral("/list")), 5s));
    runTask(services.images()->image(server.url(QStringLiteral("/logo.png"))));
    ASSERT_EQ(server.requestCount(), 2);
    for (const LoopbackRequest &request : server.requests())
        EXPECT_EQ(request.header("user-agent"), "Agent/2") << qPrintable(request.path);
}

} // namespace
