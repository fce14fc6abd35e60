#include "ScreenViews.h"

#include <QFile>
#include <QHash>

QUrl screenView(const QString &routeName)
{
    static const QHash<QString, QString> views {
        { QStringLiteral("home"), QStringLiteral("Home/HomeScreen.qml") },
        { QStringLiteral("search"), QStringLiteral("Home/SearchScreen.qml") },
        { QStringLiteral("favorites"), QStringLiteral("Home/FavoritesScreen.qml") },
        { QStringLiteral("settings"), QStringLiteral("Home/SettingsScreen.qml") },
        { QStringLiteral("live"), QStringLiteral("Live/LiveScreen.qml") },
        { QStringLiteral("catchup"), QStringLiteral("Live/CatchUpScreen.qml") },
        { QStringLiteral("browse"), QStringLiteral("Vod/BrowseScreen.qml") },
        { QStringLiteral("movie"), QStringLiteral("Vod/MovieDetailsScreen.qml") },
        { QStringLiteral("series"), QStringLiteral("Vod/SeriesDetailsScreen.qml") },
        { QStringLiteral("player"), QStringLiteral("Playback/PlayerScreen.qml") },
    };
    const QString file = views.value(routeName);
    if (file.isEmpty() || !QFile::exists(QStringLiteral(":/Zelfor/") + file))
        return {};
    return QUrl(QStringLiteral("qrc:/Zelfor/") + file);
}
