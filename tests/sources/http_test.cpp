#include "HostileAnswers.h"
#include "LoopbackServer.h"
#include "TaskOutcome.h"
#include "TestHttp.h"

#include <QCoroTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

#include <variant>
#include <vector>

using namespace std::chrono_literals;
using Waits = QList<std::chrono::milliseconds>;

namespace {

// The time-out runs on the real clock from the moment the request is issued, before its
// connection is even open; under a loaded machine 300 ms passed before a first request
// reached the server. A second keeps the stalled rows (about five seconds) meaningful.
constexpr auto kShortTimeout = 1000ms;

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

const LoopbackResponse ok = LoopbackResponse::text("body");
const LoopbackResponse stall = LoopbackResponse::stalled();
const LoopbackResponse drop = LoopbackResponse::dropped();

LoopbackResponse status(int code)
{
    return LoopbackResponse::withStatus(code, "error page");
}

TEST(Http, RetriesAsTheLadderSays)
{
    // Qt resends a request by itself when a connection closes before any answer, so rows with
    // dropped connections give the fewest requests the server must see.
    const struct {
        const char *name;
        QList<LoopbackResponse> answers;
        int requests;
        bool atLeast;
        Waits waits;
        Expected result;
    } cases[] = {
        { "ok", { ok }, 1, false, {}, QByteArray("body") },
        { "created", { status(201) }, 1, false, {}, QByteArray("error page") },
        { "server error thrice", { status(503) }, 3, false, { 1200ms, 2400ms }, AppError::http(503) },
        { "server error then ok", { status(503), ok }, 2, false, { 1200ms }, QByteArray("body") },
        { "two server errors then ok", { status(500), status(502), ok }, 3, false, { 1200ms, 2400ms },
            QByteArray("body") },
        { "timeout then ok", { stall, ok }, 2, false, {}, QByteArray("body") },
        { "two timeouts", { stall, stall }, 2, false, {}, QNetworkReply::TimeoutError },
        { "timeout then server errors", { stall, status(500) }, 3, false, { 2400ms }, AppError::http(500) },
        { "server error then timeout", { status(500), stall }, 2, false, { 1200ms },
            QNetworkReply::TimeoutError },
        { "dropped then ok", { drop, ok }, 2, true, {}, QByteArray("body") },
        { "dropped twice", { drop }, 3, true, {}, QNetworkReply::RemoteHostClosedError },
        { "dropped after server error", { status(502), drop }, 2, true, { 1200ms },
            QNetworkReply::RemoteHostClosedError },
        { "not found", { status(404), ok }, 1, false, {}, AppError::http(404) },
        { "bad request", { status(400), ok }, 1, false, {}, AppError::http(400) },
        { "too many requests", { status(429), ok }, 1, false, {}, AppError::http(429) },
        { "provider code", { status(884), ok }, 1, false, {}, AppError::http(884) },
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.name);
        LoopbackServer server;
        server.serveSequence(QStringLiteral("/list"), row.answers);
        TestHttp http;
        expectOutcome(runOutcome(http->get(server.url(QStringLiteral("/list")), kShortTimeout)), row.result);
        if (row.atLeast)
            EXPECT_GE(server.requestCount(QStringLiteral("/list")), row.requests);
        else
            EXPECT_EQ(server.requestCount(QStringLiteral("/list")), row.requests);
        EXPECT_EQ(http.waits(), row.waits);
    }
}

TEST(Http, InvalidAddressFailsBeforeAnyRequest)
{
    LoopbackServer server;
    TestHttp http;
    for (const char *form : { "", "not a url %1", "/player_api.php?port=%1", "file:///etc/hostname?%1",
             "ftp://127.0.0.1:%1/list", "http://:%1/list" }) {
        const QString address
            = QString::fromLatin1(form).replace(QLatin1String("%1"), QString::number(server.port()));
        SCOPED_TRACE(address.toStdString());
        expectOutcome(runOutcome(http->get(address, kShortTimeout)), AppError::badUrl());
        expectOutcome(runOutcome(http->cachedGet(address, 60s, false)), AppError::badUrl());
        EXPECT_EQ(runOutcome(http->postJSON(address, "{}")).errorAs<AppError>(), AppError::badUrl());
    }
    EXPECT_EQ(server.requestCount(), 0);
}

TEST(Http, AddressesWithSpacesBarsAndBracesAreSentPercentEncoded)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/live/a b|c{d}.ts"), ok);
    TestHttp http;
    const QString address = server.url(QStringLiteral("/live/a b|c{d}.ts?x=1|User-Agent=VLC"));
    EXPECT_EQ(runOutcome(http->get(address, 5s)).value, "body");
    ASSERT_EQ(server.requestCount(), 1);
    EXPECT_EQ(server.requests().first().queryValue(QStringLiteral("x")), u"1|User-Agent=VLC");
}

TEST(Http, AbandonedRequestsAbortAndFreeTheirHostSlotsAtOnce)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/stall"), stall);
    server.serve(QStringLiteral("/quick"), ok);
    TestHttp http;
    // Two callers cancel their token, two drop their source; a sixth gives up while queued.
    std::vector<std::shared_ptr<CancelSource>> sources;
    std::vector<QCoro::Task<Outcome<QByteArray>>> stalled;
    for (int i = 0; i < 5; ++i) {
        sources.push_back(std::make_shared<CancelSource>());
        stalled.push_back(
            captureOutcome(http->get(server.url(QStringLiteral("/stall")), 20s, sources.back()->token())));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 4; }));
    sources[0]->cancel();
    sources[1]->cancel();
    sources[4]->cancel();
    sources.clear();

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runOutcome(http->get(server.url(QStringLiteral("/quick")), 5s)).value, "body");
    EXPECT_LT(clock.elapsed(), 10000) << "the stalled requests would hold the host for 20 s";
    for (auto &call : stalled)
        EXPECT_TRUE(isCancellation(runTask(std::move(call)).error));
    EXPECT_EQ(server.requestCount(QStringLiteral("/stall")), 4);
    EXPECT_TRUE(http.waits().isEmpty());
}

TEST(Http, RefusedConnectionIsThrownWithoutRetry)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    TestHttp http;
    const QString address = QStringLiteral("http://127.0.0.1:%1/x").arg(port);
    expectOutcome(runOutcome(http->get(address, kShortTimeout)), QNetworkReply::ConnectionRefusedError);
    EXPECT_TRUE(http.waits().isEmpty());
}

TEST(Http, WholeTransferLimitTimesOutEvenWhileTheServerIsSlowlyAnswering)
{
    LoopbackServer server;
    // The limit counts from the request's start, connection included: it must outlast
    // a loaded machine's connection latency, so each of the two attempts takes a second.
    server.serve(QStringLiteral("/slow"), LoopbackResponse::text("late").after(4s));
    TestHttp http(HttpOptions { .resourceTimeout = 1s });
    expectOutcome(
        runOutcome(http->get(server.url(QStringLiteral("/slow")), 10s)), QNetworkReply::TimeoutError);
    EXPECT_EQ(server.requestCount(), 2);
}

TEST(Http, AtMostFourRequestsRunAtOnceForAHostAndFailuresFreeTheirSlot)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/slow"), LoopbackResponse::text("done").after(80ms));
    server.serve(QStringLiteral("/drop"), drop);
    TestHttp http;
    std::vector<QCoro::Task<Outcome<QByteArray>>> calls;
    for (int i = 0; i < 10; ++i)
        calls.push_back(captureOutcome(http->get(server.url(QStringLiteral("/slow?n=%1").arg(i)), 5s)));
    for (auto &call : calls)
        EXPECT_EQ(runTask(std::move(call)).value, "done");
    EXPECT_EQ(server.requestCount(), 10);
    EXPECT_EQ(server.maxConcurrent(), Http::kConnectionsPerHost);

    calls.clear();
    for (int i = 0; i < 9; ++i)
        calls.push_back(captureOutcome(http->get(server.url(QStringLiteral("/drop")), 5s)));
    for (auto &call : calls)
        EXPECT_TRUE(runTask(std::move(call)).errorAs<NetError>().has_value());
    EXPECT_EQ(runOutcome(http->get(server.url(QStringLiteral("/slow")), 5s)).value, "done");
}

QCoro::Task<> holdPermit(HostLimiter &limiter, QString host, QList<QString> &started, bool &release)
{
    const HostLimiter::Permit permit = co_await limiter.acquire(host);
    started.append(host);
    while (!release)
        co_await QCoro::sleepFor(1ms);
}

// A hostile provider's bodies end in an error once they pass the cap, decompressed or not;
// the transfer is aborted rather than read to its end.
TEST(Http, BodiesOverTheCapOrBrokenInTransferFail)
{
    constexpr qint64 kCap = 1024 * 1024;
    const QByteArray list = "[" + QByteArray(1000, '1') + "]";
    const struct {
        const char *name;
        LoopbackResponse answer;
        qint64 cap;
        Expected result;
    } rows[] = {
        { "endless", HostileAnswer::endless(), kCap, AppError::badData() },
        { "huge", HostileAnswer::huge(64 * kCap), kCap, AppError::badData() },
        { "gzip bomb over the cap", HostileAnswer::gzipBomb(64 * kCap), kCap, AppError::badData() },
        // Far under our cap, Qt's own bomb check stops it: still an error, never an empty list.
        { "gzip bomb under the cap", HostileAnswer::gzipBomb(64 * kCap), 512 * kCap, AppError::badData() },
        { "truncated", HostileAnswer::truncated(list, 4 * list.size()), kCap,
            QNetworkReply::RemoteHostClosedError },
        { "slow but whole", HostileAnswer::slow(list, 1ms, 100), kCap, list },
        { "just at the cap", HostileAnswer::huge(kCap), kCap, QByteArray(kCap, 'x') },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        LoopbackServer server;
        server.serve(QStringLiteral("/list"), row.answer);
        TestHttp http(HttpOptions { .bodyCap = row.cap });
        expectOutcome(runOutcome(http->get(server.url(QStringLiteral("/list")), 10s)), row.result);
    }
}

TEST(Http, AnEndlessBodyIsAbortedByTheClient)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/list"), HostileAnswer::endless());
    TestHttp http(HttpOptions { .bodyCap = 256 * 1024 });
    expectOutcome(
        runOutcome(http->cachedGet(server.url(QStringLiteral("/list")), 60s, false)), AppError::badData());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.streamsClosedByClient() == 1; }));
    EXPECT_FALSE(QFile::exists(http->cacheDir() + u'/' + sha1Hex(server.url(QStringLiteral("/list")))));
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
    server.serveSequence(QStringLiteral("/a"), { ok, status(503), ok, ok, ok });
    TestHttp http;
    QStringList agents { QStringLiteral("First/1"), QStringLiteral("Second/2"), QString() };
    EXPECT_TRUE(runOutcome(http->get(server.url(QStringLiteral("/a")), 5s)).value);
    http->setUserAgentProvider([&agents] { return agents.size() > 1 ? agents.takeFirst() : agents.first(); });
    EXPECT_TRUE(runOutcome(http->get(server.url(QStringLiteral("/a")), 5s)).value);
    EXPECT_TRUE(runOutcome(http->get(server.url(QStringLiteral("/a")), 5s)).value);

    const auto log = server.requests();
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0].header("User-Agent"), "Zelfor/1.1.6 (X11; Linux)");
    EXPECT_EQ(log[1].header("User-Agent"), "First/1");
    EXPECT_EQ(log[2].header("User-Agent"), "Second/2");
    // An empty stored agent is sent as an empty header, not replaced.
    EXPECT_TRUE(log[3].hasHeader("User-Agent"));
    EXPECT_EQ(log[3].header("User-Agent"), "");
    EXPECT_EQ(log[0].header("Accept"), "*/*");
    EXPECT_EQ(log[0].method, "GET");
}

TEST(Http, PostReturnsAnyStatusWithItsBodyAfterOneRequest)
{
    const std::pair<LoopbackResponse, int> cases[] = { { LoopbackResponse::json(R"({"device":{}})"), 200 },
        { LoopbackResponse::json(R"({"error":{"message":"down"}})", 500), 500 },
        { LoopbackResponse::json(R"({"error":{"message":"blocked"}})", 403), 403 },
        { LoopbackResponse::withStatus(404, "nope"), 404 } };
    const QByteArray body = R"({"mac":"00:1a:79:00:00:01","app_version":"1.1.6"})";
    for (const auto &[answer, code] : cases) {
        SCOPED_TRACE(code);
        LoopbackServer server;
        server.serve(QStringLiteral("/api/app/device"), answer);
        TestHttp http(HttpOptions { .userAgent = [] { return QStringLiteral("Agent/3"); } });

        const auto outcome = runOutcome(http->postJSON(server.url(QStringLiteral("/api/app/device")), body));

        ASSERT_TRUE(outcome.value.has_value());
        EXPECT_EQ(outcome.value->status, code);
        EXPECT_EQ(outcome.value->body, answer.body);
        ASSERT_EQ(server.requestCount(), 1);
        const LoopbackRequest sent = server.requests().first();
        EXPECT_EQ(sent.method, "POST");
        EXPECT_EQ(sent.body, body);
        EXPECT_EQ(sent.header("Content-Type"), "application/json; charset=utf-8");
        EXPECT_EQ(sent.header("Accept"), "application/json");
        EXPECT_EQ(sent.header("User-Agent"), "Agent/3");
        EXPECT_TRUE(http.waits().isEmpty());
    }

    // A connection closed before the answer fails the call; the record is not sent again.
    LoopbackServer server;
    server.serve(QStringLiteral("/api/app/device"), drop);
    TestHttp http;
    const auto dropped = runOutcome(http->postJSON(server.url(QStringLiteral("/api/app/device")), "{}"));
    ASSERT_TRUE(dropped.errorAs<NetError>().has_value());
    EXPECT_EQ(dropped.errorAs<NetError>()->code(), QNetworkReply::RemoteHostClosedError);
    EXPECT_EQ(server.requestCount(), 1);
}

TEST(Http, Sha1HexIsLowerCaseHexOfUtf8)
{
    EXPECT_EQ(sha1Hex(QStringLiteral("abc")), QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"));
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
