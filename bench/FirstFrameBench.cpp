#include "BenchCommands.h"

#include "MediaServer.h"
#include "playback/GstPlatformPlayer.h"
#include "playback/LibVlcPlayer.h"
#include "playback/VideoOutput.h"

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
        const QStringList input = { "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=10",
                                    "-f", "lavfi", "-i", "sine=frequency=440:duration=10",
                                    "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25",
                                    "-c:a", "aac" };
        const QString hls = m_dir.filePath("hls");
        QDir().mkpath(hls);
        ok = make(input + QStringList{ "-movflags", "+faststart", m_dir.filePath("clip.mp4") })
            && make(input + QStringList{ "-f", "mpegts", m_dir.filePath("clip.ts") })
            && make(input + QStringList{ "-f", "hls", "-hls_time", "2", "-hls_playlist_type", "vod",
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
        ffmpeg.start("ffmpeg", QStringList{ "-y", "-loglevel", "error" } + args);
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

// Milliseconds from play() to the first frame in a sink; nothing when none came in time.
std::optional<double> firstFrameMs(Engine engine, const QUrl &url, double bufferSecs)
{
    QVideoSink sink;
    VideoOutput output;
    output.addSink(&sink);
    QEventLoop loop;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &loop, [&](const QVideoFrame &frame) {
        if (frame.isValid())
            loop.quit();
    });
    QTimer::singleShot(kFrameTimeoutMs, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    const QString agent = QStringLiteral("ZelforBench/1");
    if (engine == Engine::gst) {
        GstPlatformPlayer player(GstPlatformPlayer::Audio::silent);
        player.setOutput(&output);
        timer.start();
        player.load(url, agent, bufferSecs);
        player.play();
        loop.exec();
        player.clear();
    } else {
        LibVlcPlayer player({ "--aout=adummy" });
        player.setOutput(&output);
        timer.start();
        // the options the engine opens a media with
        player.setMedia({ url, { ":http-user-agent=" + agent, ":network-caching=3000", ":http-reconnect" } });
        player.play();
        loop.exec();
        player.stop();
    }
    if (!sink.videoFrame().isValid() && timer.elapsed() >= kFrameTimeoutMs)
        return std::nullopt;
    return double(timer.nsecsElapsed()) / 1e6;
}

// Each engine on each clip, kRuns times from a new player, the first run cold.
int runFirstFrame(const QStringList &)
{
    ServedClips clips;
    if (!clips.ok)
        return 1;
    int failures = 0;
    for (const auto &[engine, name] : { std::pair{ Engine::gst, "gst" }, std::pair{ Engine::vlc, "vlc" } }) {
        for (const Clip &clip : kClips) {
            std::vector<double> times;
            for (int run = 0; run < kRuns; ++run) {
                if (const std::optional<double> ms = firstFrameMs(engine, clips.server.url(clip.path), clip.bufferSecs))
                    times.push_back(*ms);
            }
            if (times.size() < std::size_t(kRuns)) {
                std::printf("first-frame engine=%s format=%s no_frame_runs=%d\n", name, clip.format,
                            kRuns - int(times.size()));
                ++failures;
                continue;
            }
            const double cold = times.front();
            std::sort(times.begin(), times.end());
            std::printf("first-frame engine=%s format=%s median_ms=%.0f cold_ms=%.0f\n", name, clip.format,
                        times[times.size() / 2], cold);
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}

constexpr BenchCommand kCommands[] = {
    { "first-frame", "", runFirstFrame },
};

} // namespace

std::span<const BenchCommand> firstFrameBenchCommands() { return kCommands; }
