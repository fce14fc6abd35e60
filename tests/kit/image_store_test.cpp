#include "LoopbackServer.h"
#include "RunTask.h"
#include "kit/ImageStore.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray encoded(const QSize &size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The classic transparent 1-by-1 GIF.
const QByteArray kPixelGif
    = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");

LoopbackResponse picture(const QByteArray &bytes, const QByteArray &type = "image/png")
{
    LoopbackResponse response;
    response.body = bytes;
    response.contentType = type;
    return response;
}

struct Finished {
    QImage image;
    bool done = false;
};

QCoro::Task<> loadInto(
    ImageStore *store, QString address, const QObject *owner, std::shared_ptr<Finished> out)
{
    out->image = co_await store->image(address, owner);
    out->done = true;
}

class ImageStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<ImageStore> newStore()
    {
        return std::make_unique<ImageStore>(m_dir.path(), [] { return QStringLiteral("ImageTest/2.0"); });
    }

    QImage load(ImageStore &store, const QString &path) { return runTask(store.image(server.url(path))); }

    QTemporaryDir m_dir;
    LoopbackServer server;
    std::unique_ptr<ImageStore> store = newStore();
};

TEST_F(ImageStoreTest, LoadsWithTheUserAgentAndKeepsThePictureInMemory)
{
    server.serve("/logo.png", picture(encoded({ 40, 30 }, "PNG")));
    const QImage first = load(*store, "/logo.png");
    ASSERT_EQ(first.size(), QSize(40, 30));
    EXPECT_EQ(server.requests().constFirst().header("user-agent"), "ImageTest/2.0");
    EXPECT_EQ(store->cached(server.url("/logo.png")).size(), QSize(40, 30));
    EXPECT_EQ(load(*store, "/logo.png").size(), QSize(40, 30));
    EXPECT_EQ(server.requestCount("/logo.png"), 1);
}

TEST_F(ImageStoreTest, MemoryIsBoundedInBytesAsWellAsInCount)
{
    // 2048x2048 RGB32 decodes to 16 MiB: the byte bound keeps about 16 of them.
    server.serve("/poster.png", picture(encoded({ 2048, 2048 }, "PNG")));
    const int loads = 24;
    for (int i = 0; i < loads; ++i)
        ASSERT_FALSE(load(*store, QStringLiteral("/poster.png?n=%1").arg(i)).isNull());
    int kept = 0;
    for (int i = 0; i < loads; ++i)
        kept += store->cached(server.url(QStringLiteral("/poster.png?n=%1").arg(i))).isNull() ? 0 : 1;
    EXPECT_GT(kept, 0);
    EXPECT_LE(qint64(kept) * 16 * 1024 * 1024, ImageStore::kMemoryBytes);
}

struct FailureCase {
    const char *name;
    LoopbackResponse response;
};

class ImageStoreFailure : public ImageStoreTest, public ::testing::WithParamInterface<FailureCase> { };

TEST_P(ImageStoreFailure, IsRecordedOnceAndNeverAskedForAgain)
{
    server.serve("/bad", GetParam().response);
    EXPECT_TRUE(load(*store, "/bad").isNull());
    EXPECT_TRUE(store->hasFailed(server.url("/bad")));
    // Qt itself may resend once on a dropped connection; a second load sends nothing.
    const int sent = server.requestCount("/bad");
    EXPECT_TRUE(load(*store, "/bad").isNull());
    EXPECT_EQ(server.requestCount("/bad"), sent);
}

INSTANTIATE_TEST_SUITE_P(Answers, ImageStoreFailure,
    ::testing::Values(FailureCase { "NotFound", LoopbackResponse::withStatus(404, "missing") },
        FailureCase { "ServerError", LoopbackResponse::withStatus(500) },
        FailureCase { "OnePixelGif", picture(kPixelGif, "image/gif") },
        FailureCase { "OnePixelWidePng", picture(encoded({ 1, 50 }, "PNG")) },
        FailureCase { "NotAnImage", LoopbackResponse::text("<html>hello</html>") },
        FailureCase { "Dropped", LoopbackResponse::dropped() }),
    [](const auto &info) { return std::string(info.param.name); });

class ImageStoreUnrequestable : public ImageStoreTest, public ::testing::WithParamInterface<const char *> { };

TEST_P(ImageStoreUnrequestable, GivesNothingWithoutRequestOrFailure)
{
    const QString address = QString::fromUtf8(GetParam()).replace("BASE", server.baseUrl());
    EXPECT_TRUE(runTask(store->image(address)).isNull());
    EXPECT_FALSE(store->hasFailed(address));
    EXPECT_EQ(server.requestCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Addresses, ImageStoreUnrequestable,
    ::testing::Values("", "logo", "ftp://127.0.0.1/logo.png", "file:///tmp/logo.png", "//127.0.0.1/x.png"));

TEST_F(ImageStoreTest, ClearingForgetsFailuresAndPictures)
{
    server.serveSequence("/late.png",
        { LoopbackResponse::withStatus(404), picture(encoded({ 20, 20 }, "PNG")),
            picture(encoded({ 30, 30 }, "PNG")) });
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

TEST_F(ImageStoreTest, DiskCacheAnswersAfterARestart)
{
    server.serve("/poster.jpg", picture(encoded({ 60, 90 }, "JPEG"), "image/jpeg"));
    ASSERT_EQ(load(*store, "/poster.jpg").size(), QSize(60, 90));
    store.reset();
    auto restarted = newStore();
    EXPECT_TRUE(restarted->cached(server.url("/poster.jpg")).isNull());
    EXPECT_EQ(load(*restarted, "/poster.jpg").size(), QSize(60, 90));
    EXPECT_EQ(server.requestCount("/poster.jpg"), 1);
}

TEST_F(ImageStoreTest, FailuresAreForgottenByTheNextRun)
{
    server.serveSequence(
        "/flaky.png", { LoopbackResponse::withStatus(404), picture(encoded({ 10, 10 }, "PNG")) });
    server.serve("/broken.png", LoopbackResponse::text("not a picture"));
    EXPECT_TRUE(load(*store, "/flaky.png").isNull());
    EXPECT_TRUE(load(*store, "/broken.png").isNull());
    store.reset();
    auto restarted = newStore();
    EXPECT_EQ(load(*restarted, "/flaky.png").size(), QSize(10, 10));
    EXPECT_TRUE(load(*restarted, "/broken.png").isNull());
    EXPECT_EQ(server.requestCount("/flaky.png"), 2);
    EXPECT_EQ(server.requestCount("/broken.png"), 2);
}

TEST_F(ImageStoreTest, WebpLogosDecode)
{
    ASSERT_TRUE(QImageReader::supportedImageFormats().contains("webp"));
    const QByteArray webp = encoded({ 64, 32 }, "WEBP");
    ASSERT_FALSE(webp.isEmpty());
    server.serve("/logo.webp", picture(webp, "image/webp"));
    EXPECT_EQ(load(*store, "/logo.webp").size(), QSize(64, 32));
}

TEST_F(ImageStoreTest, CancelledLoadIsNotAFailure)
{
    server.serveSequence("/slow.png", { LoopbackResponse::stalled(), picture(encoded({ 24, 24 }, "PNG")) });
    auto owner = std::make_unique<QObject>();
    auto finished = std::make_shared<Finished>();
    loadInto(store.get(), server.url("/slow.png"), owner.get(), finished);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount("/slow.png") == 1; }, 5000));
    owner.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished->done; }, 5000));
    EXPECT_TRUE(finished->image.isNull());
    EXPECT_FALSE(store->hasFailed(server.url("/slow.png")));
    EXPECT_EQ(load(*store, "/slow.png").size(), QSize(24, 24));
    EXPECT_EQ(server.requestCount("/slow.png"), 2);
}

TEST_F(ImageStoreTest, FailureOfALoadWithAnOwnerIsRemembered)
{
    server.serve("/gone.png", LoopbackResponse::dropped());
    const QObject owner;
    auto finished = std::make_shared<Finished>();
    loadInto(store.get(), server.url("/gone.png"), &owner, finished);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished->done; }, 5000));
    EXPECT_TRUE(finished->image.isNull());
    EXPECT_TRUE(store->hasFailed(server.url("/gone.png")));
}

} // namespace
