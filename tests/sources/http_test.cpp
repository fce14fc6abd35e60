#include "LoopbackServer.h"
#include "TaskOutcome.h"
#include "TestHttp.h"

#include <QCoroTimer>
#include <QTcpServer>
#include <gtest/gtest.h>

#include <variant>
#include <vector>

using namespace std::chrono_literals;
using Waits = QList<std::chrono::milliseconds>;

namespace {

constexpr auto kShortTimeout = 300ms;

// What a call is expected to end with: a body, an HTTP status error or a transport error.
using Expected = std::variant<QByteArray, AppError, QNetworkReply::NetworkError>;

void expectOutcome(const Outcome<QByteArray> &outcome, const Expected &expected)
{
    if (const auto *body = std::get_if<QByteArray>(&expected)) {
        ASSERT_TRUE(outcome.value.has_value()) << "call failed";
        EXPECT_EQ(*outcome.value, *body);
    } else if (const auto *error = std::get_if<AppError>(&expected)) {
        const auto thrown = outcome.errorAs<AppError>();
        ASSERT_TRUE(thrown.has_value()) << "no AppError thrown";
        EXPECT_EQ(*thrown, *error) << thrown->what();
    } else {
        const auto thrown = outcome.errorAs<NetError>();
        ASSERT_TRUE(thrown.has_value()) << "no NetError thrown";
        EXPECT_EQ(thrown->code(), std::get<QNetworkReply::NetworkError>(expected)) << thrown->what();
    }
}

// Qt resends a request by itself when a connection closes before any answer, so rows with
// dropped connections give the fewest requests the server must see.
constexpr int kAtLeast = 100;

struct LadderCase {
    const char *name;
    QList<LoopbackResponse> answers;
    int requests; // plus kAtLeast when Qt may add its own resends
    Waits waits;
    Expected result;
};

class HttpLadder : public ::testing::TestWithParam<LadderCase> { };

TEST_P(HttpLadder, RetriesAsTheLadderSays)
{
    const LadderCase &row = GetParam();
    LoopbackServer server;
    server.serveSequence(QStringLiteral("/list"), row.answers);
    TestHttp http;

    const auto outcome = runOutcome(http->get(server.url(QStringLiteral("/list")), kShortTimeout));

    expectOutcome(outcome, row.result);
    if (row.requests > kAtLeast)
        EXPECT_GE(server.requestCount(QStringLiteral("/list")), row.requests - kAtLeast);
    else
        EXPECT_EQ(server.requestCount(QStringLiteral("/list")), row.requests);
    EXPECT_EQ(http.waits(), row.waits);
}

const LoopbackResponse ok = LoopbackResponse::text("body");
const LoopbackResponse stall = LoopbackResponse::stalled();

LoopbackResponse status(int code)
{
    return LoopbackResponse::withStatus(code, "error page");
}

INSTANTIATE_TEST_SUITE_P(Answers, HttpLadder,
    ::testing::Values(LadderCase { "ok", { ok }, 1, {}, QByteArray("body") },
        LadderCase { "created", { status(201) }, 1, {}, QByteArray("error page") },
        LadderCase {
            "server_error_three_times", { status(503) }, 3, { 1200ms, 2400ms }, AppError::http(503) },
        LadderCase { "server_error_then_ok", { status(503), ok }, 2, { 1200ms }, QByteArray("body") },
        LadderCase { "two_server_errors_then_ok", { status(500), status(502), ok }, 3, { 1200ms, 2400ms },
            QByteArray("body") },
        LadderCase { "timeout_then_ok", { stall, ok }, 2, {}, QByteArray("body") },
        LadderCase { "two_timeouts", { stall, stall }, 2, {}, QNetworkReply::TimeoutError },
        LadderCase {
            "timeout_then_server_errors", { stall, status(500) }, 3, { 2400ms }, AppError::http(500) },
        LadderCase {
            "server_error_then_timeout", { status(500), stall }, 2, { 1200ms }, QNetworkReply::TimeoutError },
        LadderCase {
            "dropped_then_ok", { LoopbackResponse::dropped(), ok }, kAtLeast + 2, {}, QByteArray("body") },
        LadderCase { "dropped_twice", { LoopbackResponse::dropped() }, kAtLeast + 3, {},
            QNetworkReply::RemoteHostClosedError },
        LadderCase { "dropped_after_server_error", { status(502), LoopbackResponse::dropped() }, kAtLeast + 2,
            { 1200ms }, QNetworkReply::RemoteHostClosedError },
        LadderCase { "not_found", { status(404), ok }, 1, {}, AppError::http(404) },
        LadderCase { "unauthorized", { status(401), ok }, 1, {}, AppError::http(401) },
        LadderCase { "forbidden", { status(403), ok }, 1, {}, AppError::http(403) },
        LadderCase { "too_many_requests", { status(429), ok }, 1, {}, AppError::http(429) },
        LadderCase { "provider_code", { status(884), ok }, 1, {}, AppError::http(884) }),
    [](const auto &info) { return std::string(info.param.name); });

class HttpAddress : public ::testing::TestWithParam<QString> { };

TEST_P(HttpAddress, InvalidAddressFailsBeforeAnyRequest)
{
    LoopbackServer server;
    TestHttp http;
    const QString address
        = GetParam().contains(QLatin1String("%1")) ? GetParam().arg(server.port()) : GetParam();

    expectOutcome(runOutcome(http->get(address, kShortTimeout)), AppError::badUrl());
    expectOutcome(runOutcome(http->cachedGet(address, 60s, false)), AppError::badUrl());
    const auto posted = runOutcome(http->postJSON(address, "{}"));
    EXPECT_EQ(posted.errorAs<AppError>(), AppError::badUrl());
    EXPECT_EQ(server.requestCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Addresses, HttpAddress,
    ::testing::Values(QString(), QStringLiteral("not a url %1"), QStringLiteral("http://127.0.0.1:%1/a b"),
        QStringLiteral("/player_api.php?port=%1"), QStringLiteral("file:///etc/hostname?%1"),
        QStringLiteral("ftp://127.0.0.1:%1/list"), QStringLiteral("http://:%1/list")));

TEST(Http, RefusedConnectionIsThrownWithoutRetry)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    TestHttp http;

    const auto outcome
        = runOutcome(http->get(QStringLiteral("http://127.0.0.1:%1/x").arg(port), kShortTimeout));

    expectOutcome(outcome, QNetworkReply::ConnectionRefusedError);
    EXPECT_TRUE(http.waits().isEmpty());
}

TEST(Http, WholeTransferLimitTimesOutEvenWhileTheServerIsSlowlyAnswering)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/slow"), LoopbackResponse::text("late").after(600ms));
    TestHttp http(HttpOptions { .resourceTimeout = 150ms });

    const auto outcome = runOutcome(http->get(server.url(QStringLiteral("/slow")), 10s));

    expectOutcome(outcome, QNetworkReply::TimeoutError);
    EXPECT_EQ(server.requestCount(), 2);
}

TEST(Http, AtMostFourRequestsRunAtOnceForAHost)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/slow"), LoopbackResponse::text("done").after(80ms));
    TestHttp http;

    std::vector<QCoro::Task<Outcome<QByteArray>>> calls;
    for (int i = 0; i < 10; ++i)
        calls.push_back(captureOutcome(http->get(server.url(QStringLiteral("/slow?n=%1").arg(i)), 5s)));
    for (auto &call : calls)
        EXPECT_EQ(runTask(std::move(call)).value, QByteArray("done"));

    EXPECT_EQ(server.requestCount(), 10);
    EXPECT_EQ(server.maxConcurrent(), Http::kConnectionsPerHost);
}

TEST(Http, FailedRequestsHandTheirSlotToTheNextOne)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/drop"), LoopbackResponse::dropped());
    server.serve(QStringLiteral("/ok"), ok);
    TestHttp http;

    std::vector<QCoro::Task<Outcome<QByteArray>>> calls;
    for (int i = 0; i < 9; ++i)
        calls.push_back(captureOutcome(http->get(server.url(QStringLiteral("/drop")), 5s)));
    for (auto &call : calls)
        EXPECT_TRUE(runTask(std::move(call)).errorAs<NetError>().has_value());

    EXPECT_EQ(runOutcome(http->get(server.url(QStringLiteral("/ok")), 5s)).value, QByteArray("body"));
    EXPECT_LE(server.maxConcurrent(), Http::kConnectionsPerHost);
}

QCoro::Task<> holdPermit(HostLimiter &limiter, QString host, QList<QString> &started, bool &release)
{
    const HostLimiter::Permit permit = co_await limiter.acquire(host);
    started.append(host);
    while (!release)
        co_await QCoro::sleepFor(1ms);
}

TEST(HostLimiter, QueuesOnlyBeyondTheLimitOfTheSameHost)
{
    HostLimiter limiter(2);
    QList<QString> started;
    bool release = false;
    std::vector<QCoro::Task<>> holders;
    for (const char *host : { "a", "a", "a", "b", "a" })
        holders.push_back(holdPermit(limiter, QString::fromLatin1(host), started, release));

    EXPECT_EQ(started, QList<QString>({ "a", "a", "b" }));
    EXPECT_EQ(limiter.running(QStringLiteral("a")), 2);
    release = true;
    for (auto &holder : holders)
        runTask(std::move(holder));

    EXPECT_EQ(started, QList<QString>({ "a", "a", "b", "a", "a" }));
    EXPECT_EQ(limiter.running(QStringLiteral("a")), 0);
    EXPECT_EQ(limiter.running(QStringLiteral("b")), 0);
}

TEST(Http, UserAgentIsReadForEveryRequestAndRetry)
{
    LoopbackServer server;
    server.serveSequence(QStringLiteral("/a"), { status(503), ok, ok, ok });
    QStringList agents { QStringLiteral("First/1"), QStringLiteral("Second/2"), QString() };
    TestHttp http(HttpOptions {
        .userAgent = [&agents] { return agents.size() > 1 ? agents.takeFirst() : agents.first(); } });

    EXPECT_TRUE(runOutcome(http->get(server.url(QStringLiteral("/a")), 5s)).value);
    EXPECT_TRUE(runOutcome(http->get(server.url(QStringLiteral("/a")), 5s)).value);

    const auto log = server.requests();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0].header("User-Agent"), "First/1");
    EXPECT_EQ(log[1].header("User-Agent"), "Second/2");
    // An empty stored agent is sent as an empty header, not replaced.
    EXPECT_TRUE(log[2].hasHeader("User-Agent"));
    EXPECT_EQ(log[2].header("User-Agent"), "");
    EXPECT_EQ(log[0].header("Accept"), "*/*");
    EXPECT_EQ(log[0].method, "GET");
}

TEST(Http, DefaultUserAgentAndProviderReplacement)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/a"), ok);
    TestHttp http;

    runOutcome(http->get(server.url(QStringLiteral("/a")), 5s));
    http->setUserAgentProvider([] { return QStringLiteral("Custom UA"); });
    runOutcome(http->get(server.url(QStringLiteral("/a")), 5s));

    ASSERT_EQ(server.requestCount(), 2);
    EXPECT_EQ(server.requests()[0].header("User-Agent"), "Zelfor/1.1.6 (Macintosh; macOS)");
    EXPECT_EQ(server.requests()[1].header("User-Agent"), "Custom UA");
}

struct PostCase {
    const char *name;
    LoopbackResponse answer;
    int status;
};

class HttpPost : public ::testing::TestWithParam<PostCase> { };

TEST_P(HttpPost, ReturnsAnyStatusWithItsBodyAfterOneRequest)
{
    const PostCase &row = GetParam();
    LoopbackServer server;
    server.serve(QStringLiteral("/api/app/device"), row.answer);
    TestHttp http(HttpOptions { .userAgent = [] { return QStringLiteral("Agent/3"); } });
    const QByteArray body = R"({"mac":"00:1a:79:00:00:01","app_version":"1.1.6"})";

    const auto outcome = runOutcome(http->postJSON(server.url(QStringLiteral("/api/app/device")), body));

    ASSERT_TRUE(outcome.value.has_value());
    EXPECT_EQ(outcome.value->status, row.status);
    EXPECT_EQ(outcome.value->body, row.answer.body);
    ASSERT_EQ(server.requestCount(), 1);
    const LoopbackRequest sent = server.requests().first();
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.body, body);
    EXPECT_EQ(sent.header("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(sent.header("Accept"), "application/json");
    EXPECT_EQ(sent.header("User-Agent"), "Agent/3");
    EXPECT_TRUE(http.waits().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Answers, HttpPost,
    ::testing::Values(PostCase { "ok", LoopbackResponse::json(R"({"device":{}})"), 200 },
        PostCase { "server_error", LoopbackResponse::json(R"({"error":{"message":"down"}})", 500), 500 },
        PostCase { "forbidden", LoopbackResponse::json(R"({"error":{"message":"blocked"}})", 403), 403 },
        PostCase { "not_found", LoopbackResponse::withStatus(404, "nope"), 404 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Http, PostTransportFailureIsThrown)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/api/app/device"), LoopbackResponse::dropped());
    TestHttp http;

    const auto outcome = runOutcome(http->postJSON(server.url(QStringLiteral("/api/app/device")), "{}"));

    const auto error = outcome.errorAs<NetError>();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), QNetworkReply::RemoteHostClosedError);
}

TEST(Http, Sha1HexIsLowerCaseHexOfUtf8)
{
    EXPECT_EQ(sha1Hex(QString()), QStringLiteral("da39a3ee5e6b4b0d3255bfef95601890afd80709"));
    EXPECT_EQ(sha1Hex(QStringLiteral("abc")), QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"));
    EXPECT_EQ(sha1Hex(QStringLiteral("http://127.0.0.1:8080/get.php?username=a&password=b")),
        QStringLiteral("3389d47698b03edab8ce6f64786f41ff0648b624"));
    EXPECT_EQ(
        sha1Hex(QString::fromUtf8("é日本")), QStringLiteral("e55eeff7fe0866f8fe443dc5f88b41202db7015d"));
}

TEST(Http, OnlyCancelledRequestsCountAsCancellation)
{
    EXPECT_TRUE(isCancellation(std::make_exception_ptr(NetError(QNetworkReply::OperationCanceledError))));
    EXPECT_FALSE(isCancellation(std::make_exception_ptr(NetError(QNetworkReply::TimeoutError))));
    EXPECT_FALSE(isCancellation(std::make_exception_ptr(AppError::http(499))));
    EXPECT_FALSE(isCancellation(std::exception_ptr()));
}

} // namespace
