#include "LoopbackServer.h"
#include "QmlHarness.h"
#include "app/Localization.h"
#include "kit/ImageStore.h"

#include <QBuffer>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

namespace {

QString urlOf(const QString &file)
{
    return QStringLiteral("qrc:/Zelfor/Kit/%1.qml").arg(file);
}

struct ViewCase {
    const char *name;
    const char *file;
    QVariantMap properties;
};

const QVariantMap kChannel { { "name", "FR | TF1 HD" }, { "logo", "" },
    { "catchup", QVariantMap { { "days", 7 } } } };
const QVariantMap kMovie { { "name", "The Long Road Home" }, { "logo", "" }, { "rating", "7.26" } };

class RowViewLoads : public ::testing::TestWithParam<ViewCase> { };

TEST_P(RowViewLoads, WithoutWarningsInEveryLanguage)
{
    for (const char *language : { "en", "ar" }) {
        setActiveLanguage(QString::fromLatin1(language));
        QQmlEngine engine;
        auto load = loadQml(engine, urlOf(QString::fromLatin1(GetParam().file)), GetParam().properties);
        EXPECT_TRUE(load.object) << language;
        EXPECT_TRUE(load.problems.isEmpty()) << language << ": " << qPrintable(load.problems.join('\n'));
    }
    setActiveLanguage(QStringLiteral("en"));
}

INSTANTIATE_TEST_SUITE_P(Rows, RowViewLoads,
    ::testing::Values(ViewCase { "RemoteImagePlaceholder", "RemoteImage",
                          { { "url", "" }, { "title", "Canal+ Sport" }, { "fontSize", 13 }, { "width", 62 },
                              { "height", 38 } } },
        ViewCase { "RemoteImageUnrequestable", "RemoteImage",
            { { "url", "ftp://127.0.0.1/poster.png" }, { "title", "Movie" }, { "fill", true },
                { "fontSize", 26 }, { "width", 170 }, { "height", 255 } } },
        ViewCase { "EqualizerIcon", "EqualizerIcon", {} },
        ViewCase { "ChannelRow", "ChannelRow",
            { { "item", kChannel }, { "number", 101 }, { "favorite", true }, { "playing", true },
                { "focused", true }, { "width", 420 } } },
        ViewCase { "ChannelRowBare", "ChannelRow",
            { { "item", QVariantMap { { "name", "BBC" } } }, { "width", 420 } } },
        ViewCase { "CategoryRow", "CategoryRow",
            { { "name", "Sports" }, { "count", 312 }, { "selected", true }, { "focused", true },
                { "icon", "heart.fill" }, { "width", 260 } } },
        ViewCase { "CategoryRowWithoutIcon", "CategoryRow",
            { { "name", "News" }, { "count", 0 }, { "width", 260 } } },
        ViewCase { "PosterCard", "PosterCard",
            { { "item", kMovie }, { "favorite", true }, { "focused", true }, { "width", 170 } } },
        ViewCase { "FilterField", "FilterField",
            { { "text", "news" }, { "placeholder", "Filter" }, { "width", 300 } } }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ChannelRowEqualizer, MovesOnlyWhileTheRowPlays)
{
    QQmlEngine engine;
    auto load = loadQml(engine, urlOf("ChannelRow"), { { "item", kChannel }, { "width", 420 } });
    ASSERT_TRUE(load.object);
    QQuickItem *equalizer = nullptr;
    for (auto *child : load.object->findChildren<QQuickItem *>())
        equalizer = child->property("phase").isValid() ? child : equalizer;
    ASSERT_TRUE(equalizer);
    QTest::qWait(100);
    EXPECT_EQ(equalizer->property("phase").toDouble(), 0);
    load.object->setProperty("playing", true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return equalizer->property("phase").toDouble() > 0; }, 1000));
}

struct PosterCase {
    const char *name;
    QVariant rating;
    bool favorite;
    bool focused;
    bool ratingShown;
};

class PosterBadges : public ::testing::TestWithParam<PosterCase> { };

TEST_P(PosterBadges, FollowRatingFavoriteAndFocus)
{
    const PosterCase &c = GetParam();
    QQmlEngine engine;
    QVariantMap item { { "name", "Movie" }, { "logo", "" } };
    if (c.rating.isValid())
        item.insert("rating", c.rating);
    auto load = loadQml(engine, urlOf("PosterCard"),
        { { "item", item }, { "favorite", c.favorite }, { "focused", c.focused }, { "width", 170 } });
    ASSERT_TRUE(load.object);
    EXPECT_TRUE(load.problems.isEmpty()) << qPrintable(load.problems.join('\n'));
    auto visible = [&](const char *name) {
        auto *child = load.object->findChild<QQuickItem *>(QString::fromLatin1(name));
        return child && child->isVisible();
    };
    EXPECT_EQ(visible("ratingBadge"), c.ratingShown);
    EXPECT_EQ(visible("favoriteBadge"), c.favorite);
    EXPECT_EQ(visible("playMark"), c.focused);
    EXPECT_DOUBLE_EQ(load.object->property("height").toDouble(), 255);
}

INSTANTIATE_TEST_SUITE_P(Cards, PosterBadges,
    ::testing::Values(PosterCase { "Rated", "7.26", false, false, true },
        PosterCase { "RatedFavoriteFocused", "8", true, true, true },
        PosterCase { "NotApplicable", "N/A", true, false, false },
        PosterCase { "Zero", "0", true, true, false },
        PosterCase { "Missing", QVariant(), false, true, false }),
    [](const auto &info) { return std::string(info.param.name); });

struct StrengthCase {
    const char *name;
    const char *path; // empty: no address
    double whileLoading;
    double afterwards;
};

class PlaceholderStrength : public ::testing::TestWithParam<StrengthCase> { };

TEST_P(PlaceholderStrength, InitialsAreFaintOnlyWhileAPictureLoads)
{
    const StrengthCase &c = GetParam();
    LoopbackServer server;
    server.serve("/slow.png", LoopbackResponse::withStatus(404).after(std::chrono::milliseconds(200)));
    const QString url = *c.path ? server.url(QString::fromLatin1(c.path)) : QString();
    QQmlEngine engine;
    auto load = loadQml(engine, urlOf("RemoteImage"),
        { { "url", url }, { "title", "Canal+ Sport" }, { "width", 62 }, { "height", 38 } });
    ASSERT_TRUE(load.object);
    auto *initials = load.object->findChild<QQuickItem *>(QStringLiteral("initials"));
    ASSERT_TRUE(initials);
    EXPECT_DOUBLE_EQ(initials->opacity(), c.whileLoading);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return server.inFlight() == 0 && initials->opacity() == c.afterwards; }, 5000));
    EXPECT_FALSE(load.object->property("loaded").toBool());
}

INSTANTIATE_TEST_SUITE_P(Addresses, PlaceholderStrength,
    ::testing::Values(
        StrengthCase { "NoAddress", "", 1, 1 }, StrengthCase { "Loading", "/slow.png", 0.5, 1 }),
    [](const auto &info) { return std::string(info.param.name); });

// A shown view of a test page from tests/kit/rows.
class Page {
public:
    Page(const char *file, const QVariantMap &properties = {})
    {
        m_view.engine()->addImportPath(QStringLiteral("qrc:/"));
        m_view.setInitialProperties(properties);
        m_view.setSource(QUrl::fromLocalFile(QStringLiteral(ZELFOR_SOURCE_DIR "/tests/kit/rows/") + file));
        m_view.show();
        m_exposed = QTest::qWaitForWindowExposed(&m_view);
    }

    bool ready() const { return m_exposed && m_view.rootObject(); }
    QQuickView &view() { return m_view; }
    QQuickItem *root() { return m_view.rootObject(); }
    QQuickItem *child(const char *name) { return root()->findChild<QQuickItem *>(QString::fromLatin1(name)); }
    QPoint centreOf(QQuickItem *item)
    {
        return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    }

private:
    QQuickView m_view;
    bool m_exposed = false;
};

TEST(ChannelRowClicks, DoubleClickCallsOnlyTheDoubleAction)
{
    Page page("ClickProbe.qml");
    ASSERT_TRUE(page.ready());
    const QPoint centre = page.centreOf(page.child("row"));
    QTest::mouseDClick(&page.view(), Qt::LeftButton, {}, centre);
    QTest::qWait(600);
    EXPECT_EQ(page.root()->property("doubles").toInt(), 1);
    EXPECT_EQ(page.root()->property("singles").toInt(), 0);

    QTest::mouseClick(&page.view(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(page.root()->property("singles").toInt(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return page.root()->property("singles").toInt() == 1; }, 2000));
    EXPECT_EQ(page.root()->property("doubles").toInt(), 1);
}

TEST(FilterFieldEditing, TypingAndClearingWriteTheOwnersText)
{
    Page page("ClickProbe.qml");
    ASSERT_TRUE(page.ready());
    QQuickItem *clear = page.child("clearButton");
    ASSERT_TRUE(clear);
    EXPECT_FALSE(clear->isVisible());

    QTest::mouseClick(&page.view(), Qt::LeftButton, {}, page.centreOf(page.child("filter")));
    QTest::keyClick(&page.view(), Qt::Key_A);
    QTest::keyClick(&page.view(), Qt::Key_B);
    EXPECT_EQ(page.root()->property("filterText").toString(), QStringLiteral("ab"));
    EXPECT_TRUE(clear->isVisible());

    QTest::mouseClick(&page.view(), Qt::LeftButton, {}, page.centreOf(clear));
    EXPECT_EQ(page.root()->property("filterText").toString(), QString());
    EXPECT_FALSE(clear->isVisible());
    EXPECT_EQ(page.root()->property("edits").toStringList(), (QStringList { "a", "ab", "" }));

    // The owner's later text still reaches the field.
    page.root()->setProperty("filterText", QStringLiteral("news"));
    EXPECT_TRUE(clear->isVisible());
}

QByteArray pictureBytes(const QSize &size, const QColor &color, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawRect(image.rect().adjusted(4, 4, -5, -5));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void servePictures(LoopbackServer &server)
{
    const auto serve = [&](const char *path, const QByteArray &body) {
        LoopbackResponse response;
        response.body = body;
        response.contentType = "image/*";
        server.serve(QString::fromLatin1(path), response);
    };
    serve("/logo-wide.png", pictureBytes({ 120, 40 }, QColor(220, 30, 30), "PNG"));
    serve("/logo-tall.webp", pictureBytes({ 40, 80 }, QColor(30, 160, 60), "WEBP"));
    serve("/poster.webp", pictureBytes({ 300, 450 }, QColor(40, 70, 160), "WEBP"));
    serve("/backdrop.png", pictureBytes({ 640, 360 }, QColor(200, 120, 20), "PNG"));
    server.serve("/missing.png", LoopbackResponse::withStatus(404));
}

class RowsGallery : public ::testing::TestWithParam<bool> { };

TEST_P(RowsGallery, RendersPicturesAndPlaceholdersWithoutWarnings)
{
    const bool rightToLeft = GetParam();
    setActiveLanguage(rightToLeft ? QStringLiteral("ar") : QStringLiteral("en"));
    ImageStore::shared()->clear();
    LoopbackServer server;
    servePictures(server);
    WarningCollector collector;
    Page page("RowsGallery.qml", { { "base", server.baseUrl() }, { "rightToLeft", rightToLeft } });
    ASSERT_TRUE(page.ready());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requestCount() >= 5 && server.inFlight() == 0; }, 5000));
    QTest::qWait(400);
    const QImage image = page.view().grabWindow();
    setActiveLanguage(QStringLiteral("en"));
    // ZELFOR_KIT_SHOTS names a folder that receives the images.
    if (const QByteArray folder = qgetenv("ZELFOR_KIT_SHOTS"); !folder.isEmpty())
        image.save(QString::fromLocal8Bit(folder) + (rightToLeft ? "/rows-ar.png" : "/rows-en.png"));
    EXPECT_TRUE(collector.warnings().isEmpty()) << qPrintable(collector.warnings().join('\n'));
    EXPECT_TRUE(ImageStore::shared()->hasFailed(server.url("/missing.png")));
    EXPECT_FALSE(ImageStore::shared()->cached(server.url("/poster.webp")).isNull());
    if (!rightToLeft) {
        // The first row's wide red logo, fitted in its 62-by-38 frame.
        const QColor logo = image.pixelColor(20 + 10 + 40 + 12 + 3 + 31, 20 + 28);
        EXPECT_GT(logo.red(), 180);
        EXPECT_LT(logo.green(), 80);
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, RowsGallery, ::testing::Values(false, true),
    [](const auto &info) { return std::string(info.param ? "RightToLeft" : "LeftToRight"); });

} // namespace
