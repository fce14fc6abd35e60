// The program's side of `zelfor-bench ui`: started by that command in a process of its own
// (new settings and cache folders, the portal's address in ZELFOR_SERVER), it reports times
// on stdout as "name=value" lines.
#include "BenchCommands.h"
#include "UiApp.h"

#include "app/Defaults.h"
#include "app/Prefs.h"
#include "home/SearchScreenModel.h"
#include "kit/ContentListModel.h"
#include "live/LiveScreenModel.h"
#include "playback/PlayerEngine.h"
#include "sources/DeviceIdentity.h"
#include "shell/AppStart.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>
#include <QtQml/qqmlextensionplugin.h>

#include <sys/resource.h>

#include <algorithm>

Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

constexpr int kLoadTimeoutMs = 180000;
constexpr int kIdleSettleMs = 2000;
constexpr int kIdleMeasureMs = 5000;
// A screen is at rest once no frame has come for this long.
constexpr int kQuietMs = 300;
constexpr int kSettleTimeoutMs = 3000;
// A picture moves once new frames have come for this long, none more than the gap apart.
constexpr qint64 kMovingForNs = 300'000'000;
constexpr qint64 kMovingGapNs = 120'000'000;
constexpr int kZaps = 3;

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Share of one core the process uses on home while nothing happens, and the frames it
// draws meanwhile.
void reportIdle(UiApp &app)
{
    runFor(kIdleSettleMs);
    const double cpu = cpuSeconds();
    const qint64 start = monotonicNs();
    runFor(kIdleMeasureMs);
    const qint64 end = monotonicNs();
    report("idle_cpu_pct", 100 * (cpuSeconds() - cpu) / (double(end - start) / 1e9));
    report("idle_frames_per_s", app.frames().framesBetween(start, end) / (double(end - start) / 1e9));
}

// Keeps in `lastChange` the moment `model` last announced a change of its rows, so that a
// step is timed to the frame after the change itself rather than after a later poll that
// may come when that frame has already begun.
void watchChanges(QAbstractItemModel *model, QObject *watch, qint64 &lastChange)
{
    const auto changed = [&lastChange] { lastChange = monotonicNs(); };
    QObject::connect(model, &QAbstractItemModel::modelReset, watch, changed);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, watch, changed);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, watch, changed);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, watch, changed);
    QObject::connect(model, &QAbstractItemModel::dataChanged, watch, changed);
}

// Each character typed into the live screen's filter once the screen has come to rest,
// timed to the frame that shows the filtered list; the worst one.
std::optional<double> filterKeys(UiApp &app, const QString &text)
{
    LiveScreenModel *live = activeScreen<LiveScreenModel>(app.window());
    QQuickItem *field = live ? itemNamed(app.window()->contentItem(), QStringLiteral("filterField"))
                             : nullptr;
    if (!field)
        return std::nullopt;
    app.click(field);
    if (!waitUntil([field] { return field->property("editing").toBool(); }, 5000))
        return std::nullopt;
    // The screen's opening animations end first, as before a user's first key; a screen
    // that keeps drawing (a picture playing) is typed into as it is.
    app.frames().waitForQuiet(kQuietMs, kSettleTimeoutMs);
    qint64 lastChange = 0;
    QObject watch;
    watchChanges(live->channels(), &watch, lastChange);
    QObject::connect(
        live, &LiveScreenModel::stateChanged, &watch, [&lastChange] { lastChange = monotonicNs(); });
    double worst = 0;
    for (qsizetype typed = 1; typed <= text.size(); ++typed) {
        const QString filter = text.left(typed);
        const qint64 start = monotonicNs();
        app.type(text.at(typed - 1));
        if (!waitUntil([&] { return live->filter() == filter; }))
            return std::nullopt;
        const std::optional<qint64> frame = app.frames().frameAfter(std::max(start, lastChange));
        if (!frame)
            return std::nullopt;
        worst = std::max(worst, elapsedMs(start, *frame));
    }
    return worst;
}

// Each character typed into search, timed to the frame that shows its results once they
// have stopped changing (no change to any result row for 300 ms); the worst one.
std::optional<double> searchKeys(UiApp &app, const QString &text)
{
    SearchScreenModel *search = activeScreen<SearchScreenModel>(app.window());
    if (!search)
        return std::nullopt;
    qint64 lastChange = 0;
    QObject watch;
    for (ContentType type : kAllContentTypes)
        watchChanges(search->results(int(type)), &watch, lastChange);
    double worst = 0;
    for (qsizetype typed = 1; typed <= text.size(); ++typed) {
        const QString query = text.left(typed);
        const qint64 start = monotonicNs();
        app.type(text.at(typed - 1));
        const bool settled = waitUntil([&] {
            const qint64 now = monotonicNs();
            return search->query() == query && !search->loading()
                && now - std::max(start, lastChange) > 300'000'000;
        });
        const std::optional<qint64> frame = settled ? app.frames().frameAfter(std::max(start, lastChange))
                                                    : std::nullopt;
        if (!frame)
            return std::nullopt;
        worst = std::max(worst, elapsedMs(start, *frame));
    }
    return worst;
}

long peakRssMbNow()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Enter on home's Exit once the event loop runs; the caller times the rest until the
// process ends.
int quitFromHome(UiApp &app)
{
    if (!app.focusHomeTile(QStringLiteral("exit")))
        return 1;
    QTimer::singleShot(0, app.window(), [&app] {
        reportAt("quit_at", monotonicNs());
        app.press(Qt::Key_Return);
    });
    endProcess(qGuiApp->exec(), app.services());
}

bool startApp(UiApp &app)
{
    if (!app.loaded())
        return false;
    app.frames().onSwap([&app](qint64 at) {
        reportAt("frame_at", at);
        app.frames().onSwap({});
    });
    if (!app.homeCounted(kLoadTimeoutMs))
        return false;
    // Keys go to the active window, as a user's do; shortcuts need it.
    app.window()->requestActivate();
    return waitUntil([&app] { return app.window()->isActive(); }, 5000);
}

int runUiApp(const QStringList &args)
{
    QCommandLineParser parser;
    parser.addOptions({ { "filter", "", "text" }, { "search", "", "text" } });
    parser.parse(QStringList { "ui-app" } + args);
    UiApp app;
    if (!startApp(app))
        return 1;
    const std::optional<qint64> homeFrame = app.frames().frameAfter(monotonicNs());
    if (!homeFrame)
        return 1;
    reportAt("home_at", *homeFrame);
    reportIdle(app);
    const std::optional<double> live = app.openLive();
    if (!live)
        return 1;
    report("live_open_ms", *live);
    const std::optional<double> filter = filterKeys(app, parser.value("filter"));
    if (!filter)
        return 1;
    report("filter_key_worst_ms", *filter);
    report("peak_rss_mb", double(peakRssMbNow()));
    if (!app.backHome() || !app.openSearch())
        return 1;
    const std::optional<double> search = searchKeys(app, parser.value("search"));
    if (!search)
        return 1;
    report("search_settled_worst_ms", *search);
    if (!app.backHome())
        return 1;
    runFor(1000);
    return quitFromHome(app);
}

// The pictures the shown screen shows now.
QList<QVideoSink *> shownSinks(QQuickWindow *window)
{
    QList<QVideoSink *> sinks;
    for (QQuickItem *item : itemsBelow(window->contentItem())) {
        const bool picture = item->objectName() == u"platformPicture" || item->objectName() == u"vlcPicture";
        if (picture && item->isVisible())
            sinks.append(item->property("videoSink").value<QVideoSink *>());
    }
    sinks.removeAll(nullptr);
    return sinks;
}

// The time from `start` to the first new frame of another item than `left` after which
// frames keep coming.
std::optional<double> movingAfter(UiApp &app, qint64 start, const QString &left)
{
    std::vector<qint64> arrivals;
    QObject watch;
    const PlayerEngine *engine = app.services().engine();
    // A screen just opened may not have made its picture yet.
    QList<QVideoSink *> sinks;
    waitUntil([&] { return !(sinks = shownSinks(app.window())).isEmpty(); }, 5000);
    for (QVideoSink *sink : sinks) {
        QObject::connect(sink, &QVideoSink::videoFrameChanged, &watch, [&, engine](const QVideoFrame &frame) {
            if (frame.isValid() && engine->itemKey() != left)
                arrivals.push_back(monotonicNs());
        });
    }
    std::optional<qint64> moving;
    waitUntil(
        [&] {
        for (std::size_t first = 0; first < arrivals.size(); ++first) {
            std::size_t last = first;
            while (last + 1 < arrivals.size() && arrivals[last + 1] - arrivals[last] <= kMovingGapNs)
                ++last;
            if (arrivals[last] - arrivals[first] >= kMovingForNs) {
                moving = arrivals[first];
                return true;
            }
            first = last;
        }
        return false;
        },
        20000);
    if (!moving)
        return std::nullopt;
    return elapsedMs(start, *moving);
}

// Plays the first channel full screen, then zaps down the list; the worst zap.
// Arguments: the format's name and the id of the playlist to play.
int runUiZap(const QStringList &args)
{
    // Picked as on an earlier run.
    Prefs(Defaults::standardFilePath(), portalBaseAddress())
        .setSelectedPlaylistId(args.value(1).toLongLong());
    UiApp app;
    if (!startApp(app) || !app.openLive())
        return 1;
    app.press(Qt::Key_Down);
    app.press(Qt::Key_Return);
    app.press(Qt::Key_Return);
    if (!waitUntil([&app] { return app.route() == u"player"; }, 5000)
        || !movingAfter(app, monotonicNs(), QString()))
        return 1;
    double worst = 0;
    for (int zap = 0; zap < kZaps; ++zap) {
        const QString left = app.services().engine()->itemKey();
        const qint64 start = monotonicNs();
        app.press(Qt::Key_Down);
        const std::optional<double> moving = movingAfter(app, start, left);
        if (!moving)
            return 1;
        worst = std::max(worst, *moving);
    }
    std::printf("zap engine=%s format=%s moving_ms=%.0f\n",
        app.services().engine()->usesVLC() ? "vlc" : "gst", qPrintable(args.value(0)), worst);
    std::fflush(stdout);
    if (!app.backHome())
        return 1;
    return quitFromHome(app);
}

constexpr BenchCommand kCommands[] = {
    { "ui-app", "(started by ui)", runUiApp },
    { "ui-zap", "(started by ui)", runUiZap },
};

} // namespace

std::span<const BenchCommand> uiAppBenchCommands()
{
    return kCommands;
}
