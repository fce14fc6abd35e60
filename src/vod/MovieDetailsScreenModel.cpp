#include "MovieDetailsScreenModel.h"

#include "MetaChips.h"
#include "app/AppState.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "sources/Catalog.h"
#include "sources/PlayItems.h"

#include <QPointer>

namespace {

enum Button { playButton = 0, fromStartButton = 1, favoriteButton = 2 };

QString textOf(const std::optional<VodInfo> &info, OptText VodInfo::*field)
{
    return info ? (*info.*field).value_or(QString()) : QString();
}

} // namespace

MovieDetailsScreenModel::MovieDetailsScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
{
    if (const auto *movie = payload<Routes::Movie>())
        m_item = movie->item;
    connect(app(), &AppState::deviceChanged, this, &MovieDetailsScreenModel::playlistChanged);
    // The favourite and resume keys name the playlist in use.
    connect(app(), &AppState::deviceChanged, this, &MovieDetailsScreenModel::buttonsChanged);
    connect(prefs(), &Prefs::favoritesChanged, this, &MovieDetailsScreenModel::buttonsChanged);
    // The player saves its last point as it stops, after this screen is on top again.
    connect(prefs(), &Prefs::resumeChanged, this, &MovieDetailsScreenModel::buttonsChanged);
}

// Details again (from the catalog's cache once loaded), and the buttons, since the
// player may have moved the resume point.
void MovieDetailsScreenModel::becameTop()
{
    load();
    emit buttonsChanged();
}

QCoro::Task<> MovieDetailsScreenModel::load()
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist)
        co_return;
    const QPointer<MovieDetailsScreenModel> self(this);
    // The destructor cancels the request before `self` clears: the token tells a screen going away.
    const CancelToken cancel = m_requests.token();
    std::optional<VodInfo> info = co_await deps().catalog->vodInfo(*playlist, m_item, cancel);
    if (!self || cancel.isCancelled())
        co_return;
    m_info = std::move(info);
    m_loaded = true;
    emit infoChanged();
}

OptText MovieDetailsScreenModel::backdrop() const
{
    if (m_info && m_info->backdrop)
        return m_info->backdrop;
    if (m_info && m_info->poster)
        return m_info->poster;
    return m_item.logo;
}

QString MovieDetailsScreenModel::posterUrl() const
{
    if (m_info && m_info->poster)
        return *m_info->poster;
    return m_item.logo.value_or(QString());
}

QVariantList MovieDetailsScreenModel::chips() const
{
    if (!m_info)
        return metaChips(std::nullopt, m_item.rating, std::nullopt, std::nullopt);
    return metaChips(m_info->releaseDate, m_info->rating ? m_info->rating : m_item.rating, m_info->duration,
        m_info->genre);
}

QString MovieDetailsScreenModel::plot() const
{
    return textOf(m_info, &VodInfo::plot);
}
QString MovieDetailsScreenModel::director() const
{
    return textOf(m_info, &VodInfo::director);
}
QString MovieDetailsScreenModel::cast() const
{
    return textOf(m_info, &VodInfo::cast);
}

QString MovieDetailsScreenModel::movieKey() const
{
    const std::optional<Playlist> playlist = activePlaylist();
    return playlist ? itemKey(ContentType::movie, playlist->id, m_item.id) : QString();
}

bool MovieDetailsScreenModel::hasResume() const
{
    return prefs()->resumePoint(movieKey()).has_value();
}

QList<int> MovieDetailsScreenModel::focusOrder() const
{
    return hasResume() ? QList<int> { playButton, fromStartButton, favoriteButton }
                       : QList<int> { playButton, favoriteButton };
}

QVariantList MovieDetailsScreenModel::buttons() const
{
    const std::optional<Prefs::ResumePoint> resume = prefs()->resumePoint(movieKey());
    const bool favorite = prefs()->isFavorite(movieKey());
    const auto button = [this](int id, const QString &title, const QString &icon, bool primary) {
        return QVariantMap { { QStringLiteral("id"), id }, { QStringLiteral("title"), title },
            { QStringLiteral("icon"), icon }, { QStringLiteral("primary"), primary },
            { QStringLiteral("focused"), focus() == id } };
    };
    QVariantList buttons;
    buttons.append(button(playButton,
        resume ? ::tr(QStringLiteral("resume_from"), { formatDuration(resume->pos) })
               : ::tr(QStringLiteral("play")),
        QStringLiteral("play.fill"), true));
    if (resume)
        buttons.append(button(
            fromStartButton, ::tr(QStringLiteral("from_start")), QStringLiteral("backward.end.fill"), false));
    buttons.append(button(favoriteButton,
        ::tr(favorite ? QStringLiteral("in_favorites") : QStringLiteral("add_favorite")),
        favorite ? QStringLiteral("heart.fill") : QStringLiteral("heart"), false));
    return buttons;
}

int MovieDetailsScreenModel::focus() const
{
    // A button that went away (the resume point was cleared) hands its focus to play.
    return focusOrder().contains(m_focus) ? m_focus : playButton;
}

bool MovieDetailsScreenModel::handleKey(const Key &key)
{
    const QList<int> order = focusOrder();
    const int at = int(order.indexOf(focus()));
    switch (key.kind) {
    case Key::Kind::left:
        setFocus(order[qMax(at - 1, 0)]);
        return true;
    case Key::Kind::right:
        setFocus(order[qMin(at + 1, int(order.size()) - 1)]);
        return true;
    case Key::Kind::enter:
    case Key::Kind::space:
        press(focus());
        return true;
    default:
        return false;
    }
}

void MovieDetailsScreenModel::press(int buttonId)
{
    if (buttonId == playButton || buttonId == fromStartButton)
        play(buttonId == fromStartButton);
    else
        toggleFavorite(m_item);
}

void MovieDetailsScreenModel::play(bool fromStart)
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist)
        return;
    PlayItem item = PlayItems::forItem(m_item, *playlist);
    if (m_info && m_info->poster)
        item.logo = m_info->poster;
    openPlayer(readyQueue({ item }, 0, !fromStart));
}

void MovieDetailsScreenModel::setFocus(int focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    emit buttonsChanged();
}
