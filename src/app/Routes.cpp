#include "Routes.h"

namespace {

struct RouteNamer {
    QString operator()(const Routes::Browse &) const { return QStringLiteral("browse"); }
    QString operator()(const Routes::Movie &) const { return QStringLiteral("movie"); }
    QString operator()(const Routes::Series &) const { return QStringLiteral("series"); }
    QString operator()(const Routes::Player &) const { return QStringLiteral("player"); }
    QString operator()(const Routes::Catchup &) const { return QStringLiteral("catchup"); }
    QString operator()(const Routes::Splash &) const { return QStringLiteral("splash"); }
    QString operator()(const Routes::Activation &) const { return QStringLiteral("activation"); }
    QString operator()(const Routes::PlaylistPicker &) const { return QStringLiteral("playlistPicker"); }
    QString operator()(const Routes::Home &) const { return QStringLiteral("home"); }
    QString operator()(const Routes::Live &) const { return QStringLiteral("live"); }
    QString operator()(const Routes::Settings &) const { return QStringLiteral("settings"); }
    QString operator()(const Routes::Search &) const { return QStringLiteral("search"); }
    QString operator()(const Routes::Favorites &) const { return QStringLiteral("favorites"); }
};

} // namespace

Route detailsRoute(ContentType type, MediaItem item)
{
    if (type == ContentType::movie)
        return Routes::Movie { std::move(item) };
    return Routes::Series { std::move(item) };
}

QString routeName(const Route &route)
{
    return std::visit(RouteNamer {}, route);
}
