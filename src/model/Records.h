#pragma once

#include "Catchup.h"
#include "MediaItems.h"
#include "OptText.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct Playlist {
    qint64 id = 0;
    QString name;
    QString type = QStringLiteral("m3u");
    OptText url;
    OptText host;
    OptText username;
    OptText password;
    OptText epg_url;
    bool operator==(const Playlist &) const = default;
};

struct DeviceRequest {
    QString mac;
    QString model;
    QString os;
    QString app_version;
};

struct AppInfo {
    OptText latest_version;
    OptText apk_url;
    std::optional<bool> force_update;
    bool operator==(const AppInfo &) const = default;
};

struct Support {
    OptText whatsapp;
    OptText email;
    bool operator==(const Support &) const = default;
};

struct DeviceResponse {
    QString mac;
    QString device_key;
    OptText notice;
    OptText site_url;
    QList<Playlist> playlists;
    std::optional<AppInfo> app;
    std::optional<Support> support;
    bool operator==(const DeviceResponse &) const = default;
};

struct Category {
    QString id;
    QString name;
    qint64 count = 0;
    bool operator==(const Category &) const = default;
};

// One loaded content kind of a playlist; built once, never changed, shared.
struct Section {
    ContentType type = ContentType::live;
    QList<Category> categories;
    MediaItems all;
    // Positions in `all` of each category's items, in list order.
    QHash<QString, std::vector<qint32>> byCategory;
};
using SectionPtr = std::shared_ptr<const Section>;

struct EpgEntry {
    QString title;
    OptText description;
    QDateTime start;
    QDateTime end;
    std::optional<bool> hasArchive;
    bool operator==(const EpgEntry &) const = default;
};

struct VodInfo {
    OptText plot;
    OptText rating;
    OptText genre;
    OptText director;
    OptText cast;
    OptText releaseDate;
    OptText duration;
    OptText poster;
    OptText backdrop;
    bool operator==(const VodInfo &) const = default;
};

struct Episode {
    QString id;
    qint64 season = 0;
    qint64 number = 0;
    QString title;
    OptText url;
    OptText ext;
    OptText plot;
    OptText image;
    std::optional<qint64> durationSecs;
    bool operator==(const Episode &) const = default;
};

struct SeriesInfo {
    OptText plot;
    OptText cover;
    OptText backdrop;
    OptText rating;
    OptText genre;
    OptText releaseDate;
    OptText cast;
    QMap<qint64, QList<Episode>> episodesBySeason;
    bool operator==(const SeriesInfo &) const = default;
};

struct FavoriteEntry {
    qint64 playlistId = 0;
    ContentType type = ContentType::live;
    QString id;
    QString name;
    OptText logo;
    OptText url;
    QString categoryId;
    OptText epgId;
    OptText ext;
    OptText rating;
    OptCatchup catchup;
    bool operator==(const FavoriteEntry &) const = default;
};

struct PlayItem {
    QString key;
    QString title;
    QString url;
    OptText logo;
    bool live = false;
    OptText streamId;
    OptText subtitle;
    qint64 number = 0;
    std::optional<FavoriteEntry> favorite;
    OptText fallbackUrl;
    bool catchup = false;
    OptText ext;
    bool operator==(const PlayItem &) const = default;
};
