#include "GeneratedMedia.h"
#include "playback/engines/LibVlcPlayer.h"
#include "playback/engines/ManifestSniff.h"

namespace {

// How an address reaches libVLC: a movie after the platform player failed it, a live
// channel by its container.
struct ManifestRoute {
    const char *name;
    bool live;
    const char *path;
    const char *contentType;
    const char *key;
};

void PrintTo(const ManifestRoute &row, std::ostream *out)
{
    *out << row.name;
}

class VlcManifest : public ::testing::TestWithParam<ManifestRoute> { };

// A DASH manifest whose one representation has an address and no index: libVLC's adaptive
// module crashed the process on it. The item ends in its error, the program alive.
TEST_P(VlcManifest, EndsInAnErrorWithoutCrashing)
{
    const auto [name, live, path, contentType, key] = GetParam();
    QFile fixture(QStringLiteral(ZELFOR_TEST_DATA "/dash/on-demand.mpd"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    MediaServer server;
    server.addFile(QString::fromLatin1(path), fixture.readAll(), contentType);
    LibVlcPlayer *vlc = nullptr;
    EngineRig rig(nullptr, [&vlc] {
        auto player = std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" });
        vlc = player.get();
        return player;
    });
    PlayerEngine &engine = *rig.engine;
    PlayItem item = playItem(QString::fromLatin1(name), live);
    item.url = server.url(QString::fromLatin1(path));
    engine.play(item);
    if (!live)
        rig.platform->fail();
    ASSERT_TRUE(engine.usesVLC());
    // A live channel reconnects after each end: the wait passes in virtual time once libVLC has ended.
    ASSERT_TRUE(pumpUntil(rig.clock, [&] {
        if (vlc->state() == VlcPlayer::State::ended)
            rig.clock.advance(PlayerEngine::kRetryStepMs * PlayerEngine::kMaxRetries);
        return engine.hasError();
    }));
    EXPECT_EQ(engine.error(), QStringLiteral("text of ") + key);
    EXPECT_FALSE(engine.buffering());
    EXPECT_GE(server.requestCount(QString::fromLatin1(path)), live ? 1 + PlayerEngine::kMaxRetries : 1);
}

INSTANTIATE_TEST_SUITE_P(Routes, VlcManifest,
    ::testing::Values(ManifestRoute { "MovieAfterThePlatform", false, "/movie.mpd", "application/dash+xml",
                          "perr_unavailable" },
        ManifestRoute { "LiveMkv", true, "/live.mkv", "application/octet-stream", "perr_network" }),
    [](const auto &info) { return std::string(info.param.name); });

// Manifests in any encoding are told apart from media whose box sizes hold a '<' byte.
TEST(ManifestSniff, TellsXmlManifestsFromMedia)
{
    using namespace Qt::StringLiterals;
    const struct {
        const char *contentType;
        QByteArray head;
        bool manifest;
    } rows[] = {
        { nullptr, "<?xml version=\"1.0\"?><MPD"_ba, true },
        { nullptr, "\xEF\xBB\xBF\r\n  <MPD xmlns"_ba, true },
        { nullptr, QByteArray("\xFF\xFE<\0M\0P\0D\0", 10), true },
        { nullptr, QByteArray("\0\0\0<\0\0\0?\0\0\0x", 12), true },
        { nullptr, " <!DOCTYPE MPD>"_ba, true },
        { "Application/DASH+XML", "anything"_ba, true },
        { nullptr, QByteArray("\0\0\0<ftypisom", 12), false },
        { nullptr, QByteArray("\0\0<\x10moov", 8), false },
        { nullptr, "\x1A\x45\xDF\xA3"_ba, false },
        { nullptr, "#EXTM3U\n"_ba, false },
        { "video/mp4", QByteArray(), false },
    };
    for (const auto &row : rows)
        EXPECT_EQ(looksLikeXmlManifest(row.contentType, row.head), row.manifest)
            << row.head.toHex().toStdString();
}

} // namespace
