#include "QmlHarness.h"
#include "app/Localization.h"

#include <QColor>
#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

namespace {

struct ViewCase {
    const char *file;
    QVariantMap properties;
};

const QList<ViewCase> &viewCases()
{
    static const QList<ViewCase> cases = {
        { "AppBackground", { { "width", 1360 }, { "height", 840 } } },
        { "BrandMark", { { "size", 100 } } },
        { "BrandTitle", { { "markSize", 46 }, { "fontSize", 30 } } },
        { "Card", { { "focused", true }, { "radius", 14 }, { "hoverScale", 1.04 }, { "width", 300 }, { "height", 46 } } },
        { "IconBadge", { { "icon", "play.tv.fill" }, { "size", 44 }, { "gradient", true } } },
        { "CircleButton", { { "icon", "magnifyingglass" }, { "size", 42 }, { "help", "Search" }, { "focused", true } } },
        { "BackButton", {} },
        { "PillButton", { { "title", "Retry" }, { "icon", "arrow.clockwise" }, { "primary", true }, { "height", 42 } } },
        { "Chip", { { "text", "HD" }, { "color", QColor(34, 197, 94) }, { "icon", "clock.fill" } } },
        { "LiveBadge", {} },
        { "SectionLabel", { { "text", "Recently watched" } } },
        { "ScreenHeader", { { "title", "Settings" }, { "subtitle", "Version 1.1.6" }, { "width", 800 } } },
        { "Spinner", { { "size", 34 } } },
        { "LoadingView", { { "text", "Loading channels…" }, { "width", 600 }, { "height", 400 } } },
        { "MessageView", { { "icon", "wifi.slash" }, { "text", "No connection" }, { "width", 600 }, { "height", 400 } } },
        { "ToastView", { { "text", "Refreshed" }, { "maximumWidth", 600 } } },
        { "ChoiceRow", { { "text", "Newest first" }, { "selected", true }, { "focused", true }, { "width", 392 } } },
        { "UiText", { { "text", "<b>Provider name</b>" } } },
        { "AccentGradient", { { "width", 40 }, { "height", 40 }, { "diagonal", true } } },
        { "GradientShape", { { "width", 120 }, { "height", 42 }, { "radius", 21 }, { "borderWidth", 2 } } },
        { "Shadow", { { "blur", 16 }, { "offsetY", 4 } } },
        { "Spring", { { "response", 0.25 } } },
        { "Icon", { { "name", "heart.fill" }, { "size", 16 } } },
    };
    return cases;
}

QString urlOf(const QString &file) { return QStringLiteral("qrc:/Zelfor/Kit/%1.qml").arg(file); }

class KitViewLoads : public ::testing::TestWithParam<ViewCase> {};

TEST_P(KitViewLoads, WithoutWarningsInEveryLanguage)
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

INSTANTIATE_TEST_SUITE_P(Kit, KitViewLoads, ::testing::ValuesIn(viewCases()),
    [](const auto &info) { return std::string(info.param.file); });

TEST(KitViews, UiTextNeverInterpretsMarkup)
{
    QQmlEngine engine;
    auto load = loadQml(engine, urlOf(QStringLiteral("UiText")), { { "text", "<b>x</b>" } });
    ASSERT_TRUE(load.object);
    EXPECT_EQ(load.object->property("textFormat").toInt(), 0 /* Text.PlainText */);
}

struct LanguageCase {
    const char *language;
    const char *backIcon;
    double badgeTracking;
    double labelTracking;
};

class KitLanguage : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(KitLanguage, ArrowAndTrackingFollowTheLanguage)
{
    const LanguageCase &c = GetParam();
    setActiveLanguage(QString::fromLatin1(c.language));
    QQmlEngine engine;
    auto back = loadQml(engine, urlOf(QStringLiteral("BackButton")));
    auto badge = loadQml(engine, urlOf(QStringLiteral("LiveBadge")));
    auto label = loadQml(engine, urlOf(QStringLiteral("SectionLabel")), { { "text", "Live channels" } });
    setActiveLanguage(QStringLiteral("en"));
    ASSERT_TRUE(back.object && badge.object && label.object);
    EXPECT_EQ(back.object->property("icon").toString(), QString::fromLatin1(c.backIcon));
    EXPECT_FALSE(back.object->property("focused").toBool());
    EXPECT_EQ(badge.object->property("tracking").toDouble(), c.badgeTracking);
    EXPECT_EQ(label.object->property("tracking").toDouble(), c.labelTracking);
    EXPECT_EQ(label.object->property("shownText").toString(), QStringLiteral("LIVE CHANNELS"));
}

INSTANTIATE_TEST_SUITE_P(Languages, KitLanguage, ::testing::Values(
    LanguageCase { "en", "chevron.left", 1, 1.6 },
    LanguageCase { "fr", "chevron.left", 1, 1.6 },
    LanguageCase { "ar", "chevron.right", 0, 0 }),
    [](const auto &info) { return std::string(info.param.language); });

TEST(KitViews, BackButtonTooltipIsTheLocalisedBack)
{
    setActiveLanguage(QStringLiteral("fr"));
    QQmlEngine engine;
    auto back = loadQml(engine, urlOf(QStringLiteral("BackButton")));
    setActiveLanguage(QStringLiteral("en"));
    ASSERT_TRUE(back.object);
    EXPECT_EQ(back.object->property("help").toString(), QStringLiteral("Retour"));
}

struct BackgroundCase {
    int width;
    int height;
    double violetRadius;
    double cyanRadius;
};

class AppBackgroundGlows : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(AppBackgroundGlows, FollowTheLongerSide)
{
    const BackgroundCase &c = GetParam();
    QQmlEngine engine;
    auto load = loadQml(engine, urlOf(QStringLiteral("AppBackground")), { { "width", c.width }, { "height", c.height } });
    ASSERT_TRUE(load.object);
    EXPECT_DOUBLE_EQ(load.object->property("violetRadius").toDouble(), c.violetRadius);
    EXPECT_DOUBLE_EQ(load.object->property("cyanRadius").toDouble(), c.cyanRadius);
}

INSTANTIATE_TEST_SUITE_P(Windows, AppBackgroundGlows, ::testing::Values(
    BackgroundCase { 1360, 840, 748, 612 },
    BackgroundCase { 600, 1000, 550, 450 }));

} // namespace
