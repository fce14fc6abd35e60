#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "GeneratedMedia.h"
#include "PlayerScreenRig.h"
#include "kit/Theme.h"
#include "shell/ScreenTable.h"

#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

bool waitUntil(const std::function<bool()> &done, int ms = 5000)
{
    return QTest::qWaitFor(done, ms);
}

// The real window over the shared state and the shared engine, showing one player entry
// whose screen runs on the test's clock; every warning while it lives fails the test.
class PlayerScreenView : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qputenv("ZELFOR_SERVER", "http://127.0.0.1:9"); }

    void SetUp() override
    {
        app->setLanguage(QStringLiteral("en"));
        programServices().screens()->setRows([this](const Route &route) {
            ScreenTable::Row row = ScreenTable::rowOf(route);
            row.make = [this, make = row.make](const ScreenDeps &deps, const RouteEntry &entry) {
                ScreenDeps onTestClock = deps;
                onTestClock.clock = &clock;
                return make(onTestClock, entry);
            };
            return row;
        });
    }

    void TearDown() override
    {
        load.object.reset();
        programServices().screens()->setRows(&ScreenTable::rowOf);
        programServices().engine()->stop();
        app->setLanguage(QStringLiteral("en"));
        EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
    }

    // Loads the window with the player as the only screen.
    void show(const PlayQueue &queue)
    {
        app->replace(Routes::Player { queue });
        engine.addImportPath(QStringLiteral("qrc:/"));
        load = loadQml(engine, QStringLiteral("qrc:/Zelfor/Shell/Main.qml"));
        ASSERT_TRUE(load.problems.isEmpty()) << qPrintable(load.problems.join('\n'));
        window = qobject_cast<QQuickWindow *>(load.object.get());
        ASSERT_TRUE(window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ASSERT_TRUE(waitUntil([this] { return screen() != nullptr; }));
    }

    PlayerScreenModel *screen() const
    {
        QQuickItem *view = item(QStringLiteral("playerScreen"));
        return view ? view->property("screen").value<PlayerScreenModel *>() : nullptr;
    }
    QQuickItem *item(const QString &name) const { return itemNamed(window->contentItem(), name); }
    qreal sceneX(const QString &name) const { return item(name)->mapToScene(QPointF()).x(); }

    // Writes the picture to $ZELFOR_GRAB_DIR when set, for a person to look at.
    static void keep(const QImage &image, const QString &name)
    {
        const QString folder = qEnvironmentVariable("ZELFOR_GRAB_DIR");
        if (!folder.isEmpty())
            image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    AppState *app = programServices().app();
    ManualClock clock;
    QQmlEngine engine;
    QmlLoad load;
    QQuickWindow *window = nullptr;
    WarningCollector warnings;
};

// The centre of the clip's picture is its test pattern, not the black behind it.
TEST_F(PlayerScreenView, PlaysTheClipUnderTheOverlayThatHidesWithoutInput)
{
    GeneratedMedia &media = GeneratedMedia::instance();
    ASSERT_TRUE(media.ok) << media.problem.toStdString();
    const PlayItem clip = servedItem(QStringLiteral("/dual.mp4"));
    show(readyQueue({ clip, clip }, 0, false));
    PlayerEngine *player = programServices().engine();
    const auto *sink = item(QStringLiteral("platformPicture"))->property("videoSink").value<QVideoSink *>();
    ASSERT_TRUE(sink);
    ASSERT_TRUE(waitUntil([&] { return isWholePicture(sink->videoFrame()); }, 20000))
        << player->errorText().toStdString();
    QQuickItem *chrome = item(QStringLiteral("chrome"));
    ASSERT_TRUE(waitUntil([&] { return chrome->opacity() == 1 && player->isSeekable(); }));
    EXPECT_TRUE(item(QStringLiteral("seekRow"))->isVisible());
    EXPECT_TRUE(item(QStringLiteral("previousButton"))->isVisible());
    QImage shot;
    const bool pictureShown = waitUntil([&] {
        shot = window->grabWindow();
        return qGray(shot.pixel(shot.width() / 2, shot.height() / 2)) > 40;
    });
    keep(shot, QStringLiteral("player-overlay"));
    ASSERT_TRUE(pictureShown);
    const QPoint playButton = centreOf(item(QStringLiteral("playPauseButton")));
    EXPECT_GT(qBlue(shot.pixel(playButton * window->effectiveDevicePixelRatio() + QPoint(0, 20))), 150);

    // The picture-mode button's tip wears the app's colours.
    QQuickItem *aspectButton = item(QStringLiteral("aspectButton"));
    auto *aspectTip = aspectButton->findChild<QObject *>(QStringLiteral("aspectTip"));
    ASSERT_TRUE(aspectTip);
    QTest::mouseMove(window, centreOf(aspectButton));
    ASSERT_TRUE(waitUntil([&] { return aspectTip->property("opened").toBool(); }));
    const auto *tipBack = aspectTip->property("background").value<QQuickItem *>();
    const QPointF tipPoint
        = tipBack->mapToScene(QPointF(3, tipBack->height() / 2)) * window->effectiveDevicePixelRatio();
    const QImage tipShot = window->grabWindow();
    keep(tipShot, QStringLiteral("player-aspect-tip"));
    EXPECT_EQ(tipShot.pixelColor(tipPoint.toPoint()), Theme::surface());

    // The audio menu opens above its button, hiding the button's tip, and chooses the second track.
    QQuickItem *audioMenu = item(QStringLiteral("audioMenu"));
    ASSERT_TRUE(waitUntil([&] { return audioMenu->isVisible(); }));
    auto *audioTip = audioMenu->findChild<QObject *>(QStringLiteral("helpTip"));
    QTest::mouseMove(window, centreOf(audioMenu));
    ASSERT_TRUE(waitUntil([&] { return audioTip->property("opened").toBool(); }));
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(audioMenu));
    QList<QQuickItem *> entries;
    ASSERT_TRUE(waitUntil([&] {
        entries.clear();
        for (QQuickItem *entry : itemsBelow(window->contentItem()))
            if (entry->objectName() == QStringLiteral("trackEntry") && entry->isVisible())
                entries.append(entry);
        return entries.size() == 2
            && entries[0]->mapToScene(QPointF()).y() < audioMenu->mapToScene(QPointF()).y();
    }));
    keep(window->grabWindow(), QStringLiteral("player-audio-menu"));
    EXPECT_TRUE(screen()->tracks()->menuOpen());
    EXPECT_TRUE(waitUntil([&] { return !audioTip->property("visible").toBool(); }));
    // The open menu owns the keys: Esc closes only it, and the arrows move inside it. A menu
    // open past the hide delay keeps the overlay, which hides one delay after Esc closed it.
    clock.advance(PlayerChrome::kHideMs);
    const auto dispatch = [](Key::Kind kind) {
        return programServices().router()->dispatch(Key { kind, {} });
    };
    EXPECT_TRUE(dispatch(Key::Kind::esc));
    ASSERT_TRUE(waitUntil([&] { return !entries[0]->isVisible(); }));
    EXPECT_TRUE(isRoute<Routes::Player>(app->current()));
    QSignalSpy hidden(screen()->chrome(), &PlayerChrome::controlsChanged);
    clock.advance(PlayerChrome::kHideMs);
    EXPECT_EQ(hidden.count(), 1);
    EXPECT_FALSE(screen()->chrome()->controls());
    dispatch(Key::Kind::tab); // any key shows the overlay again
    ASSERT_TRUE(waitUntil([&] { return chrome->opacity() == 1; }));
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(audioMenu));
    ASSERT_TRUE(waitUntil([&] { return entries[0]->isVisible(); }));
    const double position = player->position();
    EXPECT_TRUE(dispatch(Key::Kind::down));
    EXPECT_TRUE(dispatch(Key::Kind::down));
    EXPECT_TRUE(dispatch(Key::Kind::left));
    EXPECT_EQ(entries[1]->property("color").value<QColor>(), Theme::raisedHover());
    EXPECT_NE(entries[0]->property("color").value<QColor>(), Theme::raisedHover());
    EXPECT_LT(player->position(), position + PlayerScreenModel::kSmallStep) << "no seek behind the menu";
    EXPECT_TRUE(dispatch(Key::Kind::up));
    EXPECT_EQ(entries[0]->property("color").value<QColor>(), Theme::raisedHover());
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(entries[1]));
    ASSERT_TRUE(waitUntil([&] { return !entries[1]->isVisible(); }));
    EXPECT_FALSE(screen()->tracks()->menuOpen());

    // The pointer comes to rest over the picture; from then on nothing moves it.
    QTest::mouseMove(window, QPoint(window->width() / 2, window->height() / 2));
    clock.advance(PlayerChrome::kHideMs);
    ASSERT_TRUE(waitUntil([&] { return !chrome->isVisible(); }));
    keep(window->grabWindow(), QStringLiteral("player-picture"));
    EXPECT_TRUE(QGuiApplication::overrideCursor());
    load.object.reset();
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

// The player opened on the channel the preview already plays shows the LIVE badge at once.
TEST_F(PlayerScreenView, OpenedOnThePreviewedChannelShowsTheLiveBadge)
{
    GeneratedMedia &media = GeneratedMedia::instance();
    ASSERT_TRUE(media.ok) << media.problem.toStdString();
    const PlayItem channel = servedItem(QStringLiteral("/live.ts"), true);
    PlayerEngine *player = programServices().engine();
    player->play(channel);
    ASSERT_TRUE(waitUntil([&] { return player->isPlaying(); }, 20000)) << player->errorText().toStdString();
    ASSERT_FALSE(player->isSeekable());
    QSignalSpy loads(player, &PlayerEngine::itemChanged);
    show(readyQueue({ channel }, 0, false));
    EXPECT_EQ(loads.count(), 0) << "the player goes on with the preview";
    EXPECT_TRUE(item(QStringLiteral("liveBadge"))->isVisible());
}

// Opening the list ("l") deep in a long queue reads only the rows around the played one, which sits
// in the middle of the panel; in Arabic the chrome stays left to right and the panel moves
// to the right edge.
TEST_F(PlayerScreenView, LongQueueListReadsOnlyTheRowsItShows)
{
    app->setLanguage(QStringLiteral("ar"));
    const QueueSource source { .live = true, .count = 200000 };
    show(source.queue(150000));
    ASSERT_TRUE(programServices().router()->dispatch(Key::character(QStringLiteral("l"))));
    QQuickItem *panel = item(QStringLiteral("channelList"));
    ASSERT_TRUE(waitUntil([&] { return panel->opacity() == 1; }));
    EXPECT_LT(*source.reads, 200);
    QQuickItem *played = nullptr;
    for (QQuickItem *row : itemsBelow(item(QStringLiteral("channelRows"))))
        if (row->property("playing").toBool() && row->property("index").toInt() == 150000)
            played = row;
    ASSERT_TRUE(played);
    QQuickItem *rows = item(QStringLiteral("channelRows"));
    const qreal middle = rows->mapToScene(QPointF(0, rows->height() / 2)).y();
    EXPECT_NEAR(played->mapToScene(QPointF(0, played->height() / 2)).y(), middle, 30);
    EXPECT_GT(panel->mapToScene(QPointF()).x(), window->width() / 2);
    // The mirrored scroll bar lies beside the rows, not over their leading edge.
    QQuickItem *bar = item(QStringLiteral("channelScrollBar"));
    ASSERT_TRUE(bar);
    EXPECT_LT(bar->mapToScene(QPointF()).x(), played->mapToScene(QPointF()).x());
    EXPECT_LE(bar->mapToScene(QPointF(bar->width(), 0)).x(), played->mapToScene(QPointF()).x());
    keep(window->grabWindow(), QStringLiteral("player-list-ar"));

    ASSERT_TRUE(programServices().router()->dispatch(Key { Key::Kind::esc, {} }));
    EXPECT_FALSE(screen()->queueList()->shown());
    ASSERT_TRUE(waitUntil([&] { return item(QStringLiteral("chrome"))->opacity() == 1; }));
    EXPECT_LT(sceneX(QStringLiteral("backButton")), sceneX(QStringLiteral("clock")));
    EXPECT_LT(sceneX(QStringLiteral("previousButton")), sceneX(QStringLiteral("fullScreenButton")));
    keep(window->grabWindow(), QStringLiteral("player-chrome-ar"));
}

} // namespace
