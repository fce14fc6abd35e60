#include "SeriesDetailsScreenModel.h"

#include "MetaChips.h"
#include "app/AppState.h"
#include "app/ErrorMessages.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "sources/Catalog.h"

#include <QPointer>

SeriesDetailsScreenModel::SeriesDetailsScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent)
    : RouteScreen(std::move(deps), std::move(entry), parent)
{
    if (const auto *series = payload<Routes::Series>())
        m_item = series->item;
    connect(app(), &AppState::deviceChanged, this, &SeriesDetailsScreenModel::playlistChanged);
    // The favourite's key names the playlist in use.
    connect(app(), &AppState::deviceChanged, this, &SeriesDetailsScreenModel::favoriteChanged);
    connect(prefs(), &Prefs::favoritesChanged, this, &SeriesDetailsScreenModel::favoriteChanged);
    // The player saves its last point as it stops, after this screen is on top again.
    connect(prefs(), &Prefs::resumeChanged, this, &SeriesDetailsScreenModel::showEpisodes);
}

// The details again (from the catalog's cache once loaded), and the progress strips,
// which the player may have moved.
void SeriesDetailsScreenModel::becameTop()
{
    load();
    showEpisodes();
}

QCoro::Task<> SeriesDetailsScreenModel::load()
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist)
        co_return;
    const QPointer<SeriesDetailsScreenModel> self(this);
    // The destructor cancels the request before `self` clears: the token tells a screen going away.
    const CancelToken cancel = m_requests.token();
    std::exception_ptr failure;
    try {
        SeriesInfo info = co_await deps().catalog->seriesInfo(*playlist, m_item, cancel);
        if (!self || cancel.isCancelled())
            co_return;
        m_info = std::move(info);
        emit infoChanged();
        emit seasonChanged();
        showEpisodes();
        co_return;
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self || cancel.isCancelled())
        co_return;
    // Details once shown stay; the message shows only while there are none.
    m_error = userMessage(failure);
    emit infoChanged();
}

int SeriesDetailsScreenModel::state() const
{
    if (!m_info)
        return m_error ? Failed : Loading;
    return m_info->episodesBySeason.isEmpty() ? Empty : Loaded;
}

QString SeriesDetailsScreenModel::posterUrl() const
{
    if (m_info && m_info->cover)
        return *m_info->cover;
    return m_item.logo.value_or(QString());
}

QString SeriesDetailsScreenModel::backdropUrl() const
{
    if (m_info && m_info->backdrop)
        return *m_info->backdrop;
    return posterUrl();
}

QVariantList SeriesDetailsScreenModel::chips() const
{
    if (!m_info)
        return metaChips(std::nullopt, m_item.rating, std::nullopt, std::nullopt);
    return metaChips(
        m_info->releaseDate, m_info->rating ? m_info->rating : m_item.rating, std::nullopt, m_info->genre);
}

QString SeriesDetailsScreenModel::plot() const
{
    return m_info ? m_info->plot.value_or(QString()) : QString();
}

QString SeriesDetailsScreenModel::cast() const
{
    return m_info ? m_info->cast.value_or(QString()) : QString();
}

QString SeriesDetailsScreenModel::seriesKey() const
{
    const std::optional<Playlist> playlist = activePlaylist();
    return playlist ? itemKey(ContentType::series, playlist->id, m_item.id) : QString();
}

bool SeriesDetailsScreenModel::favorite() const
{
    return prefs()->isFavorite(seriesKey());
}

QList<qint64> SeriesDetailsScreenModel::seasonNumbers() const
{
    // The map keeps its keys in ascending order.
    return m_info ? m_info->episodesBySeason.keys() : QList<qint64>();
}

QVariantList SeriesDetailsScreenModel::seasons() const
{
    QVariantList chips;
    const QList<qint64> numbers = seasonNumbers();
    for (int i = 0; i < numbers.size(); ++i) {
        chips.append(
            QVariantMap { { QStringLiteral("title"), ::tr(QStringLiteral("season_n"), { numbers[i] }) },
                { QStringLiteral("count"), m_info->episodesBySeason.value(numbers[i]).size() },
                { QStringLiteral("selected"), i == m_season } });
    }
    return chips;
}

QList<Episode> SeriesDetailsScreenModel::shownEpisodes() const
{
    const QList<qint64> numbers = seasonNumbers();
    if (m_season < 0 || m_season >= numbers.size())
        return {};
    return m_info->episodesBySeason.value(numbers[m_season]);
}

void SeriesDetailsScreenModel::showEpisodes()
{
    const std::optional<Playlist> playlist = activePlaylist();
    QList<EpisodeRowData> rows;
    if (!playlist) {
        m_episodes.setRows(rows);
        return;
    }
    const QString fallbackImage = posterUrl();
    for (const Episode &episode : shownEpisodes()) {
        // The point is read under the key the player saves it with.
        const QString key = deps().catalog->episodeItem(*playlist, m_item, episode).key;
        const std::optional<Prefs::ResumePoint> resume = prefs()->resumePoint(key);
        // A point past a shortened duration still fits its strip.
        const double progress = resume ? qBound(0.0, resume->pos / (resume->dur > 1 ? resume->dur : 1), 1.0)
                                       : -1;
        const qint64 seconds = episode.durationSecs.value_or(0);
        rows.append({ episode.id, QStringLiteral("E") + QString::number(episode.number),
            seconds > 0 ? formatDuration(double(seconds)) : QString(), episode.title,
            episode.plot.value_or(QString()), episode.image.value_or(fallbackImage), progress });
    }
    m_episodes.setRows(rows);
}

bool SeriesDetailsScreenModel::handleKey(const Key &key)
{
    const int count = int(shownEpisodes().size());
    const int seasons = int(seasonNumbers().size());
    switch (key.kind) {
    case Key::Kind::up:
    case Key::Kind::down: {
        const int step = key.kind == Key::Kind::up ? -1 : 1;
        setFocus(count == 0 ? 0 : qBound(0, m_focus + step, count - 1));
        if (m_focus < count)
            emit scrollToEpisode(m_focus);
        return true;
    }
    case Key::Kind::left:
        if (m_season >= 1)
            selectSeason(m_season - 1);
        return true;
    case Key::Kind::right:
        if (m_season < seasons - 1)
            selectSeason(m_season + 1);
        return true;
    case Key::Kind::enter:
    case Key::Kind::space:
        if (m_focus >= 0 && m_focus < count)
            playSeason(shownEpisodes(), m_focus);
        return true;
    default:
        return false;
    }
}

void SeriesDetailsScreenModel::selectSeason(int index)
{
    setSeason(index);
    setFocus(0);
}

void SeriesDetailsScreenModel::play(int index)
{
    const QList<Episode> episodes = shownEpisodes();
    if (index < 0 || index >= episodes.size())
        return;
    setFocus(index);
    playSeason(episodes, index);
}

void SeriesDetailsScreenModel::playSeason(const QList<Episode> &episodes, int start)
{
    const std::optional<Playlist> playlist = activePlaylist();
    if (!playlist)
        return;
    QList<PlayItem> items;
    items.reserve(episodes.size());
    for (const Episode &episode : episodes)
        items.append(deps().catalog->episodeItem(*playlist, m_item, episode));
    openPlayer(readyQueue(std::move(items), start, true));
}

void SeriesDetailsScreenModel::toggleFavorite()
{
    RouteScreen::toggleFavorite(m_item);
}

void SeriesDetailsScreenModel::setSeason(int season)
{
    if (season == m_season)
        return;
    m_season = season;
    emit seasonChanged();
    showEpisodes();
}

void SeriesDetailsScreenModel::setFocus(int focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    emit focusChanged();
}
