#include "GeneratedMedia.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"
#include "playback/engines/VlcSourceError.h"

#include <QTcpServer>

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

// An unknown host is left to the log-text table below: resolving one would ask the
// machine's name server, and tests reach no address but the loopback.
enum class Failure { refused, missing };

struct ErrorCase {
    const char *name;
    bool onVlc;
    Failure failure;
    const char *key;
};

void PrintTo(const ErrorCase &row, std::ostream *out) { *out << row.name; }

class StreamErrors : public ::testing::TestWithParam<ErrorCase> {
protected:
    QString address(Failure failure)
    {
        switch (failure) {
        case Failure::refused:
            return QStringLiteral("http://127.0.0.1:%1/live.ts").arg(refusingPort());
        case Failure::missing:
            return server.url(QStringLiteral("/gone.ts"));
        }
        return {};
    }

    MediaServer server; // serves nothing: every request is answered 404
};

// GStreamer plays a live item, which fails each reload the same way before its message;
// libVLC takes the item by its container and gives up at its first failure.
TEST_P(StreamErrors, EachFailureEndsInItsOwnMessage)
{
    const auto [name, onVlc, failure, key] = GetParam();
    std::unique_ptr<EngineRig> rig;
    int failures = 0;
    const QObject counting;
    if (onVlc) {
        rig = std::make_unique<EngineRig>(
            nullptr, [] { return std::make_unique<LibVlcPlayer>(QStringList { "--aout=adummy" }); });
    } else {
        auto gst = std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::silent);
        QObject::connect(
            gst.get(), &PlatformPlayer::statusChanged, &counting, [&](PlatformPlayer::Status status) {
                failures += status == PlatformPlayer::Status::failed ? 1 : 0;
            });
        rig = std::make_unique<EngineRig>(std::move(gst));
    }
    PlayerEngine &engine = *rig->engine;
    PlayItem item = playItem(QString::fromLatin1(name), !onVlc);
    item.url = address(failure);
    if (onVlc)
        item.ext = QStringLiteral("mkv");
    engine.play(item);
    ASSERT_EQ(engine.usesVLC(), onVlc);
    // Each reconnection waits in virtual time, passed once the load before it has failed.
    int waitedFor = 0;
    ASSERT_TRUE(pumpUntil(rig->clock, [&] {
        if (failures > waitedFor) {
            waitedFor = failures;
            rig->clock.advance(PlayerEngine::kRetryStepMs * PlayerEngine::kMaxRetries);
        }
        return engine.hasError();
    }));
    EXPECT_EQ(engine.error(), QStringLiteral("text of ") + key);
    EXPECT_FALSE(engine.buffering());
    if (failure == Failure::missing)
        EXPECT_GE(server.requestCount(QStringLiteral("/gone.ts")), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, StreamErrors,
    ::testing::Values(ErrorCase { "GStreamerRefused", false, Failure::refused, "perr_network" },
        ErrorCase { "GStreamerNotFound", false, Failure::missing, "perr_not_found" },
        ErrorCase { "VlcRefused", true, Failure::refused, "perr_network" },
        ErrorCase { "VlcNotFound", true, Failure::missing, "perr_not_found" }),
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
