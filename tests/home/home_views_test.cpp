#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "AppWindowTest.h"
#include "RunTask.h"
#include "XtreamProvider.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Prefs.h"
#include "home/HomeScreenModel.h"
#include "home/SettingsScreenModel.h"
#include "kit/Theme.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

bool waitUntil(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, 10000);
}

// The application's window over the shared state, whose portal gives this device the
// loopback provider's playlist with a notice, an update and support contacts.
class HomeViews : public AppWindowTest {
protected:
    static void SetUpTestSuite()
    {
        provider = new XtreamProvider;
        portal = new LoopbackServer;
        const Playlist playlist = provider->playlist();
        const QJsonObject record { { "mac", "00:1a:79:00:00:09" }, { "device_key", "135790" },
            { "notice", "Maintenance tonight" }, { "app", QJsonObject { { "latest_version", "1.2.0" } } },
            { "support", QJsonObject { { "email", "help@example.test" } } },
            { "playlists",
                QJsonArray { QJsonObject { { "id", playlist.id }, { "name", playlist.name },
                    { "type", "xtream" }, { "host", *playlist.host }, { "username", *playlist.username },
                    { "password", *playlist.password } } } } };
        portal->serve(
            QStringLiteral("/api/app/device"), LoopbackResponse::json(QJsonDocument(record).toJson()));
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
        const DeviceResult result = runTask(programServices().app()->refreshDevice());
        ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
    }
    static void TearDownTestSuite()
    {
        delete portal;
        delete provider;
    }

    void SetUp() override
    {
        programServices().app()->setLanguage(QStringLiteral("en"));
        programServices().app()->replace(Routes::Home {});
        showWindow();
    }

    template <typename T> T *top() const { return shown->top<T>(); }

    QQuickItem *named(const QString &name) const { return itemNamed(window->contentItem(), name); }

    static inline LoopbackServer *portal = nullptr;
    static inline XtreamProvider *provider = nullptr;
};

TEST_F(HomeViews, HomeStartsWithItsCountsBannersAndTiles)
{
    ASSERT_TRUE(waitUntil([this] {
        HomeScreenModel *home = top<HomeScreenModel>();
        return home && home->seriesCount().endsWith(QStringLiteral("series"));
    }));
    QQuickItem *live = named(QStringLiteral("tile_live"));
    ASSERT_TRUE(live);
    EXPECT_TRUE(itemNamed(live, QStringLiteral("count"))->property("text").toString().endsWith(u"channels"));
    for (const char *banner : { "noticeBanner", "updateBanner" })
        EXPECT_TRUE(named(QString::fromLatin1(banner))->isVisible()) << banner;
    EXPECT_FALSE(named(QStringLiteral("errorBanner"))->isVisible());
    EXPECT_EQ(itemNamed(named(QStringLiteral("noticeBanner")), QStringLiteral("message"))
                  ->property("textFormat")
                  .toInt(),
        Qt::PlainText);
    EXPECT_FALSE(named(QStringLiteral("recents"))->isVisible()) << "nothing watched yet";
    EXPECT_LT(live->mapToScene({}).x(), window->width() / 2);

    ASSERT_TRUE(programServices().router()->dispatch(Key { Key::Kind::right, {} }));
    ASSERT_TRUE(programServices().router()->dispatch(Key { Key::Kind::right, {} }));
    EXPECT_TRUE(named(QStringLiteral("tile_movies"))->property("focused").toBool());
}

TEST_F(HomeViews, SettingsOpensFromHomeAndArabicMirrorsBoth)
{
    ASSERT_TRUE(waitUntil([this] { return top<HomeScreenModel>() != nullptr; }));
    top<HomeScreenModel>()->activate(QStringLiteral("settings"));
    ASSERT_TRUE(waitUntil([this] { return top<SettingsScreenModel>() != nullptr; }));
    ASSERT_TRUE(waitUntil([this] { return named(QStringLiteral("setting_support")) != nullptr; }));
    QQuickItem *device = named(QStringLiteral("setting_device"));
    EXPECT_LT(device->mapToScene({}).x(), window->width() / 2);
    EXPECT_EQ(top<SettingsScreenModel>()->columns(), SettingsScreenModel::columnsFor(window->width() - 56));
    // The badge sits at the tile's leading edge.
    const auto badgeOffset = [this] {
        QQuickItem *tile = named(QStringLiteral("setting_device"));
        return itemNamed(tile, QStringLiteral("badge"))->mapToItem(tile, QPointF()).x();
    };
    EXPECT_DOUBLE_EQ(badgeOffset(), 16);

    programServices().app()->setLanguage(QStringLiteral("ar"));
    ASSERT_TRUE(waitUntil([this] {
        QQuickItem *tile = named(QStringLiteral("setting_device"));
        return tile && tile->mapToScene({}).x() > window->width() / 2;
    }));
    QQuickItem *tile = named(QStringLiteral("setting_device"));
    EXPECT_DOUBLE_EQ(badgeOffset(), tile->width() - 16 - 46);
    programServices().app()->pop();
    ASSERT_TRUE(waitUntil([this] {
        QQuickItem *live = named(QStringLiteral("tile_live"));
        return top<HomeScreenModel>() && live && live->mapToScene({}).x() > window->width() / 2;
    }));
}

// A watched movie of this playlist shows in the row with its share; Enter on its card plays it.
TEST_F(HomeViews, ContinueWatchingRowPlaysAWatchedMovie)
{
    Prefs &prefs = *programServices().prefs();
    const QString key = u"%1|MOVIE|77"_qs.arg(provider->playlist().id);
    prefs.addRecent({ .key = key, .title = u"Quiet Rooms"_qs, .url = u"http://127.0.0.1:9/77.mp4"_qs });
    prefs.saveResume(key, 600, 2400);
    programServices().app()->replace(Routes::Home {});
    // The screen replaced leaves with a fade; the new one shows the row and the share.
    ASSERT_TRUE(waitUntil([this] {
        const QList<QQuickItem *> items = itemsBelow(window->contentItem());
        return top<HomeScreenModel>() && std::any_of(items.begin(), items.end(), [](QQuickItem *item) {
            return item->objectName() == u"resumeBar" && item->isVisible() && item->width() > 0;
        });
    }));
    for (const Key::Kind kind : { Key::Kind::down, Key::Kind::down, Key::Kind::enter })
        ASSERT_TRUE(programServices().router()->dispatch(Key { kind, {} }));
    EXPECT_EQ(routeName(programServices().app()->current()), u"player"_qs);
    prefs.removeRecent(key);
    prefs.saveResume(key, 0, 2400);
}

// The settings screen is its header and its grid: the user agent is chosen in its dialog
// and Tab is not used; titles wrap instead of being cut, in the longest language too.
TEST_F(HomeViews, SettingsIsTheGridOnlyAndTitlesWrap)
{
    programServices().app()->setLanguage(QStringLiteral("fr"));
    programServices().app()->push(Routes::Settings {});
    ASSERT_TRUE(waitUntil([this] { return top<SettingsScreenModel>() && named(u"setting_refresh"_qs); }));
    EXPECT_FALSE(named(QStringLiteral("userAgentField")));
    EXPECT_FALSE(programServices().router()->dispatch(Key { Key::Kind::tab, {} }));
    QQuickItem *title = itemNamed(named(u"setting_refresh"_qs), QStringLiteral("title"));
    ASSERT_TRUE(waitUntil([&] { return title->property("lineCount").toInt() == 2; }));
    EXPECT_FALSE(title->property("truncated").toBool());
    EXPECT_EQ(title->property("text").toString(), u"Actualiser le compte et les playlists"_qs);
}

// The continue-watching card's Dismiss menu is drawn in the app's colours and owns the keys
// while open: Esc closes only it (no quit hint), Down and Enter dismiss the card.
TEST_F(HomeViews, DismissMenuOwnsTheKeysWhileOpen)
{
    Prefs &prefs = *programServices().prefs();
    const QString key = u"%1|MOVIE|78"_qs.arg(provider->playlist().id);
    prefs.addRecent({ .key = key, .title = u"Loud Rooms"_qs, .url = u"http://127.0.0.1:9/78.mp4"_qs });
    prefs.saveResume(key, 600, 2400);
    programServices().app()->replace(Routes::Home {});
    QObject *menu = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        for (QQuickItem *item : itemsBelow(window->contentItem()))
            if (item->property("dismissAction").isValid() && item->isVisible() && item->isEnabled())
                menu = item->findChild<QObject *>(u"dismissMenu"_qs);
        return top<HomeScreenModel>() && menu;
    }));
    QQuickItem *dismiss = nullptr;
    const auto openMenu = [&] {
        QMetaObject::invokeMethod(menu, "open");
        return waitUntil([&] { return (dismiss = named(u"dismissItem"_qs)) && dismiss->isVisible(); });
    };
    const auto dispatch = [](Key::Kind kind) {
        return programServices().router()->dispatch(Key { kind, {} });
    };
    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(dispatch(Key::Kind::esc));
    ASSERT_TRUE(waitUntil([&] { return !dismiss->isVisible(); }));
    EXPECT_NE(programServices().app()->toast(), u"Press Esc again to quit"_qs);
    EXPECT_EQ(routeName(programServices().app()->current()), u"home"_qs);

    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(dispatch(Key::Kind::down));
    const QColor drawn
        = dismiss->property("background").value<QQuickItem *>()->property("color").value<QColor>();
    EXPECT_EQ(drawn, Theme::raisedHover());
    EXPECT_TRUE(dispatch(Key::Kind::enter));
    EXPECT_EQ(routeName(programServices().app()->current()), u"home"_qs)
        << "Enter played nothing behind the menu";
    const QList<PlayItem> recent = prefs.recent();
    EXPECT_TRUE(
        std::none_of(recent.begin(), recent.end(), [&](const PlayItem &item) { return item.key == key; }));
    prefs.removeRecent(key);
    prefs.saveResume(key, 0, 2400);
}

} // namespace
