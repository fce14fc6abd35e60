#include "XtreamClient.h"

#include "AppClock.h"
#include "OffThread.h"

namespace {

using std::chrono::seconds;

QString idParameter(const char *name, const QString &id)
{
    return QStringLiteral("&%1=").arg(QLatin1StringView(name)) + XtreamClient::percentEncode(id);
}

QCoro::Task<QByteArray> fetch(Http &http, const Playlist &playlist, const QString &action,
    const QString &extra, int timeoutSeconds, CancelToken cancel)
{
    co_return co_await http.get(
        XtreamClient::apiURL(playlist, action, extra), seconds(timeoutSeconds), cancel);
}

// A list through the disk cache, read by `decode` on a worker thread; a body that is no
// list gives an empty one.
template <typename Decode>
QCoro::Task<std::invoke_result_t<Decode, QByteArray>> fetchList(
    Http &http, const Playlist &playlist, const QString &action, bool force, Decode decode)
{
    using List = std::invoke_result_t<Decode, QByteArray>;
    co_return co_await http.cachedGetDecoded(XtreamClient::apiURL(playlist, action, QString()),
        seconds(XtreamClient::kListTtl), force, [decode](QByteArray body) -> QCoro::Task<List> {
            if (!XtreamClient::checkListBody(body))
                co_return List();
            co_return co_await offThread(
                [decode, body = std::move(body)]() mutable { return decode(std::move(body)); });
        });
}

} // namespace

namespace XtreamClient {

QCoro::Task<XtreamAccount> login(Playlist playlist, Http *http)
{
    const QByteArray body
        = co_await http->get(apiURL(playlist, std::nullopt, QString()), seconds(kLoginTimeout));
    co_return co_await offThread([body] { return parseAccount(body); });
}

QCoro::Task<QList<XCategory>> categories(Playlist playlist, QString action, bool force, Http *http)
{
    co_return co_await fetchList(
        *http, playlist, action, force, [](QByteArray body) { return decodeCategories(body); });
}

QCoro::Task<QList<XStream>> streams(Playlist playlist, QString action, bool force, Http *http)
{
    co_return co_await fetchList(
        *http, playlist, action, force, [](QByteArray body) { return decodeStreams(std::move(body)); });
}

QCoro::Task<QList<MediaItem>> streamItems(
    Playlist playlist, QString action, ContentType type, bool force, Http *http)
{
    co_return co_await fetchList(*http, playlist, action, force,
        [type](QByteArray body) { return decodeMediaItems(std::move(body), type); });
}

QCoro::Task<QList<EpgEntry>> shortEpg(Playlist playlist, QString streamId, Http *http, CancelToken cancel)
{
    const QByteArray body = co_await fetch(*http, playlist, QStringLiteral("get_short_epg"),
        idParameter("stream_id", streamId) + QStringLiteral("&limit=6"), kShortEpgTimeout, cancel);
    const QDateTime now = http->clock()->now();
    co_return co_await offThread([body, now] { return shortGuide(body, now); });
}

QCoro::Task<QList<EpgEntry>> epgTable(Playlist playlist, QString streamId, Http *http, CancelToken cancel)
{
    const QByteArray body = co_await fetch(*http, playlist, QStringLiteral("get_simple_data_table"),
        idParameter("stream_id", streamId), kDetailsTimeout, cancel);
    co_return co_await offThread([body] { return guideTable(body); });
}

QCoro::Task<VodInfo> vodInfo(Playlist playlist, QString vodId, Http *http, CancelToken cancel)
{
    const QByteArray body = co_await fetch(*http, playlist, QStringLiteral("get_vod_info"),
        idParameter("vod_id", vodId), kDetailsTimeout, cancel);
    co_return co_await offThread([body] { return parseVodInfo(body); });
}

QCoro::Task<SeriesInfo> seriesInfo(Playlist playlist, QString seriesId, Http *http, CancelToken cancel)
{
    const QByteArray body = co_await fetch(*http, playlist, QStringLiteral("get_series_info"),
        idParameter("series_id", seriesId), kDetailsTimeout, cancel);
    co_return co_await offThread([body] { return parseSeriesInfo(body); });
}

} // namespace XtreamClient
