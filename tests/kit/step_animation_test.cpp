#include "KitTestSupport.h"
#include "ManualClock.h"
#include "kit/LivePulse.h"
#include "kit/SpinnerTurn.h"

#include <QQmlComponent>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

struct PulsePoint {
    qint64 ms;
    qreal opacity;
};

// 0.9 s up, 0.9 s down, eased in and out.
TEST(LivePulse, FadesUpAndDownInNineTenthsOfASecondEach)
{
    const PulsePoint points[] = { { 0, 0.35 }, { 225, 0.43125 }, { 450, 0.675 }, { 900, 1 }, { 1350, 0.675 },
        { 1800, 0.35 }, { 2700, 1 } };
    for (const PulsePoint &point : points)
        EXPECT_NEAR(LivePulse::opacityAt(point.ms), point.opacity, 1e-9) << point.ms;
}

struct TurnPoint {
    qint64 ms;
    qreal angle;
};

// Once every 0.9 s, in whole steps of 30 degrees.
TEST(SpinnerTurn, TurnsOnceInNineTenthsOfASecondInTwelveSteps)
{
    const TurnPoint points[] = { { 0, 0 }, { 74, 0 }, { 75, 30 }, { 449, 150 }, { 450, 180 }, { 899, 330 },
        { 900, 0 }, { 1950, 60 } };
    for (const TurnPoint &point : points)
        EXPECT_DOUBLE_EQ(SpinnerTurn::angleAt(point.ms), point.angle) << point.ms;
}

// A pulse on an item of a shown window, in virtual time.
class LivePulseOnWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(100, 100);
        item.setParentItem(window.contentItem());
        pulse.setItem(&item);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // The opacities the dot takes while `ms` pass.
    QList<qreal> shownOver(qint64 ms)
    {
        QList<qreal> shown;
        const auto connection
            = QObject::connect(&pulse, &StepAnimation::valueChanged, [&] { shown.append(pulse.value()); });
        clock.advance(ms);
        QObject::disconnect(connection);
        return shown;
    }

    ManualClock clock;
    QQuickWindow window;
    QQuickItem item;
    LivePulse pulse { &clock };
};

TEST_F(LivePulseOnWindow, StepsAFewTimesASecondThroughTheWholeFade)
{
    ASSERT_TRUE(pulse.running());
    const QList<qreal> shown = shownOver(1800);
    EXPECT_EQ(shown.size(), 1800 / LivePulse::kStepMs) << "one change a step, none between";
    EXPECT_DOUBLE_EQ(*std::max_element(shown.begin(), shown.end()), 1.0);
    EXPECT_DOUBLE_EQ(shown.last(), LivePulse::kLow);
}

TEST_F(LivePulseOnWindow, StopsWhileItsItemOrItsWindowIsHiddenAndStartsLowAgain)
{
    QSignalSpy running(&pulse, &LivePulse::runningChanged);
    shownOver(450);
    item.setVisible(false);
    EXPECT_FALSE(pulse.running());
    EXPECT_EQ(pulse.value(), LivePulse::kLow);
    EXPECT_TRUE(shownOver(2000).isEmpty());
    item.setVisible(true);
    EXPECT_TRUE(pulse.running());
    EXPECT_FALSE(shownOver(2000).isEmpty());

    window.hide();
    EXPECT_FALSE(pulse.running());
    EXPECT_TRUE(shownOver(2000).isEmpty());
    window.show();
    EXPECT_TRUE(pulse.running());
    EXPECT_EQ(running.count(), 4);
}

TEST_F(LivePulseOnWindow, StopsWhenTheItemLeavesTheWindow)
{
    item.setParentItem(nullptr);
    EXPECT_FALSE(pulse.running());
    EXPECT_TRUE(shownOver(2000).isEmpty());
}

// A kit item made from QML inside a page of a window not shown yet.
class KitItemOnWindow : public ::testing::Test {
protected:
    bool make(const QByteArray &item)
    {
        engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport Zelfor.Kit\nItem { width: 200; height: 100; " + item + " }",
            QUrl(QStringLiteral("file:///page.qml")));
        page.reset(qobject_cast<QQuickItem *>(component.create()));
        if (!page) {
            ADD_FAILURE() << qPrintable(component.errorString());
            return false;
        }
        page->setParentItem(window.contentItem());
        return true;
    }

    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> page;
};

// The badge as the views use it: its dot pulses while it shows and stops with its layer
// hidden or its window minimised.
TEST_F(KitItemOnWindow, LiveBadgePulsesOnlyWhileItCanBeSeen)
{
    ASSERT_TRUE(make("LiveBadge { }"));
    QObject *pulse = page->findChild<QObject *>(QStringLiteral("livePulse"));
    ASSERT_TRUE(pulse);
    EXPECT_FALSE(pulse->property("running").toBool()) << "a window not shown yet";
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(pulse->property("running").toBool());
    page->setVisible(false);
    EXPECT_FALSE(pulse->property("running").toBool());
    page->setVisible(true);
    window.showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pulse->property("running").toBool(); }, 5000));
}

// The ring as the views use it: it turns step by step while shown, not every frame, and
// stops with its layer hidden.
TEST_F(KitItemOnWindow, SpinnerTurnsInStepsOnlyWhileShown)
{
    ASSERT_TRUE(make("Spinner { }"));
    auto *turn = page->findChild<StepAnimation *>(QStringLiteral("spinnerTurn"));
    ASSERT_TRUE(turn);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(turn->running());
    QQuickItem *ring = page->childItems().constFirst()->childItems().constFirst();
    QList<qreal> angles;
    QObject::connect(ring, &QQuickItem::rotationChanged, [&] { angles.append(ring->rotation()); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return angles.size() >= 3; }, 5000));
    for (qreal angle : angles)
        EXPECT_DOUBLE_EQ(std::fmod(angle, 360.0 / SpinnerTurn::kSteps), 0.0) << angle;
    page->setVisible(false);
    EXPECT_FALSE(turn->running());
    EXPECT_EQ(ring->rotation(), 0);
}

} // namespace
