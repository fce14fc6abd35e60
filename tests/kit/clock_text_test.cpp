#include "kit/ClockText.h"
#include "kit/Theme.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct SameWidth {
    const char *name;
    const char16_t *earlier;
    const char16_t *later;
    friend void PrintTo(const SameWidth &row, std::ostream *out) { *out << row.name; }
};

class ClockTextWidth : public ::testing::TestWithParam<SameWidth> {};

// In the rounded face, whose digits differ in width, a running clock keeps its width.
TEST_P(ClockTextWidth, StaysAsTheDigitsChange)
{
    ClockText clock;
    QFont font(Theme::roundedFontFamily());
    font.setPixelSize(22);
    font.setWeight(QFont::Bold);
    clock.setFont(font);
    QSignalSpy changed(&clock, &ClockText::textChanged);
    clock.setText(QString::fromUtf16(GetParam().earlier));
    const qreal earlier = clock.implicitWidth();
    clock.setText(QString::fromUtf16(GetParam().later));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_GT(earlier, 0);
    EXPECT_EQ(clock.implicitWidth(), earlier);
}

INSTANTIATE_TEST_SUITE_P(Clocks, ClockTextWidth,
    ::testing::Values(SameWidth { "TwentyFourHours", u"11:11", u"20:48" },
        SameWidth { "English", u"1:11 PM", u"4:08 PM" }, SameWidth { "Arabic", u"1:11 م", u"4:08 م" }),
    [](const ::testing::TestParamInfo<SameWidth> &info) { return std::string(info.param.name); });

} // namespace
