#include "XtreamProvider.h"

#include <QFile>

namespace {

const QHash<QString, QString> &fixtureOfAction()
{
    static const QHash<QString, QString> table {
        { XtreamProvider::kLogin, QStringLiteral("account.json") },
        { QStringLiteral("get_live_categories"), QStringLiteral("live_categories.json") },
        { QStringLiteral("get_vod_categories"), QStringLiteral("vod_categories.json") },
        { QStringLiteral("get_series_categories"), QStringLiteral("series_categories.json") },
        { QStringLiteral("get_live_streams"), QStringLiteral("live_streams.json") },
        { QStringLiteral("get_vod_streams"), QStringLiteral("vod_streams.json") },
        { QStringLiteral("get_series"), QStringLiteral("series.json") },
        { QStringLiteral("get_short_epg"), QStringLiteral("epg_listings.json") },
        { QStringLiteral("get_simple_data_table"), QStringLiteral("epg_listings.json") },
        { QStringLiteral("get_vod_info"), QStringLiteral("vod_info.json") },
        { QStringLiteral("get_series_info"), QStringLiteral("series_info.json") },
    };
    return table;
}

QString actionOf(const LoopbackRequest &request)
{
    return request.queryValue(QStringLiteral("action"));
}

bool hasCredentials(const LoopbackRequest &request)
{
    return request.queryValue(QStringLiteral("username")) == XtreamProvider::kUser
        && request.queryValue(QStringLiteral("password")) == XtreamProvider::kPassword;
}

const QByteArray kGetPhpText = "#EXTM3U\n"
                               "#EXTINF:-1 tvg-id=\"news1.fr\" group-title=\"News\",News One\n"
                               "http://127.0.0.1/live/demo/pass/101.ts\n";

} // namespace

XtreamProvider::XtreamProvider()
{
    m_server.route(kApiPath, [this](const LoopbackRequest &request) { return api(request); });
    m_server.route(kGetPath, [this](const LoopbackRequest &request) { return getPhp(request); });
}

Playlist XtreamProvider::playlist() const
{
    Playlist playlist;
    playlist.id = 21;
    playlist.name = QStringLiteral("Loopback provider");
    playlist.type = QStringLiteral("xtream");
    playlist.host = m_server.baseUrl() + QStringLiteral("/");
    playlist.username = kUser;
    playlist.password = kPassword;
    return playlist;
}

Playlist XtreamProvider::getPhpPlaylist() const
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("username"), QString::fromLatin1(QUrl::toPercentEncoding(kUser)));
    query.addQueryItem(QStringLiteral("password"), QString::fromLatin1(QUrl::toPercentEncoding(kPassword)));
    query.addQueryItem(QStringLiteral("type"), QStringLiteral("m3u_plus"));
    Playlist playlist;
    playlist.id = 22;
    playlist.name = QStringLiteral("Loopback get.php");
    playlist.url = m_server.url(kGetPath + u'?' + query.toString(QUrl::FullyEncoded));
    return playlist;
}

void XtreamProvider::answer(const QString &action, const LoopbackResponse &response)
{
    m_answers.insert(action, response);
}

void XtreamProvider::answerFixture(const QString &action, const QString &fixtureName)
{
    answer(action, LoopbackResponse::json(fixture(fixtureName)));
}

void XtreamProvider::reset()
{
    m_answers.clear();
}

int XtreamProvider::requestCount(const QString &action) const
{
    const QList<LoopbackRequest> requests = m_server.requests();
    return int(std::count_if(requests.begin(), requests.end(), [&](const LoopbackRequest &request) {
        return request.path == kApiPath && actionOf(request) == action;
    }));
}

QUrlQuery XtreamProvider::lastQuery(const QString &action) const
{
    const QList<LoopbackRequest> requests = m_server.requests();
    for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
        if (it->path == kApiPath && actionOf(*it) == action)
            return it->query;
    }
    return {};
}

QByteArray XtreamProvider::fixture(const QString &name)
{
    QFile file(QStringLiteral(ZELFOR_TEST_DATA "/xtream/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing Xtream-Codes fixture %s", qPrintable(name));
    return file.readAll();
}

LoopbackResponse XtreamProvider::api(const LoopbackRequest &request) const
{
    const QString action = actionOf(request);
    if (const auto it = m_answers.constFind(action); it != m_answers.constEnd())
        return *it;
    if (!hasCredentials(request))
        return LoopbackResponse::json(fixture(QStringLiteral("refused.json")));
    if (const auto it = fixtureOfAction().constFind(action); it != fixtureOfAction().constEnd())
        return LoopbackResponse::json(fixture(*it));
    return LoopbackResponse::withStatus(404, "unknown action");
}

LoopbackResponse XtreamProvider::getPhp(const LoopbackRequest &request) const
{
    if (const auto it = m_answers.constFind(kGetPath); it != m_answers.constEnd())
        return *it;
    if (!hasCredentials(request))
        return LoopbackResponse::withStatus(401, "unauthorized");
    return LoopbackResponse::text(kGetPhpText);
}
