#include "ProgramServices.h"
#include "AppWindow.h"
#include "ShownScreen.h"
#include "../kit/KitTestSupport.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/SplashScreenModel.h"

#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

QRectF sceneRect(QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

// A refusal of any length shows between the brand and the version line, Retry inside the window.
TEST(SplashView, AHugeMessageLeavesTheBrandAndRetryInPlace)
{
    LoopbackServer portal;
    const QByteArray message = QByteArray("blocked ").repeated(64 * 1024);
    portal.serve(QStringLiteral("/api/app/device"),
        LoopbackResponse::json(R"({"error":{"message":")" + message + R"("}})", 403));
    qputenv("ZELFOR_SERVER", portal.baseUrl().toUtf8());
    setActiveLanguage(QStringLiteral("en"));
    programServices().app()->replace(Routes::Splash {});
    AppWindow shown;
    ASSERT_TRUE(shown.problems().isEmpty()) << qPrintable(shown.problems().join('\n'));
    QQuickWindow *window = shown.window();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
        auto *splash = shown.top<SplashScreenModel>();
        return splash && splash->hasError();
        },
        10000));
    window->grabWindow(); // lays out and draws the failure
    QQuickItem *root = window->contentItem();
    QQuickItem *failure = itemNamed(root, QStringLiteral("failure"));
    QQuickItem *retry = itemNamed(root, QStringLiteral("retryButton"));
    QQuickItem *brand = itemNamed(root, QStringLiteral("brandTitle"));
    QQuickItem *version = itemNamed(root, QStringLiteral("versionLine"));
    ASSERT_TRUE(failure && retry && brand && version);
    EXPECT_TRUE(QRectF(0, 0, window->width(), window->height()).contains(sceneRect(retry)));
    EXPECT_LE(sceneRect(brand).bottom(), sceneRect(failure).top());
    EXPECT_LE(sceneRect(failure).bottom(), sceneRect(version).top());
    EXPECT_TRUE(shown.warnings().isEmpty()) << qPrintable(shown.warnings().join('\n'));
}

// The splash stays up 0.9 s of real time after each exchange.
TEST(SplashView, ShowsTheRefusalThenRetriesIntoTheRootRoute)
{
    LoopbackServer portal;
    portal.serveSequence(QStringLiteral("/api/app/device"),
        { LoopbackResponse::json(R"({"error":{"message":"Device blocked"}})", 403),
            LoopbackResponse::json(R"({"mac":"02:00:00:00:00:01","device_key":"K",
                               "playlists":[{"id":5,"name":"One","url":"http://127.0.0.1:9/a.m3u"}]})") });
    qputenv("ZELFOR_SERVER", portal.baseUrl().toUtf8());
    setActiveLanguage(QStringLiteral("en"));

    programServices().app()->replace(Routes::Splash {});
    QQmlEngine engine;
    ShownScreen shown = showTopScreen(engine, { { "width", 1360 }, { "height", 840 } });
    ASSERT_TRUE(shown.view.problems.isEmpty()) << qPrintable(shown.view.problems.join('\n'));
    auto *root = qobject_cast<QQuickItem *>(shown.view.object.get());
    auto *screen = shown.as<SplashScreenModel>();
    ASSERT_TRUE(root && screen);
    EXPECT_TRUE(screen->appear());
    EXPECT_TRUE(screen->isActive());
    QQuickItem *failure = itemNamed(root, QStringLiteral("failure"));
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->isVisible());

    WarningCollector warnings;
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->hasError(); }, 10000));
    EXPECT_TRUE(screen->errorText().contains(QStringLiteral("Device blocked")))
        << qPrintable(screen->errorText());
    EXPECT_TRUE(failure->isVisible());
    EXPECT_TRUE(itemNamed(root, QStringLiteral("retryButton"))->isVisible());
    EXPECT_TRUE(isRoute<Routes::Splash>(programServices().app()->current()));

    ASSERT_TRUE(programServices().router()->dispatch(Key { Key::Kind::enter, {} }));
    EXPECT_FALSE(failure->isVisible());
    ASSERT_TRUE(
        QTest::qWaitFor([] { return isRoute<Routes::Home>(programServices().app()->current()); }, 10000));
    EXPECT_EQ(programServices().app()->stack().size(), 1);
    EXPECT_EQ(portal.requestCount(QStringLiteral("/api/app/device")), 2);
    EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
}

} // namespace
