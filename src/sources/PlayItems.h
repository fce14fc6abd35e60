#pragma once

#include "model/Records.h"

#include <QDateTime>
#include <QTimeZone>

#include <optional>

// Builders of the records the player plays. Pure: the caller resolves the playlist
// to use (the catalog's fallback) and the time zone, and passes "now".
namespace PlayItems {

// The favourite entry of an item of the playlist with that id.
FavoriteEntry favoriteOf(const MediaItem &item, qint64 playlistId);

// A channel, movie or series item of a section.
PlayItem forItem(const MediaItem &item, const Playlist &playlist);

// An archived programme of a channel with catch-up; nothing when no address can be formed.
std::optional<PlayItem> forProgramme(const Playlist &playlist, const MediaItem &channel,
    const EpgEntry &programme, const QTimeZone &timeZone, const QDateTime &now);

// An episode of a series item.
PlayItem forEpisode(const Playlist &playlist, const MediaItem &series, const Episode &episode);

} // namespace PlayItems

// The zone of catch-up addresses: the account's zone when it names a known one, else the device's.
QTimeZone catchupTimeZone(const OptText &accountZone);
