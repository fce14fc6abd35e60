#include "KitServices.h"
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
                         favorite: false; playing: true; equalizer: true; focused: false }
        }
    }
})";

// The animated page in a window of its own, counting the frames it renders.
class AnimatedWindow {
public:
    explicit AnimatedWindow(QQmlEngine &engine)
    {
        QQmlComponent component(&engine);
        component.setData(kAnimatedPage, QUrl(QStringLiteral("file:///idle.qml")));
        m_page.reset(qobject_cast<QQuickItem *>(component.create()));
        if (!m_page) {
            m_problem = component.errorString();
            return;
        }
        m_window.resize(400, 200);
        m_page->setParentItem(m_window.contentItem());
        QObject::connect(&m_window, &QQuickWindow::frameSwapped, &m_window, [this] { ++frames; });
        m_window.show();
    }
    bool exposed() { return m_page && QTest::qWaitForWindowExposed(&m_window); }
    QString problem() const { return m_problem; }
    void showLayer(bool shown) { m_page->property("animated").value<QQuickItem *>()->setVisible(shown); }

    int frames = 0;

private:
    QQuickWindow m_window;
    std::unique_ptr<QQuickItem> m_page;
    QString m_problem;
};

// Both windows animate at the start; the watch window keeps its layer shown, so the
// frames it renders measure the time that the hidden layer had to render its own.
TEST(IdleAnimations, AHiddenLayerRendersNoFrameAndAShownOneKeepsMoving)
{
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    AnimatedWindow tested(engine);
    AnimatedWindow watch(engine);
    ASSERT_TRUE(tested.exposed()) << qPrintable(tested.problem());
    ASSERT_TRUE(watch.exposed()) << qPrintable(watch.problem());
    const auto watchRenders = [&](int count) {
        const int target = watch.frames + count;
        return QTest::qWaitFor([&] { return watch.frames >= target; }, 20000);
    };
    const int atStart = tested.frames;
    ASSERT_TRUE(watchRenders(10));
    EXPECT_GT(tested.frames, atStart + 5);

    tested.showLayer(false);
    // One last frame may still draw the change.
    ASSERT_TRUE(watchRenders(3));
    const int hidden = tested.frames;
    ASSERT_TRUE(watchRenders(10));
    EXPECT_EQ(tested.frames, hidden);

    tested.showLayer(true);
    ASSERT_TRUE(watchRenders(10));
    EXPECT_GT(tested.frames, hidden + 5);
}

} // namespace
