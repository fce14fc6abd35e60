#include "kit/ClockText.h"
#include "kit/Theme.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// In the rounded face, whose digits differ in width, a running clock keeps its width.
TEST(ClockText, KeepsItsWidthAsTheDigitsChange)
{
    const std::pair<QString, QString> times[]
        = { { u"11:11"_qs, u"20:48"_qs }, { u"1:11 PM"_qs, u"4:08 PM"_qs }, { u"1:11 م"_qs, u"4:08 م"_qs } };
    for (const auto &[earlier, later] : times) {
        ClockText clock;
        QFont font(Theme::roundedFontFamily());
        font.setPixelSize(22);
        font.setWeight(QFont::Bold);
        clock.setFont(font);
        QSignalSpy changed(&clock, &ClockText::textChanged);
        clock.setText(earlier);
        const qreal width = clock.implicitWidth();
        clock.setText(later);
        EXPECT_EQ(changed.count(), 2);
        EXPECT_GT(width, 0);
        EXPECT_EQ(clock.implicitWidth(), width) << qPrintable(later);
    }
}

} // namespace
