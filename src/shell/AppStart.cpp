#include "AppStart.h"

#include "FirstFrame.h"
#include "ScreenTable.h"
#include "Services.h"
#include "WindowSize.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "kit/InterfaceFonts.h"
#include "kit/Theme.h"
#include "playback/PlayerEngine.h"
#include "playback/engines/GstPlatformPlayer.h"

#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QQmlApplicationEngine>
#include <QScreen>
#include <QSslSocket>
#include <QQuickWindow>
#include <QThreadPool>

#include <malloc.h>

#include <cstdio>
#include <memory>
#include <cstdlib>

namespace {

// The image decoders and the TLS library, which the first screen showing pictures would
// otherwise load on the UI thread.
void loadLibrariesAhead()
{
    QImageReader::supportedImageFormats();
    QSslSocket::supportsSsl();
}

} // namespace

void shareHeapsBetweenThreads()
{
    mallopt(M_ARENA_MAX, 2);
}

void prepareApplication(QGuiApplication &app, Services &services)
{
    shareHeapsBetweenThreads();
    // The app's look for everything the views leave to the platform and Quick Controls.
    app.setFont(QFont(Theme::fontFamily()));
    app.setPalette(Theme::palette());

    services.registerInstances();
    services.router()->install();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        services.windowSize()->setAvailable(screen->availableGeometry().size());
    setActiveLanguage(resolveLanguage(services.prefs()->language()));
}

void loadRootView(QQmlApplicationEngine &engine, Services &services)
{
    // The modules' qmldir files sit at qrc:/Zelfor/<Area>/.
    engine.addImportPath(QStringLiteral("qrc:/"));
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, QCoreApplication::instance(),
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    services.firstFrame()->holdViews();
    engine.load(QUrl(QStringLiteral("qrc:/Zelfor/Shell/Main.qml")));
    prepareAfterFirstFrame(engine, services);
}

void prepareAfterFirstFrame(QQmlApplicationEngine &engine, Services &services)
{
    const QList<QObject *> roots = engine.rootObjects();
    auto *window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.first());
    if (!window)
        return;
    // Queued: the swap may come on the render thread.
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [once, engine = &engine, services = &services] {
        QObject::disconnect(*once);
        loadInterfaceFonts();
        services->firstFrame()->showViews();
        QThreadPool::globalInstance()->start(&GstPlatformPlayer::startGStreamer);
        QThreadPool::globalInstance()->start(&loadLibrariesAhead);
        services->screens()->loadViewsAhead(engine);
        },
        Qt::QueuedConnection);
}

void endProcess(int code, Services &services)
{
    PlayerEngine *engine = services.engine();
    if (engine->hasItem())
        engine->stop();
    QThreadPool::globalInstance()->waitForDone();
    std::fflush(nullptr);
    // Freeing a large playlist's catalogue string by string, and the window's items one by
    // one, kept a closed window's process alive for a second or more.
    std::_Exit(code);
}
