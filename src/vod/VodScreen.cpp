#include "VodScreen.h"

#include "app/AppState.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "sources/Catalog.h"
#include "sources/PlayItems.h"

VodScreen::VodScreen(AppState *app, KeyRouter *router, Catalog *catalog, QObject *parent)
    : KeyHandler(router, parent)
    , m_app(app)
    , m_catalog(catalog)
{
    connect(this, &KeyHandler::activeChanged, this, [this] {
        if (isActive() && m_hasRoute)
            appeared();
    });
}

void VodScreen::setEntryId(const QString &entryId)
{
    if (entryId == m_entryId)
        return;
    m_entryId = entryId;
    m_entry = QUuid::fromString(entryId);
    const std::optional<Route> route = m_app ? m_app->routeOf(m_entry) : std::nullopt;
    m_hasRoute = route.has_value();
    if (route)
        routeChanged(*route);
    emit entryChanged();
    if (m_hasRoute && isActive())
        appeared();
}

void VodScreen::back()
{
    if (m_app)
        m_app->pop();
}

Prefs *VodScreen::prefs() const
{
    return m_app ? m_app->prefs() : nullptr;
}

std::optional<Playlist> VodScreen::activePlaylist() const
{
    return m_app ? m_app->activePlaylist() : std::nullopt;
}

bool VodScreen::isTopEntry() const
{
    return m_app && !m_app->stack().isEmpty() && m_app->stack().last().id == m_entry;
}

void VodScreen::toggleFavorite(const MediaItem &item)
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist || !m_app)
        return;
    m_app->toggleFavorite(PlayItems::favoriteOf(item, playlist->id));
}

bool VodScreen::openPlayer(PlayQueue queue)
{
    return openRoute(Routes::Player { std::move(queue) });
}

bool VodScreen::openRoute(Route route)
{
    if (!isTopEntry())
        return false;
    m_app->push(std::move(route));
    return true;
}
