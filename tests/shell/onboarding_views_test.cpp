#include "LoopbackServer.h"
#include "ShownScreen.h"
#include "RunTask.h"
#include "app/ActivationScreenModel.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/PlaylistPickerScreenModel.h"
#include "app/QrCode.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

const QByteArray kRecord = R"({"mac":"00:1a:79:12:34:56","device_key":"905512","site_url":"http://127.0.0.1:9",
    "support":{"email":"help@example.test","whatsapp":"+212600000000"},
    "playlists":[{"id":3,"name":"Home TV","url":"http://127.0.0.1:9/a.m3u"},{"id":4,"name":"","type":"xtream",
    "host":"http://127.0.0.1:9","username":"u","password":"p"}]})";

// The shared state holds the record of a loopback portal, with the device screen pushed
// over home; the screens are made over it, as in the application.
class OnboardingViews : public ::testing::TestWithParam<const char *> {
protected:
    static void SetUpTestSuite()
    {
        portal = new LoopbackServer;
        portal->serve(QStringLiteral("/api/app/device"), LoopbackResponse::json(kRecord));
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
        const DeviceResult result = runTask(AppState::shared()->refreshDevice());
        ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
        AppState::shared()->replace(Routes::Home {});
        AppState::shared()->push(Routes::Activation {});
    }
    static void TearDownTestSuite() { delete portal; }
    void SetUp() override { setActiveLanguage(QString::fromLatin1(GetParam())); }
    void TearDown() override { setActiveLanguage(QStringLiteral("en")); }

    static inline LoopbackServer *portal = nullptr;
};

// The screen of `route`, pushed over the shared state's stack as the program shows it.
ShownScreen showScreen(QQmlEngine &engine, Route route)
{
    AppState::shared()->push(std::move(route));
    ShownScreen shown = showTopScreen(engine, { { "width", 1360 }, { "height", 840 } });
    AppState::shared()->pop();
    return shown;
}

TEST_P(OnboardingViews, DeviceScreenAndPickerLoadOverTheSharedState)
{
    QQmlEngine engine;
    const int handlers = KeyRouter::shared()->handlerCount();
    ShownScreen device = showTopScreen(engine, { { "width", 1360 }, { "height", 840 } });
    ShownScreen picker = showScreen(engine, Routes::PlaylistPicker {});
    EXPECT_TRUE(device.view.problems.isEmpty()) << qPrintable(device.view.problems.join('\n'));
    EXPECT_TRUE(picker.view.problems.isEmpty()) << qPrintable(picker.view.problems.join('\n'));
    ASSERT_TRUE(device.view.object && picker.view.object);
    auto *screen = device.as<ActivationScreenModel>();
    auto *qr = device.view.object->findChild<QrCodeItem *>();
    auto *pickerScreen = picker.as<PlaylistPickerScreenModel>();
    ASSERT_TRUE(screen && qr && pickerScreen);
    EXPECT_TRUE(screen->isActive());
    EXPECT_EQ(screen->deviceKey(), QStringLiteral("905512"));
    EXPECT_TRUE(screen->canGoBack());
    EXPECT_EQ(qr->text(), screen->manageAddress());
    EXPECT_TRUE(qr->hasCode());
    // One card per playlist, in the page's one repeater.
    EXPECT_EQ(pickerScreen->cards().size(), 2);
    QList<int> repeaterCounts;
    for (QObject *child : picker.view.object->findChildren<QObject *>()) {
        if (child->inherits("QQuickRepeater"))
            repeaterCounts.append(child->property("count").toInt());
    }
    EXPECT_EQ(repeaterCounts, QList<int> { 2 });
    picker.close();
    EXPECT_EQ(KeyRouter::shared()->handlerCount(), handlers + 1);
    device.close();
    EXPECT_EQ(KeyRouter::shared()->handlerCount(), handlers);
}

INSTANTIATE_TEST_SUITE_P(Languages, OnboardingViews, ::testing::Values("en", "ar"),
    [](const auto &info) { return std::string(info.param); });

} // namespace
