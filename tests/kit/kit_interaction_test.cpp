#include "QmlHarness.h"
#include "kit/TapRule.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

namespace {

// Hosts one kit view, written inline, in a shown 600 by 400 window.
class KitInteraction : public ::testing::Test {
protected:
    QQuickItem *host(const QByteArray &body)
    {
        m_engine.addImportPath(QStringLiteral("qrc:/"));
        WarningCollector collector;
        QQmlComponent component(&m_engine);
        component.setData("import QtQuick\nimport Zelfor.Kit\n" + body, QUrl(QStringLiteral("file:///inline.qml")));
        m_item.reset(qobject_cast<QQuickItem *>(component.create()));
        EXPECT_TRUE(m_item) << qPrintable(component.errorString());
        if (!m_item)
            return nullptr;
        m_window.resize(600, 400);
        m_item->setParentItem(m_window.contentItem());
        m_item->setPosition(QPointF(100, 100));
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        problems = collector.warnings();
        return m_item.get();
    }

    QPoint centre(QQuickItem *item) const
    {
        return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    }

    void hover(bool inside)
    {
        QTest::mouseMove(&m_window, inside ? centre(m_item.get()) : QPoint(5, 5));
        QCoreApplication::processEvents();
    }

    bool settlesAt(const char *property, double value)
    {
        return QTest::qWaitFor([&] { return qAbs(m_item->property(property).toDouble() - value) < 1e-3; }, 2000);
    }

    QQmlEngine m_engine;
    QQuickWindow m_window;
    std::unique_ptr<QQuickItem> m_item;
    QStringList problems;
};

struct PillCase {
    const char *name;
    bool primary;
    bool focused;
    bool hovered;
    const char *fillStyle;
    double borderWidth;
    double borderOpacity;
    double glowOpacity;
    double brightness;
    double scale;
};

class PillButtonLook : public KitInteraction, public ::testing::WithParamInterface<PillCase> {};

TEST_P(PillButtonLook, FollowsPrimaryFocusAndHover)
{
    const PillCase &c = GetParam();
    QQuickItem *button = host(QStringLiteral("PillButton { title: \"Play\"; primary: %1; focused: %2 }")
                                  .arg(c.primary ? "true" : "false", c.focused ? "true" : "false")
                                  .toUtf8());
    ASSERT_TRUE(button);
    hover(c.hovered);
    EXPECT_EQ(button->property("hover").toBool(), c.hovered);
    EXPECT_EQ(button->property("fillStyle").toString(), QString::fromLatin1(c.fillStyle));
    EXPECT_DOUBLE_EQ(button->property("borderWidth").toDouble(), c.borderWidth);
    EXPECT_DOUBLE_EQ(button->property("borderOpacity").toDouble(), c.borderOpacity);
    EXPECT_DOUBLE_EQ(button->property("glowOpacity").toDouble(), c.glowOpacity);
    EXPECT_DOUBLE_EQ(button->property("brightness").toDouble(), c.brightness);
    EXPECT_TRUE(settlesAt("scale", c.scale));
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
}

INSTANTIATE_TEST_SUITE_P(Looks, PillButtonLook, ::testing::Values(
    PillCase { "plainResting", false, false, false, "raised", 1, 0.1, 0, 0, 1 },
    PillCase { "plainHovered", false, false, true, "raisedHover", 1, 0.2, 0, 0, 1.03 },
    PillCase { "focusedNotHoveredKeepsScale", false, true, false, "raised", 2, 1, 0, 0, 1 },
    PillCase { "focusWinsBorderOverHover", false, true, true, "raisedHover", 2, 1, 0, 0, 1.03 },
    PillCase { "primaryResting", true, false, false, "accent", 1, 0.25, 0.35, 0, 1 },
    PillCase { "primaryKeepsAccentWhenHovered", true, false, true, "accent", 1, 0.25, 0.55, 0.06, 1.03 }),
    [](const auto &info) { return std::string(info.param.name); });

struct CardLookCase {
    const char *name;
    bool focused;
    bool hovered;
    double sheen;
    double darkShadow;
    double scale;
};

class CardLook : public KitInteraction, public ::testing::WithParamInterface<CardLookCase> {};

TEST_P(CardLook, FocusWinsOverHover)
{
    const CardLookCase &c = GetParam();
    QQuickItem *card = host(QStringLiteral("Card { width: 200; height: 120; hoverScale: 1.04; focused: %1 }")
                                .arg(c.focused ? "true" : "false")
                                .toUtf8());
    ASSERT_TRUE(card);
    hover(c.hovered);
    EXPECT_EQ(card->property("active").toBool(), c.focused || c.hovered);
    EXPECT_DOUBLE_EQ(card->property("sheenOpacity").toDouble(), c.sheen);
    EXPECT_DOUBLE_EQ(card->property("darkShadowOpacity").toDouble(), c.darkShadow);
    EXPECT_TRUE(settlesAt("scale", c.scale));
}

INSTANTIATE_TEST_SUITE_P(Looks, CardLook, ::testing::Values(
    CardLookCase { "resting", false, false, 0, 0, 1 },
    CardLookCase { "hovered", false, true, 0.035, 0.35, 1.04 },
    CardLookCase { "focused", true, false, 0, 0, 1.04 },
    CardLookCase { "focusedAndHovered", true, true, 0, 0, 1.04 }),
    [](const auto &info) { return std::string(info.param.name); });

struct CardClickCase {
    const char *name;
    bool withAction;
    bool withDouble;
    bool doubleClick;
    int singles;
    int doubles;
};

class CardClicks : public KitInteraction, public ::testing::WithParamInterface<CardClickCase> {};

TEST_P(CardClicks, RunTheRightAction)
{
    const CardClickCase &c = GetParam();
    QQuickItem *card = host(QStringLiteral(
        "Card { property int singles: 0; property int doubles: 0; width: 200; height: 120\n"
        "  action: %1; doubleAction: %2 }")
                                .arg(c.withAction ? "() => singles++" : "null",
                                    c.withDouble ? "() => doubles++" : "null")
                                .toUtf8());
    ASSERT_TRUE(card);
    // A double click delivers two clicks, the second marked as the double one.
    if (c.doubleClick)
        QTest::mouseDClick(&m_window, Qt::LeftButton, {}, centre(card));
    else
        QTest::mouseClick(&m_window, Qt::LeftButton, {}, centre(card));
    EXPECT_EQ(card->property("doubles").toInt(), c.doubles);
    auto *rule = card->findChild<TapRule *>();
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->pending(), c.withDouble && !c.doubleClick);
    if (c.withDouble && !c.doubleClick)
        EXPECT_TRUE(QTest::qWaitFor([&] { return card->property("singles").toInt() == c.singles; }, 2000));
    EXPECT_EQ(card->property("singles").toInt(), c.singles);
}

INSTANTIATE_TEST_SUITE_P(Clicks, CardClicks, ::testing::Values(
    CardClickCase { "singleAnswersAtOnce", true, false, false, 1, 0 },
    CardClickCase { "doubleWithoutDoubleActionRunsActionTwice", true, false, true, 2, 0 },
    CardClickCase { "doubleRunsOnlyTheDoubleAction", true, true, true, 0, 1 },
    CardClickCase { "singleWaitsOutTheDoubleInterval", true, true, false, 1, 0 },
    CardClickCase { "withoutActionsNothingRuns", false, false, true, 0, 0 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(KitInteraction, CardWithoutActionsStillRestylesOnHover)
{
    QQuickItem *card = host("Card { width: 200; height: 120 }");
    ASSERT_TRUE(card);
    hover(true);
    EXPECT_TRUE(card->property("hover").toBool());
    EXPECT_DOUBLE_EQ(card->property("restingBorderOpacity").toDouble(), 0.16);
}

class MessageViewAction : public KitInteraction, public ::testing::WithParamInterface<bool> {};

TEST_P(MessageViewAction, RetryShowsOnlyWithAnActionAndAlwaysLooksTheSame)
{
    QQuickItem *view = host(QStringLiteral(
        "MessageView { property int retries: 0; width: 500; height: 300; icon: \"wifi.slash\";\n"
        "  text: \"Offline\"%1 }")
                                .arg(GetParam() ? "; actionTitle: \"Load again\"; action: () => retries++" : "")
                                .toUtf8());
    ASSERT_TRUE(view);
    auto *retry = view->findChild<QQuickItem *>(QStringLiteral("retryButton"));
    ASSERT_TRUE(retry);
    EXPECT_EQ(retry->isVisible(), GetParam());
    if (!GetParam())
        return;
    EXPECT_EQ(retry->property("icon").toString(), QStringLiteral("arrow.clockwise"));
    EXPECT_TRUE(retry->property("primary").toBool());
    EXPECT_FALSE(retry->property("focused").toBool());
    QTest::mouseClick(&m_window, Qt::LeftButton, {}, centre(retry));
    EXPECT_EQ(view->property("retries").toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Action, MessageViewAction, ::testing::Bool());

struct HeaderCase {
    const char *name;
    bool back;
    bool subtitle;
    bool trailing;
};

class ScreenHeaderLayout : public KitInteraction, public ::testing::WithParamInterface<HeaderCase> {};

// Where the header's parts overflow it or leave it taller than they are; empty when
// the header is exactly as tall as its tallest part.
QString misfit(QQuickItem *header)
{
    const QRectF box = header->mapRectToScene(header->boundingRect());
    QRectF parts;
    for (const char *name : { "backButton", "title", "subtitle", "trailing" }) {
        auto *item = header->findChild<QQuickItem *>(QString::fromLatin1(name));
        if (!item || !item->isVisible())
            continue;
        const QRectF rect = item->mapRectToScene(item->boundingRect());
        if (rect.isEmpty() || rect.top() < box.top() - 0.5 || rect.bottom() > box.bottom() + 0.5)
            return QStringLiteral("%1 outside").arg(QString::fromLatin1(name));
        parts = parts.united(rect);
    }
    if (qAbs(parts.top() - box.top()) > 0.5 || qAbs(parts.bottom() - box.bottom()) > 0.5)
        return QStringLiteral("height %1 for parts of %2").arg(box.height()).arg(parts.height());
    return {};
}

// Made before its width is known, as in a screen that is being laid out.
TEST_P(ScreenHeaderLayout, FitsItsPartsAndShowsBackOnlyWithAnAction)
{
    const HeaderCase &c = GetParam();
    QQuickItem *header = host(QStringLiteral("ScreenHeader { property int backs: 0; title: \"Favorites\"%1%2%3 }")
                                  .arg(c.back ? "; backAction: () => backs++" : "",
                                      c.subtitle ? "; subtitle: \"3 items\"" : "",
                                      c.trailing ? "\n PillButton { objectName: \"trailing\"; title: \"Edit\"; height: 36 }" : "")
                                  .toUtf8());
    ASSERT_TRUE(header);
    header->setWidth(500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return misfit(header).isEmpty(); }, 1000)) << qPrintable(misfit(header));
    auto *back = header->findChild<QQuickItem *>(QStringLiteral("backButton"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->isVisible(), c.back);
    QTest::mouseClick(&m_window, Qt::LeftButton, {}, centre(back));
    EXPECT_EQ(header->property("backs").toInt(), c.back ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Parts, ScreenHeaderLayout, ::testing::Values(
    HeaderCase { "titleAlone", false, false, false },
    HeaderCase { "withSubtitle", false, true, false },
    HeaderCase { "withTrailing", false, false, true },
    HeaderCase { "withBack", true, false, false },
    HeaderCase { "withEverything", true, true, true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(KitInteraction, ToastShowsAtMostTwoLines)
{
    QQuickItem *toast = host(
        "ToastView { maximumWidth: 260; text: \"The playlist could not be refreshed because the "
        "provider answered with an error that we do not know how to read\" }");
    ASSERT_TRUE(toast);
    EXPECT_TRUE(toast->property("truncated").toBool());
    EXPECT_LE(toast->width(), 260);
}

TEST_F(KitInteraction, ShortToastIsOneLineAndWhole)
{
    QQuickItem *toast = host("ToastView { maximumWidth: 560; text: \"Refreshed\" }");
    ASSERT_TRUE(toast);
    EXPECT_FALSE(toast->property("truncated").toBool());
    EXPECT_LT(toast->height(), 50);
}

} // namespace
