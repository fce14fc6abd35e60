#include "LoopbackServer.h"
#include "ManualClock.h"
#include "TaskOutcome.h"
#include "TestHttp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QDateTime kNow = QDateTime(QDate(2026, 3, 14), QTime(12, 0), Qt::UTC);
constexpr qint64 kWeek = 7 * 24 * 3600;

QString cacheFile(const QString &dir, const QString &address)
{
    return dir + QLatin1Char('/') + sha1Hex(address);
}

void storeCached(const QString &dir, const QString &address, const QByteArray &body, qint64 ageSeconds)
{
    QFile file(cacheFile(dir, address));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(body);
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(kNow.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
}

std::optional<QByteArray> readCached(const QString &dir, const QString &address)
{
    QFile file(cacheFile(dir, address));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

TEST(HttpCache, ServesStoresAndFallsBackAsRequired)
{
    const struct {
        const char *name;
        std::optional<QByteArray> cached; // stored before the call, with the age below
        qint64 ageSeconds, ttlSeconds;
        bool force;
        int serverStatus; // the server answers "network" with this status
        std::optional<QByteArray> result; // nothing: the call throws AppError::http(serverStatus)
        int requests;
        std::optional<QByteArray> cachedAfter;
    } cases[] = {
        { "fresh file served", "cached", 100, 21600, false, 200, "cached", 0, "cached" },
        { "just younger than ttl", "cached", 99, 100, false, 200, "cached", 0, "cached" },
        { "as old as ttl", "cached", 100, 100, false, 200, "network", 1, "network" },
        { "forced", "cached", 10, 21600, true, 200, "network", 1, "network" },
        { "empty fresh file", "", 10, 21600, false, 200, "network", 1, "network" },
        { "no file", std::nullopt, 0, 21600, false, 200, "network", 1, "network" },
        { "stale file for an error", "cached", kWeek, 100, false, 404, "cached", 1, "cached" },
        { "stale file after retries", "cached", kWeek, 100, false, 503, "cached", 3, "cached" },
        { "forced failure", "cached", kWeek, 100, true, 404, std::nullopt, 1, "cached" },
        { "empty stale file", "", kWeek, 100, false, 404, std::nullopt, 1, "" },
        { "no file failure", std::nullopt, 0, 100, false, 403, std::nullopt, 1, std::nullopt },
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.name);
        LoopbackServer server;
        server.serve(QStringLiteral("/list"), LoopbackResponse::withStatus(row.serverStatus, "network"));
        ManualClock clock { kNow };
        TestHttp http(HttpOptions { .clock = &clock });
        const QString address = server.url(QStringLiteral("/list?action=get_live_streams"));
        if (row.cached)
            storeCached(http.cacheDir(), address, *row.cached, row.ageSeconds);

        const auto outcome
            = runOutcome(http->cachedGet(address, std::chrono::seconds(row.ttlSeconds), row.force));

        if (row.result)
            EXPECT_EQ(outcome.value, row.result);
        else
            EXPECT_EQ(outcome.errorAs<AppError>(), AppError::http(row.serverStatus));
        EXPECT_EQ(server.requestCount(), row.requests);
        EXPECT_EQ(readCached(http.cacheDir(), address), row.cachedAfter);
    }
}

TEST(HttpCache, WithoutNetworkAWeekOldCopyIsServedUnlessForced)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QString address = QStringLiteral("http://127.0.0.1:%1/get.php").arg(closed.serverPort());
    closed.close();
    ManualClock clock { kNow };
    TestHttp http(HttpOptions { .clock = &clock });
    storeCached(http.cacheDir(), address, "#EXTM3U\n", kWeek);

    EXPECT_EQ(runOutcome(http->cachedGet(address, 21600s, false)).value, QByteArray("#EXTM3U\n"));
    const auto forced = runOutcome(http->cachedGet(address, 21600s, true));
    ASSERT_TRUE(forced.errorAs<NetError>().has_value());
    EXPECT_EQ(forced.errorAs<NetError>()->code(), QNetworkReply::ConnectionRefusedError);
}

TEST(HttpCache, ClearCacheEmptiesTheFolderAndKeepsItUsable)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/a"), LoopbackResponse::text("fresh"));
    TestHttp http;
    const QString address = server.url(QStringLiteral("/a"));
    ASSERT_EQ(runOutcome(http->cachedGet(address, 3600s, false)).value, QByteArray("fresh"));
    ASSERT_TRUE(QFile::exists(cacheFile(http.cacheDir(), address)));

    http->clearCache();

    EXPECT_TRUE(QDir(http.cacheDir()).exists());
    EXPECT_TRUE(QDir(http.cacheDir()).isEmpty());
    EXPECT_EQ(runOutcome(http->cachedGet(address, 3600s, false)).value, QByteArray("fresh"));
    EXPECT_EQ(server.requestCount(), 2);
    EXPECT_EQ(readCached(http.cacheDir(), address), QByteArray("fresh"));
}

TEST(HttpCache, CachedBodiesAndTheirFoldersArePrivate)
{
    LoopbackServer server;
    server.serve(QStringLiteral("/a"), LoopbackResponse::text("fresh"));
    TestHttp http;
    const QString address = server.url(QStringLiteral("/a"));
    const auto othersMay = [](const QString &path) { return QFile::permissions(path) & 0x0077; };
    ASSERT_EQ(runOutcome(http->cachedGet(address, 3600s, false)).value, QByteArray("fresh"));
    EXPECT_EQ(othersMay(cacheFile(http.cacheDir(), address)), 0);
    EXPECT_EQ(othersMay(http.cacheDir()), 0);
    const QString cachesRoot = QFileInfo(Http::defaultCacheDir()).absolutePath();
    EXPECT_TRUE(cachesRoot.endsWith(QLatin1String("/Zelfor")));
    EXPECT_EQ(othersMay(cachesRoot), 0);
    EXPECT_EQ(othersMay(Http::defaultCacheDir()), 0);
}

TEST(HttpCache, UnusableFolderOnlyDisablesCaching)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LoopbackServer server;
    server.serve(QStringLiteral("/a"), LoopbackResponse::text("body"));
    TestHttp http(HttpOptions { .cacheDir = blocker.fileName() });

    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(runOutcome(http->cachedGet(server.url(QStringLiteral("/a")), 3600s, false)).value, "body");
    EXPECT_EQ(server.requestCount(), 2);
}

TEST(HttpCache, ProgramCacheIsInTheCachesFolder)
{
    EXPECT_TRUE(Http::defaultCacheDir().endsWith(QLatin1String("/Zelfor/http")));
}

} // namespace
