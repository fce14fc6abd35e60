#pragma once

#include "FakeBackends.h"
#include "MediaServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVideoSink>

#include <gtest/gtest.h>

// Small clips made with ffmpeg once per test program and served over loopback:
// 160x120 at 25 fps, 3 s, tone audio.
class GeneratedMedia
{
public:
    static GeneratedMedia &instance()
    {
        static GeneratedMedia media;
        return media;
    }

    MediaServer server;
    bool ok = true;
    QString problem;

private:
    GeneratedMedia()
    {
        const QStringList video = { "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=3" };
        const QStringList tone = { "-f", "lavfi", "-i", "sine=frequency=440:duration=3" };
        const QStringList tone2 = { "-f", "lavfi", "-i", "sine=frequency=880:duration=3" };
        const QStringList h264 = { "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25" };
        make("/clip.mp4", video + tone + h264 + QStringList{ "-c:a", "aac", "-movflags", "+faststart" }, "video/mp4");
        make("/clip.ts", video + tone + h264 + QStringList{ "-c:a", "aac", "-f", "mpegts" }, "video/mp2t");
        const QStringList twoAudio = video + tone + tone2 + h264
                                     + QStringList{ "-map", "0", "-map", "1", "-map", "2", "-c:a", "aac",
                                                    "-metadata:s:a:0", "language=eng", "-metadata:s:a:1",
                                                    "language=fra" };
        make("/dual.mkv", twoAudio, "video/x-matroska");
        make("/dual.mp4", twoAudio + QStringList{ "-movflags", "+faststart" }, "video/mp4");
    }

    void make(const QString &name, const QStringList &args, const QByteArray &type)
    {
        const QString file = m_dir.filePath(name.mid(1));
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", QStringList{ "-y", "-loglevel", "error" } + args + QStringList{ file });
        if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0) {
            ok = false;
            problem += name + ": " + QString::fromUtf8(ffmpeg.readAllStandardError());
            return;
        }
        QFile read(file);
        read.open(QIODevice::ReadOnly);
        server.addFile(name, read.readAll(), type);
    }

    QTemporaryDir m_dir;
};

// Runs the event loop and the virtual clock together until the condition holds.
inline bool pumpUntil(VirtualClock &clock, const std::function<bool()> &condition, int timeoutMs = 8000)
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
    PlayItem item = live ? liveItem(path) : movieItem(path);
    item.url = GeneratedMedia::instance().server.url(path);
    return item;
}
