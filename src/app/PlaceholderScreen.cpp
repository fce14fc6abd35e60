#include "PlaceholderScreen.h"

#include "AppState.h"
#include "KeyRouter.h"
#include "Localization.h"

namespace {

template <typename... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};
template <typename... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

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

PlaceholderScreen::PlaceholderScreen(QObject *parent)
    : PlaceholderScreen(AppState::shared(), KeyRouter::shared(), parent)
{
}

PlaceholderScreen::PlaceholderScreen(AppState *app, KeyRouter *router, QObject *parent)
    : KeyHandler(router, parent)
    , m_app(app)
{
    if (m_app)
        connect(m_app, &AppState::stackChanged, this, &PlaceholderScreen::canGoBackChanged);
}

void PlaceholderScreen::setEntryId(const QString &entryId)
{
    if (entryId == m_entryId)
        return;
    m_entryId = entryId;
    m_route = m_app ? m_app->routeOf(QUuid::fromString(entryId)) : std::nullopt;
    emit entryChanged();
}

QString PlaceholderScreen::routeName() const
{
    return m_route ? ::routeName(*m_route) : QString();
}

QString PlaceholderScreen::title() const
{
    return m_route ? titleOf(*m_route) : QString();
}

bool PlaceholderScreen::canGoBack() const
{
    return m_app && m_app->canGoBack();
}

void PlaceholderScreen::back()
{
    if (m_app)
        m_app->pop();
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
