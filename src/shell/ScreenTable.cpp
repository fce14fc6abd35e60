#include "ScreenTable.h"

#include "app/ActivationScreenModel.h"
#include "app/AppState.h"
#include "app/QmlSingleton.h"
#include "app/PlaylistPickerScreenModel.h"
#include "app/SplashScreenModel.h"
#include "home/FavoritesScreenModel.h"
#include "home/HomeScreenModel.h"
#include "home/SearchScreenModel.h"
#include "home/SettingsScreenModel.h"
#include "live/CatchUpScreenModel.h"
#include "live/LiveScreenModel.h"
#include "playback/PlayerScreenModel.h"
#include "vod/BrowseScreenModel.h"
#include "vod/MovieDetailsScreenModel.h"
#include "vod/SeriesDetailsScreenModel.h"

#include <QQmlComponent>
#include <QQmlEngine>

#include <algorithm>

namespace {

template <typename Model> ScreenTable::Row row(const char *view)
{
    return { QUrl(QStringLiteral("qrc:/Zelfor/") + QLatin1String(view)),
        [](const ScreenDeps &deps, const RouteEntry &entry) -> RouteScreen * {
            return new Model(deps, entry);
        } };
}

// One case per route; a route without a row does not compile.
struct RowOf {
    ScreenTable::Row operator()(const Routes::Splash &) const
    {
        return row<SplashScreenModel>("Shell/SplashScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Activation &) const
    {
        return row<ActivationScreenModel>("Shell/ActivationScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::PlaylistPicker &) const
    {
        return row<PlaylistPickerScreenModel>("Shell/PlaylistPickerScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Home &) const
    {
        return row<HomeScreenModel>("Home/HomeScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Search &) const
    {
        return row<SearchScreenModel>("Home/SearchScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Favorites &) const
    {
        return row<FavoritesScreenModel>("Home/FavoritesScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Settings &) const
    {
        return row<SettingsScreenModel>("Home/SettingsScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Live &) const
    {
        return row<LiveScreenModel>("Live/LiveScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Catchup &) const
    {
        return row<CatchUpScreenModel>("Live/CatchUpScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Browse &) const
    {
        return row<BrowseScreenModel>("Vod/BrowseScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Movie &) const
    {
        return row<MovieDetailsScreenModel>("Vod/MovieDetailsScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Series &) const
    {
        return row<SeriesDetailsScreenModel>("Vod/SeriesDetailsScreen.qml");
    }
    ScreenTable::Row operator()(const Routes::Player &) const
    {
        return row<PlayerScreenModel>("Playback/PlayerScreen.qml");
    }
};

} // namespace

ScreenTable::ScreenTable(ScreenDeps deps, Rows rows, QObject *parent)
    : QObject(parent)
    , m_deps(std::move(deps))
    , m_rows(std::move(rows))
{
}

ScreenTable *ScreenTable::create(QQmlEngine *, QJSEngine *)
{
    return registeredForQml<ScreenTable>();
}

ScreenTable::Row ScreenTable::rowOf(const Route &route)
{
    return std::visit(RowOf {}, route);
}

void ScreenTable::loadViewsAhead(QQmlEngine *engine)
{
    if (!m_viewsAhead.isEmpty())
        return;
    const Route ahead[] = { Routes::Live {}, Routes::Search {}, Routes::Browse {}, Routes::Favorites {},
        Routes::Settings {}, Routes::Player {} };
    for (const Route &route : ahead)
        m_viewsAhead.append(new QQmlComponent(engine, m_rows(route).view, QQmlComponent::Asynchronous, this));
}

MadeScreen ScreenTable::make(const QString &entryId, QObject *owner) const
{
    const QUuid id = QUuid::fromString(entryId);
    const QList<RouteEntry> &stack = m_deps.app->stack();
    const auto entry
        = std::find_if(stack.begin(), stack.end(), [&](const RouteEntry &each) { return each.id == id; });
    if (entry == stack.end()) {
        qWarning("No route entry %s for a screen", qPrintable(entryId));
        return {};
    }
    const Row row = m_rows(entry->route);
    if (!row.make) {
        qWarning("No screen for the route %s", qPrintable(routeName(entry->route)));
        return {};
    }
    RouteScreen *model = row.make(m_deps, *entry);
    model->setParent(owner);
    QQmlEngine::setObjectOwnership(model, QQmlEngine::CppOwnership);
    return { model, row.view };
}
