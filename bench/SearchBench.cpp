#include "BenchCommands.h"

#include "app/AppState.h"
#include "app/Prefs.h"
#include "home/SearchScreenModel.h"
#include "sources/AppClock.h"
#include "LoopbackServer.h"
#include "sources/Catalog.h"
#include "sources/DeviceIdentity.h"
#include "sources/Http.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Generated channels in the provider's get_live_streams form, named as the M3U benches name them.
QByteArray generatedLiveStreams(int count)
{
    QByteArray out = "[";
    out.reserve(qsizetype(count) * 120);
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ',';
        const QByteArray id = QByteArray::number(i + 1);
        out += "{\"num\":" + id + ",\"name\":\"" + generatedChannelName(i) + "\",\"stream_type\":\"live\"";
        out += ",\"stream_id\":" + id + ",\"category_id\":\"" + QByteArray::number(i / 400 % 60) + "\"}";
    }
    out += "]";
    return out;
}

// A provider on 127.0.0.1 answering the three lists with generated channels, movies and
// series; the login is accepted and every category list is empty.
class GeneratedProvider {
public:
    GeneratedProvider(int channels, int movies, int series)
        : m_lists { { QStringLiteral("get_live_streams"), generatedLiveStreams(channels) },
            { QStringLiteral("get_vod_streams"), generatedXtreamStreams(movies, ContentType::movie) },
            { QStringLiteral("get_series"), generatedXtreamStreams(series, ContentType::series) } }
    {
        m_server.route(QStringLiteral("/player_api.php"), [this](const LoopbackRequest &request) {
            const QString action = request.queryValue(QStringLiteral("action"));
            if (action.isEmpty())
                return LoopbackResponse::json(R"({"user_info":{"auth":1,"status":"Active"}})");
            return LoopbackResponse::json(m_lists.value(action, "[]"));
        });
    }

    Playlist playlist() const
    {
        return { .id = 1,
            .name = QStringLiteral("Bench"),
            .type = QStringLiteral("xtream"),
            .host = m_server.baseUrl() + QStringLiteral("/"),
            .username = QStringLiteral("bench"),
            .password = QStringLiteral("bench") };
    }

private:
    QHash<QString, QByteArray> m_lists;
    LoopbackServer m_server;
};

// Types `query` one character at a time from an empty field; the slowest keystroke in ms.
double worstKeystrokeMs(SearchScreenModel &screen, const QString &query)
{
    double worst = 0;
    screen.clearQuery();
    for (qsizetype typed = 1; typed <= query.size(); ++typed) {
        QElapsedTimer timer;
        timer.start();
        screen.setQuery(query.left(typed));
        worst = qMax(worst, double(timer.nsecsElapsed()) / 1e6);
    }
    return worst;
}

// The search screen over 200k channels, 250k movies and 50k series, loaded through the
// catalog from a loopback provider: every keystroke of a common query and of one that
// matches nothing (all names scanned), worst of a few runs; keystroke_worst_ms is the
// slowest keystroke of both.
int runSearchBench(const QStringList &args)
{
    const int channels = args.value(0, QStringLiteral("200000")).toInt();
    const int movies = args.value(1, QStringLiteral("250000")).toInt();
    const int series = args.value(2, QStringLiteral("50000")).toInt();
    const GeneratedProvider provider(channels, movies, series);

    QTemporaryDir dir;
    const QString portal = QStringLiteral("http://127.0.0.1:9");
    Prefs prefs(dir.filePath(QStringLiteral("defaults.json")), portal);
    DeviceResponse device { .mac = QStringLiteral("00:1a:79:00:00:01") };
    device.playlists = { provider.playlist() };
    prefs.saveDeviceCache(device, deviceCacheKey(portal));
    Http http(HttpOptions { .cacheDir = dir.filePath(QStringLiteral("http")) });
    Catalog catalog(&http, AppClock::system(), [] { return QStringLiteral("Uncategorized"); });
    AppState app(&prefs, &http, portal, AppClock::system());
    SearchScreenModel screen({ .app = &app, .catalog = &catalog, .clock = AppClock::system() },
        RouteEntry::fresh(Routes::Search {}));

    QEventLoop loop;
    QObject::connect(&screen, &SearchScreenModel::loadingChanged, &loop, &QEventLoop::quit);
    screen.setActive(true);
    if (screen.loading())
        loop.exec();

    qsizetype items = 0;
    for (ContentType type : kAllContentTypes)
        items += screen.results(int(type))->items()->size();
    if (items == 0)
        return 1;

    double keystrokeWorst = 0;
    double noMatchWorst = 0;
    for (int run = 0; run < 5; ++run) {
        keystrokeWorst = qMax(keystrokeWorst, worstKeystrokeMs(screen, QStringLiteral("title 12")));
        noMatchWorst = qMax(noMatchWorst, worstKeystrokeMs(screen, QStringLiteral("zqxwv jk")));
    }
    std::printf("search items=%lld keystroke_worst_ms=%.2f nomatch_worst_ms=%.2f peak_rss_mb=%ld\n",
        qlonglong(items), qMax(keystrokeWorst, noMatchWorst), noMatchWorst, peakRssMb());
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "search", "[CHANNELS MOVIES SERIES]", runSearchBench },
};

} // namespace

std::span<const BenchCommand> searchBenchCommands()
{
    return kCommands;
}
