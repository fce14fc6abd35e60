#include "QmlHarness.h"

#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest/QTest>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

// Painted kit items narrower or lower than a pixel, as a progress fill at its start or a
// frame growing from nothing is for a moment.
const char *const kSlimItems = R"(
import QtQuick
import Zelfor.Kit
Column {
    width: 200; height: 200
    GradientShape { width: 0.4; height: 6; colors: ["red", "blue"] }
    FocusFrame { width: 40; height: 0.3; amount: 1 }
    PicturePlaceholder { width: 0.5; height: 20; title: "BBC" }
    RadialGlow { width: 0.2; height: 0.2; color: "white" }
    AccentText { width: 0.6; height: 10; text: "Zelfor"; colors: ["red", "blue"] }
})";

TEST(PaintedItems, ASizeBelowOnePixelDrawsNothingAndWarnsNothing)
{
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData(kSlimItems, QUrl(QStringLiteral("file:///slim.qml")));
    WarningCollector warnings;
    std::unique_ptr<QQuickItem> page(qobject_cast<QQuickItem *>(component.create()));
    ASSERT_TRUE(page) << qPrintable(component.errorString());
    QQuickWindow window;
    window.resize(200, 200);
    page->setParentItem(window.contentItem());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.grabWindow();
    EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
}

} // namespace
