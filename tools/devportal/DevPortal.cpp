#include "DevPortal.h"

#include "DemoCatalog.h"
#include "DemoImages.h"
#include "model/JsonForms.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QByteArray kMpegUrl = "application/vnd.apple.mpegurl";

LoopbackResponse errorAnswer(int status, const QString &message)
{
    const QJsonObject body { { "error", QJsonObject { { "message", message } } } };
    return LoopbackResponse::json(QJsonDocument(body).toJson(QJsonDocument::Compact), status);
}

bool hasCredentials(const QString &user, const QString &password)
{
    return user == DemoCatalog::kUser && password == DemoCatalog::kPassword;
}

bool hasCredentials(const LoopbackRequest &request)
{
    return hasCredentials(
        request.queryValue(QStringLiteral("username")), request.queryValue(QStringLiteral("password")));
}

std::optional<ContentType> typeOfAction(
    const QString &action, const QString &live, const QString &vod, const QString &series)
{
    if (action == live)
        return ContentType::live;
    if (action == vod)
        return ContentType::movie;
    if (action == series)
        return ContentType::series;
    return std::nullopt;
}

// The Xtream-Codes actions a captured account answers from "<action>.json".
const QStringList kCapturedActions { "get_live_categories", "get_live_streams", "get_vod_categories",
    "get_vod_streams", "get_series_categories", "get_series", "get_vod_info", "get_series_info",
    "get_short_epg", "get_simple_data_table" };

QString extraM3uPath(int index)
{
    return QStringLiteral("/extra/%1.m3u").arg(index);
}

QString capturedAccountPath(int index)
{
    return QStringLiteral("/x/%1").arg(index);
}

QString titleForPicture(const QString &id)
{
    for (ContentType type : kAllContentTypes) {
        if (const auto title = DemoCatalog::find(type, id))
            return title->name;
    }
    return id;
}

} // namespace

DevPortal::DevPortal(DevPortalOptions options, DemoMedia media, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_media(std::move(media))
    , m_server(options.port, this)
{
    m_liveClock.start();
    addRoutes();
}

void DevPortal::addRoutes()
{
    m_server.route(kDevicePath, [this](const LoopbackRequest &request) { return device(request); });
    m_server.route(
        QStringLiteral("/player_api.php"), [this](const LoopbackRequest &request) { return api(request); });
    m_server.route(
        QStringLiteral("/get.php"), [this](const LoopbackRequest &request) { return getPhp(request); });
    m_server.route(kM3uPath, [this](const LoopbackRequest &) {
        return LoopbackResponse { .body = DemoCatalog::m3u(baseUrl()), .contentType = "audio/x-mpegurl" };
    });
    m_server.routePrefix(
        QStringLiteral("/img/"), [this](const LoopbackRequest &request) { return image(request); });
    m_server.routePrefix(
        QStringLiteral("/hls/"), [this](const LoopbackRequest &request) { return segment(request); });
    m_server.route(QStringLiteral("/streaming/timeshift.php"), [this](const LoopbackRequest &request) {
        return hasCredentials(request) ? streamFile(QStringLiteral("timeshift"), QStringLiteral("archive.ts"))
                                       : LoopbackResponse::withStatus(403, "forbidden");
    });
    m_server.routePrefix(QStringLiteral("/catchup/"), [this](const LoopbackRequest &) {
        return streamFile(QStringLiteral("timeshift"), QStringLiteral("archive.ts"));
    });
    for (const char *kind : { "/live/", "/movie/", "/series/", "/timeshift/" })
        m_server.routePrefix(
            QString::fromLatin1(kind), [this](const LoopbackRequest &request) { return stream(request); });
    for (int index = 0; index < m_options.extras.size(); ++index) {
        const ExtraPlaylist &extra = m_options.extras[index];
        if (extra.kind == ExtraPlaylist::Kind::m3uFile) {
            m_server.route(extraM3uPath(index), [file = extra.source](const LoopbackRequest &) {
                QFile playlist(file);
                if (!playlist.open(QIODevice::ReadOnly))
                    return LoopbackResponse::withStatus(404, "the playlist file cannot be read");
                return LoopbackResponse { .body = playlist.readAll(), .contentType = "audio/x-mpegurl" };
            });
        } else if (extra.kind == ExtraPlaylist::Kind::xtreamDir) {
            m_server.route(capturedAccountPath(index) + QStringLiteral("/player_api.php"),
                [folder = extra.source](const LoopbackRequest &request) {
                return capturedAnswer(folder, request);
            });
        }
    }
    m_server.setFallback([](const LoopbackRequest &request) {
        if (request.path == u"/" || request.path == u"/manage")
            return LoopbackResponse::text(
                "Zelfor demo portal: this device's playlists are set by the command line.\n");
        return LoopbackResponse::withStatus(404, "not found");
    });
}

DeviceResponse DevPortal::deviceRecord(const QString &mac) const
{
    const QString base = baseUrl();
    DeviceResponse record;
    record.mac = mac;
    record.device_key = QString::fromLatin1(
        QCryptographicHash::hash(mac.toUtf8(), QCryptographicHash::Sha1).toHex().left(8).toUpper());
    record.site_url = base;
    record.support = Support { QStringLiteral("+212600000000"), QStringLiteral("support@zelfor.example") };
    record.app = AppInfo { QStringLiteral("1.1.6"), std::nullopt, false };
    // Only the demo playlists are generated pictures; the user's own ones are not.
    if (m_options.playlists >= 1)
        record.notice = QStringLiteral(
            "Demo provider: every channel, film and series here is a generated test picture.");
    if (m_options.playlists >= 1) {
        Playlist xtream { .id = 1, .name = QStringLiteral("Demo Xtream"), .type = QStringLiteral("xtream") };
        xtream.host = base;
        xtream.username = DemoCatalog::kUser;
        xtream.password = DemoCatalog::kPassword;
        record.playlists.append(xtream);
    }
    if (m_options.playlists >= 2) {
        Playlist m3u { .id = 2, .name = QStringLiteral("Demo M3U") };
        m3u.url = base + kM3uPath;
        record.playlists.append(m3u);
    }
    for (int index = 0; index < m_options.extras.size(); ++index)
        record.playlists.append(extraPlaylist(index));
    return record;
}

Playlist DevPortal::extraPlaylist(int index) const
{
    const ExtraPlaylist &extra = m_options.extras[index];
    Playlist playlist { .id = kFirstExtraId + index, .name = extra.name };
    switch (extra.kind) {
    case ExtraPlaylist::Kind::m3uFile:
        playlist.url = baseUrl() + extraM3uPath(index);
        break;
    case ExtraPlaylist::Kind::m3uUrl:
        playlist.url = extra.source;
        break;
    case ExtraPlaylist::Kind::xtreamDir:
        playlist.type = QStringLiteral("xtream");
        playlist.host = baseUrl() + capturedAccountPath(index);
        playlist.username = QStringLiteral("captured");
        playlist.password = QStringLiteral("captured");
        break;
    case ExtraPlaylist::Kind::xtreamAccount:
        playlist.type = QStringLiteral("xtream");
        playlist.host = extra.source;
        playlist.username = extra.username;
        playlist.password = extra.password;
        break;
    }
    return playlist;
}

// Any user name and password are let in; the files are served as they are.
LoopbackResponse DevPortal::capturedAnswer(const QString &folder, const LoopbackRequest &request)
{
    const QString action = request.queryValue(QStringLiteral("action"));
    if (!action.isEmpty() && !kCapturedActions.contains(action))
        return LoopbackResponse::json("[]");
    QFile answer(QDir(folder).filePath(
        (action.isEmpty() ? QStringLiteral("auth") : action) + QStringLiteral(".json")));
    if (!answer.open(QIODevice::ReadOnly))
        return LoopbackResponse::json("[]");
    return LoopbackResponse::json(answer.readAll());
}

LoopbackResponse DevPortal::device(const LoopbackRequest &request) const
{
    if (request.method != "POST")
        return errorAnswer(405, QStringLiteral("The device record is asked for with POST."));
    if (m_options.failStatus != 0)
        return errorAnswer(m_options.failStatus,
            QStringLiteral("The demo portal was started with --fail %1.").arg(m_options.failStatus));
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    const QString mac = body.value(QStringLiteral("mac")).toString().trimmed();
    if (mac.isEmpty())
        return errorAnswer(400, QStringLiteral("The device request has no mac."));
    return LoopbackResponse::json(QJsonDocument(toJson(deviceRecord(mac))).toJson(QJsonDocument::Compact));
}

LoopbackResponse DevPortal::api(const LoopbackRequest &request) const
{
    if (!hasCredentials(request))
        return LoopbackResponse::json(DemoCatalog::refusal());
    const QString action = request.queryValue(QStringLiteral("action"));
    const QString base = baseUrl();
    if (action.isEmpty())
        return LoopbackResponse::json(DemoCatalog::account(base, QDateTime::currentDateTimeUtc()));
    if (const auto type
        = typeOfAction(action, "get_live_categories", "get_vod_categories", "get_series_categories"))
        return LoopbackResponse::json(DemoCatalog::categoriesJson(*type));
    if (const auto type = typeOfAction(action, "get_live_streams", "get_vod_streams", "get_series"))
        return LoopbackResponse::json(DemoCatalog::streamsJson(*type, base));
    const QString streamId = request.queryValue(QStringLiteral("stream_id"));
    if (action == u"get_short_epg") {
        const int limit = std::clamp(request.queryValue(QStringLiteral("limit")).toInt(), 1, 20);
        return LoopbackResponse::json(
            DemoCatalog::guideJson(streamId, QDateTime::currentDateTimeUtc(), limit));
    }
    if (action == u"get_simple_data_table")
        return LoopbackResponse::json(DemoCatalog::guideJson(streamId, QDateTime::currentDateTimeUtc(), 0));
    if (action == u"get_vod_info")
        return LoopbackResponse::json(
            DemoCatalog::vodInfoJson(request.queryValue(QStringLiteral("vod_id")), base));
    if (action == u"get_series_info")
        return LoopbackResponse::json(
            DemoCatalog::seriesInfoJson(request.queryValue(QStringLiteral("series_id")), base));
    return LoopbackResponse::json("[]");
}

LoopbackResponse DevPortal::getPhp(const LoopbackRequest &request) const
{
    if (!hasCredentials(request))
        return LoopbackResponse::withStatus(401, "unauthorized");
    return LoopbackResponse { .body = DemoCatalog::m3u(baseUrl()), .contentType = "audio/x-mpegurl" };
}

LoopbackResponse DevPortal::image(const LoopbackRequest &request)
{
    static const QHash<QString, DemoImages::Kind> kinds { { "logo", DemoImages::Kind::logo },
        { "poster", DemoImages::Kind::poster }, { "backdrop", DemoImages::Kind::backdrop } };
    const QStringList pieces = request.path.split(u'/', Qt::SkipEmptyParts);
    if (pieces.size() != 3 || !kinds.contains(pieces[1]) || !pieces[2].endsWith(QStringLiteral(".png")))
        return LoopbackResponse::withStatus(404, "not found");
    auto cached = m_images.find(request.path);
    if (cached == m_images.end())
        cached = m_images.insert(
            request.path, DemoImages::png(kinds[pieces[1]], titleForPicture(pieces[2].chopped(4))));
    return LoopbackResponse { .body = *cached, .contentType = "image/png" };
}

// "/<kind>/<user>/<password>/<id>.<ext>", or "/timeshift/<user>/<password>/<minutes>/<start>/<id>.ts".
LoopbackResponse DevPortal::stream(const LoopbackRequest &request) const
{
    const QStringList pieces = request.path.split(u'/', Qt::SkipEmptyParts);
    const bool timeshift = pieces.value(0) == u"timeshift";
    if (pieces.size() != (timeshift ? 6 : 4))
        return LoopbackResponse::withStatus(404, "not found");
    if (!hasCredentials(pieces[1], pieces[2]))
        return LoopbackResponse::withStatus(403, "forbidden");
    return streamFile(pieces[0], pieces.last());
}

LoopbackResponse DevPortal::streamFile(const QString &kind, const QString &file) const
{
    const qsizetype dot = file.lastIndexOf(u'.');
    const QString id = dot < 0 ? file : file.left(dot);
    const QString ext = dot < 0 ? QString() : file.mid(dot + 1).toLower();
    if ((kind == u"live" && !DemoCatalog::find(ContentType::live, id))
        || (kind == u"movie" && !DemoCatalog::find(ContentType::movie, id)))
        return LoopbackResponse::withStatus(404, "no such stream");
    if (m_media.mp4.isEmpty() || m_media.ts.isEmpty())
        return LoopbackResponse::withStatus(503, "demo media not ready");
    if (kind == u"live" && ext == u"m3u8" && m_media.hasHls())
        return LoopbackResponse { .body
            = liveHlsPlaylist(m_media.segmentSecs, m_liveClock.elapsed(), baseUrl() + "/hls/"),
            .contentType = kMpegUrl };
    if (kind == u"live" || kind == u"timeshift")
        return LoopbackResponse::file(m_media.ts, "video/mp2t");
    return LoopbackResponse::file(m_media.mp4, "video/mp4");
}

LoopbackResponse DevPortal::segment(const LoopbackRequest &request) const
{
    const QString name = request.path.section(u'/', -1);
    bool ok = false;
    const qint64 sequence = name.chopped(name.endsWith(QStringLiteral(".ts")) ? 3 : 0).toLongLong(&ok);
    if (!ok || sequence < 0 || !name.endsWith(QStringLiteral(".ts")) || !m_media.hasHls())
        return LoopbackResponse::withStatus(404, "not found");
    return LoopbackResponse::file(m_media.segments[int(sequence % m_media.segments.size())], "video/mp2t");
}
