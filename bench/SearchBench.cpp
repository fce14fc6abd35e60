#include "BenchCommands.h"

#include "app/AppState.h"
#include "app/Prefs.h"
#include "home/SearchScreenModel.h"
#include "sources/AppClock.h"
#include "LoopbackServer.h"
#include "sources/Catalog.h"
#include "sources/DeviceIdentity.h"
#include "sources/Http.h"

#include <QBuffer>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <atomic>
#include <cstdio>
#include <memory>

Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)

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

// One small poster, as every generated picture address answers it.
QByteArray posterPng()
{
    QImage poster(120, 180, QImage::Format_RGB32);
    poster.fill(QColor(60, 40, 120));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    poster.save(&buffer, "PNG");
    return png;
}

// A provider on 127.0.0.1 answering the three lists with generated channels, movies and
// series, and every picture with one poster; the login is accepted and every category
// list is empty.
class GeneratedProvider {
public:
    GeneratedProvider(int channels, int movies, int series)
        : m_lists { { QStringLiteral("get_live_streams"), generatedLiveStreams(channels) },
            { QStringLiteral("get_vod_streams"),
                onLoopback(generatedXtreamStreams(movies, ContentType::movie)) },
            { QStringLiteral("get_series"),
                onLoopback(generatedXtreamStreams(series, ContentType::series)) } }
    {
        const LoopbackResponse poster = LoopbackResponse::file(posterPng(), "image/png");
        m_server.routePrefix(QStringLiteral("/t/p/"), [poster](const LoopbackRequest &) { return poster; });
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
    // The generated picture addresses, moved to this server.
    QByteArray onLoopback(QByteArray list) const
    {
        return list.replace(
            "https:\\/\\/image.tmdb.org", QByteArray(m_server.baseUrl().toUtf8()).replace("/", "\\/"));
    }

    LoopbackServer m_server;
    QHash<QString, QByteArray> m_lists;
};

// The search screen of a temporary profile over the generated provider's playlist.
struct LoadedSearch {
    explicit LoadedSearch(const GeneratedProvider &provider)
    {
        DeviceResponse device { .mac = QStringLiteral("00:1a:79:00:00:01") };
        device.playlists = { provider.playlist() };
        prefs.saveDeviceCache(device, deviceCacheKey(portal));
        app = std::make_unique<AppState>(&prefs, &http, portal, AppClock::system());
        app->replace(Routes::Search {});
        screen = std::make_unique<SearchScreenModel>(
            ScreenDeps { .app = app.get(), .catalog = &catalog, .clock = AppClock::system() },
            app->stack().last());
    }

    // Shows the screen and waits for every section.
    void show()
    {
        QEventLoop loop;
        QObject::connect(screen.get(), &SearchScreenModel::loadingChanged, &loop, &QEventLoop::quit);
        // As its layer does once the view is up.
        screen->layerChanged(true, true);
        if (screen->loading())
            loop.exec();
    }

    qsizetype items() const
    {
        qsizetype count = 0;
        for (ContentType type : kAllContentTypes)
            count += screen->results(int(type))->items()->size();
        return count;
    }

    QTemporaryDir dir;
    const QString portal = QStringLiteral("http://127.0.0.1:9");
    Prefs prefs { dir.filePath(QStringLiteral("defaults.json")), portal };
    Http http { HttpOptions { .cacheDir = dir.filePath(QStringLiteral("http")) } };
    Catalog catalog { &http, AppClock::system(), [] { return QStringLiteral("Uncategorized"); } };
    std::unique_ptr<AppState> app;
    std::unique_ptr<SearchScreenModel> screen;
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
    LoadedSearch loaded(provider);
    loaded.show();
    SearchScreenModel &screen = *loaded.screen;
    const qsizetype items = loaded.items();
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

// The frames a window shows after a mark, timed on a monotonic clock from the render thread.
class FrameLog {
public:
    explicit FrameLog(QQuickWindow &window)
    {
        m_clock.start();
        QObject::connect(
            &window, &QQuickWindow::frameSwapped, &window,
            [this] {
            const qint64 at = m_clock.nsecsElapsed();
            qint64 none = 0;
            m_first.compare_exchange_strong(none, at);
            m_last.store(at);
            },
            Qt::DirectConnection);
    }

    // Starts a new count; the time of the mark.
    qint64 mark()
    {
        m_first.store(0);
        m_last.store(0);
        return m_clock.nsecsElapsed();
    }
    qint64 now() const { return m_clock.nsecsElapsed(); }
    // When the first and the last frame since the mark were shown; 0 before any.
    qint64 first() const { return m_first.load(); }
    qint64 last() const { return m_last.load(); }

private:
    QElapsedTimer m_clock;
    std::atomic<qint64> m_first { 0 };
    std::atomic<qint64> m_last { 0 };
};

// From a key to the first frame after it, and to the last frame before the window stood
// still for kQuietMs (pictures that arrived and faded in included); -1 without a frame.
struct KeyTiming {
    double firstMs = -1;
    double settledMs = -1;
};

constexpr qint64 kQuietMs = 400;
constexpr qint64 kSettleTimeoutMs = 10000;
constexpr qint64 kNsPerMs = 1000000;

void processFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Sends one key press and release to the window and follows its frames until it settles.
KeyTiming timeKey(QQuickWindow &window, FrameLog &frames, int key, const QString &text)
{
    const qint64 start = frames.mark();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QGuiApplication::sendEvent(&window, &press);
    QGuiApplication::sendEvent(&window, &release);
    const auto quiet
        = [&] { return frames.last() > 0 && frames.now() - frames.last() > kQuietMs * kNsPerMs; };
    while (!quiet() && frames.now() - start < kSettleTimeoutMs * kNsPerMs)
        processFor(5);
    if (frames.first() == 0)
        return {};
    return { double(frames.first() - start) / kNsPerMs, double(frames.last() - start) / kNsPerMs };
}

// The real search screen over 250k channels, 250k movies and 50k series in a window: each
// character of a few queries typed into the field, timed from the key to the first frame
// that changed and to the last one before the view stood still; worst over the keys.
int runSearchViewBench(const QStringList &args)
{
    const GeneratedProvider provider(args.value(0, QStringLiteral("250000")).toInt(),
        args.value(1, QStringLiteral("250000")).toInt(), args.value(2, QStringLiteral("50000")).toInt());
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    LoadedSearch loaded(provider);
    SearchScreenModel &screen = *loaded.screen;
    // A blinking cursor would keep the view from ever standing still.
    QGuiApplication::styleHints()->setCursorFlashTime(0);

    QQuickWindow window;
    window.resize(1360, 840);
    window.setColor(Qt::black);
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/Zelfor/Home/SearchScreen.qml")));
    std::unique_ptr<QObject> view(
        component.createWithInitialProperties({ { "screen", QVariant::fromValue(&screen) } }));
    auto *item = qobject_cast<QQuickItem *>(view.get());
    if (!item) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    item->setParentItem(window.contentItem());
    item->setSize(window.size());
    FrameLog frames(window);
    window.show();
    loaded.show();
    // The pointer rests below the window, so no card under it springs up as it appears.
    QCursor::setPos(window.screen(), QPoint(10, window.height() + 100));
    while (!screen.fieldFocused())
        processFor(10);
    processFor(int(kQuietMs));

    double firstWorst = 0;
    double settledWorst = 0;
    int keys = 0;
    for (const QString &query :
        { QStringLiteral("12345"), QStringLiteral("title 9"), QStringLiteral("hd 7") }) {
        for (const QChar character : query) {
            const KeyTiming timing = timeKey(window, frames, 0, QString(character));
            firstWorst = qMax(firstWorst, timing.firstMs);
            settledWorst = qMax(settledWorst, timing.settledMs);
            ++keys;
        }
        for (qsizetype erased = 0; erased < query.size(); ++erased) {
            const KeyTiming timing = timeKey(window, frames, Qt::Key_Backspace, QString());
            firstWorst = qMax(firstWorst, timing.firstMs);
            settledWorst = qMax(settledWorst, timing.settledMs);
            ++keys;
        }
    }
    std::printf("search-view items=%lld keys=%d first_worst_ms=%.1f settled_worst_ms=%.1f peak_rss_mb=%ld\n",
        qlonglong(loaded.items()), keys, firstWorst, settledWorst, peakRssMb());
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "search", "[CHANNELS MOVIES SERIES]", runSearchBench },
    { "search-view", "[CHANNELS MOVIES SERIES]", runSearchViewBench },
};

} // namespace

std::span<const BenchCommand> searchBenchCommands()
{
    return kCommands;
}
