#include "PlaceholderScreen.h"

#include "app/Localization.h"

namespace {

template <typename... Cases> struct Overloaded : Cases... {
    using Cases::operator()...;
};
template <typename... Cases> Overloaded(Cases...) -> Overloaded<Cases...>;

QString areaTitle(ContentType type)
{
    switch (type) {
    case ContentType::live:
        return ::tr(QStringLiteral("live_tv"));
    case ContentType::movie:
        return ::tr(QStringLiteral("movies"));
    case ContentType::series:
        return ::tr(QStringLiteral("series"));
    }
    return {};
}

QString queueTitle(const PlayQueue &queue)
{
    const std::optional<PlayItem> item = queue.get(queue.start);
    return item ? item->title : QString();
}

} // namespace

PlaceholderScreen::PlaceholderScreen(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
{
}

QUrl PlaceholderScreen::view()
{
    return QUrl::fromLocalFile(QStringLiteral(ZELFOR_SOURCE_DIR "/tests/support/PlaceholderScreen.qml"));
}

QString PlaceholderScreen::titleOf(const Route &route)
{
    return std::visit(
        Overloaded {
            [](const Routes::Browse &browse) { return areaTitle(browse.type); },
            [](const Routes::Movie &movie) { return movie.item.name; },
            [](const Routes::Series &series) { return series.item.name; },
            [](const Routes::Player &player) { return queueTitle(player.queue); },
            [](const Routes::Catchup &) { return ::tr(QStringLiteral("catch_up")); },
            [](const Routes::Activation &) { return ::tr(QStringLiteral("act_title_device")); },
            [](const Routes::PlaylistPicker &) { return ::tr(QStringLiteral("choose_playlist")); },
            [](const Routes::Live &) { return areaTitle(ContentType::live); },
            [](const Routes::Settings &) { return ::tr(QStringLiteral("settings")); },
            [](const Routes::Search &) { return ::tr(QStringLiteral("search")); },
            [](const Routes::Favorites &) { return ::tr(QStringLiteral("favorites")); },
            [](const auto &) { return QStringLiteral("Zelfor"); },
        },
        route);
}

QStringList &PlaceholderScreen::hookLog()
{
    static QStringList log;
    return log;
}

void PlaceholderScreen::note(QStringView hook) const
{
    hookLog().append(routeName() + QLatin1Char(' ') + hook.toString());
}
