#include "KitTestSupport.h"

#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

TEST(PaintedItems, ASizeBelowOnePixelPaintsWithoutWarnings)
{
    ShownPage page(QStringLiteral("painted/SlimItems.qml"));
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    page.view().grabWindow();
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
}

TEST(PaintedItems, RoundShapesHaveSmoothRims)
{
    ShownPage page(QStringLiteral("painted/SmoothEdges.qml"));
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    const QImage image = page.view().grabWindow();
    for (const char *name : { "disc", "ring" }) {
        SCOPED_TRACE(name);
        const QQuickItem *item = page.child(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr);
        // White on black: a blended pixel is grey, a pixel of a rough rim is one or the other.
        int blended = 0;
        const QRect area = item->mapRectToScene(item->boundingRect()).toRect();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const int grey = image.pixelColor(x, y).red();
                blended += grey > 30 && grey < 225 ? 1 : 0;
            }
        }
        EXPECT_GT(blended, 8);
    }
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
}

} // namespace
