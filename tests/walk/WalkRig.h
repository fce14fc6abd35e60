#pragma once

#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "AppWindow.h"
#include "DemoCatalog.h"
#include "DevPortal.h"
#include "app/AppState.h"
#include "app/KeyHandler.h"
#include "app/KeyRouter.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "playback/PlayerEngine.h"
#include "sources/Catalog.h"

#include <QCursor>
#include <QDir>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QVideoFrame>
#include <QVideoSink>
#include <gtest/gtest.h>

#include <functional>

// The whole program's window over the demo portal in this process (its clips made by
// ffmpeg), started at the splash screen in the walk's language and driven by key presses
// that pass the key router's filter as a user's would. With ZELFOR_SHOTS set to a folder,
// shoot() saves the window there as "<name>-<language>.png".
class WalkRig : public ::testing::TestWithParam<const char *> {
protected:
    static constexpr int kStepMs = 20000;

    static void SetUpTestSuite()
    {
        QString problem;
        media = new DemoMedia(
            DemoMedia::prepare(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                    + "/Zelfor/devportal-media",
                &problem));
        ASSERT_TRUE(problem.isEmpty()) << qPrintable(problem);
    }

    static void TearDownTestSuite() { delete media; }

    void SetUp() override
    {
        // A portal of its own for each walk, on the port of the first (where the shared
        // state looks for it), so its live stream starts anew with the walk.
        portal = std::make_unique<DevPortal>(DevPortalOptions { .port = port, .playlists = 1 }, *media);
        ASSERT_TRUE(portal->isListening()) << qPrintable(portal->errorString());
        port = quint16(QUrl(portal->baseUrl()).port());
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
        // What main() sets up, once the portal's address is known.
        programServices().router()->install();
        forgetEarlierRuns();
        app = programServices().app();
        // An earlier walk's last toast goes first.
        ASSERT_TRUE(waitFor([this] { return !app->toastVisible(); }, 3000));
        app->setLanguage(language());
        app->replace(Routes::Splash {});
        shown = std::make_unique<AppWindow>();
        ASSERT_TRUE(shown->problems().isEmpty()) << qPrintable(shown->problems().join('\n'));
        window = shown->window();
        ASSERT_TRUE(window);
        window->resize(1280, 800);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        window->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        // The pointer rests in a corner, hovering nothing, as a keyboard user's does.
        QCursor::setPos(window->screen(), window->mapToGlobal(QPoint(0, 0)));
    }

    void TearDown() override
    {
        programServices().engine()->stop();
        EXPECT_TRUE(shown->warnings().isEmpty()) << qPrintable(shown->warnings().join('\n'));
        shown.reset();
        app->setLanguage(QStringLiteral("en"));
        portal.reset();
    }

    QString language() const { return QString::fromLatin1(GetParam()); }
    bool rightToLeft() const { return language() == u"ar"; }

    // Favourites and resume points of an earlier walk would change what the keys do.
    void forgetEarlierRuns() const
    {
        Prefs *prefs = programServices().prefs();
        for (const FavoriteEntry &entry : prefs->favorites())
            prefs->toggleFavorite(entry);
        for (const PlayItem &item : prefs->recent())
            prefs->removeRecent(item.key);
        const qint64 playlistId = portal->deviceRecord(QString()).playlists.value(0).id;
        for (const DemoCatalog::Title &film : DemoCatalog::titles(ContentType::movie))
            prefs->saveResume(itemKey(ContentType::movie, playlistId, film.id), 0, 1);
    }

    // Presses the key a user presses for that logical direction: while the window speaks
    // Arabic the arrows left and right trade places.
    void press(Key::Kind kind) const
    {
        static const QHash<Key::Kind, Qt::Key> keys { { Key::Kind::up, Qt::Key_Up },
            { Key::Kind::down, Qt::Key_Down }, { Key::Kind::left, Qt::Key_Left },
            { Key::Kind::right, Qt::Key_Right }, { Key::Kind::enter, Qt::Key_Return },
            { Key::Kind::esc, Qt::Key_Escape }, { Key::Kind::space, Qt::Key_Space },
            { Key::Kind::tab, Qt::Key_Tab } };
        Qt::Key key = keys.value(kind);
        if (activeLanguage() == u"ar" && (key == Qt::Key_Left || key == Qt::Key_Right))
            key = key == Qt::Key_Left ? Qt::Key_Right : Qt::Key_Left;
        QTest::keyClick(window, key);
    }

    void press(std::initializer_list<Key::Kind> kinds) const
    {
        for (const Key::Kind kind : kinds)
            press(kind);
    }

    void type(const QString &text) const
    {
        for (const QChar c : text)
            QTest::keyClick(window, c.toLatin1());
    }

    static bool waitFor(const std::function<bool()> &done, int ms = kStepMs)
    {
        return QTest::qWaitFor(done, ms);
    }

    QString route() const { return routeName(app->current()); }

    template <typename T> T *top() const { return shown->top<T>(); }

    // The window holds one screen per route entry, screens that left are gone and the top
    // one is shown: what a user waits for before the next key.
    bool settled() const
    {
        return waitFor([this] {
            const QList<QQuickItem *> items = itemsBelow(window->contentItem());
            const qsizetype layers = std::count_if(items.begin(), items.end(),
                [](QQuickItem *item) { return item->objectName() == u"screenLayer"; });
            return layers == app->stack().size() && topScreen();
        });
    }

    // The shown screen: the loaded item of the top layer.
    QQuickItem *topScreen() const
    {
        for (QQuickItem *item : itemsBelow(window->contentItem())) {
            if (item->objectName() == u"screenLayer" && item->property("shown").toBool())
                return item->property("screen").value<QQuickItem *>();
        }
        return nullptr;
    }

    QQuickItem *named(const QString &name) const { return itemNamed(window->contentItem(), name); }

    // The sinks of the pictures the shown screen shows now.
    QList<QVideoSink *> shownSinks() const
    {
        QList<QVideoSink *> sinks;
        QQuickItem *screen = topScreen();
        for (QQuickItem *item : screen ? itemsBelow(screen) : QList<QQuickItem *>()) {
            const bool picture = item->objectName() == u"platformPicture"
                || item->objectName() == u"vlcPicture";
            if (picture && item->isVisible())
                sinks.append(item->property("videoSink").value<QVideoSink *>());
        }
        sinks.removeAll(nullptr);
        return sinks;
    }

    // Waits until the shown screen's pictures have changed to `count` new frames (whichever
    // engine draws them).
    bool framesArrive(int count = 3) const
    {
        QHash<QVideoSink *, QVideoFrame> last;
        int frames = 0;
        return waitFor([&] {
            for (QVideoSink *sink : shownSinks()) {
                const QVideoFrame frame = sink->videoFrame();
                if (frame.isValid() && frame != std::exchange(last[sink], frame))
                    ++frames;
            }
            return frames >= count;
        });
    }

    // What the engine is doing, for a failure message.
    std::string playback() const
    {
        const PlayerEngine *player = programServices().engine();
        return QStringLiteral("item %1, engine %2, buffering %3, playing %4, error \"%5\", %6 shown pictures")
            .arg(player->itemKey(), player->usesVLC() ? u"libVLC"_qs : u"GStreamer"_qs)
            .arg(player->buffering())
            .arg(player->isPlaying())
            .arg(player->errorText())
            .arg(shownSinks().size())
            .toStdString();
    }

    // Some visible item of the shown screen reads `text` (as its text or its title).
    bool showsText(const QString &text) const
    {
        return waitFor(
            [&] {
            QQuickItem *screen = topScreen();
            const QList<QQuickItem *> items = screen ? itemsBelow(screen) : QList<QQuickItem *>();
            return std::any_of(items.begin(), items.end(), [&](QQuickItem *item) {
                return item->isVisible()
                    && (item->property("text").toString() == text
                        || item->property("title").toString() == text);
            });
            },
            3000);
    }

    // The toast shows `key`'s text.
    bool toastSays(const QString &key) const
    {
        return waitFor(
            [&] {
            QQuickItem *toast = named(QStringLiteral("toast"));
            return app->toastText() == ::tr(key) && toast && toast->isVisible();
            },
            3000);
    }

    // `withToast`: the picture is of the toast; otherwise any toast goes first.
    void shoot(const QString &name, bool withToast = false) const
    {
        const QString folder = qEnvironmentVariable("ZELFOR_SHOTS");
        if (folder.isEmpty())
            return;
        if (!withToast)
            waitFor([this] { return !app->toastVisible(); }, 3000);
        // Entrance animations end and pictures arrive.
        QTest::qWait(600);
        QDir().mkpath(folder);
        EXPECT_TRUE(window->grabWindow().save(QStringLiteral("%1/%2-%3.png").arg(folder, name, language())));
    }

    static inline DemoMedia *media = nullptr;
    static inline quint16 port = 0;
    std::unique_ptr<DevPortal> portal;
    AppState *app = nullptr;
    std::unique_ptr<AppWindow> shown;
    QQuickWindow *window = nullptr;
};
