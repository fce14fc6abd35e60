#pragma once

#include "XtreamClient.h"
#include "model/Records.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

#include <QCoroTask>

#include <exception>
#include <functional>
#include <memory>
#include <optional>

class AppClock;
class Http;

// "<id>_<sha1 of the url, or of host|username|password>": names a playlist's cached content.
QString cacheKey(const Playlist &playlist);

// One running load that several callers may await. Its sections are kept here and enter
// the catalog's caches (as do its login and fallback) only while the load is still the
// playlist's latest.
class CatalogLoad : public QObject {
    Q_OBJECT
public:
    bool done = false;
    std::exception_ptr error;
    quint64 generation = 0;
    QHash<QString, SectionPtr> sections;
    QHash<QString, QHash<QString, QList<Episode>>> m3uSeries;

signals:
    void finished();
};

// The one place through which screens reach a playlist's content: shared section loads,
// Xtream-Codes logins, the M3U -> Xtream-Codes fallback, detail and guide caches, and
// the play items. Used only from the main thread; parsing runs on worker threads.
class Catalog : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kGuideReuseSecs = 600;
    static constexpr qint64 kM3uTtlSecs = 21600;

    Catalog(
        Http *http, AppClock *clock, std::function<QString()> uncategorizedName, QObject *parent = nullptr);

    std::optional<XtreamAccount> account(const Playlist &playlist) const;
    // Throws AppError (or the transport's error) when the content cannot be loaded.
    QCoro::Task<SectionPtr> load(Playlist playlist, ContentType type, bool force);
    // Guide and detail requests stop at once when the token fires (a screen that left).
    QCoro::Task<std::optional<VodInfo>> vodInfo(Playlist playlist, MediaItem item, CancelToken cancel = {});
    QCoro::Task<SeriesInfo> seriesInfo(Playlist playlist, MediaItem item, CancelToken cancel = {});
    QCoro::Task<QList<EpgEntry>> shortEpg(Playlist playlist, QString streamId, CancelToken cancel = {});
    QCoro::Task<QList<EpgEntry>> archive(Playlist playlist, MediaItem item, CancelToken cancel = {});
    std::optional<PlayItem> catchupItem(
        const Playlist &playlist, const MediaItem &item, const EpgEntry &programme) const;
    PlayItem episodeItem(const Playlist &playlist, const MediaItem &series, const Episode &episode) const;
    // Empties every cache; loads still running finish for their callers but store nothing.
    void reset();

    static OptText liveM3u8Url(const QString &url);

private:
    struct GuideEntry {
        QDateTime fetched;
        QList<EpgEntry> entries;
    };

    Playlist effective(const Playlist &playlist) const;
    std::shared_ptr<CatalogLoad> startLoad(const Playlist &playlist, ContentType type, bool force);
    QCoro::Task<> runLoad(std::shared_ptr<CatalogLoad> load, Playlist playlist, ContentType type, bool force);
    QCoro::Task<> ensureAccount(Playlist playlist, bool force, Playlist keyPlaylist, const CatalogLoad *load);
    QCoro::Task<> loadXtream(
        Playlist request, ContentType type, bool force, Playlist keyPlaylist, CatalogLoad *into);
    QCoro::Task<QList<XCategory>> categoriesOrEmpty(Playlist request, QString action, bool force);
    QCoro::Task<> loadM3U(Playlist playlist, bool force, CatalogLoad *into);
    QCoro::Task<> loadFallback(Playlist playlist, Playlist xtream, bool force, CatalogLoad *into);
    // A forced load or a reset starts a new generation; only the latest one's results are kept.
    quint64 generationOf(const QString &playlistKey) const;
    bool isLatest(const Playlist &playlist, const CatalogLoad &load) const;
    void keepResults(const Playlist &playlist, const CatalogLoad &load);
    QCoro::Task<SeriesInfo> m3uSeriesInfo(Playlist playlist, MediaItem item);

    Http *m_http;
    AppClock *m_clock;
    std::function<QString()> m_uncategorizedName;

    QHash<QString, SectionPtr> m_sections;
    QHash<QString, QHash<QString, QList<Episode>>> m_m3uSeries;
    QHash<QString, std::shared_ptr<CatalogLoad>> m_inflight;
    QHash<QString, VodInfo> m_vodCache;
    QHash<QString, SeriesInfo> m_seriesCache;
    QHash<QString, GuideEntry> m_epgCache;
    QHash<QString, XtreamAccount> m_accounts;
    QHash<QString, Playlist> m_fallback;
    QHash<QString, quint64> m_generations;
    quint64 m_lastGeneration = 0;
    quint64 m_resetGeneration = 0;
};
