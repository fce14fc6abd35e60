#include "KitTestSupport.h"
#include "kit/ImageStore.h"
#include "kit/RemotePicture.h"
#include "sources/Registered.h"
#include "PeakMemory.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(RemotePicture, InitialsOfTitles)
{
    const std::pair<const char *, const char *> cases[] = {
        { "FR | TF1 HD", "TH" },
        { "[VIP] Sports One", "SO" },
        { "Canal+ Sport", "CS" },
        { "24 Kitchen", "K" },
        { "BBC", "B" },
        { "- 1 -", "TV" },
        { "", "TV" },
        { "HD", "H" },
        { "x Factor", "XF" },
        { "élan vital", "ÉV" },
        { "e\xCC\x81"
          "cole Max",
            "E\xCC\x81M" }, // a combining accent stays whole
        { "Arte  France  Cinema", "AF" },
        { "FRANCE 24", "F2" },
        { "DE: Das Erste", "DE" },
        // Suffixes in brackets: their first letter or digit, and a word with none is skipped.
        { "Arte (720p)", "A7" },
        { "( Arte ) Live", "AL" },
        { "A(", "A" },
        { "H ( HD )", "H" },
        { "«Le Monde»", "LM" },
        { "Cinema (HD) [FHD]", "CH" },
        // An initial found past the first window of a word; a tag of accented capitals.
        { "((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((Arte) Live",
            "AL" },
        { "E\xCC\x81"
          "E\xCC\x81"
          "E\xCC\x81 Sport",
            "S" },
    };
    for (const auto &[title, initials] : cases)
        EXPECT_EQ(RemotePicture::initials(QString::fromUtf8(title)), QString::fromUtf8(initials)) << title;
}

// A title of any length gives its initials without a copy per character.
TEST(RemotePicture, InitialsOfAHugeTitleReadOnlyWhatTheyNeed)
{
    if (!PeakMemory::measurable())
        GTEST_SKIP() << "the sanitizers keep freed memory";
    constexpr qsizetype kLength = qsizetype(20) << 20;
    // title, initials
    const std::pair<QString, const char *> cases[] = {
        { QString(kLength, u'a'), "A" },
        { QStringLiteral("HD ") + QString(kLength, u'b') + QStringLiteral(" c"), "BC" },
        { QString(kLength, u'(') + QStringLiteral(" x"), "X" },
    };
    for (const auto &[title, initials] : cases) {
        PeakMemory::reset();
        const qint64 before = PeakMemory::bytes();
        EXPECT_EQ(RemotePicture::initials(title), QLatin1String(initials));
        EXPECT_LT(PeakMemory::bytes() - before, title.size() * qsizetype(sizeof(QChar))) << initials;
    }
}

TEST(RemotePicture, PlacementCropsOrLetterboxes)
{
    // picture, frame, fill, target, source
    const std::tuple<QSizeF, QSizeF, bool, QRectF, QRectF> cases[] = {
        { { 400, 200 }, { 100, 150 }, true, { 0, 0, 100, 150 }, { 133 + 1.0 / 3, 0, 133 + 1.0 / 3, 200 } },
        { { 400, 200 }, { 100, 150 }, false, { 0, 50, 100, 50 }, { 0, 0, 400, 200 } },
        { { 100, 200 }, { 62, 38 }, false, { 21.5, 0, 19, 38 }, { 0, 0, 100, 200 } },
        { { 100, 200 }, { 0, 0 }, true, {}, {} }, // an empty frame draws nothing
    };
    for (const auto &[picture, frame, fill, target, source] : cases) {
        const RemotePicture::Placement place = RemotePicture::placement(picture, frame, fill);
        EXPECT_EQ(std::pair(place.target, place.source), std::pair(target, source))
            << picture.width() << "x" << picture.height() << " in " << frame.width() << "x" << frame.height();
    }
}

class RemotePictureTest : public ::testing::Test {
protected:
    // Pictures load through the test's own store, registered as the program registers its one.
    void SetUp() override { Registered<ImageStore>::set(&store); }
    void TearDown() override { Registered<ImageStore>::set(nullptr); }

    static std::unique_ptr<RemotePicture> newPicture() { return std::make_unique<RemotePicture>(); }

    QTemporaryDir dir;
    LoopbackServer server;
    ImageStore store { dir.path(), [] { return QStringLiteral("Test"); } };
};

TEST_F(RemotePictureTest, NoAddressIsDoneAtOnceWithoutRequest)
{
    auto item = newPicture();
    item->setUrl(server.url("/a.png"));
    item->setUrl(QString());
    EXPECT_TRUE(item->done());
    EXPECT_FALSE(item->ready());
    // A later load on the same server ends after the first address's cancelled request.
    server.serve("/b.png", picture({ 10, 10 }));
    auto later = newPicture();
    later->setUrl(server.url("/b.png"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return later->ready() && server.inFlight() == 0; }, 5000));
    EXPECT_FALSE(store.hasFailed(server.url("/a.png")));
}

// The network answer fades in once; the next view takes it, or its failure, at once.
TEST_F(RemotePictureTest, NetworkLoadFadesInAndTheNextViewDecidesAtOnce)
{
    server.serve("/logo.png", picture({ 30, 20 }));
    server.serve("/missing.png", LoopbackResponse::withStatus(404));
    for (const auto &[path, size] :
        { std::pair { "/logo.png", QSize(30, 20) }, std::pair { "/missing.png", QSize(0, 0) } }) {
        SCOPED_TRACE(path);
        const bool found = !size.isEmpty();
        auto first = newPicture();
        first->setUrl(server.url(path));
        EXPECT_FALSE(first->done());
        ASSERT_TRUE(QTest::qWaitFor([&] { return first->done(); }, 5000));
        EXPECT_EQ(QList<bool>({ first->ready(), first->fades() }), QList<bool>({ found, found }));
        EXPECT_EQ(first->image().size(), size);
        auto second = newPicture();
        second->setUrl(server.url(path));
        EXPECT_EQ(QList<bool>({ second->done(), second->ready(), second->fades() }),
            QList<bool>({ true, found, false }));
        EXPECT_EQ(server.requestCount(path), 1);
    }
}

// A new address or the view's end cancels its load: the result never shows and is not
// taken for a failure, so the next view asks again.
TEST_F(RemotePictureTest, NewAddressOrDestroyedViewCancelsTheLoad)
{
    server.serveSequence("/slow.png", { LoopbackResponse::stalled(), picture({ 50, 50 }) });
    server.serveSequence("/poster.png", { LoopbackResponse::stalled(), picture({ 20, 30 }) });
    server.serve("/fast.png", picture({ 40, 10 }).after(std::chrono::milliseconds(100)));
    auto item = newPicture();
    auto destroyed = newPicture();
    QSignalSpy readySpy(item.get(), &RemotePicture::readyChanged);
    item->setUrl(server.url("/slow.png"));
    destroyed->setUrl(server.url("/poster.png"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return server.requestCount("/slow.png") + server.requestCount("/poster.png") == 2; }, 5000));
    item->setUrl(server.url("/fast.png"));
    destroyed.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return item->ready() && server.inFlight() == 0; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(item->image().size(), QSize(40, 10));
    EXPECT_EQ(readySpy.count(), 1);
    EXPECT_FALSE(store.hasFailed(server.url("/slow.png")));
    EXPECT_FALSE(store.hasFailed(server.url("/poster.png")));
    EXPECT_TRUE(store.cached(server.url("/poster.png")).isNull());
    auto again = newPicture();
    again->setUrl(server.url("/slow.png"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return again->ready(); }, 5000));
    EXPECT_EQ(again->image().size(), QSize(50, 50));
}

// The picture is decoded at the item's size; an item that grows gets a sharper one from
// the disk, shown once it is there, without fading in again.
TEST_F(RemotePictureTest, PictureFollowsTheSizeTheItemShowsItAt)
{
    server.serve("/logo.png", picture({ 2000, 1000 }));
    auto item = newPicture();
    item->setSize({ 100, 100 });
    item->setUrl(server.url("/logo.png"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return item->ready(); }, 10000));
    EXPECT_EQ(item->image().size(), QSize(100, 50));
    QSignalSpy fadesSpy(item.get(), &RemotePicture::fadesChanged);
    item->setFill(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return item->image().size() == QSize(200, 100); }, 10000));
    item->setSize({ 300, 200 });
    ASSERT_TRUE(QTest::qWaitFor([&] { return item->image().size() == QSize(400, 200); }, 10000));
    EXPECT_TRUE(item->ready());
    EXPECT_EQ(fadesSpy.count(), 0);
    EXPECT_EQ(server.requestCount("/logo.png"), 1);
    // A smaller view of the same picture takes the one kept at once.
    auto small = newPicture();
    small->setSize({ 50, 50 });
    small->setUrl(server.url("/logo.png"));
    EXPECT_EQ(small->image().size(), QSize(400, 200));
}

} // namespace
