#include "../kit/KitServices.h"
#include "../kit/KitTestSupport.h"

#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)

namespace {

// The live tile's diagonal gradient and its white glow from the top leading corner, in
// both directions, wherever nothing else is drawn over them.
TEST(LiveTilePixels, GradientAndGlowStartAtTheLeadingCorner)
{
    for (const bool rightToLeft : { false, true }) {
        SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
        ShownPage page(QStringLiteral("../home/tiles/LiveTilePage.qml"), { { "rightToLeft", rightToLeft } });
        ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
        // 300 from the leading edge, 48 down: 0.384 along #7C3AED, #4C1D95, #0E7490; 304.4
        // from the leading corner, where the white glow (0.13, 420 wide) keeps 0.036.
        const QPointF leading(300.5, 48.5);
        const QColor expected = blend(blend(QColor(0x7C, 0x3A, 0xED), QColor(0x4C, 0x1D, 0x95), 2 * 0.384),
            Qt::white, 0.13 * (1 - std::hypot(leading.x(), leading.y()) / 420));
        const QPointF at(rightToLeft ? 600 - leading.x() : leading.x(), leading.y());
        QColor shown;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return near(shown = pixelAt(page.view().grabWindow(), at), expected); }, 5000))
            << qPrintable(shown.name()) << " for " << qPrintable(expected.name());
        EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
    }
}

} // namespace
