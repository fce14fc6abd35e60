#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "DevPortal.h"
#include "QmlHarness.h"
#include "RunTask.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "shell/WindowSize.h"
#include "live/CatchUpScreenModel.h"
#include "live/LiveScreenModel.h"
#include "model/ContentKeys.h"
#include "playback/PlayerEngine.h"
#include "sources/Catalog.h"

#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QVideoSink>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

// The whole program's window over the demo portal, its clips made by ffmpeg: live TV and
// catch-up as a user reaches them, with the real engine. With ZELFOR_SHOTS set to a folder,
// each screen is also saved there as a picture.
class LiveDemoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QString problem;
        media = new DemoMedia(
            DemoMedia::prepare(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                    + "/Zelfor/devportal-media",
                &problem));
        ASSERT_TRUE(problem.isEmpty()) << qPrintable(problem);
        portal = new DevPortal({ .port = 0, .playlists = 1 }, *media);
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
        setActiveLanguage("en");
        ASSERT_TRUE(
            std::holds_alternative<DeviceResponse>(runTask(programServices().app()->refreshDevice())));
    }

    void SetUp() override
    {
        app = programServices().app();
        app->setLanguage("en");
        app->replace(Routes::Home {});
        app->push(Routes::Live {});
        engine.addImportPath("qrc:/");
        load = loadQml(engine, "qrc:/Zelfor/Shell/Main.qml");
        ASSERT_TRUE(load.problems.isEmpty()) << qPrintable(load.problems.join('\n'));
        window = qobject_cast<QQuickWindow *>(load.object.get());
        ASSERT_TRUE(window);
        window->resize(1280, 800);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }

    void TearDown() override
    {
        programServices().engine()->stop();
        load.object.reset();
        app->setLanguage("en");
        EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
    }

    // The view-model of the shown screen of that kind; screens sit in a repeater, outside
    // the window's object tree, so the items are walked.
    template <typename T> T *screen() const
    {
        QList<QQuickItem *> items { window->contentItem() };
        for (qsizetype at = 0; at < items.size(); ++at) {
            items.append(items[at]->childItems());
            if (T *found = items[at]->findChild<T *>(QString(), Qt::FindDirectChildrenOnly);
                found && items[at]->isVisible())
                return found;
        }
        return nullptr;
    }

    LiveScreenModel *liveScreen() const { return screen<LiveScreenModel>(); }

    bool liveLoaded()
    {
        return QTest::qWaitFor([this] { return liveScreen() && liveScreen()->loaded(); }, 10000);
    }

    static void press(Key::Kind kind, const QString &text = {})
    {
        programServices().router()->dispatch(Key { kind, text });
    }

    QVideoSink *previewSink() const
    {
        QList<QQuickItem *> items { window->contentItem() };
        for (qsizetype at = 0; at < items.size(); ++at) {
            items.append(items[at]->childItems());
            if (items[at]->objectName() == "platformPicture"
                && items[at]->parentItem()->objectName() == "previewSurface")
                return items[at]->property("videoSink").value<QVideoSink *>();
        }
        return nullptr;
    }

    void shoot(const QString &name)
    {
        const QString folder = qEnvironmentVariable("ZELFOR_SHOTS");
        if (folder.isEmpty())
            return;
        QTest::qWait(400);
        QDir().mkpath(folder);
        EXPECT_TRUE(window->grabWindow().save(folder + "/" + name + ".png"));
    }

    static inline DemoMedia *media = nullptr;
    static inline DevPortal *portal = nullptr;
    WarningCollector warnings;
    AppState *app = nullptr;
    QQmlEngine engine;
    QmlLoad load;
    QQuickWindow *window = nullptr;
};

TEST_F(LiveDemoTest, PreviewThenFullScreenWithoutReloadingThenBackStillPlaying)
{
    ASSERT_TRUE(liveLoaded());
    shoot("live-en");
    EXPECT_FALSE(previewSink()) << "no video output is made before a preview";
    press(Key::Kind::down);
    press(Key::Kind::enter);
    PlayerEngine *player = programServices().engine();
    ASSERT_TRUE(player->hasItem());
    QVideoSink *sink = previewSink();
    ASSERT_TRUE(sink);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink->videoFrame().isValid(); }, 20000))
        << "frames reach the preview";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !liveScreen()->guide()->loading(); }, 5000));
    EXPECT_FALSE(liveScreen()->guide()->rows().isEmpty());
    shoot("live-preview-en");

    QSignalSpy itemChanges(player, &PlayerEngine::itemChanged);
    const QString key = player->itemKey();
    press(Key::Kind::enter);
    EXPECT_EQ(routeName(app->current()), "player");
    press(Key::Kind::esc);
    EXPECT_EQ(routeName(app->current()), "live");
    EXPECT_EQ(itemChanges.size(), 0);
    EXPECT_EQ(player->itemKey(), key);
    EXPECT_FALSE(player->hasError());
    EXPECT_EQ(liveScreen()->preview()->id, "101");
}

TEST_F(LiveDemoTest, ACatchUpProgrammeOfTheArchivePlays)
{
    ASSERT_TRUE(liveLoaded());
    press(Key::Kind::down);
    press(Key::Kind::enter);
    press(Key::Kind::character, "c");
    ASSERT_EQ(routeName(app->current()), "catchup");
    EXPECT_FALSE(programServices().engine()->hasItem()) << "opening catch-up stops the preview";
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return screen<CatchUpScreenModel>() && screen<CatchUpScreenModel>()->guideLoaded(); },
        10000));
    shoot("catchup-en");
    press(Key::Kind::enter);
    ASSERT_EQ(routeName(app->current()), "player");
    const std::optional<PlayItem> item = std::get<Routes::Player>(app->current()).queue.get(0);
    ASSERT_TRUE(item && item->catchup);
    PlayerEngine *player = programServices().engine();
    player->play(*item);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->isPlaying() && player->position() > 0; }, 20000));
    EXPECT_FALSE(player->hasError()) << qPrintable(player->errorText());
}

// The smallest window holds the fixed columns: the preview pane keeps its margin and the
// channel list its least width.
TEST_F(LiveDemoTest, TheSmallestWindowHoldsTheColumns)
{
    window->resize(WindowSize::kMinimum);
    ASSERT_TRUE(liveLoaded());
    QQuickItem *preview = nullptr;
    QQuickItem *channels = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
        QList<QQuickItem *> items { window->contentItem() };
        for (qsizetype at = 0; at < items.size(); ++at) {
            items.append(items[at]->childItems());
            if (items[at]->objectName() == "previewPane" && items[at]->isVisible())
                preview = items[at];
            if (items[at]->objectName() == "channelColumn" && items[at]->isVisible())
                channels = items[at];
        }
        return preview && channels && window->width() == WindowSize::kMinimum.width();
        },
        10000));
    EXPECT_LE(preview->mapToScene(QPointF(preview->width(), 0)).x(), window->width() - 28);
    EXPECT_GE(channels->width(), 320);
    shoot("live-minimum");
}

TEST_F(LiveDemoTest, ScreensInArabic)
{
    app->setLanguage("ar");
    ASSERT_TRUE(liveLoaded());
    liveScreen()->clickChannel(0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !liveScreen()->guide()->loading(); }, 5000));
    shoot("live-ar");
    liveScreen()->openCatchUpAt(0);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return screen<CatchUpScreenModel>() && screen<CatchUpScreenModel>()->guideLoaded(); },
        10000));
    EXPECT_EQ(screen<CatchUpScreenModel>()->archiveText(), ::tr("catchup_archive_days", { qint64(3) }));
    shoot("catchup-ar");
}

// A filter typed key by key into the field, the list first scrolled to its end: after each
// key (a backspace too) the list shows from its top the channels the screen lists, by name,
// also when the filtered list is longer than the view.
TEST_F(LiveDemoTest, EachFilterKeyShowsTheListedChannelsFromTheTop)
{
    // A low window, so that the list still scrolls once filtered.
    window->resize(1280, 560);
    ASSERT_TRUE(liveLoaded());
    LiveScreenModel *live = liveScreen();
    press(Key::Kind::down);
    press(Key::Kind::end);
    QQuickItem *list = itemNamed(window->contentItem(), "channelList");
    ASSERT_TRUE(list);
    const auto delegateAt = [&](int row) {
        QQuickItem *item = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, row));
        return item;
    };
    // Names on show from the top of the view, as long as each row is what the screen lists.
    const auto showsListedFromTop = [&] {
        const qreal top = list->property("contentY").toReal();
        int atTop = -1;
        QMetaObject::invokeMethod(
            list, "indexAt", Q_RETURN_ARG(int, atTop), Q_ARG(qreal, 10), Q_ARG(qreal, top + 1));
        if (live->lists().count() == 0)
            return list->property("count").toInt() == 0;
        if (atTop != 0)
            return false;
        int row = 0;
        for (; row < live->lists().count() && delegateAt(row) && delegateAt(row)->y() < top + list->height();
             ++row) {
            if (delegateAt(row)->property("name").toString() != live->lists().channelAt(row)->name)
                return false;
        }
        return row > 0;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->property("contentY").toReal() > 0; }))
        << "the list scrolled";
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(itemNamed(window->contentItem(), "filterField")));
    const std::pair<Qt::Key, QString> keys[] { { Qt::Key_E, "e" }, { Qt::Key_A, "ea" }, { Qt::Key_Q, "eaq" },
        { Qt::Key_Backspace, "ea" } };
    for (const auto &[key, filter] : keys) {
        QTest::keyClick(window, key);
        ASSERT_EQ(live->filter(), filter);
        EXPECT_TRUE(QTest::qWaitFor(showsListedFromTop)) << qPrintable(filter);
    }
    EXPECT_GT(live->lists().count(), 1);
}

// With the channel menu open the keys stay in it: Esc closes only the menu (the screen, its
// focus and its playback stay), Down and Enter choose inside it without previewing.
TEST_F(LiveDemoTest, ChannelMenuOwnsTheKeysWhileOpen)
{
    ASSERT_TRUE(liveLoaded());
    press(Key::Kind::down);
    LiveScreenModel *live = liveScreen();
    const int focus = live->lists().chanFocus;
    QQuickItem *row = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (QQuickItem *item : itemsBelow(window->contentItem()))
            if (item->objectName() == "channelRow" && item->property("index").toInt() == 1
                && item->isVisible())
                row = item;
        return row != nullptr;
    }));
    QQuickItem *favorite = nullptr;
    const auto openMenu = [&] {
        QTest::mouseClick(window, Qt::RightButton, {}, centreOf(row));
        return QTest::qWaitFor([&] {
            favorite = itemNamed(window->contentItem(), "favoriteItem");
            return favorite && favorite->isVisible();
        });
    };
    ASSERT_TRUE(openMenu());
    press(Key::Kind::esc);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !favorite->isVisible(); }));
    EXPECT_EQ(routeName(app->current()), "live");

    ASSERT_TRUE(openMenu());
    press(Key::Kind::down);
    press(Key::Kind::down);
    EXPECT_EQ(live->lists().chanFocus, focus);
    const QString key = itemKey(ContentType::live, app->activePlaylist()->id, live->lists().channelAt(1)->id);
    press(Key::Kind::enter);
    EXPECT_TRUE(programServices().prefs()->isFavorite(key));
    EXPECT_FALSE(programServices().engine()->hasItem()) << "Enter previewed nothing behind the menu";
    EXPECT_EQ(routeName(app->current()), "live");
    live->toggleFavoriteAt(1);
}

} // namespace
