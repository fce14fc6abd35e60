#include "KitTestSupport.h"
#include "ManualClock.h"
#include "kit/LivePulse.h"

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
        const auto connection = QObject::connect(&pulse, &LivePulse::opacityChanged, [&] { shown.append(pulse.opacity()); });
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
    EXPECT_EQ(pulse.opacity(), LivePulse::kLow);
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

// The badge as the views use it: its dot pulses while it shows and stops with its layer
// hidden or its window minimised.
TEST(LiveBadgePulse, RunsOnlyWhileTheBadgeCanBeSeen)
{
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nimport Zelfor.Kit\nItem { width: 200; height: 60; LiveBadge { } }",
                      QUrl(QStringLiteral("file:///badge.qml")));
    std::unique_ptr<QQuickItem> page(qobject_cast<QQuickItem *>(component.create()));
    ASSERT_TRUE(page) << qPrintable(component.errorString());
    QQuickWindow window;
    page->setParentItem(window.contentItem());
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

} // namespace
