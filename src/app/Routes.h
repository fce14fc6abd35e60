#pragma once

#include "model/PlayQueue.h"

#include <QString>
#include <QUuid>

#include <variant>

// The screens that can be on the route stack, with the payload each is built from.
namespace Routes {
struct Browse {
    ContentType type = ContentType::movie;
};
struct Movie {
    MediaItem item;
};
struct Series {
    MediaItem item;
};
struct Player {
    PlayQueue queue;
};
struct Catchup {
    MediaItem channel;
};
struct Splash { };
struct Activation { };
struct PlaylistPicker { };
struct Home { };
struct Live { };
struct Settings { };
struct Search { };
struct Favorites { };
} // namespace Routes

using Route = std::variant<Routes::Browse, Routes::Movie, Routes::Series, Routes::Player, Routes::Catchup,
    Routes::Splash, Routes::Activation, Routes::PlaylistPicker, Routes::Home, Routes::Live, Routes::Settings,
    Routes::Search, Routes::Favorites>;

// The details screen that opens `item` of a movie or series list: a movie's for `type` movie,
// else a series'.
Route detailsRoute(ContentType type, MediaItem item);

// The case's name as the views know it: "browse", "movie", ..., "playlistPicker", "favorites".
QString routeName(const Route &route);

template <typename Case> bool isRoute(const Route &route)
{
    return std::holds_alternative<Case>(route);
}

// One stack entry; two entries with the same route are still different entries.
struct RouteEntry {
    QUuid id;
    Route route;

    static RouteEntry fresh(Route route) { return { QUuid::createUuid(), std::move(route) }; }
};
