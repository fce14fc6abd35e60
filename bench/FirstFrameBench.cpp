#include "BenchCommands.h"

#include "MediaServer.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"
#include "playback/engines/VideoOutput.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoSink>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kFrameTimeoutMs = 15000;
// The forward buffer the engine asks of the platform player for a film and for live TV.
constexpr double kFilmBufferSecs = 10;
constexpr double kLiveBufferSecs = 4;

struct Clip {
    const char *format;
    const char *path;
    double bufferSecs;
};

constexpr Clip kClips[] = {
    { "mp4", "/clip.mp4", kFilmBufferSecs },
    { "ts", "/clip.ts", kFilmBufferSecs },
    { "hls", "/hls/index.m3u8", kLiveBufferSecs },
};

// A 10 s 160x120 clip at 25 fps with tone audio, as MP4, MPEG-TS and HLS in 2 s segments,
// made with ffmpeg and served on loopback.
class ServedClips {
public:
    ServedClips()
    {
        const QStringList input = { "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=10", "-f",
            "lavfi", "-i", "sine=frequency=440:duration=10", "-c:v", "libx264", "-preset", "ultrafast",
            "-pix_fmt", "yuv420p", "-g", "25", "-c:a", "aac" };
        const QString hls = m_dir.filePath("hls");
        QDir().mkpath(hls);
        ok = make(input + QStringList { "-movflags", "+faststart", m_dir.filePath("clip.mp4") })
            && make(input + QStringList { "-f", "mpegts", m_dir.filePath("clip.ts") })
            && make(input
                + QStringList { "-f", "hls", "-hls_time", "2", "-hls_playlist_type", "vod",
                    "-hls_segment_filename", hls + "/part%d.ts", hls + "/index.m3u8" });
        if (!ok)
            return;
        serve("clip.mp4", "video/mp4");
        serve("clip.ts", "video/mp2t");
        for (const QString &name : QDir(hls).entryList(QDir::Files))
            serve("hls/" + name, name.endsWith(".m3u8") ? "application/vnd.apple.mpegurl" : "video/mp2t");
    }

    MediaServer server;
    bool ok = false;

private:
    bool make(const QStringList &args)
    {
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", QStringList { "-y", "-loglevel", "error" } + args);
        if (ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0)
            return true;
        std::fprintf(stderr, "ffmpeg failed: %s\n", ffmpeg.readAllStandardError().constData());
        return false;
    }

    void serve(const QString &name, const QByteArray &type)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::ReadOnly);
        server.addFile('/' + name, file.readAll(), type);
    }

    QTemporaryDir m_dir;
};

enum class Engine { gst, vlc };

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// One start of a clip: play() to the first frame in a sink, and the stop call after it, timed
// apart. libVLC shows its first picture at once but holds the next one to its time on the
// stream's clock (in MPEG-TS up to the lead of the timestamps over the clock, 0.7 s in
// ffmpeg's files), and its player's stop waits for that picture: that wait is left to the
// background, so the player's destruction is not timed.
struct Run {
    double firstFrameMs = 0;
    double stopMs = 0;
};

// Nothing when no frame came in time.
std::optional<Run> measureRun(Engine engine, const QUrl &url, double bufferSecs)
{
    QVideoSink sink;
    VideoOutput output;
    output.addSink(&sink);
    QEventLoop loop;
    QElapsedTimer timer;
    std::optional<double> firstFrameMs;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &loop, [&](const QVideoFrame &frame) {
        if (frame.isValid() && !firstFrameMs) {
            firstFrameMs = elapsedMs(timer);
            loop.quit();
        }
    });
    QTimer::singleShot(kFrameTimeoutMs, &loop, &QEventLoop::quit);
    QElapsedTimer stopTimer;
    double stopMs = 0;
    const QString agent = QStringLiteral("ZelforBench/1");
    if (engine == Engine::gst) {
        GstPlatformPlayer player(GstPlatformPlayer::Audio::silent);
        player.setOutput(&output);
        timer.start();
        player.load(url, agent, bufferSecs);
        player.play();
        loop.exec();
        stopTimer.start();
        player.clear();
        stopMs = elapsedMs(stopTimer);
    } else {
        LibVlcPlayer player({ "--aout=adummy" });
        player.setOutput(&output);
        timer.start();
        player.setMedia(VlcMedia::stream(url, agent));
        player.play();
        loop.exec();
        stopTimer.start();
        player.stop();
        stopMs = elapsedMs(stopTimer);
    }
    if (!firstFrameMs)
        return std::nullopt;
    return Run { *firstFrameMs, stopMs };
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each engine on each clip, kRuns times from a new player, the first run cold.
int runFirstFrame(const QStringList &)
{
    ServedClips clips;
    if (!clips.ok)
        return 1;
    int failures = 0;
    for (const auto &[engine, name] :
        { std::pair { Engine::gst, "gst" }, std::pair { Engine::vlc, "vlc" } }) {
        for (const Clip &clip : kClips) {
            std::vector<double> firstFrames;
            std::vector<double> stops;
            for (int run = 0; run < kRuns; ++run) {
                const std::optional<Run> measured
                    = measureRun(engine, clips.server.url(clip.path), clip.bufferSecs);
                if (measured) {
                    firstFrames.push_back(measured->firstFrameMs);
                    stops.push_back(measured->stopMs);
                }
            }
            if (firstFrames.size() < std::size_t(kRuns)) {
                std::printf("first-frame engine=%s format=%s no_frame_runs=%d\n", name, clip.format,
                    kRuns - int(firstFrames.size()));
                ++failures;
                continue;
            }
            std::printf("first-frame engine=%s format=%s median_ms=%.0f cold_ms=%.0f stop_median_ms=%.0f\n",
                name, clip.format, median(firstFrames), firstFrames.front(), median(stops));
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}

constexpr BenchCommand kCommands[] = {
    { "first-frame", "", runFirstFrame },
};

} // namespace

std::span<const BenchCommand> firstFrameBenchCommands()
{
    return kCommands;
}
