#include "GeneratedMedia.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"
#include "playback/engines/VlcSourceError.h"

#include <QTcpServer>

#include <dlfcn.h>
#include <netdb.h>

// Names under ".invalid" fail here as any name server answers them, so that their lookups
// leave no query off the machine; every other name goes to the C library.
extern "C" int getaddrinfo(const char *node, const char *service, const addrinfo *hints, addrinfo **result)
{
    using Resolve = int (*)(const char *, const char *, const addrinfo *, addrinfo **);
    static const auto resolve = reinterpret_cast<Resolve>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node && QByteArrayView(node).endsWith(".invalid"))
        return EAI_NONAME;
    return resolve(node, service, hints, result);
}

namespace {

// A loopback port that refuses connections: taken, then given back.
quint16 refusingPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

enum class Failure { refused, unresolved, missing };

struct ErrorCase {
    const char *name;
    bool live;
    bool onVlc; // taken by libVLC for its container; else GStreamer plays it first
    Failure failure;
    const char *key;
};

void PrintTo(const ErrorCase &row, std::ostream *out)
{
    *out << row.name;
}

class StreamErrors : public ::testing::TestWithParam<ErrorCase> {
protected:
    QString address(Failure failure)
    {
        switch (failure) {
        case Failure::refused:
            return QStringLiteral("http://127.0.0.1:%1/stream.ts").arg(refusingPort());
        case Failure::unresolved:
            return QStringLiteral("http://zelfor-test.invalid/stream.ts");
        case Failure::missing:
            return server.url(QStringLiteral("/gone.ts"));
        }
        return {};
    }

    MediaServer server; // serves nothing: every request is answered 404
};

// A live item fails each reload the same way before its message; a movie GStreamer fails goes on
// to libVLC, whose give-up is its message.
TEST_P(StreamErrors, EachFailureEndsInItsOwnMessage)
{
    const auto [name, live, onVlc, failure, key] = GetParam();
    auto gst = std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent);
    const GstPlatformPlayer *platform = gst.get();
    const LibVlcPlayer *vlc = nullptr;
    EngineRig rig(std::move(gst), [&vlc] {
        auto player = std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" });
        vlc = player.get();
        return player;
    });
    PlayerEngine &engine = *rig.engine;
    QString shown;
    QObject::connect(&engine, &PlayerEngine::errorChanged, &engine, [&] { shown = engine.errorText(); });
    PlayItem item = playItem(QString::fromLatin1(name), live);
    item.url = address(failure);
    if (onVlc)
        item.ext = QStringLiteral("mkv");
    engine.play(item);
    ASSERT_EQ(engine.usesVLC(), onVlc);
    // Time runs ahead while the player in use shows its failure, so that reconnections come at once.
    const auto failed = [&] {
        if (!engine.usesVLC())
            return platform->status() == PlatformPlayer::Status::failed;
        return vlc->state() == VlcPlayer::State::ended || vlc->state() == VlcPlayer::State::error;
    };
    ASSERT_TRUE(pumpUntil(rig.clock, [&] {
        if (failed())
            rig.clock.advance(PlayerEngine::kTickMs);
        return !shown.isEmpty();
    }));
    EXPECT_EQ(shown.toStdString(), std::string("text of ") + key);
    EXPECT_FALSE(engine.buffering());
    if (failure == Failure::missing)
        EXPECT_GE(server.requestCount(QStringLiteral("/gone.ts")), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, StreamErrors,
    ::testing::Values(ErrorCase { "LiveGStreamerRefused", true, false, Failure::refused, "perr_network" },
        ErrorCase { "LiveGStreamerUnresolved", true, false, Failure::unresolved, "perr_network" },
        ErrorCase { "LiveGStreamerNotFound", true, false, Failure::missing, "perr_not_found" },
        ErrorCase { "LiveVlcRefused", true, true, Failure::refused, "perr_network" },
        ErrorCase { "LiveVlcUnresolved", true, true, Failure::unresolved, "perr_network" },
        ErrorCase { "LiveVlcNotFound", true, true, Failure::missing, "perr_unavailable" },
        ErrorCase { "MovieGStreamerRefused", false, false, Failure::refused, "perr_network" },
        ErrorCase { "MovieGStreamerUnresolved", false, false, Failure::unresolved, "perr_network" },
        ErrorCase { "MovieGStreamerNotFound", false, false, Failure::missing, "perr_unavailable" },
        ErrorCase { "MovieVlcRefused", false, true, Failure::refused, "perr_network" },
        ErrorCase { "MovieVlcUnresolved", false, true, Failure::unresolved, "perr_network" },
        ErrorCase { "MovieVlcNotFound", false, true, Failure::missing, "perr_unavailable" }),
    [](const auto &info) { return std::string(info.param.name); });

// What libVLC's stream objects write when an address fails, as libVLC 3 words it.
TEST(VlcSourceError, ReadsTheFailureOfTheAddress)
{
    using namespace PlayErrorCode;
    using Domain = PlayError::Domain;
    const std::pair<const char *, std::optional<PlayError>> rows[] = {
        { "HTTP 404 error", PlayError { Domain::media, { kHttpNotFound } } },
        { "error: HTTP/1.1 403 Forbidden", PlayError { Domain::media, { kHttpForbidden } } },
        { "HTTP 503 error", PlayError { Domain::url, { 503 } } },
        { "cannot resolve zelfor-test.invalid port 80 : Name or service not known",
            PlayError { Domain::url, { kCannotFindHost } } },
        { "connection failed: Connection refused", PlayError { Domain::url, { kCannotConnect } } },
        { "connection failed: Connection timed out", PlayError { Domain::url, { kTimedOut } } },
        { "cannot connect to 127.0.0.1:1", PlayError { Domain::url, { kCannotConnect } } },
        { "HTTP connection failure", std::nullopt },
        { "invalid URL", std::nullopt },
    };
    for (const auto &[message, expected] : rows)
        EXPECT_EQ(vlcSourceError(QByteArrayView(message)), expected) << message;
}

} // namespace
