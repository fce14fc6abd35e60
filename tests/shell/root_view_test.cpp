#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "PlaceholderScreen.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "shell/ScreenTable.h"
#include "shell/WindowSize.h"

#include <QPointer>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <map>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

bool waitUntil(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, 10000);
}

template <typename T> bool allGone(const QList<QPointer<T>> &objects)
{
    return std::all_of(
        objects.begin(), objects.end(), [](const QPointer<T> &object) { return object.isNull(); });
}

// The window over the shared state, with Live, Settings and Search on the stack, each
// shown by the stand-in screen; every warning while it lives fails the test.
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
        programServices().screens()->setRows([](const Route &) {
            return ScreenTable::Row { PlaceholderScreen::view(),
                [](const ScreenDeps &deps, const RouteEntry &entry) {
                return static_cast<RouteScreen *>(new PlaceholderScreen(deps, entry));
                                     } };
        });
        app = programServices().app();
        app->setLanguage(QStringLiteral("en"));
        app->replace(Routes::Live {});
        app->push(Routes::Settings {});
        app->push(Routes::Search {});
        PlaceholderScreen::hookLog().clear();
        engine.addImportPath(QStringLiteral("qrc:/"));
        load = loadQml(engine, QStringLiteral("qrc:/Zelfor/Shell/Main.qml"));
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
            if (item->objectName() == u"screenLayer")
                found.append(item);
        }
        std::sort(found.begin(), found.end(), [](QQuickItem *a, QQuickItem *b) {
            return a->property("index").toInt() < b->property("index").toInt();
        });
        return found;
    }

    QList<PlaceholderScreen *> screens() const
    {
        QList<PlaceholderScreen *> found;
        for (QQuickItem *item : itemsBelow(window->contentItem()))
            found.append(item->findChildren<PlaceholderScreen *>(Qt::FindDirectChildrenOnly));
        const auto indexOf = [stack = app->stack()](PlaceholderScreen *screen) {
            return std::find_if(stack.begin(), stack.end(), [&](const RouteEntry &entry) {
                return entry.id == screen->entry().id;
            }) - stack.begin();
        };
        std::sort(found.begin(), found.end(), [&](auto *a, auto *b) { return indexOf(a) < indexOf(b); });
        return found;
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

    // Each layer's screen, bottom to top, is shown, enabled, its entry the top and its model
    // active only on top.
    void expectOnlyTopShown()
    {
        const QList<QQuickItem *> all = layers();
        const QList<PlaceholderScreen *> models = screens();
        ASSERT_EQ(all.size(), app->stack().size());
        ASSERT_EQ(models.size(), all.size());
        QList<std::array<bool, 4>> states, expected;
        for (qsizetype i = 0; i < all.size(); ++i) {
            QQuickItem *screen = screenOf(all[i]);
            ASSERT_TRUE(screen);
            states.append(
                { screen->isVisible(), screen->isEnabled(), models[i]->isTop(), models[i]->isActive() });
            const bool top = i == all.size() - 1;
            expected.append({ top, top, top, top });
        }
        EXPECT_EQ(states, expected);
    }

    QStringList titles() const
    {
        QStringList list;
        for (PlaceholderScreen *screen : screens())
            list.append(screen->title());
        return list;
    }

    QList<QPointer<PlaceholderScreen>> guarded() const
    {
        const QList<PlaceholderScreen *> all = screens();
        return { all.begin(), all.end() };
    }

    AppState *app = nullptr;
    QQmlEngine engine;
    QmlLoad load;
    QQuickWindow *window = nullptr;
    WarningCollector warnings;
};

// The window keeps its size and limits and tells the shared state when it goes full screen.
TEST_F(RootViewTest, OnlyTheTopScreenIsShownClickableAndTakesKeys)
{
    EXPECT_EQ(window->size(), QSize(1360, 840));
    EXPECT_EQ(window->minimumSize(), QSize(1118, 680));
    window->showFullScreen();
    EXPECT_TRUE(waitUntil([this] { return app->isFullScreen(); }));
    window->showNormal();
    EXPECT_TRUE(waitUntil([this] { return !app->isFullScreen(); }));
    expectOnlyTopShown();
    EXPECT_EQ(titles(), QStringList({ "Live TV", "Settings", "Search" }));
    QQuickItem *header = itemNamed(screenOf(layers().last()), QStringLiteral("header"));
    ASSERT_TRUE(header);
    EXPECT_GT(header->height(), 0);
    EXPECT_EQ(header->property("title").toString(), QStringLiteral("Search"));
}

// A pushed screen covers the top and keeps it alive; popping shows the same screen again;
// replacing the stack leaves one fresh screen.
// On a screen too small for the default size the window opens at the screen's free area.
TEST_F(RootViewTest, OpensWithinASmallScreen)
{
    programServices().windowSize()->setAvailable(QSize(1280, 800));
    QQmlEngine fresh;
    fresh.addImportPath(QStringLiteral("qrc:/"));
    QmlLoad small = loadQml(fresh, QStringLiteral("qrc:/Zelfor/Shell/Main.qml"));
    programServices().windowSize()->setAvailable(QSize());
    auto *shown = qobject_cast<QQuickWindow *>(small.object.get());
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), QSize(1280, 800));
    EXPECT_EQ(shown->minimumSize(), WindowSize::kMinimum);
}

TEST(WindowSize, DefaultWhenItFitsElseTheFreeArea)
{
    const std::pair<QSize, QSize> rows[] = { { { 1920, 1080 }, { 1360, 840 } },
        { { 1360, 840 }, { 1360, 840 } }, { { 1280, 800 }, { 1280, 800 } }, { { 1280, 1024 }, { 1280, 840 } },
        { { 1600, 768 }, { 1360, 768 } }, { { 1024, 600 }, { 1024, 600 } }, { QSize(), { 1360, 840 } },
        { { 0, 0 }, { 1360, 840 } } };
    for (const auto &[available, initial] : rows)
        EXPECT_EQ(WindowSize::initialFor(available), initial)
            << available.width() << 'x' << available.height();
}

// Each frame, the lowest opacity and entrance each layer has shown, whether a screen was
// ever drawn see-through below the top, and whether a leaving one went below another.
struct LayerLooks {
    std::map<const QObject *, std::pair<qreal, qreal>> lowest;
    bool coveredSeeThrough = false;
    bool leavingBelow = false;
};

TEST_F(RootViewTest, PushPopAndReplaceKeepOrDropTheScreens)
{
    LayerLooks looks;
    QObject watch;
    QObject::connect(window, &QQuickWindow::afterAnimating, &watch, [&] {
        const QList<QQuickItem *> all = layers();
        for (QQuickItem *layer : all) {
            looks.leavingBelow |= layer->property("leaving").toBool()
                && std::any_of(
                    all.begin(), all.end(), [layer](QQuickItem *other) { return other->z() > layer->z(); });
            auto &[opacity, enter] = looks.lowest.try_emplace(layer, 1.0, 1.0).first->second;
            opacity = std::min(opacity, layer->opacity());
            enter = std::min(enter, layer->property("enter").toReal());
            const QQuickItem *screen = screenOf(layer);
            const qreal frame = screen ? screen->parentItem()->parentItem()->opacity() : 0;
            looks.coveredSeeThrough |= !layer->property("isTop").toBool() && frame > 0 && frame < 1;
        }
    });
    const QList<QPointer<PlaceholderScreen>> before = guarded();
    app->push(Routes::Favorites {});
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
    EXPECT_EQ(guarded().mid(0, 3), before);
    EXPECT_FALSE(before[2]->isActive());
    expectOnlyTopShown();
    QQuickItem *pushedLayer = layers().value(3);
    ASSERT_TRUE(looks.lowest.contains(pushedLayer));
    EXPECT_LT(looks.lowest[pushedLayer].first, 0.5) << "the pushed screen fades in";
    EXPECT_LT(looks.lowest[pushedLayer].second, 0.5) << "and grows into place";
    const QPointer<PlaceholderScreen> pushed = screens().value(3);
    looks.lowest.erase(pushedLayer);
    ASSERT_TRUE(programServices().router()->dispatch(Key { Key::Kind::esc, {} }));
    ASSERT_TRUE(waitUntil([&] { return pushed.isNull() && settled(); }));
    ASSERT_TRUE(looks.lowest.contains(pushedLayer));
    EXPECT_LT(looks.lowest[pushedLayer].first, 0.5) << "the popped screen fades out";
    EXPECT_FALSE(looks.coveredSeeThrough);
    EXPECT_FALSE(looks.leavingBelow);
    EXPECT_EQ(guarded(), before);
    EXPECT_TRUE(before[2]->isActive());
    expectOnlyTopShown();
    app->replace(Routes::Home {});
    ASSERT_TRUE(waitUntil([&] { return settled() && allGone(before); }));
    expectOnlyTopShown();
    EXPECT_EQ(titles(), QStringList({ "Zelfor" }));
}

// A screen made ahead is drawn once out of sight; the next push of its route shows that very
// screen, and neither a push of another route nor a dropped one takes it.
TEST_F(RootViewTest, APushShowsTheScreenMadeAheadForItsRoute)
{
    ScreenTable *table = programServices().screens();
    table->prepare(Routes::Favorites {});
    const QPointer<QQuickItem> view = table->preparedView();
    ASSERT_TRUE(view);
    QQuickItem *area = view->parentItem();
    ASSERT_TRUE(waitUntil([&] { return area->isVisible(); }));
    ASSERT_TRUE(waitUntil([&] { return !area->isVisible(); }));
    EXPECT_GE(area->x(), window->width()) << "out of sight";

    app->push(Routes::Settings {});
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
    EXPECT_EQ(table->preparedView(), view);
    PlaceholderScreen::hookLog().clear();
    app->push(Routes::Favorites {});
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
    EXPECT_EQ(screenOf(layers().last()), view.data());
    EXPECT_EQ(screens().last()->entry().id, app->stack().last().id);
    EXPECT_EQ(PlaceholderScreen::hookLog(),
        QStringList({ "settings covered", "favorites shown", "favorites top" }));
    expectOnlyTopShown();

    table->prepare(Routes::Favorites {});
    const QPointer<QQuickItem> dropped = table->preparedView();
    table->dropPrepared();
    EXPECT_TRUE(dropped.isNull());
    EXPECT_FALSE(table->preparedView());
}

// A screen made below the top is only shown; the one pushed over the top covers it, and
// popping uncovers it before the pushed one's entry is reported gone.
TEST_F(RootViewTest, TheLayersDriveEachScreensHooksInOrder)
{
    EXPECT_EQ(PlaceholderScreen::hookLog(),
        QStringList({ "live shown", "settings shown", "search shown", "search top" }));
    PlaceholderScreen::hookLog().clear();
    app->push(Routes::Favorites {});
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
    app->pop();
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
    EXPECT_EQ(PlaceholderScreen::hookLog(),
        QStringList(
            { "search covered", "favorites shown", "favorites top", "search top", "favorites removed" }));
}

// French rebuilds every screen over the same stack; Arabic mirrors the layout.
TEST_F(RootViewTest, LanguageChangeRebuildsEveryScreenAndKeepsTheStack)
{
    const QList<RouteEntry> entries = app->stack();
    const auto backButtonX = [this] {
        QQuickItem *back = itemNamed(screenOf(layers().last()), QStringLiteral("backButton"));
        return back ? back->mapToItem(window->contentItem(), QPointF()).x() : -1.0;
    };
    EXPECT_GE(backButtonX(), 0);
    EXPECT_LT(backButtonX(), window->width() / 2);
    for (const char *language : { "fr", "ar" }) {
        const QList<QPointer<PlaceholderScreen>> old = guarded();
        app->setLanguage(QLatin1String(language));
        ASSERT_TRUE(waitUntil([&] { return settled() && allGone(old); })) << language;
        ASSERT_EQ(app->stack().size(), entries.size());
        for (qsizetype i = 0; i < entries.size(); ++i)
            EXPECT_EQ(app->stack()[i].id, entries[i].id);
        expectOnlyTopShown();
        if (QLatin1String(language) == QLatin1String("fr"))
            EXPECT_EQ(titles(), QStringList({ "TV en direct", "Réglages", "Recherche" }));
    }
    EXPECT_TRUE(waitUntil([&] { return backButtonX() > window->width() / 2; })) << backButtonX();
}

// The route table makes a screen's model with its entry before the view: a movie's view
// built by the real root view reads the movie's title in its first binding pass.
TEST_F(RootViewTest, AViewReadsItsPayloadWhenItIsFirstBuilt)
{
    programServices().screens()->setRows([](const Route &route) {
        ScreenTable::Row row = ScreenTable::rowOf(route);
        row.view = QUrl::fromLocalFile(QStringLiteral(ZELFOR_SOURCE_DIR "/tests/shell/PayloadProbe.qml"));
        return row;
    });
    MediaItem movie;
    movie.name = QStringLiteral("Quiet Rooms");
    movie.type = ContentType::movie;
    app->push(Routes::Movie { movie });
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
    QQuickItem *probe = screenOf(layers().last());
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->property("titleAtStart").toString(), QStringLiteral("Quiet Rooms"));
    app->pop();
    ASSERT_TRUE(waitUntil([this] { return settled(); }));
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
    EXPECT_TRUE(dialog->childItems().isEmpty()) << "the dialog's view waits for the first dialog";
    app->setDialog(
        std::make_unique<ChoiceDialogModel>(QStringLiteral("Pick"), QStringList { "A", "B" }, 0, [](int) {}));
    ASSERT_TRUE(waitUntil([&] { return dialog->isVisible() && dialog->opacity() == 1; }));
    const QPointF middle(window->width() / 2.0, window->height() - 50.0);
    QQuickItem *hit = window->contentItem();
    while (QQuickItem *child = hit->childAt(hit->mapFromScene(middle).x(), hit->mapFromScene(middle).y()))
        hit = child;
    EXPECT_TRUE(hit == dialog || dialog->isAncestorOf(hit));
    app->setDialog(nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible()) << "the dialog fades out";
    EXPECT_FALSE(dialog->isEnabled()) << "clicks pass while it fades";
    EXPECT_FALSE(programServices().router()->dispatch(Key { Key::Kind::down, {} })) << "and keys too";
    QStringList texts;
    for (QQuickItem *item : itemsBelow(dialog))
        texts.append(item->property("text").toString());
    EXPECT_TRUE(texts.contains(QStringLiteral("Pick"))) << "its look stays while it fades";
    EXPECT_TRUE(waitUntil([&] { return !dialog->isVisible(); }));
}

MediaItem named(const QString &name)
{
    MediaItem item;
    item.name = name;
    return item;
}

TEST(PlaceholderTitle, NamesTheAreaOrTheItem)
{
    PlayItem episode;
    episode.title = QStringLiteral("Episode 2");
    const PlayQueue queue = readyQueue({ PlayItem {}, episode }, 1, false);
    const std::tuple<Route, const char *, const char *> cases[] = {
        { Routes::Browse { ContentType::movie }, "en", "Movies" },
        { Routes::Browse { ContentType::series }, "fr", "Séries" },
        { Routes::Live {}, "ar", "البث المباشر" },
        { Routes::Movie { named("Quiet Rooms") }, "fr", "Quiet Rooms" },
        { Routes::Series { named("Night Desk") }, "en", "Night Desk" },
        { Routes::Player { queue }, "en", "Episode 2" },
        { Routes::Player { PlayQueue {} }, "en", "" },
        { Routes::Favorites {}, "fr", "Favoris" },
        { Routes::Home {}, "ar", "Zelfor" },
    };
    for (const auto &[route, language, title] : cases) {
        SCOPED_TRACE(title);
        LanguageScope scope { QString::fromLatin1(language) };
        EXPECT_EQ(PlaceholderScreen::titleOf(route), QString::fromUtf8(title));
    }
}

} // namespace
