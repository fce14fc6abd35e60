#include "KitTestSupport.h"

#include <QQmlComponent>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

// Every looping animation of the kit, on a layer the test shows or hides, as the screens
// lower in the stack are hidden but alive.
const char *const kAnimatedPage = R"(
import QtQuick
import Zelfor.Kit
Item {
    width: 400; height: 200
    property alias animated: animated
    Item {
        id: animated
        anchors.fill: parent
        Row {
            spacing: 20
            Spinner { size: 34 }
            LiveBadge { }
            EqualizerIcon { }
            ChannelRow { width: 360; name: "BBC One"; logo: ""; num: 1; catchupDays: 0
                         favorite: false; playing: true; focused: false }
        }
    }
})";

// Frames the window renders over one second of wall time (the animations run on it).
int framesInOneSecond(QQuickWindow &window)
{
    int frames = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&] { ++frames; });
    QTest::qWait(1000);
    QObject::disconnect(counting);
    return frames;
}

TEST(IdleAnimations, AHiddenLayerRendersNoFrameAndAShownOneKeepsMoving)
{
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData(kAnimatedPage, QUrl(QStringLiteral("file:///idle.qml")));
    std::unique_ptr<QQuickItem> page(qobject_cast<QQuickItem *>(component.create()));
    ASSERT_TRUE(page) << qPrintable(component.errorString());
    QQuickWindow window;
    window.resize(400, 200);
    page->setParentItem(window.contentItem());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto *layer = page->property("animated").value<QQuickItem *>();
    EXPECT_GT(framesInOneSecond(window), 5);
    layer->setVisible(false);
    // One last frame may still draw the change.
    QTest::qWait(100);
    EXPECT_EQ(framesInOneSecond(window), 0);
    layer->setVisible(true);
    EXPECT_GT(framesInOneSecond(window), 5);
}

} // namespace
