#include "GeneratedMedia.h"
#include "playback/engines/GstPlatformPlayer.h"

#include <QDir>

#include <gst/check/gsttestclock.h>
#include <gst/gst.h>

namespace {

constexpr GstClockTime kFrame = GST_SECOND / 25;

// An HLS stream of 2 s segments as ffmpeg writes them: each segment's timestamps lead its
// clock, so the first picture comes well after the segment's start.
class ServedHls {
public:
    ServedHls()
    {
        const QString folder = m_dir.filePath("hls");
        QDir().mkpath(folder);
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg",
            { "-y", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=6",
                "-f", "lavfi", "-i", "sine=frequency=440:duration=6", "-c:v", "libx264", "-preset",
                "ultrafast", "-pix_fmt", "yuv420p", "-g", "25", "-c:a", "aac", "-f", "hls", "-hls_time", "2",
                "-hls_playlist_type", "vod", "-hls_segment_filename", folder + "/part%d.ts",
                folder + "/index.m3u8" });
        ok = ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0;
        problem = QString::fromUtf8(ffmpeg.readAllStandardError());
        for (const QString &name : QDir(folder).entryList(QDir::Files)) {
            QFile file(folder + u'/' + name);
            file.open(QIODevice::ReadOnly);
            server.addFile("/hls/" + name, file.readAll(),
                name.endsWith(".m3u8") ? "application/vnd.apple.mpegurl" : "video/mp2t");
        }
    }

    MediaServer server;
    bool ok = false;
    QString problem;

private:
    QTemporaryDir m_dir;
};

// Real GStreamer on a clock that moves only when the test moves it: the pipeline of a
// silent player has no clock of its own and takes the system clock. (The HLS reader, timing
// its downloads on that clock, logs a division by zero for their bit rate; only its choice
// of variant, of which there is one, depends on it.)
class LiveStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(hls.ok) << hls.problem.toStdString();
        gst_system_clock_set_default(clock);
        output.addSink(&sink);
        player->setOutput(&output);
    }

    void TearDown() override
    {
        player.reset();
        gst_system_clock_set_default(nullptr);
        gst_object_unref(clock);
    }

    // The sinks' waits end only once the clock has reached them.
    bool waitFor(const std::function<bool()> &condition)
    {
        return pumpUntil(appClock, [&] {
            while (gst_test_clock_get_next_entry_time(testClock()) <= gst_clock_get_time(clock))
                gst_clock_id_unref(gst_test_clock_process_next_clock_id(testClock()));
            return condition();
        });
    }
    GstTestClock *testClock() const { return GST_TEST_CLOCK(clock); }
    qint64 shownTime() const { return sink.videoFrame().isValid() ? sink.videoFrame().startTime() : -1; }

    ServedHls hls;
    GstClock *clock = gst_test_clock_new_with_start_time(100 * GST_SECOND);
    ManualClock appClock;
    QVideoSink sink;
    VideoOutput output;
    std::unique_ptr<GstPlatformPlayer> player
        = std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent);
};

// The first picture does not stand still for the lead of the timestamps: a few frames of
// clock after playing starts, the next pictures are shown.
TEST_F(LiveStart, ThePictureMovesOnAsSoonAsTheClockRuns)
{
    player->load(QUrl(hls.server.url("/hls/index.m3u8")), "ZelforTest/1", 4);
    player->play();
    ASSERT_TRUE(waitFor(
        [&] { return shownTime() >= 0 && player->timeControl() == PlatformPlayer::TimeControl::playing; }));
    const qint64 first = shownTime();
    gst_test_clock_advance_time(testClock(), 3 * kFrame);
    EXPECT_TRUE(waitFor([&] { return shownTime() > first; }))
        << "still showing the picture at " << first << " us";
    EXPECT_EQ(player->timeControl(), PlatformPlayer::TimeControl::playing);
}

}
