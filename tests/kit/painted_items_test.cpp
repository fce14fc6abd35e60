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

} // namespace
