#pragma once

#include "FakeBackends.h"
#include "MediaServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVideoSink>

#include <array>

#include <gtest/gtest.h>

// Small clips made with ffmpeg once per test program and served over loopback:
// 160x120 at 25 fps, 10 s (longer than libVLC's 3 s network cache, so that it
// learns an MPEG-TS picture's size while playing), tone audio. The picture has a green band in its top
// 8 rows and a black band above a white one in its bottom 16 rows, so that a
// cut or stretched picture shows.
class GeneratedMedia {
public:
    static GeneratedMedia &instance()
    {
        static GeneratedMedia media;
        return media;
    }

    static constexpr double kClipSecs = 10;
    // One key frame a second ("-g 25" at 25 fps): a key-frame seek lands up to this early.
    static constexpr double kKeyFrameSecs = 1;
    static constexpr QSize kSmallSize { 96, 72 }; // of "/small.mp4"

    // The file behind a served clip ("/clip.ts").
    QString filePath(const QString &served) const { return m_dir.filePath(served.mid(1)); }

    MediaServer server;
    bool ok = true;
    QString problem;

private:
    GeneratedMedia()
    {
        const QStringList video = { "-f", "lavfi", "-i",
            "testsrc=size=160x120:rate=25:duration=10,"
            "drawbox=y=0:w=160:h=8:color=lime:t=fill,"
            "drawbox=y=104:w=160:h=8:color=black:t=fill,"
            "drawbox=y=112:w=160:h=8:color=white:t=fill" };
        const QStringList tone = { "-f", "lavfi", "-i", "sine=frequency=440:duration=10" };
        const QStringList tone2 = { "-f", "lavfi", "-i", "sine=frequency=880:duration=10" };
        const QStringList h264
            = { "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25" };
        make("/clip.mp4", video + tone + h264 + QStringList { "-c:a", "aac", "-movflags", "+faststart" },
            "video/mp4");
        const QByteArray ts = make(
            "/clip.ts", video + tone + h264 + QStringList { "-c:a", "aac", "-f", "mpegts" }, "video/mp2t");
        // About 3 s of the stream, cut on a packet boundary.
        server.addLiveStream("/live.ts", ts.left(ts.size() / 3 / 188 * 188), "video/mp2t");
        const QStringList twoAudio = video + tone + tone2 + h264
            + QStringList { "-map", "0", "-map", "1", "-map", "2", "-c:a", "aac", "-metadata:s:a:0",
                  "language=eng", "-metadata:s:a:1", "language=fra" };
        make("/dual.mkv", twoAudio, "video/x-matroska");
        make("/dual.mp4", twoAudio + QStringList { "-movflags", "+faststart" }, "video/mp4");
        // A picture of another size, to tell its frames from the others'.
        make("/small.mp4",
            QStringList { "-f", "lavfi", "-i", "testsrc=size=96x72:rate=25:duration=10" } + tone + h264
                + QStringList { "-c:a", "aac", "-movflags", "+faststart" },
            "video/mp4");
    }

    QByteArray make(const QString &name, const QStringList &args, const QByteArray &type)
    {
        const QString file = m_dir.filePath(name.mid(1));
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", QStringList { "-y", "-loglevel", "error" } + args + QStringList { file });
        if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0) {
            ok = false;
            problem += name + ": " + QString::fromUtf8(ffmpeg.readAllStandardError());
            return {};
        }
        QFile read(file);
        read.open(QIODevice::ReadOnly);
        const QByteArray bytes = read.readAll();
        server.addFile(name, bytes, type);
        return bytes;
    }

    QTemporaryDir m_dir;
};

// True when the frame is the clips' whole picture at its own size: the bands
// sit on the rows where they were drawn.
inline bool isWholePicture(const QVideoFrame &source)
{
    QVideoFrame frame = source;
    if (frame.size() != QSize(160, 120) || !frame.map(QVideoFrame::ReadOnly))
        return false;
    const bool bgr = frame.pixelFormat() == QVideoFrameFormat::Format_BGRX8888
        || frame.pixelFormat() == QVideoFrameFormat::Format_BGRA8888;
    const auto rgb = [&](int row) {
        const uchar *pixel = frame.bits(0) + row * frame.bytesPerLine(0) + 80 * 4;
        return std::array<int, 3> { pixel[bgr ? 2 : 0], pixel[1], pixel[bgr ? 0 : 2] };
    };
    const auto rowsAre = [&](int first, int last, auto test) {
        for (int row = first; row <= last; ++row)
            if (!test(rgb(row)))
                return false;
        return true;
    };
    const bool whole = rowsAre(1, 6, [](auto c) { return c[0] < 80 && c[1] > 180 && c[2] < 80; })
        && rowsAre(105, 110, [](auto c) { return c[0] < 60 && c[1] < 60 && c[2] < 60; })
        && rowsAre(113, 119, [](auto c) { return c[0] > 190 && c[1] > 190 && c[2] > 190; });
    frame.unmap();
    return whole;
}

// Runs the event loop and the virtual clock together until the condition holds.
// The bound is generous: a passing wait ends as soon as the condition holds.
inline bool pumpUntil(ManualClock &clock, const std::function<bool()> &condition, int timeoutMs = 20000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 last = 0;
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
        const qint64 now = elapsed.elapsed();
        clock.advance(now - last);
        last = now;
    }
    return true;
}

inline PlayItem servedItem(const QString &path, bool live = false)
{
    PlayItem item = playItem(path, live);
    item.url = GeneratedMedia::instance().server.url(path);
    return item;
}
