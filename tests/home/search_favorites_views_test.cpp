#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "DevPortal.h"
#include "RunTask.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "home/FavoritesScreenModel.h"
#include "home/SearchScreenModel.h"
#include "live/LiveScreenModel.h"
#include "model/ContentKeys.h"
#include "sources/Catalog.h"
#include "sources/PlayItems.h"

#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

// The demo portal with its Xtream-Codes playlist as the device's only one, the real root
// view over the shared state, and every warning collected while a test runs.
class SearchFavoritesViews : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        portal = new DevPortal(DevPortalOptions { .port = 0, .playlists = 1 }, DemoMedia {});
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
        setActiveLanguage(QStringLiteral("en"));
        const DeviceResult result = runTask(programServices().app()->refreshDevice());
        ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
    }

    void show(Route route)
    {
        programServices().app()->replace(Routes::Home {});
        programServices().app()->push(std::move(route));
        engine.addImportPath(QStringLiteral("qrc:/"));
        load = loadQml(engine, QStringLiteral("qrc:/Zelfor/Shell/Main.qml"));
        ASSERT_TRUE(load.problems.isEmpty()) << qPrintable(load.problems.join('\n'));
        window = qobject_cast<QQuickWindow *>(load.object.get());
        ASSERT_TRUE(window);
        window->resize(1280, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }

    void TearDown() override
    {
        EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
        load.object.reset();
        programServices().app()->setLanguage(QStringLiteral("en"));
    }

    template <typename T> T *model()
    {
        for (QQuickItem *item : itemsBelow(window->contentItem())) {
            if (T *found = item->findChild<T *>(QString(), Qt::FindDirectChildrenOnly))
                return found;
        }
        return nullptr;
    }

    QQuickItem *visibleItem(const QString &name)
    {
        for (QQuickItem *item : itemsBelow(window->contentItem())) {
            if (item->objectName() == name && item->isVisible())
                return item;
        }
        return nullptr;
    }

    // Saved under ZELFOR_SCREENSHOT_DIR when it is set, to look at.
    void screenshot(const QString &name)
    {
        const QString dir = qEnvironmentVariable("ZELFOR_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        QTest::qWait(1500);
        window->grabWindow().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

    static MediaItem demoItem(ContentType type, const QString &id)
    {
        const Playlist playlist = *programServices().app()->activePlaylist();
        const SectionPtr section = runTask(programServices().catalog()->load(playlist, type, false));
        for (const MediaItem &item : section->all) {
            if (item.id == id)
                return item;
        }
        return {};
    }

    static void favourite(const MediaItem &item)
    {
        const FavoriteEntry entry
            = *PlayItems::forItem(item, *programServices().app()->activePlaylist()).favorite;
        // Stored by an earlier run against another port: stored again with this run's addresses.
        if (programServices().prefs()->isFavorite(itemKey(item.type, entry.playlistId, item.id)))
            programServices().prefs()->toggleFavorite(entry);
        programServices().prefs()->toggleFavorite(entry);
    }

    static inline DevPortal *portal = nullptr;
    WarningCollector warnings;
    QQmlEngine engine;
    QmlLoad load;
    QQuickWindow *window = nullptr;
};

TEST_F(SearchFavoritesViews, SearchingADemoMovieShowsItsCardAndEnterOpensIt)
{
    show(Routes::Search {});
    SearchScreenModel *search = model<SearchScreenModel>();
    ASSERT_TRUE(search);
    ASSERT_TRUE(visibleItem(u"hintMessage"_qs));
    ASSERT_TRUE(QTest::qWaitFor([search] { return !search->loading(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([search] { return search->fieldFocused(); }, 2000));
    for (char typed : { 'o', 'n' })
        QTest::keyClick(window, typed);
    EXPECT_EQ(search->query(), u"on"_qs);
    ASSERT_EQ(search->visibleRows().size(), 3);
    screenshot(u"search"_qs);
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(visibleItem(u"clearButton"_qs)));
    EXPECT_EQ(search->query(), QString());
    search->setQuery(u"steel harbour"_qs);
    ASSERT_TRUE(QTest::qWaitFor([this] { return visibleItem(u"resultCards"_qs) != nullptr; }, 2000));
    EXPECT_EQ(visibleItem(u"resultCards"_qs)->property("count").toInt(), 1);
    EXPECT_TRUE(programServices().router()->dispatch(Key { Key::Kind::enter, {} }));
    ASSERT_TRUE(isRoute<Routes::Movie>(programServices().app()->current()));
    EXPECT_EQ(std::get<Routes::Movie>(programServices().app()->current()).item.name, u"Steel Harbour"_qs);
    search->setQuery(u"zzqq"_qs);
    programServices().app()->pop();
    ASSERT_TRUE(QTest::qWaitFor([this] { return visibleItem(u"noResultsMessage"_qs) != nullptr; }, 2000));
}

TEST_F(SearchFavoritesViews, AKeystrokeKeepsTheCardsOfResultsThatStay)
{
    show(Routes::Search {});
    SearchScreenModel *search = model<SearchScreenModel>();
    ASSERT_TRUE(search);
    ASSERT_TRUE(QTest::qWaitFor([search] { return !search->loading(); }, 5000));
    search->setQuery(u"steel harbo"_qs);
    const auto card = [this]() -> QQuickItem * {
        QQuickItem *cards = visibleItem(u"resultCards"_qs);
        for (QQuickItem *item : cards ? itemsBelow(cards) : QList<QQuickItem *>()) {
            if (item->property("name").toString() == u"Steel Harbour"_qs
                && item->property("ratingBadge").isValid())
                return item;
        }
        return nullptr;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return card() != nullptr; }, 2000));
    const QPointer<QQuickItem> shown = card();
    search->setQuery(u"steel harbou"_qs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(shown);
    EXPECT_EQ(card(), shown.data());
    search->setQuery(u"steel harbourz"_qs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown; }, 2000));
}

TEST_F(SearchFavoritesViews, FavouritesShowInTheTabOfTheirType)
{
    favourite(demoItem(ContentType::live, u"101"_qs));
    favourite(demoItem(ContentType::live, u"301"_qs));
    favourite(demoItem(ContentType::movie, u"1002"_qs));
    show(Routes::Favorites {});
    FavoritesScreenModel *favorites = model<FavoritesScreenModel>();
    ASSERT_TRUE(favorites);
    QQuickItem *grid = visibleItem(u"favoritesGrid"_qs);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->property("count").toInt(), 2);
    EXPECT_GE(favorites->columns(), 4);
    EXPECT_TRUE(programServices().router()->dispatch(Key { Key::Kind::right, {} }));
    screenshot(u"favorites-live"_qs);
    // The second tile's context menu removes it.
    QQuickItem *second = nullptr;
    for (QQuickItem *item : itemsBelow(grid)) {
        if (item->property("index").toInt() == 1 && item->property("name").toString() == u"Planet Wild"_qs)
            second = item;
    }
    ASSERT_TRUE(second);
    QTest::mouseClick(window, Qt::RightButton, {}, centreOf(second));
    QObject *menu = nullptr;
    for (QQuickItem *item : itemsBelow(window->contentItem()))
        menu = menu ? menu : item->findChild<QObject *>(u"removeMenu"_qs, Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(menu);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->property("opened").toBool(); }, 2000));
    QQuickItem *remove = nullptr;
    ASSERT_TRUE(QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, remove), Q_ARG(int, 0)));
    ASSERT_TRUE(remove);
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(remove));
    EXPECT_TRUE(QTest::qWaitFor([grid] { return grid->property("count").toInt() == 1; }, 2000));
    EXPECT_EQ(programServices().app()->toastText(), tr(u"removed_from_favorites"_qs));
    EXPECT_TRUE(programServices().router()->dispatch(Key { Key::Kind::tab, {} }));
    EXPECT_EQ(visibleItem(u"favoritesGrid"_qs)->property("count").toInt(), 1);
    // The pane inside the screen's 28 pt sides: (1224 + 18) / 176 gives 7 poster columns.
    EXPECT_EQ(favorites->columns(), 7);
    screenshot(u"favorites-movies"_qs);
    EXPECT_TRUE(programServices().router()->dispatch(Key { Key::Kind::tab, {} }));
    ASSERT_TRUE(QTest::qWaitFor([this] { return visibleItem(u"emptyMessage"_qs) != nullptr; }, 2000));
    screenshot(u"favorites-empty"_qs);
}

TEST_F(SearchFavoritesViews, AChannelMadeFavouriteOnTheLiveScreenShowsInFavourites)
{
    const MediaItem news = demoItem(ContentType::live, u"101"_qs);
    const QString key = itemKey(ContentType::live, programServices().app()->activePlaylist()->id, news.id);
    if (programServices().prefs()->isFavorite(key))
        programServices().prefs()->toggleFavorite(
            *PlayItems::forItem(news, *programServices().app()->activePlaylist()).favorite);
    show(Routes::Live {});
    LiveScreenModel *live = model<LiveScreenModel>();
    ASSERT_TRUE(live);
    ASSERT_TRUE(QTest::qWaitFor([live, &key] { return live->channels()->rowOfKey(key) >= 0; }, 5000));
    live->toggleFavoriteAt(live->channels()->rowOfKey(key));
    EXPECT_TRUE(programServices().prefs()->isFavorite(key));
    programServices().app()->push(Routes::Favorites {});
    ASSERT_TRUE(QTest::qWaitFor([this] { return visibleItem(u"favoritesGrid"_qs) != nullptr; }, 2000));
    FavoritesScreenModel *favorites = model<FavoritesScreenModel>();
    ASSERT_TRUE(favorites);
    EXPECT_GE(favorites->items()->rowOfKey(key), 0);
}

// Right to left, result headings and the first cards of each row start at the right edge,
// and the favourites grid begins there too.
TEST_F(SearchFavoritesViews, ArabicMirrorsTheResultRowsAndTheGrid)
{
    favourite(demoItem(ContentType::live, u"101"_qs));
    programServices().app()->setLanguage(u"ar"_qs);
    show(Routes::Search {});
    SearchScreenModel *search = model<SearchScreenModel>();
    ASSERT_TRUE(search);
    ASSERT_TRUE(QTest::qWaitFor([search] { return !search->loading(); }, 5000));
    search->setQuery(u"on"_qs);
    const auto rightHalf = [this](QQuickItem *item) {
        return item && item->mapToScene(QPointF(0, 0)).x() > window->width() / 2;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return rightHalf(visibleItem(u"resultCount"_qs)); }, 2000));
    for (QQuickItem *item : itemsBelow(window->contentItem())) {
        if (item->property("ratingBadge").isValid() && item->isVisible())
            EXPECT_TRUE(rightHalf(item)) << qPrintable(item->property("name").toString());
    }
    programServices().app()->push(Routes::Favorites {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return visibleItem(u"favoritesGrid"_qs) != nullptr; }, 2000));
    QQuickItem *grid = visibleItem(u"favoritesGrid"_qs);
    QQuickItem *first = nullptr;
    for (QQuickItem *item : itemsBelow(grid)) {
        if (item->property("index").toInt() == 0 && item->property("logo").isValid())
            first = item;
    }
    ASSERT_TRUE(first);
    const QRectF tile = first->mapRectToScene(QRectF(0, 0, first->width(), first->height()));
    const QRectF area = grid->mapRectToScene(QRectF(0, 0, grid->width(), grid->height()));
    EXPECT_NEAR(area.right() - tile.right(), 18 / 2, 1);
}

} // namespace
