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
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

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
    m_deps.ahead = this;
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
    const Route ahead[] = { Routes::Live {}, Routes::Search {}, Routes::Browse {}, Routes::Favorites {},
        Routes::Settings {}, Routes::Player {} };
    for (const Route &route : ahead)
        viewComponent(engine, m_rows(route).view);
}

// Compiled once per engine, on its loader thread; it goes with the engine.
QQmlComponent *ScreenTable::viewComponent(QQmlEngine *engine, const QUrl &view)
{
    QPointer<QQmlComponent> &component = m_views[view];
    if (!component || component->engine() != engine)
        component = new QQmlComponent(engine, view, QQmlComponent::Asynchronous, engine);
    return component;
}

void ScreenTable::setAheadArea(QQuickItem *area)
{
    m_aheadArea = area;
}

void ScreenTable::prepare(const Route &route)
{
    dropPrepared();
    QQmlEngine *engine = m_aheadArea ? qmlEngine(m_aheadArea) : nullptr;
    const Row row = m_rows(route);
    if (!engine || !row.make)
        return;
    m_prepared.entry = RouteEntry::fresh(route);
    RouteScreen *model = row.make(m_deps, m_prepared.entry);
    model->setParent(this);
    QQmlEngine::setObjectOwnership(model, QQmlEngine::CppOwnership);
    m_prepared.model = model;
    connect(model, &RouteScreen::contentReadyChanged, this, &ScreenTable::drawPreparedOnce);
    QQmlComponent *component = viewComponent(engine, row.view);
    if (component->isLoading())
        connect(component, &QQmlComponent::statusChanged, model, [this] { makePreparedView(); });
    else
        makePreparedView();
}

void ScreenTable::makePreparedView()
{
    if (!m_prepared.model || m_prepared.view || !m_aheadArea)
        return;
    QQmlComponent *component = viewComponent(qmlEngine(m_aheadArea), m_rows(m_prepared.entry.route).view);
    if (component->isError())
        qWarning("A screen made ahead has no view: %s", qPrintable(component->errorString()));
    if (!component->isReady())
        return;
    QObject *made = component->createWithInitialProperties(
        { { QStringLiteral("screen"), QVariant::fromValue<QObject *>(m_prepared.model) } },
        qmlContext(m_aheadArea));
    auto *view = qobject_cast<QQuickItem *>(made);
    if (!view) {
        delete made;
        return;
    }
    QQmlEngine::setObjectOwnership(view, QQmlEngine::CppOwnership);
    view->setParent(m_aheadArea);
    view->setParentItem(m_aheadArea);
    view->setSize(m_aheadArea->size());
    connect(m_aheadArea, &QQuickItem::widthChanged, view,
        [view] { view->setWidth(view->parentItem()->width()); });
    connect(m_aheadArea, &QQuickItem::heightChanged, view,
        [view] { view->setHeight(view->parentItem()->height()); });
    m_prepared.view = view;
    drawPreparedOnce();
}

// Shows the area for two frames once the screen has its content, so that its first frame on
// the stack finds its shaders, glyphs and pictures made.
void ScreenTable::drawPreparedOnce()
{
    QQuickItem *area = m_aheadArea;
    QQuickWindow *window = area ? area->window() : nullptr;
    if (!window || !m_prepared.view || m_prepared.drawn || !m_prepared.model->contentReady())
        return;
    m_prepared.drawn = true;
    area->setVisible(true);
    auto swaps = std::make_shared<int>(0);
    auto once = std::make_shared<QMetaObject::Connection>();
    // Queued: the swap may come on the render thread. The first swap may end a frame begun
    // before the area was shown.
    *once = connect(
        window, &QQuickWindow::frameSwapped, area,
        [window, area, swaps, once] {
        if (++*swaps < 2) {
            window->update();
            return;
        }
        QObject::disconnect(*once);
        area->setVisible(false);
        },
        Qt::QueuedConnection);
    window->update();
}

void ScreenTable::dropPrepared()
{
    Prepared prepared = std::exchange(m_prepared, {});
    // The view first: its bindings read the view-model.
    delete prepared.view;
    delete prepared.model;
}

MadeScreen ScreenTable::takePrepared(const RouteEntry &entry, QObject *owner)
{
    if (!m_prepared.model || m_prepared.entry.route.index() != entry.route.index())
        return {};
    Prepared prepared = std::exchange(m_prepared, {});
    if (!prepared.view) {
        delete prepared.model;
        return {};
    }
    disconnect(prepared.view->parentItem(), nullptr, prepared.view, nullptr);
    prepared.model->takeEntry(entry);
    prepared.model->setParent(owner);
    prepared.view->setParent(owner);
    return { prepared.model, m_rows(entry.route).view, prepared.view };
}

MadeScreen ScreenTable::make(const QString &entryId, QObject *owner)
{
    const QUuid id = QUuid::fromString(entryId);
    const QList<RouteEntry> &stack = m_deps.app->stack();
    const auto entry
        = std::find_if(stack.begin(), stack.end(), [&](const RouteEntry &each) { return each.id == id; });
    if (entry == stack.end()) {
        qWarning("No route entry %s for a screen", qPrintable(entryId));
        return {};
    }
    if (MadeScreen prepared = takePrepared(*entry, owner); prepared.model)
        return prepared;
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
