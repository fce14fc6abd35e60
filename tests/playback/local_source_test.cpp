#include "GeneratedMedia.h"
#include "HostileMedia.h"
#include "OpenWatch.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"

namespace {

// Where a document sends the player: canary files in the test's own folder, and the clip
// on the loopback server.
struct Targets {
    QString clip; // a playable clip, file:
    QString text; // a plain text file, file:
    QString playlist; // an HLS playlist of the clip, file:
    QString folder; // the canaries' folder, file:, ending in '/'
    QString network; // an HLS playlist of the served clip
};

enum class Engine { gstreamer, vlc };

struct Vector {
    const char *name;
    Engine engine;
    const char *path; // answered with the document, or with a redirect to the clip without one
    QByteArray (*document)(const Targets &);
    const char *type;
    // The message the item ends with; none when it plays from the network alone.
    const char *key = "perr_format";
};

// libVLC's own readers: segments, keys and variants off HTTP are not fetched, and the entries of
// playlists and reference movies are left to a playlist player; the item fails as unavailable.
constexpr const char *kVlcEnds = "perr_unavailable";

void PrintTo(const Vector &row, std::ostream *out)
{
    *out << row.name;
}

using namespace HostileMedia;
constexpr const char *kHls = "application/vnd.apple.mpegurl";
const auto segment = +[](const Targets &t) { return hlsSegments(t.clip); };
const auto keyed = +[](const Targets &t) { return hlsKeyed(t.text, t.network); };
const auto variant = +[](const Targets &t) { return hlsMaster(t.playlist); };
const auto rendition = +[](const Targets &t) { return hlsMasterWithRendition(t.playlist, t.network); };
const auto dash = +[](const Targets &t) { return dashManifest(t.folder, QStringLiteral("canary.ts")); };
const auto reference = +[](const Targets &t) { return referenceMovie(t.clip); };

class LocalSources : public ::testing::TestWithParam<Vector> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(media.ok) << media.problem.toStdString();
        ASSERT_TRUE(QFile::copy(media.filePath(QStringLiteral("/clip.ts")), dir.filePath("canary.ts")));
        writeCanary("canary.txt", "0123456789abcdef");
        writeCanary("canary.m3u8", hlsSegments(QStringLiteral("canary.ts")));
        server.addFile(QStringLiteral("/network.m3u8"), hlsSegments(media.server.url("/clip.ts")), kHls);
        targets = { local("canary.ts"), local("canary.txt"), local("canary.m3u8"), local(""),
            server.url(QStringLiteral("/network.m3u8")) };
    }

    void writeCanary(const char *name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString local(const char *name) const { return QUrl::fromLocalFile(dir.filePath(name)).toString(); }

    GeneratedMedia &media = GeneratedMedia::instance();
    QTemporaryDir dir;
    MediaServer server;
    Targets targets;
};

// GStreamer plays a live item, which fails each reload the same way before its message; libVLC
// takes the item by its container and gives up at its first failure.
TEST_P(LocalSources, AreNeverOpened)
{
    const Vector &row = GetParam();
    const QString path = QString::fromLatin1(row.path);
    if (row.document)
        server.addFile(path, row.document(targets), row.type);
    else
        server.addRedirect(path, targets.clip.toUtf8());
    const bool onVlc = row.engine == Engine::vlc;
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    if (onVlc && !row.key)
        GTEST_SKIP() << "libVLC's adaptive module frees with free() what it made with new";
#endif
#endif
    int failures = 0;
    const QObject counting;
    std::unique_ptr<EngineRig> rig;
    if (onVlc) {
        rig = std::make_unique<EngineRig>(
            nullptr, [] { return std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" }); });
    } else {
        auto gst = std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent);
        const auto count = [&] { ++failures; };
        QObject::connect(gst.get(), &PlatformPlayer::failedToPlayToEnd, &counting, count);
        QObject::connect(gst.get(), &PlatformPlayer::statusChanged, &counting,
            [&](PlatformPlayer::Status status) {
            failures += status == PlatformPlayer::Status::failed ? 1 : 0;
        });
        rig = std::make_unique<EngineRig>(std::move(gst));
    }
    OpenWatch watch(dir.path());
    ASSERT_TRUE(watch.isWatching());
    PlayerEngine &engine = *rig->engine;
    PlayItem item = playItem(QString::fromLatin1(row.name), !onVlc);
    item.url = server.url(path);
    if (onVlc)
        item.ext = QStringLiteral("mkv");
    engine.play(item);
    int waitedFor = 0;
    EXPECT_TRUE(pumpUntil(rig->clock, [&] {
        if (failures > waitedFor) {
            waitedFor = failures;
            rig->clock.advance(PlayerEngine::kRetryStepMs * PlayerEngine::kMaxRetries);
        }
        return engine.hasError() || (!row.key && engine.isPlaying() && engine.position() > 0);
    }));
    EXPECT_EQ(engine.error(), row.key ? std::optional(QStringLiteral("text of ") + row.key) : std::nullopt);
    EXPECT_GE(server.requestCount(path), 1);
    engine.stop();
    EXPECT_EQ(watch.opened(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Vectors, LocalSources,
    ::testing::Values(Vector { "GStreamerHlsSegment", Engine::gstreamer, "/segment.m3u8", segment, kHls },
        Vector { "GStreamerHlsKey", Engine::gstreamer, "/keyed.m3u8", keyed, kHls },
        Vector { "GStreamerHlsVariant", Engine::gstreamer, "/master.m3u8", variant, kHls },
        Vector { "GStreamerHlsRendition", Engine::gstreamer, "/rendition.m3u8", rendition, kHls },
        Vector { "GStreamerDash", Engine::gstreamer, "/manifest.mpd", dash, "application/dash+xml" },
        Vector {
            "GStreamerReferenceMovie", Engine::gstreamer, "/reference.mov", reference, "video/quicktime" },
        // The HTTP library refuses a redirect to another scheme itself.
        Vector { "GStreamerRedirect", Engine::gstreamer, "/moved.ts", nullptr, nullptr, "perr_network" },
        Vector { "VlcHlsSegment", Engine::vlc, "/segment.m3u8", segment, kHls, kVlcEnds },
        Vector { "VlcHlsKey", Engine::vlc, "/keyed.m3u8", keyed, kHls, kVlcEnds },
        Vector { "VlcHlsVariant", Engine::vlc, "/master.m3u8", variant, kHls, kVlcEnds },
        Vector { "VlcHlsRendition", Engine::vlc, "/rendition.m3u8", rendition, kHls, nullptr },
        Vector { "VlcDash", Engine::vlc, "/manifest.mpd", dash, "application/dash+xml", kVlcEnds },
        Vector { "VlcReferenceMovie", Engine::vlc, "/reference.mov", reference, "video/quicktime", kVlcEnds },
        Vector { "VlcRedirect", Engine::vlc, "/moved.mkv", nullptr, nullptr, kVlcEnds },
        Vector { "VlcM3u", Engine::vlc, "/list.m3u", +[](const Targets &t) { return m3uList(t.clip); },
            "audio/x-mpegurl", kVlcEnds },
        Vector { "VlcPls", Engine::vlc, "/list.pls", +[](const Targets &t) { return plsList(t.clip); },
            "audio/x-scpls", kVlcEnds },
        Vector { "VlcXspf", Engine::vlc, "/list.xspf", +[](const Targets &t) { return xspfList(t.clip); },
            "application/xspf+xml", kVlcEnds },
        Vector { "VlcAsx", Engine::vlc, "/list.asx", +[](const Targets &t) { return asxList(t.clip); },
            "video/x-ms-asf", kVlcEnds }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
