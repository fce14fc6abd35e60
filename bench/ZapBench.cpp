#include "BenchCommands.h"

#include "DemoMedia.h"
#include "DevPortal.h"
#include "playback/PlayerEngine.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QVideoSink>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kDefaultRuns = 3;
constexpr int kZapTimeoutMs = 15000;
// The picture moves once this many frames in a row follow each other closely.
constexpr int kMovingFrames = 8;
constexpr double kMovingGapMs = 120;

// The demo portal on a thread of its own, so that serving never waits for the player.
class PortalThread {
public:
    explicit PortalThread(DemoMedia media)
    {
        m_context.moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(
            &m_context,
            [&] {
            m_portal = new DevPortal(DevPortalOptions { .port = 0, .playlists = 1 }, std::move(media));
            m_base = m_portal->baseUrl();
            },
            Qt::BlockingQueuedConnection);
    }
    ~PortalThread()
    {
        QMetaObject::invokeMethod(
            &m_context, [this] { delete m_portal; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    QString liveUrl(const QString &id, const QString &ext) const
    {
        return m_base + QStringLiteral("/live/demo/demo/") + id + u'.' + ext;
    }

private:
    QThread m_thread;
    QObject m_context;
    DevPortal *m_portal = nullptr;
    QString m_base;
};

class BenchHost final : public PlaybackHost {
public:
    QString userAgent() const override { return QStringLiteral("ZelforBench/1"); }
    PictureMode aspectMode() const override { return PictureMode::fit; }
    void addRecent(const PlayItem &) override { }
    void saveResume(const QString &, double, double) override { }
    QString message(const QString &key) const override { return key; }
};

// When the picture first moved: the first frame after the first picture that starts
// a run of closely following frames.
std::optional<double> movingMs(const std::vector<double> &frames)
{
    for (std::size_t start = 1; start + kMovingFrames <= frames.size(); ++start) {
        bool close = true;
        for (std::size_t i = start + 1; i < start + kMovingFrames && close; ++i)
            close = frames[i] - frames[i - 1] <= kMovingGapMs;
        if (close)
            return frames[start];
    }
    return std::nullopt;
}

struct Zap {
    double firstMs = 0;
    double movingMs = 0;
};

// Plays `item` on the engine and times its frames until the picture moves.
std::optional<Zap> zapTo(PlayerEngine &engine, QVideoSink &sink, const PlayItem &item)
{
    QEventLoop loop;
    QElapsedTimer timer;
    std::vector<double> frames;
    std::optional<double> moving;
    const auto connection = QObject::connect(&sink, &QVideoSink::videoFrameChanged, &loop,
        [&](const QVideoFrame &frame) {
        if (!frame.isValid())
            return;
        frames.push_back(double(timer.nsecsElapsed()) / 1e6);
        if ((moving = movingMs(frames)))
            loop.quit();
    });
    QTimer::singleShot(kZapTimeoutMs, &loop, &QEventLoop::quit);
    timer.start();
    engine.play(item);
    loop.exec();
    QObject::disconnect(connection);
    if (!moving)
        return std::nullopt;
    return Zap { frames.front(), *moving };
}

PlayItem channel(const PortalThread &portal, const QString &id, const QString &ext, bool onVlc)
{
    PlayItem item;
    item.key = QStringLiteral("live:") + id + u'.' + ext;
    item.title = id;
    item.url = portal.liveUrl(id, ext);
    item.live = true;
    // The engine gives libVLC the items whose container is one of its own.
    if (onVlc)
        item.ext = QStringLiteral("mpg");
    return item;
}

// Zaps back and forth between two live channels of the demo provider, on each engine and
// in each format, and prints the best of the runs.
int runZap(const QStringList &args)
{
    const int runs = args.isEmpty() ? kDefaultRuns : std::max(1, args.first().toInt());
    QTemporaryDir folder;
    QString problem;
    DemoMedia media = DemoMedia::prepare(folder.path(), &problem);
    if (!media.hasHls()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    PortalThread portal(std::move(media));
    int failures = 0;
    for (const bool onVlc : { false, true }) {
        QVideoSink sink;
        PlayerEngine engine(PlayerEngine::Backends { std::make_unique<GstPlatformPlayer>(),
            [] { return std::make_unique<LibVlcPlayer>(); }, AppClock::system(),
            std::make_shared<BenchHost>() });
        engine.platformOutput()->addSink(&sink);
        engine.vlcView()->host(&sink, QSizeF(640, 360));
        for (const QString &ext : { QStringLiteral("ts"), QStringLiteral("m3u8") }) {
            std::vector<Zap> zaps;
            zapTo(engine, sink, channel(portal, QStringLiteral("101"), ext, onVlc));
            for (int run = 0; run < runs; ++run) {
                const QString id = run % 2 == 0 ? QStringLiteral("102") : QStringLiteral("101");
                if (const auto zap = zapTo(engine, sink, channel(portal, id, ext, onVlc)))
                    zaps.push_back(*zap);
            }
            const char *engineName = onVlc ? "vlc" : "gst";
            const char *format = ext == u"ts" ? "ts" : "hls";
            if (zaps.size() < std::size_t(runs)) {
                std::printf(
                    "zap engine=%s format=%s still_runs=%d\n", engineName, format, runs - int(zaps.size()));
                ++failures;
                continue;
            }
            const auto best = std::min_element(
                zaps.begin(), zaps.end(), [](const Zap &a, const Zap &b) { return a.movingMs < b.movingMs; });
            std::printf("zap engine=%s format=%s moving_ms=%.0f first_ms=%.0f\n", engineName, format,
                best->movingMs, best->firstMs);
            std::fflush(stdout);
        }
        engine.stop();
    }
    return failures == 0 ? 0 : 1;
}

constexpr BenchCommand kCommands[] = {
    { "zap", "[RUNS]", runZap },
};

} // namespace

std::span<const BenchCommand> zapBenchCommands()
{
    return kCommands;
}
