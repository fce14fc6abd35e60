#include "AppState.h"
#include "KeyRouter.h"
#include "Localization.h"
#include "Prefs.h"
#include "playback/PlayerEngine.h"
#include "sources/Catalog.h"
#include "sources/Http.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QQmlApplicationEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)

namespace {

// Dark colours and the interface font for anything the views leave to the platform.
void applyLook(QGuiApplication &app)
{
    QFont font(QStringLiteral("Noto Sans"));
    app.setFont(font);
    QPalette palette;
    const QColor background = QColor::fromRgbF(0.043f, 0.059f, 0.102f);
    const QColor text = QColor(0xE8, 0xEC, 0xF6);
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    app.setPalette(palette);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zelfor"));
    QCoreApplication::setApplicationName(QStringLiteral("Zelfor"));
    QCoreApplication::setApplicationVersion(AppState::kAppVersion);
    applyLook(app);

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
