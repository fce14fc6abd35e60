#include "Catalog.h"

#include "AppClock.h"
#include "AppError.h"
#include "Http.h"
#include "M3uCollector.h"
#include "M3uText.h"
#include "PlayItems.h"
#include "SectionBuilder.h"
#include "StreamAddresses.h"
#include "model/ContentKeys.h"

#include <QCoreApplication>
#include <QCoroFuture>
#include <QCoroSignal>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

QString sectionKey(const Playlist &playlist, ContentType type)
{
    return cacheKey(playlist) + QLatin1Char(':') + rawValue(type);
}

QString loadKey(const Playlist &playlist, ContentType type)
{
    return isXtreamPlaylist(playlist) ? sectionKey(playlist, type)
                                      : cacheKey(playlist) + QStringLiteral(":M3U");
}

struct XtreamActions {
    QString categories;
    QString streams;
};

XtreamActions actionsFor(ContentType type)
{
    switch (type) {
    case ContentType::live:
        return { QStringLiteral("get_live_categories"), QStringLiteral("get_live_streams") };
    case ContentType::movie:
        return { QStringLiteral("get_vod_categories"), QStringLiteral("get_vod_streams") };
    case ContentType::series:
        break;
    }
    return { QStringLiteral("get_series_categories"), QStringLiteral("get_series") };
}

// Login failures that are the provider's verdict; any other failure lets the load go on.
bool isRefusal(const AppError &error)
{
    return error.kind() == AppError::Kind::xtreamAuth
        || (error.kind() == AppError::Kind::http && (error.status() == 401 || error.status() == 403));
}

SectionPtr xtreamSection(QList<MediaItem> items, const QList<XCategory> &categories, ContentType type,
    const QString &uncategorizedName)
{
    QList<CategoryName> names;
    names.reserve(categories.size());
    for (const XCategory &category : categories) {
        if (category.id)
            names.append({ *category.id, category.name.value_or(*category.id) });
    }
    return buildSection(type, names, std::move(items), uncategorizedName);
}

} // namespace

QString cacheKey(const Playlist &playlist)
{
    const QString identity = playlist.url
        ? *playlist.url
        : playlist.host.value_or(QString()) + QLatin1Char('|') + playlist.username.value_or(QString())
            + QLatin1Char('|') + playlist.password.value_or(QString());
    return QString::number(playlist.id) + QLatin1Char('_') + sha1Hex(identity);
}

Catalog::Catalog(Http *http, AppClock *clock, std::function<QString()> uncategorizedName, QObject *parent)
    : QObject(parent)
    , m_http(http)
    , m_clock(clock)
    , m_uncategorizedName(std::move(uncategorizedName))
{
}

Playlist Catalog::effective(const Playlist &playlist) const
{
    return m_fallback.value(cacheKey(playlist), playlist);
}

std::optional<XtreamAccount> Catalog::account(const Playlist &playlist) const
{
    const auto found = m_accounts.constFind(cacheKey(effective(playlist)));
    if (found == m_accounts.cend())
        return std::nullopt;
    return *found;
}

QCoro::Task<SectionPtr> Catalog::load(Playlist playlist, ContentType type, bool force)
{
    const QString key = sectionKey(playlist, type);
    if (!force) {
        if (SectionPtr stored = m_sections.value(key))
            co_return stored;
    }
    const QString runKey = loadKey(playlist, type);
    std::shared_ptr<CatalogLoad> running = force ? nullptr : m_inflight.value(runKey);
    if (!running) {
        running = startLoad(playlist, type, force);
        m_inflight.insert(runKey, running);
    }
    if (!running->done)
        co_await qCoro(running.get(), &CatalogLoad::finished);
    // A forced load may have replaced the entry meanwhile; that one stays.
    if (m_inflight.value(runKey) == running)
        m_inflight.remove(runKey);
    if (running->error)
        std::rethrow_exception(running->error);
    if (SectionPtr loaded = running->sections.value(key))
        co_return loaded;
    if (SectionPtr stored = m_sections.value(key))
        co_return stored;
    throw AppError::emptyPlaylist();
}

quint64 Catalog::generationOf(const QString &playlistKey) const
{
    return std::max(m_generations.value(playlistKey), m_resetGeneration);
}

std::shared_ptr<CatalogLoad> Catalog::startLoad(const Playlist &playlist, ContentType type, bool force)
{
    auto running = std::make_shared<CatalogLoad>();
    const QString key = cacheKey(playlist);
    if (force)
        m_generations.insert(key, ++m_lastGeneration);
    running->generation = generationOf(key);
    // Runs on by itself; awaiters wait for its finished() signal.
    runLoad(running, playlist, type, force);
    return running;
}

QCoro::Task<> Catalog::runLoad(
    std::shared_ptr<CatalogLoad> running, Playlist playlist, ContentType type, bool force)
{
    try {
        if (isXtreamPlaylist(playlist))
            co_await loadXtream(playlist, type, force, playlist, running.get());
        else
            co_await loadM3U(playlist, force, running.get());
    } catch (...) {
        running->error = std::current_exception();
    }
    keepResults(playlist, *running);
    running->done = true;
    emit running->finished();
}

bool Catalog::isLatest(const Playlist &playlist, const CatalogLoad &load) const
{
    return generationOf(cacheKey(playlist)) == load.generation;
}

// A load that a forced one or a reset overtook hands its sections to its callers only.
void Catalog::keepResults(const Playlist &playlist, const CatalogLoad &load)
{
    if (!isLatest(playlist, load))
        return;
    m_sections.insert(load.sections);
    m_m3uSeries.insert(load.m3uSeries);
}

QCoro::Task<> Catalog::ensureAccount(
    Playlist playlist, bool force, Playlist keyPlaylist, const CatalogLoad *load)
{
    const QString key = cacheKey(playlist);
    if (!force && m_accounts.contains(key))
        co_return;
    XtreamAccount account;
    try {
        account = co_await XtreamClient::login(playlist, m_http);
    } catch (const AppError &error) {
        if (isRefusal(error))
            throw;
        co_return;
    } catch (...) {
        co_return;
    }
    if (!account.auth)
        throw AppError::xtreamAuth();
    if (account.status.value_or(QString()).toLower() == u"expired"
        || (account.exp && *account.exp < m_clock->now()))
        throw AppError::xtreamExpired(account.exp);
    if (isLatest(keyPlaylist, *load))
        m_accounts.insert(key, account);
}

QCoro::Task<QList<XCategory>> Catalog::categoriesOrEmpty(Playlist request, QString action, bool force)
{
    try {
        co_return co_await XtreamClient::categories(request, action, force, m_http);
    } catch (...) {
        co_return QList<XCategory>();
    }
}

QCoro::Task<> Catalog::loadXtream(
    Playlist request, ContentType type, bool force, Playlist keyPlaylist, CatalogLoad *into)
{
    co_await ensureAccount(request, force, keyPlaylist, into);
    const XtreamActions actions = actionsFor(type);
    QCoro::Task<QList<XCategory>> categoryTask = categoriesOrEmpty(request, actions.categories, force);
    QList<MediaItem> items;
    std::exception_ptr failure;
    try {
        items = co_await XtreamClient::streamItems(request, actions.streams, type, force, m_http);
    } catch (...) {
        failure = std::current_exception();
    }
    const QList<XCategory> categories = co_await std::move(categoryTask);
    if (failure)
        std::rethrow_exception(failure);
    const QString uncategorized = m_uncategorizedName();
    SectionPtr section = co_await QtConcurrent::run(
        [items = std::move(items), categories, type, uncategorized]() mutable {
        return xtreamSection(std::move(items), categories, type, uncategorized);
    });
    into->sections.insert(sectionKey(keyPlaylist, type), section);
}

QCoro::Task<> Catalog::loadM3U(Playlist playlist, bool force, CatalogLoad *into)
{
    const QString address = M3uText::trimmedSpacesAndTabs(playlist.url.value_or(QString())).toString();
    if (address.isEmpty())
        throw AppError::badUrl();
    const QString uncategorized = m_uncategorizedName();
    const auto build
        = [uncategorized](QByteArray body) { return buildM3uContentAsync(std::move(body), uncategorized); };
    std::optional<M3uContent> content;
    std::exception_ptr failure;
    try {
        // A cached body that is no playlist is fetched once more before the error.
        content = co_await m_http->cachedGetDecoded(address, std::chrono::seconds(kM3uTtlSecs), force, build);
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        const std::optional<Playlist> xtream = xtreamCredentials(playlist);
        if (!xtream)
            std::rethrow_exception(failure);
        co_await loadFallback(playlist, *xtream, force, into);
        co_return;
    }
    if (!content)
        throw AppError::emptyPlaylist();
    into->sections.insert(sectionKey(playlist, ContentType::live), content->live);
    into->sections.insert(sectionKey(playlist, ContentType::movie), content->movie);
    into->sections.insert(sectionKey(playlist, ContentType::series), content->series);
    into->m3uSeries.insert(cacheKey(playlist), std::move(content->episodes));
}

QCoro::Task<> Catalog::loadFallback(Playlist playlist, Playlist xtream, bool force, CatalogLoad *into)
{
    if (isLatest(playlist, *into))
        m_fallback.insert(cacheKey(playlist), xtream);
    for (ContentType type : kAllContentTypes)
        co_await loadXtream(xtream, type, force, playlist, into);
}

QCoro::Task<std::optional<VodInfo>> Catalog::vodInfo(Playlist playlist, MediaItem item, CancelToken cancel)
{
    const Playlist source = effective(playlist);
    if (!isXtreamPlaylist(source))
        co_return std::nullopt;
    const QString key = cacheKey(source) + QLatin1Char(':') + item.id;
    if (const auto cached = m_vodCache.constFind(key); cached != m_vodCache.cend())
        co_return *cached;
    try {
        const VodInfo info = co_await XtreamClient::vodInfo(source, item.id, m_http, cancel);
        m_vodCache.insert(key, info);
        co_return info;
    } catch (...) {
        co_return std::nullopt;
    }
}

QCoro::Task<SeriesInfo> Catalog::seriesInfo(Playlist playlist, MediaItem item, CancelToken cancel)
{
    const Playlist source = effective(playlist);
    const QString key = cacheKey(source) + QLatin1Char(':') + item.id;
    if (const auto cached = m_seriesCache.constFind(key); cached != m_seriesCache.cend())
        co_return *cached;
    SeriesInfo info;
    if (isXtreamPlaylist(source))
        info = co_await XtreamClient::seriesInfo(source, item.id, m_http, cancel);
    else
        info = co_await m3uSeriesInfo(source, item);
    m_seriesCache.insert(key, info);
    co_return info;
}

QCoro::Task<SeriesInfo> Catalog::m3uSeriesInfo(Playlist playlist, MediaItem item)
{
    const QString key = cacheKey(playlist);
    if (!m_m3uSeries.contains(key))
        co_await load(playlist, ContentType::series, false);
    SeriesInfo info;
    info.cover = item.logo;
    for (const Episode &episode : m_m3uSeries.value(key).value(item.id))
        info.episodesBySeason[episode.season].append(episode);
    for (QList<Episode> &season : info.episodesBySeason)
        std::stable_sort(season.begin(), season.end(),
            [](const Episode &a, const Episode &b) { return a.number < b.number; });
    co_return info;
}

QCoro::Task<QList<EpgEntry>> Catalog::shortEpg(Playlist playlist, QString streamId, CancelToken cancel)
{
    const Playlist source = effective(playlist);
    if (!isXtreamPlaylist(source))
        co_return QList<EpgEntry>();
    const QString key = cacheKey(source) + QLatin1Char(':') + streamId;
    if (const auto cached = m_epgCache.constFind(key);
        cached != m_epgCache.cend() && cached->fetched.secsTo(m_clock->now()) < kGuideReuseSecs)
        co_return cached->entries;
    QList<EpgEntry> entries;
    try {
        entries = co_await XtreamClient::shortEpg(source, streamId, m_http, cancel);
    } catch (...) {
        // A cancelled request says nothing about the guide: don't remember it.
        if (isCancellation(std::current_exception()))
            co_return QList<EpgEntry>();
    }
    m_epgCache.insert(key, GuideEntry { m_clock->now(), entries });
    co_return entries;
}

QCoro::Task<QList<EpgEntry>> Catalog::archive(Playlist playlist, MediaItem item, CancelToken cancel)
{
    const Playlist source = effective(playlist);
    if (!item.catchup || !isXtreamPlaylist(source))
        co_return QList<EpgEntry>();
    // Offers may state any number of days; keep the cutoff arithmetic in range.
    const qint64 days = std::clamp<qint64>(item.catchup->days, 1, kCatchupDaysGuard);
    const QDateTime cutoff = m_clock->now().addSecs(-days * 86400);
    QList<EpgEntry> table;
    try {
        table = co_await XtreamClient::epgTable(source, item.id, m_http, cancel);
    } catch (...) {
        co_return QList<EpgEntry>();
    }
    table.removeIf([&cutoff](const EpgEntry &entry) { return !(entry.end > cutoff); });
    co_return table;
}

std::optional<PlayItem> Catalog::catchupItem(
    const Playlist &playlist, const MediaItem &item, const EpgEntry &programme) const
{
    const std::optional<XtreamAccount> known = account(playlist);
    const QTimeZone zone = catchupTimeZone(known ? known->timezone : std::nullopt);
    return PlayItems::forProgramme(effective(playlist), item, programme, zone, m_clock->now());
}

PlayItem Catalog::episodeItem(const Playlist &playlist, const MediaItem &series, const Episode &episode) const
{
    return PlayItems::forEpisode(effective(playlist), series, episode);
}

void Catalog::reset()
{
    m_resetGeneration = ++m_lastGeneration;
    m_generations.clear();
    m_sections.clear();
    m_m3uSeries.clear();
    m_vodCache.clear();
    m_seriesCache.clear();
    m_epgCache.clear();
    m_accounts.clear();
    m_fallback.clear();
}

OptText Catalog::liveM3u8Url(const QString &url)
{
    return ::liveM3u8Url(url);
}
