#include "GeneratedMedia.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"

namespace {

// A dark 320x240 clip (noise, so that no two pictures are equal) with one English subtitle track whose cue
// repeats every half second (an engine draws a cue only when it reads it after the track was chosen): MP4
// with timed text for GStreamer, Matroska with SubRip for libVLC.
class SubtitleClips {
public:
    static SubtitleClips &instance()
    {
        static SubtitleClips clips;
        return clips;
    }

    MediaServer server;
    QString problem;

private:
    SubtitleClips()
    {
        QFile cues(m_dir.filePath("cues.srt"));
        cues.open(QIODevice::WriteOnly);
        const auto stamp = [](int ms) {
            return QStringLiteral("00:00:%1,%2")
                .arg(ms / 1000, 2, 10, QChar('0'))
                .arg(ms % 1000, 3, 10, QChar('0'));
        };
        for (int cue = 0; cue < 40; ++cue)
            cues.write(QStringLiteral("%1\n%2 --> %3\nSUBTITLE TEXT\n\n")
                           .arg(cue + 1)
                           .arg(stamp(cue * 500), stamp(cue * 500 + 500))
                           .toUtf8());
        cues.close();
        const QStringList inputs = { "-f", "lavfi", "-i",
            "color=c=0x202040:size=320x240:rate=25:duration=20,noise=alls=20:allf=t+u", "-f", "lavfi", "-i",
            "sine=frequency=440:duration=20", "-i", cues.fileName(), "-map", "0", "-map", "1", "-map", "2",
            "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25", "-c:a", "aac",
            "-metadata:s:s:0", "language=eng" };
        make(
            "/subs.mp4", inputs + QStringList { "-c:s", "mov_text", "-movflags", "+faststart" }, "video/mp4");
        make("/subs.mkv", inputs + QStringList { "-c:s", "srt" }, "video/x-matroska");
    }

    void make(const QString &name, const QStringList &args, const QByteArray &type)
    {
        const QString file = m_dir.filePath(name.mid(1));
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", QStringList { "-y", "-loglevel", "error" } + args + QStringList { file });
        if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0) {
            problem += name + ": " + QString::fromUtf8(ffmpeg.readAllStandardError());
            return;
        }
        QFile read(file);
        read.open(QIODevice::ReadOnly);
        server.addFile(name, read.readAll(), type);
    }

    QTemporaryDir m_dir;
};

// Near-white pixels in the lower half of the picture, where subtitles are drawn, or in its
// upper half; the clip itself has none.
int lightTextPixels(const QVideoFrame &source, bool upperHalf = false)
{
    QVideoFrame frame = source;
    if (!frame.isValid() || !frame.map(QVideoFrame::ReadOnly))
        return -1;
    int light = 0;
    const int half = frame.height() / 2;
    for (int row = upperHalf ? 0 : half; row < (upperHalf ? half : frame.height()); ++row) {
        const uchar *pixel = frame.bits(0) + row * frame.bytesPerLine(0);
        for (int column = 0; column < frame.width(); ++column, pixel += 4)
            light += pixel[0] > 200 && pixel[1] > 200 && pixel[2] > 200 ? 1 : 0;
    }
    frame.unmap();
    return light;
}

struct SubtitleCase {
    const char *name;
    bool onVlc;
    const char *path;
    const char *trackName;
};

void PrintTo(const SubtitleCase &row, std::ostream *out)
{
    *out << row.name;
}

class SubtitleRendering : public ::testing::TestWithParam<SubtitleCase> { };

TEST_P(SubtitleRendering, ChosenTrackIsDrawnIntoTheFramesAndOffDrawsNone)
{
    const auto [name, onVlc, path, trackName] = GetParam();
    SubtitleClips &clips = SubtitleClips::instance();
    ASSERT_TRUE(clips.problem.isEmpty()) << clips.problem.toStdString();
    QVideoSink sink;
    std::unique_ptr<EngineRig> rig;
    if (onVlc) {
        rig = std::make_unique<EngineRig>(
            nullptr, [] { return std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" }); });
        rig->engine->vlcView()->host(&sink, QSizeF(640, 480));
    } else {
        rig = std::make_unique<EngineRig>(
            std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent));
        rig->engine->platformOutput()->addSink(&sink);
    }
    PlayerEngine &engine = *rig->engine;
    const auto waitFor
        = [&](const std::function<bool()> &condition) { return pumpUntil(rig->clock, condition); };
    PlayItem item = playItem(name, false);
    item.url = clips.server.url(QString::fromLatin1(path));
    engine.play(item);
    ASSERT_EQ(engine.usesVLC(), onVlc);
    ASSERT_TRUE(waitFor([&] { return engine.subtitleOptions().size() == 1 && engine.position() > 0.2; }))
        << engine.errorText().toStdString();
    const TrackOption track = engine.subtitleOptions().first();
    EXPECT_EQ(track.name, QString::fromLatin1(trackName));

    engine.selectTrack(track, false);
    EXPECT_TRUE(waitFor([&] { return lightTextPixels(sink.videoFrame()) > 30; })) << "no subtitle text drawn";

    // Lifted over the lower half of the picture, and back.
    engine.setSubtitleLift(0.5);
    EXPECT_TRUE(waitFor([&] {
        const QVideoFrame frame = sink.videoFrame();
        return lightTextPixels(frame, true) > 30 && lightTextPixels(frame) == 0;
    })) << "subtitles not lifted";
    engine.setSubtitleLift(0);
    EXPECT_TRUE(waitFor([&] { return lightTextPixels(sink.videoFrame()) > 30; })) << "subtitles not back";

    // Off once a run of frames shows no text: under load a single frame may miss its
    // cue while the track is still on. The frames that follow carry no text either.
    int cleanRun = 0;
    int frames = 0;
    int framesWithText = 0;
    const QObject counting;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &counting, [&](const QVideoFrame &frame) {
        const bool withText = lightTextPixels(frame) > 0;
        cleanRun = withText ? 0 : cleanRun + 1;
        ++frames;
        framesWithText += withText ? 1 : 0;
    });
    engine.selectTrack(std::nullopt, false);
    ASSERT_TRUE(waitFor([&] { return cleanRun >= 10; })) << "subtitles stay on";
    frames = framesWithText = 0;
    ASSERT_TRUE(waitFor([&] { return frames >= 15; }));
    EXPECT_EQ(framesWithText, 0);
    EXPECT_FALSE(engine.hasError());
    engine.stop();
}

INSTANTIATE_TEST_SUITE_P(Engines, SubtitleRendering,
    ::testing::Values(SubtitleCase { "GStreamer", false, "/subs.mp4", "English" },
        SubtitleCase { "Vlc", true, "/subs.mkv", "Track 1 - [English]" }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
