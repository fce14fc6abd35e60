#pragma once

#include "Records.h"

#include <QSet>

// Raw text of a content type ("LIVE", "MOVIE", "SERIES").
QString rawValue(ContentType type);
// The content type of a raw text; nothing for any other text (matched exactly).
std::optional<ContentType> contentTypeFromRaw(const QString &raw);

// "<playlistId>|<RAW>|<id>": identifies an item in favourites, recents and resume points.
QString itemKey(ContentType type, qint64 playlistId, const QString &id);
// The key of the item a favourite stands for.
QString itemKey(const FavoriteEntry &entry);
// "<playlistId>|CATCHUP|<channelId>|<start in Unix seconds>": an archived programme.
QString catchupKey(qint64 playlistId, const QString &channelId, const QDateTime &start);
// "<playlistId>|EP|<episodeId>": an episode of a series.
QString episodeKey(qint64 playlistId, const QString &episodeId);
// The item keys of stored favourites, to mark them in a content list.
QSet<QString> favoriteKeys(const QList<FavoriteEntry> &entries);
// The stored favourites of one playlist and content type, in stored order.
QList<FavoriteEntry> favoritesOf(const QList<FavoriteEntry> &entries, qint64 playlistId, ContentType type);

// Items of a category id: `all` for "__all__", else that category's list, else empty.
MediaItems sectionItems(const Section &section, const QString &categoryId);

// The archive offer described by M3U catch-up attributes, or nothing.
std::optional<Catchup> catchupFromAttributes(const OptText &mode, const OptText &days, const OptText &source);

namespace PseudoCategory {
inline const QString all = QStringLiteral("__all__");
inline const QString favorites = QStringLiteral("__fav__");
inline const QString recent = QStringLiteral("__recent__");
inline const QString uncategorized = QStringLiteral("__uncat__");
}
