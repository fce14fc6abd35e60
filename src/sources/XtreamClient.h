#pragma once

#include "Http.h"
#include "model/ContentKeys.h"
#include "model/Records.h"
#include "model/TextBounds.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <QTimeZone>
#include <QUrl>

#include <QCoroTask>

#include <initializer_list>
#include <optional>
#include <string_view>

namespace simdjson::dom {
class object;
}

// The login result of an Xtream-Codes account.
struct XtreamAccount {
    bool auth = false;
    OptText status;
    std::optional<QDateTime> exp;
    QStringList allowedFormats;
    OptText timezone;
    bool operator==(const XtreamAccount &) const = default;
};

struct XCategory {
    OptText id;
    OptText name;
    bool operator==(const XCategory &) const = default;
};

struct XStream {
    OptText num;
    OptText name;
    OptText streamId;
    OptText seriesId;
    OptText icon;
    OptText cover;
    OptText epgId;
    OptText categoryId;
    OptText rating;
    OptText ext;
    OptText tvArchive;
    OptText tvArchiveDuration;
    bool operator==(const XStream &) const = default;
};

// True when the playlist's type, ignoring case, is "xtream"; any other type reads as M3U.
bool isXtreamPlaylist(const Playlist &playlist);
// The playlist in Xtream-Codes form: itself when it already is one, else the account
// carried by the username and password of its address; nothing without them.
std::optional<Playlist> xtreamCredentials(const Playlist &playlist);
// An M3U playlist whose address is a provider's "/get.php" link with credentials.
bool isXtreamGetLink(const Playlist &playlist);

// Stateless client of a provider's "player_api.php".
namespace XtreamClient {

inline constexpr int kLoginTimeout = 25;
inline constexpr int kShortEpgTimeout = 20;
inline constexpr int kDetailsTimeout = 40;
inline constexpr int kListTtl = 21600;

QString serverBase(const Playlist &playlist);
QString percentEncode(const OptText &text);
// "scheme://host[:port]" of an address; an IPv6 host keeps its brackets.
QString urlOrigin(const QUrl &url);
QString apiURL(const Playlist &playlist, const OptText &action, const QString &extra);

// Requests; each may also fail with the errors of Http. Tests pass their own client. A
// fired token aborts a guide or detail request at once.
QCoro::Task<XtreamAccount> login(Playlist playlist, Http *http);
QCoro::Task<QList<XCategory>> categories(Playlist playlist, QString action, bool force, Http *http);
QCoro::Task<QList<XStream>> streams(Playlist playlist, QString action, bool force, Http *http);
// streams() and mediaItems() in one pass, without the intermediate list: for big lists.
QCoro::Task<QList<MediaItem>> streamItems(
    Playlist playlist, QString action, ContentType type, bool force, Http *http);
QCoro::Task<QList<EpgEntry>> shortEpg(
    Playlist playlist, QString streamId, Http *http, CancelToken cancel = {});
QCoro::Task<QList<EpgEntry>> epgTable(
    Playlist playlist, QString streamId, Http *http, CancelToken cancel = {});
QCoro::Task<VodInfo> vodInfo(Playlist playlist, QString vodId, Http *http, CancelToken cancel = {});
QCoro::Task<SeriesInfo> seriesInfo(Playlist playlist, QString seriesId, Http *http, CancelToken cancel = {});

// Pure readers of the provider's answers; they run on worker threads.
XtreamAccount parseAccount(const QByteArray &body);
bool checkListBody(const QByteArray &body);
QList<XCategory> decodeCategories(const QByteArray &body);
// Throws AppError::badData when the body is not JSON; a non-array gives an empty list.
QList<XStream> decodeStreams(QByteArray body);
QList<MediaItem> mediaItems(const QList<XStream> &streams, ContentType type);
// The same items as mediaItems(decodeStreams(body), type), with less memory and time.
QList<MediaItem> decodeMediaItems(QByteArray body, ContentType type);
QList<EpgEntry> parseEpgListings(const QByteArray &body);
std::optional<EpgEntry> epgEntry(const simdjson::dom::object &listing);
QList<EpgEntry> shortGuide(const QByteArray &body, const QDateTime &now);
QList<EpgEntry> guideTable(const QByteArray &body);
VodInfo parseVodInfo(const QByteArray &body);
SeriesInfo parseSeriesInfo(const QByteArray &body);

// At most `limit` UTF-8 bytes of the first usable key's text.
OptText firstText(const simdjson::dom::object *object, std::initializer_list<std::string_view> keys,
    qsizetype limit = TextBounds::kLongText);
OptText decodeText(const OptText &text);
// Seconds since 1970 as a date; nothing when not finite or beyond the year 9999.
std::optional<QDateTime> dateFromSeconds(double seconds);

QString formatDate(const QDateTime &date, const QString &pattern, const QTimeZone &timeZone);
// Throws std::invalid_argument for an invalid pattern.
QRegularExpression regex(const QString &pattern, QRegularExpression::PatternOptions options = {});

} // namespace XtreamClient
