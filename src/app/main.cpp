#include "AppState.h"
#include "KeyRouter.h"
#include "Localization.h"
#include "Prefs.h"
#include "kit/Theme.h"
#include "playback/PlayerEngine.h"
#include "sources/Catalog.h"
#include "sources/Http.h"

#include <QFont>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zelfor"));
    QCoreApplication::setApplicationName(QStringLiteral("Zelfor"));
    QCoreApplication::setApplicationVersion(AppState::kAppVersion);
    // The app's look for everything the views leave to the platform and Quick Controls.
    app.setFont(QFont(Theme::fontFamily()));
    app.setPalette(Theme::palette());

    Prefs *prefs = Prefs::shared();
    Http::shared()->setUserAgentProvider([prefs] { return prefs->userAgent(); });
    Catalog::shared()->setUncategorizedName([] { return tr(QStringLiteral("uncategorized")); });
    AppState::shared();
    PlaybackControl::setShared(PlayerEngine::shared());
    KeyRouter::shared()->install();
    setActiveLanguage(resolveLanguage(prefs->language()));

    QQmlApplicationEngine engine;
    // The modules' qmldir files sit at qrc:/Zelfor/<Area>/.
    engine.addImportPath(QStringLiteral("qrc:/"));
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreationFailed, &app,
                     [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Zelfor/App/Main.qml")));
    return app.exec();
}
