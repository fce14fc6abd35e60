#include "AppStart.h"
#include "Services.h"
#include "app/AppState.h"
#include "app/SingleInstance.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <memory>
#include <sys/stat.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

// Brings the window to the front when another launch hands over to this copy.
void bringToFront(QQmlApplicationEngine &engine)
{
    const QList<QObject *> roots = engine.rootObjects();
    auto *window = roots.isEmpty() ? nullptr : qobject_cast<QWindow *>(roots.first());
    if (!window)
        return;
    window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->requestActivate();
}

} // namespace

int main(int argc, char *argv[])
{
    // Everything this program writes (settings, caches) is the user's alone.
    umask(0077);
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zelfor"));
    QCoreApplication::setApplicationName(QStringLiteral("Zelfor"));
    QCoreApplication::setApplicationVersion(AppState::kAppVersion);

    // Before any setting is read: a second copy would overwrite the first one's settings.
    int code = 0;
    // Made once the settings are this copy's; left to the end of the process.
    std::unique_ptr<Services> services;
    {
        SingleInstance instance;
        switch (instance.start()) {
        case SingleInstance::Role::primary:
            break;
        case SingleInstance::Role::handedOver:
            return 0;
        case SingleInstance::Role::unreachable:
            std::fputs("Zelfor is already running but does not answer; close it and try again.\n", stderr);
            return 1;
        }
        services = std::make_unique<Services>();
        prepareApplication(app, *services);
        // Left to the end of the process, with the services.
        auto *engine = new QQmlApplicationEngine(&app);
        loadRootView(*engine, *services);
        QObject::connect(
            &instance, &SingleInstance::activationRequested, engine, [engine] { bringToFront(*engine); });
        code = app.exec();
    }
    endProcess(code, *services);
}
