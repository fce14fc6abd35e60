#pragma once

#include "app/Defaults.h"
#include "app/PictureMode.h"
#include "model/Records.h"
#include "sources/Http.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <optional>

// 64-bit FNV-1a of the address's UTF-8 bytes (own start value), lower-case hex.
QString deviceCacheSuffix(const QString &address);
// "device_cache_" + deviceCacheSuffix(address): where a portal's last device record is kept.
QString deviceCacheKey(const QString &address);

// The settings, favourites, recently watched lists, resume points, chosen playlist
// and cached device record, kept in the user defaults and written through at once.
class Prefs : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<FavoriteEntry> favorites READ favorites NOTIFY favoritesChanged)
    Q_PROPERTY(QStringList recentLive READ recentLive NOTIFY recentLiveChanged)
    Q_PROPERTY(QList<PlayItem> recent READ recent NOTIFY recentChanged)
    Q_PROPERTY(QString language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QString timeFormat READ timeFormat WRITE setTimeFormat NOTIFY timeFormatChanged)
    Q_PROPERTY(QString userAgent READ userAgent WRITE setUserAgent NOTIFY userAgentChanged)

public:
    struct ResumePoint {
        double pos = 0;
        double dur = 0;
        bool operator==(const ResumePoint &) const = default;
    };

    static inline const QString kDefaultUserAgent = QString::fromLatin1(Http::kDefaultUserAgent);
    static constexpr qsizetype kMaxRecent = 24;
    static constexpr qsizetype kMaxRecentLive = 90;

    // Reads the store at defaultsPath; portalAddress selects the cached device record.
    Prefs(const QString &defaultsPath, const QString &portalAddress, QObject *parent = nullptr);

    // The underlying store, for settings that have no property here.
    Defaults &defaults() { return m_defaults; }

    QList<FavoriteEntry> favorites() const { return m_favorites; }
    QStringList recentLive() const { return m_recentLive; }
    QList<PlayItem> recent() const { return m_recent; }
    QString language() const { return m_language; }
    QString timeFormat() const { return m_timeFormat; }
    PictureMode aspectMode() const { return m_aspectMode; }
    QString userAgent() const { return m_userAgent; }

    void setLanguage(const QString &language);
    void setTimeFormat(const QString &timeFormat);
    void setAspectMode(PictureMode mode);
    // A user agent with a control or format character (it would end up inside the request
    // headers) is not stored; read from the store it gives the default.
    void setUserAgent(const QString &userAgent);

    // True when the entry was added, false when it (and any duplicate) was removed.
    bool toggleFavorite(const FavoriteEntry &entry);
    Q_INVOKABLE bool isFavorite(const QString &key) const;

    void addRecent(const PlayItem &item);
    Q_INVOKABLE void removeRecent(const QString &key);
    Q_INVOKABLE void addRecentLive(const QString &key);

    void saveResume(const QString &key, double pos, double dur);
    std::optional<ResumePoint> resumePoint(const QString &key) const;

    qint64 selectedPlaylistId() const;
    void setSelectedPlaylistId(qint64 id);

    std::optional<DeviceResponse> cachedDevice() const;
    void saveDeviceCache(const DeviceResponse &device, const QString &key);

    QString deviceMac();

signals:
    void favoritesChanged();
    void recentLiveChanged();
    void recentChanged();
    // A resume point was saved or cleared.
    void resumeChanged();
    void languageChanged();
    void timeFormatChanged();
    void aspectModeChanged();
    void userAgentChanged();

private:
    void load();
    void writeFavorites();
    void writeRecent();
    void writeResume();

    Defaults m_defaults;
    QString m_portalAddress;
    QList<FavoriteEntry> m_favorites;
    QStringList m_recentLive;
    QList<PlayItem> m_recent;
    QString m_language;
    QString m_timeFormat;
    PictureMode m_aspectMode = PictureMode::stretch;
    QString m_userAgent;
    QHash<QString, ResumePoint> m_resume;
};
