#pragma once

#include "../kit/KitTestSupport.h"
#include "DemoCatalog.h"
#include "DevPortal.h"
#include "app/AppState.h"
#include "app/KeyHandler.h"
#include "app/KeyRouter.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "playback/PlayerEngine.h"
#include "sources/Catalog.h"

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
class WalkRig : public ::testing::TestWithParam<QString> {
protected:
    static constexpr int kStepMs = 20000;

    static void SetUpTestSuite()
    {
        QString problem;
        media = new DemoMedia(DemoMedia::prepare(
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/Zelfor/devportal-media", &problem));
        ASSERT_TRUE(problem.isEmpty()) << qPrintable(problem);
        portal = new DevPortal({ .port = 0, .playlists = 1 }, *media);
        ASSERT_TRUE(portal->isListening()) << qPrintable(portal->errorString());
        qputenv("ZELFOR_SERVER", portal->baseUrl().toUtf8());
        Catalog::shared()->setUncategorizedName([] { return ::tr(QStringLiteral("uncategorized")); });
        PlaybackControl::setShared(PlayerEngine::shared());
        KeyRouter::shared()->install();
    }

    static void TearDownTestSuite()
    {
        delete portal;
        delete media;
    }

    void SetUp() override
    {
        forgetEarlierRuns();
        app = AppState::shared();
        app->setLanguage(language());
        app->replace(Routes::Splash {});
        engine.addImportPath(QStringLiteral("qrc:/"));
        load = loadQml(engine, QStringLiteral("qrc:/Zelfor/App/Main.qml"));
        ASSERT_TRUE(load.problems.isEmpty()) << qPrintable(load.problems.join('\n'));
        window = qobject_cast<QQuickWindow *>(load.object.get());
        ASSERT_TRUE(window);
        window->resize(1280, 800);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        window->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    void TearDown() override
    {
        PlayerEngine::shared()->stop();
        load.object.reset();
        app->setLanguage(QStringLiteral("en"));
        EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
    }

    QString language() const { return GetParam(); }
    bool rightToLeft() const { return language() == u"ar"; }

    // Favourites and resume points of an earlier run would change what the keys do.
    static void forgetEarlierRuns()
    {
        Prefs *prefs = Prefs::shared();
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

    static bool waitFor(const std::function<bool()> &done, int ms = kStepMs) { return QTest::qWaitFor(done, ms); }

    QString route() const { return routeName(app->current()); }

    // The view-model of type T that takes the keys now.
    template <typename T> T *top() const
    {
        for (QQuickItem *item : itemsBelow(window->contentItem())) {
            for (T *model : item->findChildren<T *>(Qt::FindDirectChildrenOnly)) {
                if (model->isActive())
                    return model;
            }
        }
        return nullptr;
    }

    // The shown screen: the loaded item of the top layer.
    QQuickItem *topScreen() const
    {
        for (QQuickItem *item : itemsBelow(window->contentItem())) {
            if (item->property("sharedStateScreens").isValid() && item->property("shown").toBool())
                return item->property("screen").value<QQuickItem *>();
        }
        return nullptr;
    }

    QQuickItem *named(const QString &name) const { return itemNamed(window->contentItem(), name); }

    // Waits until the shown screen's visible pictures have received `count` new frames.
    bool framesArrive(int count = 3) const
    {
        QQuickItem *screen = topScreen();
        if (!screen)
            return false;
        QList<QVideoSink *> sinks;
        for (QQuickItem *item : itemsBelow(screen)) {
            if ((item->objectName() == u"platformPicture" || item->objectName() == u"vlcPicture") && item->isVisible())
                sinks.append(item->property("videoSink").value<QVideoSink *>());
        }
        int frames = 0;
        QList<QMetaObject::Connection> connections;
        for (QVideoSink *sink : sinks) {
            if (sink)
                connections.append(QObject::connect(sink, &QVideoSink::videoFrameChanged, [&frames](const QVideoFrame &frame) {
                    frames += frame.isValid() ? 1 : 0;
                }));
        }
        const bool arrived = waitFor([&] { return frames >= count; });
        for (const QMetaObject::Connection &connection : connections)
            QObject::disconnect(connection);
        return arrived;
    }

    // The toast shows `key`'s text.
    bool toastSays(const QString &key) const
    {
        return waitFor([&] {
            QQuickItem *toast = named(QStringLiteral("toast"));
            return app->toastText() == ::tr(key) && toast && toast->isVisible();
        }, 3000);
    }

    void shoot(const QString &name) const
    {
        const QString folder = qEnvironmentVariable("ZELFOR_SHOTS");
        if (folder.isEmpty())
            return;
        // Entrance animations end and pictures arrive.
        QTest::qWait(600);
        QDir().mkpath(folder);
        EXPECT_TRUE(window->grabWindow().save(QStringLiteral("%1/%2-%3.png").arg(folder, name, language())));
    }

    static inline DemoMedia *media = nullptr;
    static inline DevPortal *portal = nullptr;
    WarningCollector warnings;
    AppState *app = nullptr;
    QQmlEngine engine;
    QmlLoad load;
    QQuickWindow *window = nullptr;
};
