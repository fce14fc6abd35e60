#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "AppWindowTest.h"
#include "DevPortal.h"
#include "RunTask.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Prefs.h"
#include "vod/BrowseScreenModel.h"
#include "vod/MovieDetailsScreenModel.h"
#include "vod/SeriesDetailsScreenModel.h"

#include <QDir>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

bool waitUntil(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, 8000);
}

// Small stand-ins for the clips: nothing here plays them.
DemoMedia fakeMedia()
{
    DemoMedia media;
    media.mp4 = QByteArray(4096, 'M');
    media.ts = QByteArray(2048, 'T');
    return media;
}

// The application's window over the shared state, the device record taken from a demo
// portal on a free loopback port that gives the device its Xtream-Codes account.
class VodViewsTest : public AppWindowTest {
protected:
    static void SetUpTestSuite()
    {
        portal = new DevPortal({ .port = 0, .playlists = 1 }, fakeMedia());
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
    }

    static void TearDownTestSuite()
    {
        delete portal;
        portal = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(portal->isListening());
        app = programServices().app();
        ASSERT_TRUE(std::holds_alternative<DeviceResponse>(runTask(app->refreshDevice())));
        ASSERT_TRUE(app->activePlaylist());
        app->replace(Routes::Home {});
        showWindow();
    }

    // The view-model of the screen on top, once there is one of that kind and it is ready.
    template <typename Model> Model *awaitTop(const std::function<bool(Model *)> &ready)
    {
        Model *model = nullptr;
        waitUntil([&] { return (model = shown->top<Model>()) && ready(model); });
        return model;
    }

    bool press(Key::Kind kind) { return programServices().router()->dispatch(Key { kind, {} }); }

    // Saves the window to ZELFOR_SCREENSHOTS/<name>.png when that folder is given.
    void shoot(const QString &name)
    {
        const QString folder = qEnvironmentVariable("ZELFOR_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QTest::qWait(700); // posters arrive from the portal
        QDir().mkpath(folder);
        window->grabWindow().save(folder + u'/' + name + QStringLiteral(".png"));
    }

    QString route() const { return routeName(app->current()); }

    static inline DevPortal *portal = nullptr;
    AppState *app = nullptr;
};

// Movies, a poster, its details, play, back to the details; then a series and an episode;
// in English and in Arabic.
TEST_F(VodViewsTest, BrowseOpenPlayAndComeBack)
{
    for (const QString &language : { u"en"_qs, u"ar"_qs }) {
        app->setLanguage(language);
        app->replace(Routes::Home {});
        app->push(Routes::Browse { ContentType::movie });
        auto *browse = awaitTop<BrowseScreenModel>(
            [](auto *model) { return model->state() == BrowseScreenModel::Loaded; });
        ASSERT_TRUE(browse) << qPrintable(language);
        EXPECT_GT(browse->posters()->count(), 0);
        shoot(u"browse-"_qs + language);

        ASSERT_TRUE(press(Key::Kind::down) && press(Key::Kind::enter));
        auto *movie = awaitTop<MovieDetailsScreenModel>([](auto *model) { return model->loaded(); });
        ASSERT_TRUE(movie);
        EXPECT_EQ(movie->title(), browse->posters()->itemAt(0)->name);
        shoot(u"movie-"_qs + language);
        ASSERT_TRUE(press(Key::Kind::enter));
        ASSERT_TRUE(waitUntil([this] { return route() == u"player"_qs; }));
        programServices().router()->dispatch(Key { Key::Kind::esc, {} });
        ASSERT_EQ(awaitTop<MovieDetailsScreenModel>([](auto *) { return true; }), movie);

        app->replace(Routes::Home {});
        app->push(Routes::Browse { ContentType::series });
        browse = awaitTop<BrowseScreenModel>(
            [](auto *model) { return model->state() == BrowseScreenModel::Loaded; });
        ASSERT_TRUE(browse);
        // The demo numbers a series' episodes <series id><season><episode>.
        const QString firstEpisode = browse->posters()->itemAt(0)->id + u"11"_qs;
        app->prefs()->saveResume(u"%1|EP|%2"_qs.arg(app->activePlaylist()->id).arg(firstEpisode), 21, 30);
        browse->open(0);
        auto *series = awaitTop<SeriesDetailsScreenModel>(
            [](auto *model) { return model->state() == SeriesDetailsScreenModel::Loaded; });
        ASSERT_TRUE(series);
        QList<qreal> strips;
        waitUntil([&] {
            strips.clear();
            for (QQuickItem *item : itemsBelow(window->contentItem())) {
                if (item->objectName() == u"progressStrip"_qs && item->isVisible())
                    strips.append(item->property("progress").toReal() * item->width());
            }
            return !strips.isEmpty();
        });
        EXPECT_EQ(strips, QList<qreal> { 0.7 * 160 }) << "one strip, seven tenths of its thumbnail";
        press(Key::Kind::down);
        shoot(u"series-"_qs + language);
        ASSERT_TRUE(press(Key::Kind::enter));
        ASSERT_TRUE(waitUntil([this] { return route() == u"player"_qs; }));
        const Routes::Player player = std::get<Routes::Player>(app->current());
        EXPECT_EQ(player.queue.start, 1);
        EXPECT_EQ(player.queue.count(), series->shownEpisodes().size());
    }
}

// The poster's context menu adds it to the favourites or removes it, and says so.
TEST_F(VodViewsTest, PosterMenuTogglesTheFavourite)
{
    app->push(Routes::Browse { ContentType::movie });
    auto *browse = awaitTop<BrowseScreenModel>(
        [](auto *model) { return model->state() == BrowseScreenModel::Loaded; });
    ASSERT_TRUE(browse);
    const auto isFavorite = [browse] {
        return browse->posters()->data(browse->posters()->index(0), ContentListModel::FavoriteRole).toBool();
    };
    const QPointer<QQuickItem> poster = itemNamed(window->contentItem(), u"poster"_qs);
    ASSERT_TRUE(poster);
    // The toasts shown, as the view reads them: each one goes again after a while.
    QStringList toasts;
    const QObject watching;
    QObject::connect(app, &AppState::toastChanged, &watching, [&] {
        if (app->toastVisible())
            toasts.append(app->toastText());
    });
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(poster) << "the grid keeps its posters when only a badge changes";
        const bool before = isFavorite();
        QTest::mouseClick(window, Qt::RightButton, {}, centreOf(poster));
        QQuickItem *menuItem = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            menuItem = itemNamed(window->contentItem(), u"favoriteMenuItem"_qs);
            return menuItem && menuItem->isVisible() && menuItem->height() > 0;
        }));
        EXPECT_EQ(menuItem->property("text").toString(),
            before ? u"Remove from favorites"_qs : u"Add to favorites"_qs);
        toasts.clear();
        QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(menuItem));
        ASSERT_TRUE(waitUntil([&] { return isFavorite() != before && !toasts.isEmpty(); }));
        EXPECT_EQ(toasts, QStringList { before ? u"Removed from favorites"_qs : u"Added to favorites"_qs });
        ASSERT_TRUE(waitUntil([&] { return !menuItem->isVisible(); }));
    }
}

// With the poster menu open the keys stay in it: Esc closes only the menu, Down and Enter
// choose inside it, and the grid behind keeps its focus.
TEST_F(VodViewsTest, PosterMenuOwnsTheKeysWhileOpen)
{
    app->push(Routes::Browse { ContentType::movie });
    auto *browse = awaitTop<BrowseScreenModel>(
        [](auto *model) { return model->state() == BrowseScreenModel::Loaded; });
    ASSERT_TRUE(browse);
    QQuickItem *poster = itemNamed(window->contentItem(), u"poster"_qs);
    ASSERT_TRUE(poster);
    QQuickItem *menuItem = nullptr;
    const auto openMenu = [&] {
        QTest::mouseClick(window, Qt::RightButton, {}, centreOf(poster));
        return waitUntil([&] {
            menuItem = itemNamed(window->contentItem(), u"favoriteMenuItem"_qs);
            return menuItem && menuItem->isVisible() && menuItem->height() > 0;
        });
    };
    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(press(Key::Kind::esc));
    ASSERT_TRUE(waitUntil([&] { return !menuItem->isVisible(); }));
    EXPECT_EQ(route(), u"browse"_qs);

    ASSERT_TRUE(openMenu());
    const int focus = browse->focus();
    EXPECT_TRUE(press(Key::Kind::down));
    EXPECT_TRUE(press(Key::Kind::right));
    EXPECT_EQ(browse->focus(), focus);
    EXPECT_TRUE(press(Key::Kind::enter));
    EXPECT_EQ(app->toast(), u"Added to favorites"_qs);
    EXPECT_EQ(route(), u"browse"_qs) << "Enter opened nothing behind the menu";
    ASSERT_TRUE(waitUntil([&] { return !menuItem->isVisible(); }));
    EXPECT_TRUE(press(Key::Kind::esc));
    EXPECT_EQ(route(), u"home"_qs) << "a closed menu leaves Esc to the screen";
}

} // namespace
