#include "model/OptText.h"

#include <gtest/gtest.h>

namespace {

TEST(OptText, anEmptyTextIsPresentAndApartFromAbsent)
{
    const std::pair<OptText, bool> cases[] = { { OptText(), false }, { std::nullopt, false },
        { std::optional<QString>(), false }, { QString(), true }, { QStringLiteral(""), true },
        { std::optional<QString>(QString()), true }, { "", true }, { "x", true } };
    for (const auto &[text, present] : cases) {
        EXPECT_EQ(text.has_value(), present) << &text - &cases[0].first;
        EXPECT_EQ(text == std::nullopt, !present);
        EXPECT_EQ(std::optional<QString>(text).has_value(), present);
        EXPECT_EQ(OptText(std::optional<QString>(text)), text);
    }
    EXPECT_NE(OptText(QString()), OptText());
    EXPECT_NE(OptText(""), std::optional<QString>());
    EXPECT_NE(OptText(), QString());
    EXPECT_EQ(OptText(QString()), QStringLiteral(""));
}

TEST(OptText, movingAwayKeepsWhetherTheSourceWasPresent)
{
    OptText present(QStringLiteral("abc"));
    OptText absent;
    const OptText moved = std::move(present);
    EXPECT_EQ(moved, "abc");
    EXPECT_TRUE(present.has_value());
    present = std::move(absent);
    EXPECT_FALSE(present.has_value());
    EXPECT_FALSE(absent.has_value());
    absent = OptText("d");
    OptText target;
    target = std::move(absent);
    EXPECT_EQ(target, "d");
    EXPECT_TRUE(absent.has_value());
}

} // namespace
