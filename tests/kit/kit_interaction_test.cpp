#include "KitServices.h"
#include "KitTestSupport.h"
#include "kit/TapRule.h"
#include "kit/Theme.h"

#include <QQmlComponent>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

namespace {

// Hosts one kit view, written inline, in a shown 600 by 400 window; it must load without a warning.
class KitInteraction : public ::testing::Test {
protected:
    QQuickItem *host(const QString &body)
    {
        m_engine.addImportPath(QStringLiteral("qrc:/"));
        WarningCollector collector;
        QQmlComponent component(&m_engine);
        component.setData("import QtQuick\nimport Zelfor.Kit\n" + body.toUtf8(),
            QUrl(QStringLiteral("file:///inline.qml")));
        m_item.reset(qobject_cast<QQuickItem *>(component.create()));
        EXPECT_TRUE(m_item) << qPrintable(component.errorString());
        if (!m_item)
            return nullptr;
        m_window.resize(600, 400);
        m_item->setParentItem(m_window.contentItem());
        m_item->setPosition(QPointF(100, 100));
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        EXPECT_TRUE(collector.warnings().isEmpty()) << qPrintable(collector.warnings().join('\n'));
        return m_item.get();
    }

    void click(QQuickItem *item) { QTest::mouseClick(&m_window, Qt::LeftButton, {}, centreOf(item)); }

    QQmlEngine m_engine;
    QQuickWindow m_window;
    std::unique_ptr<QQuickItem> m_item;
};

// fillStyle: 0 raised, 1 raised hover, 2 accent.
const char *const kPillLook = "hover fillStyle borderWidth borderOpacity glowOpacity brightness";
const char *const kCardLook = "hover active sheenOpacity darkShadowOpacity";
const char *const kPill = "PillButton { title: \"Play\" }";
const char *const kFocusedPill = "PillButton { title: \"Play\"; focused: true }";
const char *const kPrimaryPill = "PillButton { title: \"Play\"; primary: true }";
const char *const kCard = "Card { width: 200; height: 120; hoverScale: 1.04 }";
const char *const kFocusedCard = "Card { width: 200; height: 120; hoverScale: 1.04; focused: true }";

struct LookCase {
    const char *name;
    const char *qml;
    bool hovered;
    const char *properties;
    const char *look; // the properties' values
    double scale;
};

class Looks : public KitInteraction, public ::testing::WithParamInterface<LookCase> { };

TEST_P(Looks, FollowPrimaryFocusAndHover)
{
    const LookCase &c = GetParam();
    QQuickItem *item = host(QLatin1String(c.qml));
    ASSERT_TRUE(item);
    QTest::mouseMove(&m_window, c.hovered ? centreOf(item) : QPoint(5, 5));
    QCoreApplication::processEvents();
    QStringList look;
    for (const QString &name : QString::fromLatin1(c.properties).split(' '))
        look.append(item->property(name.toLatin1()).toString());
    EXPECT_EQ(look.join(' '), QLatin1String(c.look));
    EXPECT_TRUE(QTest::qWaitFor([&] { return qAbs(item->scale() - c.scale) < 1e-3; }, 10000))
        << item->scale();
}

INSTANTIATE_TEST_SUITE_P(Views, Looks,
    ::testing::Values(LookCase { "pillResting", kPill, false, kPillLook, "false 0 1 0.1 0 0", 1 },
        LookCase { "pillHovered", kPill, true, kPillLook, "true 1 1 0.2 0 0", 1.03 },
        LookCase { "pillFocusedKeepsScale", kFocusedPill, false, kPillLook, "false 0 2 1 0 0", 1 },
        LookCase { "pillFocusWinsBorderOverHover", kFocusedPill, true, kPillLook, "true 1 2 1 0 0", 1.03 },
        LookCase { "primaryResting", kPrimaryPill, false, kPillLook, "false 2 1 0.25 0.35 0", 1 },
        LookCase {
            "primaryKeepsAccentWhenHovered", kPrimaryPill, true, kPillLook, "true 2 1 0.25 0.55 0.06", 1.03 },
        LookCase { "cardResting", kCard, false, kCardLook, "false false 0 0", 1 },
        LookCase { "cardHoveredWithoutActions", kCard, true, kCardLook, "true true 0.035 0.35", 1.04 },
        LookCase { "cardFocused", kFocusedCard, false, kCardLook, "false true 0 0", 1.04 },
        LookCase { "cardFocusWinsOverHover", kFocusedCard, true, kCardLook, "true true 0 0", 1.04 }),
    [](const auto &info) { return std::string(info.param.name); });

struct CardClickCase {
    const char *name;
    bool withAction;
    bool withDouble;
    bool doubleClick;
    int singles;
    int doubles;
};

class CardClicks : public KitInteraction, public ::testing::WithParamInterface<CardClickCase> { };

TEST_P(CardClicks, RunTheRightAction)
{
    const CardClickCase &c = GetParam();
    QQuickItem *card = host(
        QStringLiteral("Card { property int singles: 0; property int doubles: 0; width: 200; "
                       "height: 120\n action: %1; doubleAction: %2 }")
            .arg(c.withAction ? "() => singles++" : "null", c.withDouble ? "() => doubles++" : "null"));
    ASSERT_TRUE(card);
    // A double click delivers two clicks, the second marked as the double one.
    if (c.doubleClick)
        QTest::mouseDClick(&m_window, Qt::LeftButton, {}, centreOf(card));
    else
        click(card);
    EXPECT_EQ(card->property("doubles").toInt(), c.doubles);
    auto *rule = card->findChild<TapRule *>();
    ASSERT_TRUE(rule);
    const bool waits = c.withDouble && !c.doubleClick;
    EXPECT_EQ(rule->pending(), waits);
    EXPECT_EQ(card->property("singles").toInt(), waits ? 0 : c.singles);
    EXPECT_TRUE(QTest::qWaitFor([&] { return card->property("singles").toInt() == c.singles; }, 10000));
}

INSTANTIATE_TEST_SUITE_P(Clicks, CardClicks,
    ::testing::Values(CardClickCase { "singleAnswersAtOnce", true, false, false, 1, 0 },
        CardClickCase { "doubleWithoutDoubleActionRunsActionTwice", true, false, true, 2, 0 },
        CardClickCase { "doubleRunsOnlyTheDoubleAction", true, true, true, 0, 1 },
        CardClickCase { "singleWaitsOutTheDoubleInterval", true, true, false, 1, 0 },
        CardClickCase { "withoutActionsNothingRuns", false, false, true, 0, 0 }),
    [](const auto &info) { return std::string(info.param.name); });

class MessageViewAction : public KitInteraction, public ::testing::WithParamInterface<bool> { };

TEST_P(MessageViewAction, RetryShowsOnlyWithAnActionAndAlwaysLooksTheSame)
{
    QQuickItem *view
        = host(QStringLiteral("MessageView { property int retries: 0; width: 500; height: 300; "
                              "icon: \"wifi.slash\"; text: \"Offline\"%1 }")
                   .arg(GetParam() ? "; actionTitle: \"Load again\"; action: () => retries++" : ""));
    ASSERT_TRUE(view);
    auto *retry = view->findChild<QQuickItem *>(QStringLiteral("retryButton"));
    ASSERT_TRUE(retry);
    EXPECT_EQ(retry->isVisible(), GetParam());
    if (!GetParam())
        return;
    EXPECT_EQ(retry->property("icon").toString(), QStringLiteral("arrow.clockwise"));
    click(retry);
    EXPECT_EQ(view->property("retries").toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Action, MessageViewAction, ::testing::Bool());

struct HeaderCase {
    const char *name;
    bool back;
    bool subtitle;
    bool trailing;
};

class ScreenHeaderLayout : public KitInteraction, public ::testing::WithParamInterface<HeaderCase> { };

// Where the header's parts overflow it or leave it taller than they are; empty when
// the header is exactly as tall as its tallest part.
QString misfit(QQuickItem *header)
{
    const QRectF box = header->mapRectToScene(header->boundingRect());
    QRectF parts;
    for (const char *name : { "backButton", "title", "subtitle", "trailing" }) {
        auto *item = header->findChild<QQuickItem *>(QLatin1String(name));
        if (!item || !item->isVisible())
            continue;
        const QRectF rect = item->mapRectToScene(item->boundingRect());
        if (rect.isEmpty() || rect.top() < box.top() - 0.5 || rect.bottom() > box.bottom() + 0.5)
            return QStringLiteral("%1 outside").arg(QLatin1String(name));
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
    QQuickItem *header = host(
        QStringLiteral("ScreenHeader { property int backs: 0; title: \"Favorites\"%1%2%3 }")
            .arg(c.back ? "; backAction: () => backs++" : "", c.subtitle ? "; subtitle: \"3 items\"" : "",
                c.trailing ? "\n PillButton { objectName: \"trailing\"; title: \"Edit\"; height: 36 }" : ""));
    ASSERT_TRUE(header);
    header->setWidth(500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return misfit(header).isEmpty(); }, 10000))
        << qPrintable(misfit(header));
    auto *back = header->findChild<QQuickItem *>(QStringLiteral("backButton"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->isVisible(), c.back);
    click(back);
    EXPECT_EQ(header->property("backs").toInt(), c.back ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Parts, ScreenHeaderLayout,
    ::testing::Values(HeaderCase { "titleAlone", false, false, false },
        HeaderCase { "withSubtitle", false, true, false }, HeaderCase { "withTrailing", false, false, true },
        HeaderCase { "withBack", true, false, false }, HeaderCase { "withEverything", true, true, true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(KitInteraction, ToastShowsAtMostTwoLines)
{
    const char *longText
        = "The playlist could not be refreshed because the provider answered with an error that we "
          "do not know how to read";
    for (const auto &[width, text, truncated] :
        { std::tuple { 260, longText, true }, std::tuple { 560, "Refreshed", false } }) {
        QQuickItem *toast = host(QStringLiteral("ToastView { maximumWidth: %1; text: \"%2\" }")
                                     .arg(width)
                                     .arg(QLatin1String(text)));
        ASSERT_TRUE(toast);
        EXPECT_EQ(toast->property("truncated").toBool(), truncated) << text;
        EXPECT_LE(toast->width(), width);
        EXPECT_LT(toast->height(), truncated ? 70 : 50);
    }
}

// A button's help shows on the surface colour with white text, not the platform's light tooltip.
TEST_F(KitInteraction, HelpTipWearsTheAppLook)
{
    QQuickItem *button = host(QStringLiteral("CircleButton { icon: \"magnifyingglass\"; help: \"Search\" }"));
    ASSERT_TRUE(button);
    QObject *tip = button->findChild<QObject *>(QStringLiteral("helpTip"));
    ASSERT_TRUE(tip);
    QTest::mouseMove(&m_window, centreOf(button));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->property("opened").toBool(); }, 10000));
    auto *background = tip->property("background").value<QQuickItem *>();
    ASSERT_TRUE(background);
    const QImage image = m_window.grabWindow();
    const QColor fill
        = image.pixelColor(background->mapToScene(QPointF(3, background->height() / 2)).toPoint());
    EXPECT_EQ(fill, Theme::surface());
    EXPECT_EQ(tip->property("palette").value<QObject *>()->property("toolTipText").value<QColor>(),
        QColor(Qt::white));
}

} // namespace
