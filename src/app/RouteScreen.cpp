#include "RouteScreen.h"

#include "AppState.h"
#include "Prefs.h"
#include "sources/PlayItems.h"

#include <algorithm>

RouteScreen::RouteScreen(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : KeyHandler(deps.router, parent)
    , m_deps(std::move(deps))
    , m_entry(std::move(entry))
{
    connect(m_deps.app, &AppState::stackChanged, this, &RouteScreen::stackChanged);
    connect(m_deps.app, &AppState::languageChanging, this, [this] {
        if (const QString focus = focusToKeep(); !focus.isEmpty())
            m_deps.app->keepFocus(m_entry.id, focus);
    });
    m_keptFocus = m_deps.app->takeKeptFocus(m_entry.id);
}

bool RouteScreen::canGoBack() const
{
    return m_deps.app->canGoBack();
}

bool RouteScreen::isTop() const
{
    return !m_deps.app->stack().isEmpty() && m_deps.app->stack().last().id == m_entry.id;
}

bool RouteScreen::isOnStack() const
{
    const QList<RouteEntry> &stack = m_deps.app->stack();
    return std::any_of(
        stack.begin(), stack.end(), [this](const RouteEntry &each) { return each.id == m_entry.id; });
}

void RouteScreen::back()
{
    m_deps.app->pop();
}

void RouteScreen::layerChanged(bool viewMade, bool onTop)
{
    m_opened = true;
    if (!m_removed && !isOnStack()) {
        m_removed = true;
        removed();
    }
    if (viewMade && !m_viewShown && !m_removed) {
        m_viewShown = true;
        shown();
    }
    if (onTop == isActive())
        return;
    setActive(onTop);
    if (m_removed)
        return;
    if (onTop)
        becameTop();
    else
        covered();
}

void RouteScreen::takeEntry(const RouteEntry &entry)
{
    m_entry = entry;
    m_keptFocus = m_deps.app->takeKeptFocus(entry.id);
}

Prefs *RouteScreen::prefs() const
{
    return m_deps.app->prefs();
}

std::optional<Playlist> RouteScreen::activePlaylist() const
{
    return m_deps.app->activePlaylist();
}

bool RouteScreen::openRoute(Route route)
{
    if (!isTop())
        return false;
    m_deps.app->push(std::move(route));
    return true;
}

bool RouteScreen::openPlayer(PlayQueue queue)
{
    return openRoute(Routes::Player { std::move(queue) });
}

void RouteScreen::toggleFavorite(const MediaItem &item)
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (playlist)
        m_deps.app->toggleFavorite(PlayItems::favoriteOf(item, playlist->id));
}
