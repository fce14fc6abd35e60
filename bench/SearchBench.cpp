#include "BenchCommands.h"

#include "app/AppState.h"
#include "app/Prefs.h"
#include "home/SearchScreen.h"
#include "sources/AppClock.h"
#include "sources/M3uCollector.h"
#include "sources/SectionBuilder.h"
#include "sources/XtreamClient.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QCoro::Task<SectionPtr> ready(SectionPtr section)
{
    co_return section;
}

// Generated channels, movies and series, built into sections as the catalog builds them.
std::array<SectionPtr, 3> generatedSections(int channels, int movies, int series)
{
    const QString other = QStringLiteral("Uncategorized");
    const std::optional<M3uContent> live = buildM3uContent(generatedLiveM3u(channels), other);
    const auto xtream = [&](int count, ContentType type) {
        return buildSection(
            type, {}, XtreamClient::decodeMediaItems(generatedXtreamStreams(count, type), type), other);
    };
    return { live ? live->live : nullptr, xtream(movies, ContentType::movie),
        xtream(series, ContentType::series) };
}

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

// The search screen over 200k channels, 250k movies and 50k series: every keystroke of a
// common query and of one that matches nothing (all names scanned), worst of a few runs;
// keystroke_worst_ms is the slowest keystroke of both.
int runSearchBench(const QStringList &args)
{
    const int channels = args.value(0, QStringLiteral("200000")).toInt();
    const int movies = args.value(1, QStringLiteral("250000")).toInt();
    const int series = args.value(2, QStringLiteral("50000")).toInt();
    const std::array<SectionPtr, 3> sections = generatedSections(channels, movies, series);
    if (!sections[0] || !sections[1] || !sections[2])
        return 1;

    QTemporaryDir dir;
    const QString portal = QStringLiteral("http://127.0.0.1:9");
    Prefs prefs(dir.filePath(QStringLiteral("defaults.json")), portal);
    DeviceResponse device { .mac = QStringLiteral("00:1a:79:00:00:01") };
    device.playlists = { Playlist { .id = 1, .name = QStringLiteral("Bench") } };
    prefs.saveDeviceCache(device, deviceCacheKey(portal));
    Http http(HttpOptions { .cacheDir = dir.filePath(QStringLiteral("http")) });
    AppState app(&prefs, &http, portal, AppClock::system());
    SearchScreenModel screen(
        &app, [&sections](Playlist, ContentType type) { return ready(sections[size_t(type)]); }, nullptr,
        AppClock::system());

    QEventLoop loop;
    QObject::connect(&screen, &SearchScreenModel::loadingChanged, &loop, &QEventLoop::quit);
    screen.setActive(true);
    if (screen.loading())
        loop.exec();

    double keystrokeWorst = 0;
    double noMatchWorst = 0;
    for (int run = 0; run < 5; ++run) {
        keystrokeWorst = qMax(keystrokeWorst, worstKeystrokeMs(screen, QStringLiteral("title 12")));
        noMatchWorst = qMax(noMatchWorst, worstKeystrokeMs(screen, QStringLiteral("zqxwv jk")));
    }
    const qsizetype items = sections[0]->all.size() + sections[1]->all.size() + sections[2]->all.size();
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
