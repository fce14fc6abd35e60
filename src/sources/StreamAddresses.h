#pragma once

#include "model/Records.h"

#include <QDateTime>
#include <QTimeZone>

#include <optional>
#include <utility>

// A playable address and, when there is one, a second address to try once.
using AddressPair = std::pair<QString, OptText>;

// Stream, timeshift and catch-up addresses of Xtream-Codes servers and M3U channels.
// Pure functions: "now" is always passed in.
namespace XtreamClient {

// base + "/<kind>/<user>/<pass>/<id>.<ext or mp4>"; the credentials are percent-encoded.
QString streamUrl(const Playlist &playlist, const QString &kind, const QString &id, const OptText &ext);
QString liveUrl(const Playlist &playlist, const QString &streamId, const QString &ext);
QString movieUrl(const Playlist &playlist, const QString &id, const OptText &ext);
QString seriesUrl(const Playlist &playlist, const QString &id, const OptText &ext);

// Programme start as the timeshift interface writes it ("yyyy-MM-dd:HH-mm").
QString timeshiftDate(const QDateTime &date, const QTimeZone &timeZone);

// The timeshift path address and the timeshift.php address of one programme; the
// credentials are percent-encoded in both.
AddressPair timeshiftUrls(const QString &serverBase, const QString &user, const QString &pass,
    const QString &streamId, const QDateTime &start, const QDateTime &end, const QTimeZone &timeZone);

// Replaces the known "{name}" / "${name}" placeholders of a catch-up template.
QString fillCatchupTemplate(const QString &tmpl, const QDateTime &start, const QDateTime &end,
    const QTimeZone &timeZone, const QDateTime &now);

// The catch-up addresses of an M3U channel by its catch-up mode, or nothing.
std::optional<AddressPair> m3uCatchupUrls(const QString &mode, const OptText &source, const QString &url,
    const QDateTime &start, const QDateTime &end, const QTimeZone &timeZone, const QDateTime &now);

} // namespace XtreamClient

// The address an M3U entry names, without the request headers some playlists append
// after a "|" ("…/1.m3u8|Referer=http://host"); an address without one is returned as it is.
QString addressWithoutHeaders(const QString &url);

// The HLS form of an M3U live address ("…/123.ts" or "…/123" -> "…/123.m3u8"), or nothing.
OptText liveM3u8Url(const QString &url);
