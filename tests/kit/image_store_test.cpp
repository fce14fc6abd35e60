#include "HostileAnswers.h"
#include "KitTestSupport.h"
#include "ManualClock.h"
#include "PeakMemory.h"
#include "RunTask.h"
#include "kit/ImageStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// The classic transparent 1-by-1 GIF.
const QByteArray kPixelGif
    = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");
// A red 3-by-2 GIF (Qt writes no GIF).
const QByteArray kRedGif
    = QByteArray::fromBase64("R0lGODlhAwACAPAAAP8AAAAAACH5BAAAAAAALAAAAAADAAIAAAIChF8AOw==");

struct Finished {
    QImage image;
    bool done = false;
};

QCoro::Task<> loadInto(ImageStore *store, QString address, const QObject *owner,
    std::shared_ptr<Finished> out, std::function<ImageStore::Shown()> shown = {})
{
    out->image = co_await store->image(address, owner, std::move(shown));
    out->done = true;
}

class ImageStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<ImageStore> newStore()
    {
        return std::make_unique<ImageStore>(
            m_dir.path(), [] { return QStringLiteral("ImageTest/2.0"); }, nullptr, &clock);
    }

    QImage load(ImageStore &store, const QString &path) { return runTask(store.image(server.url(path))); }
    QImage load(const QString &path, ImageStore::Shown shown)
    {
        return runTask(store->image(server.url(path), nullptr, [shown] { return shown; }));
    }

    // A load for `owner`, waited for in the event loop.
    std::shared_ptr<Finished> start(const QString &path, const QObject *owner)
    {
        auto finished = std::make_shared<Finished>();
        loadInto(store.get(), server.url(path), owner, finished);
        return finished;
    }

    QTemporaryDir m_dir;
    ManualClock clock;
    LoopbackServer server;
    std::unique_ptr<ImageStore> store = newStore();
};

TEST_F(ImageStoreTest, LoadsWebpWithTheUserAgentAndKeepsThePictureInMemory)
{
    const QByteArray webp = pictureBytes({ 64, 32 }, "WEBP");
    ASSERT_FALSE(webp.isEmpty()) << "no webp writer";
    server.serve("/logo.webp", LoopbackResponse::file(webp, "image/webp"));
    ASSERT_EQ(load(*store, "/logo.webp").size(), QSize(64, 32));
    EXPECT_EQ(server.requests().constFirst().header("user-agent"), "ImageTest/2.0");
    EXPECT_EQ(store->cached(server.url("/logo.webp")).size(), QSize(64, 32));
    EXPECT_EQ(load(*store, "/logo.webp").size(), QSize(64, 32));
    EXPECT_EQ(server.requestCount("/logo.webp"), 1);
}

TEST_F(ImageStoreTest, MemoryIsBoundedInBytesAsWellAsInCount)
{
    // 2048x2048 RGB32 decodes to 16 MiB: the byte bound keeps about 16 of them.
    server.serve("/poster.png", picture({ 2048, 2048 }));
    const int loads = 24;
    for (int i = 0; i < loads; ++i)
        ASSERT_FALSE(load(*store, QStringLiteral("/poster.png?n=%1").arg(i)).isNull());
    int kept = 0;
    for (int i = 0; i < loads; ++i)
        kept += store->cached(server.url(QStringLiteral("/poster.png?n=%1").arg(i))).isNull() ? 0 : 1;
    EXPECT_GT(kept, 0);
    EXPECT_LE(qint64(kept) * 16 * 1024 * 1024, ImageStore::kMemoryBytes);
}

TEST_F(ImageStoreTest, PermanentFailureIsRecordedOnceAndNeverAskedForAgain)
{
    const std::pair<const char *, LoopbackResponse> answers[] = {
        { "/missing", LoopbackResponse::withStatus(404, "missing") },
        { "/forbidden", LoopbackResponse::withStatus(403) },
        { "/pixel.gif", LoopbackResponse::file(kPixelGif, "image/gif") },
        { "/line.png", picture({ 1, 50 }) },
        { "/page", LoopbackResponse::text("<html>hello</html>") },
        // A hostile provider: more than one picture may weigh, inflated or not, or a vector
        // picture, which is never decoded.
        { "/endless", HostileAnswer::endless() },
        { "/huge", HostileAnswer::huge(4 * ImageStore::kBodyCap) },
        { "/bomb", HostileAnswer::gzipBomb(4 * ImageStore::kBodyCap) },
        { "/shape.svg",
            HostileAnswer::crafted(R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40">)"
                                   R"(<rect width="40" height="40" fill="red"/></svg>)",
                "image/svg+xml") },
    };
    for (const auto &[path, response] : answers) {
        SCOPED_TRACE(path);
        server.serve(QLatin1String(path), response);
        EXPECT_TRUE(load(*store, path).isNull());
        EXPECT_TRUE(store->hasFailed(server.url(path)));
        clock.advance(ImageStore::kRetryAfter.count() * 10);
        EXPECT_TRUE(load(*store, path).isNull());
        EXPECT_EQ(server.requestCount(path), 1);
    }
}

// A server error or a refused connection is asked for again, but at most once per 30 s.
TEST_F(ImageStoreTest, PassingFailureIsAskedForAgainAtMostOncePer30Seconds)
{
    // The port of a server that has stopped refuses connections.
    const QString refused = LoopbackServer().url("/refused.png");
    server.serveSequence("/error.png", { LoopbackResponse::withStatus(503), picture({ 12, 12 }) });
    const std::pair<QString, QSize> cases[] = {
        { server.url("/error.png"), { 12, 12 } },
        { refused, QSize(0, 0) },
    };
    for (const auto &[address, size] : cases) {
        SCOPED_TRACE(address.toStdString());
        EXPECT_TRUE(runTask(store->image(address)).isNull());
        EXPECT_TRUE(store->hasFailed(address));
        const int sent = server.requestCount();
        clock.advance(ImageStore::kRetryAfter.count() - 1);
        EXPECT_TRUE(runTask(store->image(address)).isNull());
        EXPECT_EQ(server.requestCount(), sent);
        clock.advance(1);
        EXPECT_FALSE(store->hasFailed(address));
        EXPECT_EQ(runTask(store->image(address)).size(), size);
        EXPECT_EQ(store->hasFailed(address), size.isEmpty());
    }
}

TEST_F(ImageStoreTest, UnrequestableAddressesGiveNothingWithoutRequestOrFailure)
{
    for (QString address :
        { "", "logo", "ftp://127.0.0.1/logo.png", "file:///tmp/logo.png", "//127.0.0.1/x.png" }) {
        EXPECT_TRUE(runTask(store->image(address)).isNull()) << qPrintable(address);
        EXPECT_FALSE(store->hasFailed(address)) << qPrintable(address);
    }
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(ImageStoreTest, ClearingForgetsFailuresAndPictures)
{
    server.serveSequence(
        "/late.png", { LoopbackResponse::withStatus(404), picture({ 20, 20 }), picture({ 30, 30 }) });
    EXPECT_TRUE(load(*store, "/late.png").isNull());
    store->clear();
    EXPECT_FALSE(store->hasFailed(server.url("/late.png")));
    EXPECT_EQ(load(*store, "/late.png").size(), QSize(20, 20));
    store->clear();
    EXPECT_TRUE(store->cached(server.url("/late.png")).isNull());
    // Neither memory nor disk answers after clearing: the server is asked again.
    EXPECT_EQ(load(*store, "/late.png").size(), QSize(30, 30));
    EXPECT_EQ(server.requestCount("/late.png"), 3);
}

// The disk keeps pictures for the next run, but not failures.
TEST_F(ImageStoreTest, DiskAnswersPicturesAfterARestartButForgetsFailures)
{
    server.serve("/poster.jpg", LoopbackResponse::file(pictureBytes({ 60, 90 }, "JPEG"), "image/jpeg"));
    server.serveSequence("/flaky.png", { LoopbackResponse::withStatus(404), picture({ 10, 10 }) });
    server.serve("/broken.png", LoopbackResponse::text("not a picture"));
    ASSERT_EQ(load(*store, "/poster.jpg").size(), QSize(60, 90));
    EXPECT_TRUE(load(*store, "/flaky.png").isNull());
    EXPECT_TRUE(load(*store, "/broken.png").isNull());
    store.reset();
    store = newStore();
    EXPECT_TRUE(store->cached(server.url("/poster.jpg")).isNull());
    EXPECT_EQ(load(*store, "/poster.jpg").size(), QSize(60, 90));
    EXPECT_EQ(load(*store, "/flaky.png").size(), QSize(10, 10));
    EXPECT_TRUE(load(*store, "/broken.png").isNull());
    EXPECT_EQ(QList<int>({ server.requestCount("/poster.jpg"), server.requestCount("/flaky.png"),
                  server.requestCount("/broken.png") }),
        QList<int>({ 1, 2, 2 }));
}

TEST_F(ImageStoreTest, CancelledLoadIsNotAFailureButAFailedOneIsRemembered)
{
    server.serveSequence("/slow.png", { LoopbackResponse::stalled(), picture({ 24, 24 }) });
    server.serve("/gone.png", LoopbackResponse::dropped());
    auto owner = std::make_unique<QObject>();
    const auto cancelled = start("/slow.png", owner.get());
    const auto failed = start("/gone.png", this->store.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount("/slow.png") == 1 && failed->done; }, 5000));
    owner.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cancelled->done; }, 5000));
    EXPECT_TRUE(cancelled->image.isNull());
    EXPECT_TRUE(failed->image.isNull());
    EXPECT_FALSE(store->hasFailed(server.url("/slow.png")));
    EXPECT_TRUE(store->hasFailed(server.url("/gone.png")));
    EXPECT_EQ(load(*store, "/slow.png").size(), QSize(24, 24));
    EXPECT_EQ(server.requestCount("/slow.png"), 2);
}

// An SVG logo may point at files of the computer; it must show none of them.
TEST_F(ImageStoreTest, SvgLogoReferencingALocalFileDrawsNothing)
{
    const QString local = m_dir.filePath(QStringLiteral("private.png"));
    QFile file(local);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pictureBytes({ 40, 40 }, "PNG"));
    file.close();
    const QByteArray svg
        = R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
          R"(width="40" height="40"><image width="40" height="40" xlink:href=")"
        + QUrl::fromLocalFile(local).toEncoded() + R"("/></svg>)";
    // The same bytes under a raster name and type.
    server.serve("/logo.png", HostileAnswer::crafted(svg, "image/png"));
    EXPECT_TRUE(load(*store, "/logo.png").isNull());
    EXPECT_TRUE(store->hasFailed(server.url("/logo.png")));
}

TEST_F(ImageStoreTest, EveryRasterFormatProvidersUseDecodes)
{
    const std::pair<const char *, QByteArray> pictures[] = {
        { "png", pictureBytes({ 3, 2 }, "PNG") },
        { "jpeg", pictureBytes({ 3, 2 }, "JPEG") },
        { "bmp", pictureBytes({ 3, 2 }, "BMP") },
        { "webp", pictureBytes({ 3, 2 }, "WEBP") },
        { "gif", kRedGif },
    };
    for (const auto &[name, bytes] : pictures) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(bytes.isEmpty()) << "no writer";
        // The type the server names does not matter; the bytes do.
        const QString path = QStringLiteral("/picture.") + QLatin1String(name);
        server.serve(path, LoopbackResponse::file(bytes, "application/octet-stream"));
        EXPECT_EQ(load(*store, path).size(), QSize(3, 2));
    }
}

// An endless picture is cut at the store's cap: the client closes the connection.
TEST_F(ImageStoreTest, EndlessPictureIsAbortedAtTheCap)
{
    QTemporaryDir smallDir;
    ImageStore small(
        smallDir.path(), [] { return QStringLiteral("ImageTest/2.0"); }, nullptr, &clock, 64 * 1024);
    server.serve("/endless.png", HostileAnswer::endless());
    server.serve("/big.png", picture({ 512, 512 }, "BMP"));
    EXPECT_TRUE(load(small, "/endless.png").isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.streamsClosedByClient() == 1; }));
    EXPECT_TRUE(load(small, "/big.png").isNull());
    EXPECT_TRUE(small.hasFailed(server.url("/big.png")));
    EXPECT_EQ(load(*store, "/big.png").size(), QSize(512, 512));
}

struct ShownCase {
    QSize picture;
    ImageStore::Shown shown;
    QSize decoded;
};

// A picture is decoded no larger than it is shown, fitted or covering, never enlarged.
TEST_F(ImageStoreTest, PicturesDecodeAtTheSizeTheyAreShownAt)
{
    const ShownCase cases[] = {
        { { 400, 200 }, { { 100, 100 }, false }, { 100, 50 } },
        { { 400, 200 }, { { 100, 100 }, true }, { 200, 100 } },
        { { 300, 600 }, { { 150, 150 }, false }, { 75, 150 } },
        { { 60, 30 }, { { 200, 200 }, true }, { 60, 30 } },
        { { 400, 200 }, { {}, false }, { 400, 200 } },
        // A banner two pixels high keeps a row, and is no failure.
        { { 800, 2 }, { { 100, 100 }, false }, { 100, 1 } },
    };
    for (const ShownCase &row : cases) {
        const QString path = u"/p%1x%2.png"_qs.arg(row.picture.width()).arg(row.picture.height());
        SCOPED_TRACE(path.toStdString());
        server.serve(path, picture(row.picture));
        EXPECT_EQ(load(path, row.shown).size(), row.decoded);
    }
}

// A larger view decodes the picture again from the disk, and the largest is kept for all.
TEST_F(ImageStoreTest, TheLargestSizeAskedForIsKept)
{
    server.serve("/logo.png", picture({ 1000, 1000 }));
    const QString address = server.url("/logo.png");
    EXPECT_EQ(load("/logo.png", { { 100, 100 }, false }).size(), QSize(100, 100));
    EXPECT_TRUE(store->cached(address, { { 300, 300 }, false }).isNull());
    EXPECT_EQ(load("/logo.png", { { 300, 300 }, true }).size(), QSize(300, 300));
    EXPECT_EQ(load("/logo.png", { { 100, 100 }, false }).size(), QSize(300, 300));
    EXPECT_EQ(store->cached(address, { { 200, 200 }, false }).size(), QSize(300, 300));
    EXPECT_EQ(server.requestCount("/logo.png"), 1);
}

// Huge logos shown small cost little memory, while they are decoded and afterwards.
TEST_F(ImageStoreTest, HugePicturesShownSmallTakeLittleMemory)
{
    if (!PeakMemory::measurable())
        GTEST_SKIP() << "the sanitizers' allocators keep freed memory";
    // 5000x5000 decodes to 95 MiB at full size.
    server.serve("/huge.png", picture({ 5000, 5000 }));
    PeakMemory::reset();
    const qint64 before = PeakMemory::bytes();
    // All asked for at once, as a screen of logos does; the views keep their pictures.
    QList<std::shared_ptr<Finished>> views;
    for (int i = 0; i < 12; ++i) {
        views.append(std::make_shared<Finished>());
        loadInto(store.get(), server.url(u"/huge.png?n=%1"_qs.arg(i)), nullptr, views.last(), [] {
            return ImageStore::Shown { { 100, 100 }, false };
        });
    }
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return std::all_of(views.begin(), views.end(), [](const auto &view) { return view->done; }); },
        60000));
    for (const auto &view : views)
        EXPECT_EQ(view->image.size(), QSize(100, 100));
    EXPECT_LT(PeakMemory::bytes() - before, 160LL * 1024 * 1024);
}

} // namespace
