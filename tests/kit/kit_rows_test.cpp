#include "KitTestSupport.h"

#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

namespace {

QString urlOf(const char *file) { return QStringLiteral("qrc:/Zelfor/Kit/%1.qml").arg(QLatin1String(file)); }

TEST(ChannelRowEqualizer, MovesOnlyWhileTheRowPlays)
{
    QQmlEngine engine;
    auto load = loadQml(engine, urlOf("ChannelRow"),
        { { "item", QVariantMap { { "name", "FR | TF1 HD" }, { "catchup", QVariantMap { { "days", 7 } } } } }, { "width", 420 } });
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
    const auto visible = [&](const char *name) {
        auto *child = load.object->findChild<QQuickItem *>(QLatin1String(name));
        return child && child->isVisible();
    };
    EXPECT_EQ(QList<bool>({ visible("ratingBadge"), visible("favoriteBadge"), visible("playMark") }),
        QList<bool>({ c.ratingShown, c.favorite, c.focused }));
    EXPECT_DOUBLE_EQ(load.object->property("height").toDouble(), 255);
}

INSTANTIATE_TEST_SUITE_P(Cards, PosterBadges,
    ::testing::Values(PosterCase { "Rated", "7.26", false, false, true },
        PosterCase { "RatedFavoriteFocused", "8", true, true, true },
        PosterCase { "NotApplicable", "N/A", true, false, false },
        PosterCase { "Zero", "0", true, true, false },
        PosterCase { "Missing", QVariant(), false, true, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PlaceholderStrength, InitialsAreFaintOnlyWhileAPictureLoads)
{
    LoopbackServer server;
    server.serve("/slow.png", LoopbackResponse::withStatus(404).after(std::chrono::milliseconds(200)));
    for (const auto &[path, whileLoading] : { std::pair { "", 1.0 }, std::pair { "/slow.png", 0.5 } }) {
        SCOPED_TRACE(path);
        QQmlEngine engine;
        auto load = loadQml(engine, urlOf("RemoteImage"), { { "url", *path ? server.url(QLatin1String(path)) : QString() },
            { "title", "Canal+ Sport" }, { "width", 62 }, { "height", 38 } });
        ASSERT_TRUE(load.object);
        auto *initials = load.object->findChild<QQuickItem *>(QStringLiteral("initials"));
        ASSERT_TRUE(initials);
        EXPECT_DOUBLE_EQ(initials->opacity(), whileLoading);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.inFlight() == 0 && initials->opacity() == 1; }, 5000));
        EXPECT_FALSE(load.object->property("loaded").toBool());
    }
}

TEST(ChannelRowClicks, DoubleClickCallsOnlyTheDoubleAction)
{
    ShownPage page(QStringLiteral("rows/ClickProbe.qml"));
    ASSERT_TRUE(page.ready());
    const auto counts = [&] { return std::pair(page.root()->property("singles").toInt(), page.root()->property("doubles").toInt()); };
    QTest::mouseDClick(&page.view(), Qt::LeftButton, {}, centreOf(page.child("row")));
    QTest::qWait(600);
    EXPECT_EQ(counts(), std::pair(0, 1));
    page.click(page.child("row"));
    EXPECT_EQ(counts(), std::pair(0, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return counts() == std::pair(1, 1); }, 2000));
}

TEST(FilterFieldEditing, TypingAndClearingWriteTheOwnersText)
{
    ShownPage page(QStringLiteral("rows/ClickProbe.qml"));
    ASSERT_TRUE(page.ready());
    QQuickItem *clear = page.child("clearButton");
    ASSERT_TRUE(clear);
    EXPECT_FALSE(clear->isVisible());
    page.click(page.child("filter"));
    QTest::keyClick(&page.view(), Qt::Key_A);
    QTest::keyClick(&page.view(), Qt::Key_B);
    EXPECT_EQ(page.root()->property("filterText").toString(), QStringLiteral("ab"));
    EXPECT_TRUE(clear->isVisible());
    page.click(clear);
    EXPECT_EQ(page.root()->property("filterText").toString(), QString());
    EXPECT_FALSE(clear->isVisible());
    EXPECT_EQ(page.root()->property("edits").toStringList(), (QStringList { "a", "ab", "" }));
    // The owner's later text still reaches the field.
    page.root()->setProperty("filterText", QStringLiteral("news"));
    EXPECT_TRUE(clear->isVisible());
}

} // namespace
