#include "KitTestSupport.h"
#include "kit/SharedTextureNode.h"

#include <QSGTexture>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

// Nodes of one look and size in a window show one texture, painted once; another look or
// size gets its own.
TEST(SharedTextureNode, NodesOfOneLookShowOneTexturePaintedOnce)
{
    ShownPage page(QStringLiteral("painted/SharedLooks.qml"));
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    int paints = 0;
    const auto paint = [&paints](QPainter *) { ++paints; };
    SharedTextureNode first, twin, other, wider;
    first.show(&page.view(), "one", QRectF(0, 0, 10, 10), paint);
    twin.show(&page.view(), "one", QRectF(5, 5, 10, 10), paint);
    other.show(&page.view(), "two", QRectF(0, 0, 10, 10), paint);
    wider.show(&page.view(), "one", QRectF(0, 0, 20, 10), paint);
    ASSERT_NE(first.texture(), nullptr);
    EXPECT_EQ(twin.texture(), first.texture());
    EXPECT_EQ(twin.rect(), QRectF(5, 5, 10, 10));
    EXPECT_NE(other.texture(), first.texture());
    EXPECT_NE(wider.texture(), first.texture());
    EXPECT_EQ(wider.texture()->textureSize(), QSize(20, 10) * page.view().effectiveDevicePixelRatio());
    EXPECT_EQ(paints, 3);
}

} // namespace
