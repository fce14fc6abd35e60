#include "LoopbackServer.h"
#include "QmlHarness.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/PlaceholderScreen.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

// Runs the event loop until `done` holds or a second has passed.
// Every item below `root` in the visual tree.
QList<QQuickItem *> itemsBelow(QQuickItem *root)
{
    QList<QQuickItem *> items;
    for (QQuickItem *child : root->childItems()) {
        items.append(child);
        items.append(itemsBelow(child));
    }
    return items;
}

template <typename T>
QList<T *> objectsBelow(QQuickItem *root)
{
    QList<T *> found;
    for (QQuickItem *item : itemsBelow(root)) {
        for (T *child : item->findChildren<T *>(Qt::FindDirectChildrenOnly))
            found.append(child);
    }
    return found;
}

QQuickItem *itemNamed(QQuickItem *root, const QString &name)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->objectName() == name)
            return item;
    }
    return nullptr;
}

template <typename Done>
bool waitUntil(Done done)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Items let go by views are deleted later; the test loop is not the main loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (!done() && timer.elapsed() < 1000);
    return done();
}

// The window over the shared state, with Live, Settings and Search on the stack; every
// warning while it lives fails the test.
class RootViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The shared state is made on first use; its portal is a closed loopback port.
        qputenv("ZELFOR_SERVER", "http://127.0.0.1:9");
        setActiveLanguage(QStringLiteral("en"));
    }

    void SetUp() override
    {
        app = AppState::shared();
        app->setLanguage(QStringLiteral("en"));
        app->replace(Routes::Live {});
        app->push(Routes::Settings {});
        app->push(Routes::Search {});
        handlersBefore = KeyRouter::shared()->handlerCount();
        engine.addImportPath(QStringLiteral("qrc:/"));
        load = loadQml(engine, QStringLiteral("qrc:/Zelfor/App/Main.qml"));
        ASSERT_TRUE(load.problems.isEmpty()) << qPrintable(load.problems.join('\n'));
        window = qobject_cast<QQuickWindow *>(load.object.get());
        ASSERT_TRUE(window);
        ASSERT_TRUE(waitUntil([this] { return settled(); }));
    }

    void TearDown() override
    {
        EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
        load.object.reset();
        app->setLanguage(QStringLiteral("en"));
    }

    QList<QQuickItem *> layers() const
    {
        QList<QQuickItem *> found;
        for (QQuickItem *item : itemsBelow(window->contentItem())) {
            if (item->property("sharedStateScreens").isValid())
                found.append(item);
        }
        std::sort(found.begin(), found.end(),
                  [](QQuickItem *a, QQuickItem *b) { return a->property("index").toInt() < b->property("index").toInt(); });
        return found;
    }

    QList<PlaceholderScreen *> screens() const
    {
        QList<PlaceholderScreen *> found = objectsBelow<PlaceholderScreen>(window->contentItem());
        std::sort(found.begin(), found.end(), [this](PlaceholderScreen *a, PlaceholderScreen *b) {
            return indexOf(a->entryId()) < indexOf(b->entryId());
        });
        return found;
    }

    qsizetype indexOf(const QString &entryId) const
    {
        for (qsizetype i = 0; i < app->stack().size(); ++i) {
            if (app->stack()[i].id.toString(QUuid::WithoutBraces) == entryId)
                return i;
        }
        return -1;
    }

    static QQuickItem *screenOf(QQuickItem *layer) { return layer->property("screen").value<QQuickItem *>(); }

    // One layer per entry, each fully shown or hidden, none leaving.
    bool settled() const
    {
        const QList<QQuickItem *> all = layers();
        if (all.size() != app->stack().size())
            return false;
        for (QQuickItem *layer : all) {
            QQuickItem *screen = screenOf(layer);
            const QQuickItem *frame = screen ? screen->parentItem()->parentItem() : nullptr;
            const qreal shown = layer->property("isTop").toBool() ? 1 : 0;
            if (!frame || frame->opacity() != shown || layer->opacity() != 1)
                return false;
        }
        return true;
    }

    void expectOnlyTopShown()
    {
        const QList<QQuickItem *> all = layers();
        ASSERT_EQ(all.size(), app->stack().size());
        for (qsizetype i = 0; i < all.size(); ++i) {
            const bool top = i == all.size() - 1;
            QQuickItem *screen = screenOf(all[i]);
            ASSERT_TRUE(screen);
            EXPECT_EQ(screen->isVisible(), top) << i;
            EXPECT_EQ(screen->isEnabled(), top) << i;
            EXPECT_EQ(screen->property("isTop").toBool(), top) << i;
        }
        const QList<PlaceholderScreen *> models = screens();
        ASSERT_EQ(models.size(), app->stack().size());
        for (qsizetype i = 0; i < models.size(); ++i)
            EXPECT_EQ(models[i]->isActive(), i == models.size() - 1) << i;
        EXPECT_EQ(KeyRouter::shared()->handlerCount(), handlersBefore + 1);
    }

    QStringList titles() const
    {
        QStringList list;
        for (PlaceholderScreen *screen : screens())
            list.append(screen->title());
        return list;
    }

    AppState *app = nullptr;
    int handlersBefore = 0;
    QQmlEngine engine;
    QmlLoad load;
    QQuickWindow *window = nullptr;
    WarningCollector warnings;
};

TEST_F(RootViewTest, WindowHasItsSizeAndLimits)
{
    EXPECT_EQ(window->size(), QSize(1360, 840));
    EXPECT_EQ(window->minimumSize(), QSize(1080, 680));
    EXPECT_EQ(window->title(), QStringLiteral("Zelfor"));
}

TEST_F(RootViewTest, OnlyTheTopScreenIsShownClickableAndTakesKeys)
{
    expectOnlyTopShown();
    EXPECT_EQ(titles(), QStringList({ "Live TV", "Settings", "Search" }));
    QQuickItem *header = itemNamed(screenOf(layers().last()), QStringLiteral("header"));
    ASSERT_TRUE(header);
    EXPECT_GT(header->height(), 0);
    EXPECT_EQ(header->property("title").toString(), QStringLiteral("Search"));
}

TEST_F(RootViewTest, PoppingShowsTheSameScreenBeneath)
{
    const QPointer<PlaceholderScreen> beneath = screens().value(1);
    const QPointer<PlaceholderScreen> top = screens().value(2);
    ASSERT_TRUE(KeyRouter::shared()->dispatch(Key { Key::Kind::esc, {} }));
    ASSERT_TRUE(waitUntil([&] { return top.isNull() && settled(); }));
    EXPECT_EQ(screens().value(1), beneath.data());
    EXPECT_TRUE(beneath->isActive());
    expectOnlyTopShown();
}

TEST_F(RootViewTest, PushingCoversTheTopAndKeepsItAlive)
{
    const QPointer<PlaceholderScreen> covered = screens().value(2);
    app->push(Routes::Favorites {});
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
    EXPECT_EQ(screens().value(2), covered.data());
    EXPECT_FALSE(covered->isActive());
    expectOnlyTopShown();
}

TEST_F(RootViewTest, ReplacingTheStackLeavesOneFreshScreen)
{
    const QList<QPointer<PlaceholderScreen>> old { screens()[0], screens()[1], screens()[2] };
    app->replace(Routes::Home {});
    ASSERT_TRUE(waitUntil([&] { return settled() && std::all_of(old.begin(), old.end(), [](auto &s) { return s.isNull(); }); }));
    expectOnlyTopShown();
    EXPECT_EQ(titles(), QStringList({ "Zelfor" }));
}

TEST_F(RootViewTest, LanguageChangeRebuildsEveryScreenAndKeepsTheStack)
{
    const QList<RouteEntry> entries = app->stack();
    const QList<QPointer<PlaceholderScreen>> old { screens()[0], screens()[1], screens()[2] };
    app->setLanguage(QStringLiteral("fr"));
    ASSERT_TRUE(waitUntil([&] { return settled() && std::all_of(old.begin(), old.end(), [](auto &s) { return s.isNull(); }); }));
    ASSERT_EQ(app->stack().size(), entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        EXPECT_EQ(app->stack()[i].id, entries[i].id);
    EXPECT_EQ(titles(), QStringList({ "TV en direct", "Réglages", "Recherche" }));
    expectOnlyTopShown();
}

TEST_F(RootViewTest, ArabicMirrorsTheLayout)
{
    auto backButtonX = [this] {
        QQuickItem *top = screenOf(layers().last());
        QQuickItem *back = itemNamed(top, QStringLiteral("backButton"));
        return back ? back->mapToItem(window->contentItem(), QPointF()).x() : -1.0;
    };
    ASSERT_LT(backButtonX(), window->width() / 2);
    ASSERT_GE(backButtonX(), 0);
    app->setLanguage(QStringLiteral("ar"));
    ASSERT_TRUE(waitUntil([&] { return settled() && backButtonX() > window->width() / 2; }));
    expectOnlyTopShown();
}

TEST_F(RootViewTest, ToastLetsClicksThroughAndTheDialogLiesAbove)
{
    app->showToast(QStringLiteral("Saved"));
    QQuickItem *toast = itemNamed(window->contentItem(), QStringLiteral("toast"));
    ASSERT_TRUE(toast);
    ASSERT_TRUE(waitUntil([&] { return toast->opacity() == 1; }));
    EXPECT_EQ(toast->property("text").toString(), QStringLiteral("Saved"));
    EXPECT_FALSE(toast->isEnabled());

    QQuickItem *dialog = itemNamed(window->contentItem(), QStringLiteral("dialog"));
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->isVisible());
    app->setDialog(std::make_unique<ChoiceDialogModel>(QStringLiteral("Pick"), QStringList { "A", "B" }, 0, [](int) {}));
    ASSERT_TRUE(waitUntil([&] { return dialog->isVisible() && dialog->opacity() == 1; }));
    const QPointF middle(window->width() / 2.0, window->height() - 50.0);
    QQuickItem *hit = window->contentItem();
    while (QQuickItem *child = hit->childAt(hit->mapFromScene(middle).x(), hit->mapFromScene(middle).y()))
        hit = child;
    EXPECT_TRUE(hit == dialog || dialog->isAncestorOf(hit));
    app->closeDialog();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(RootViewTest, FullScreenFlagFollowsTheWindow)
{
    window->showFullScreen();
    EXPECT_TRUE(waitUntil([this] { return app->isFullScreen(); }));
    window->showNormal();
    EXPECT_TRUE(waitUntil([this] { return !app->isFullScreen(); }));
}

struct TitleCase {
    const char *name;
    Route route;
    const char *language;
    const char *title;
};

class PlaceholderTitleTest : public ::testing::TestWithParam<TitleCase> {
protected:
    void TearDown() override { setActiveLanguage(QStringLiteral("en")); }
};

MediaItem named(const QString &name)
{
    MediaItem item;
    item.name = name;
    return item;
}

TEST_P(PlaceholderTitleTest, TitleNamesTheAreaOrTheItem)
{
    setActiveLanguage(QString::fromLatin1(GetParam().language));
    EXPECT_EQ(PlaceholderScreen::titleOf(GetParam().route), QString::fromUtf8(GetParam().title));
}

PlayQueue queueOf(const QString &title)
{
    PlayItem item;
    item.title = title;
    return PlayQueue { 2, [item](qint64 index) { return index == 1 ? std::optional(item) : std::nullopt; }, 1, false };
}

INSTANTIATE_TEST_SUITE_P(
    Routes, PlaceholderTitleTest,
    ::testing::Values(TitleCase { "MoviesEn", Routes::Browse { ContentType::movie }, "en", "Movies" },
                      TitleCase { "SeriesFr", Routes::Browse { ContentType::series }, "fr", "Séries" },
                      TitleCase { "LiveAr", Routes::Live {}, "ar", "البث المباشر" },
                      TitleCase { "Movie", Routes::Movie { named("Quiet Rooms") }, "fr", "Quiet Rooms" },
                      TitleCase { "Series", Routes::Series { named("Night Desk") }, "en", "Night Desk" },
                      TitleCase { "PlayerStart", Routes::Player { queueOf("Episode 2") }, "en", "Episode 2" },
                      TitleCase { "EmptyQueue", Routes::Player { PlayQueue {} }, "en", "" },
                      TitleCase { "Favorites", Routes::Favorites {}, "fr", "Favoris" },
                      TitleCase { "Home", Routes::Home {}, "ar", "Zelfor" }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
