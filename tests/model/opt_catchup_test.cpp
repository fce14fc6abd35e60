#include "model/Records.h"

#include <gtest/gtest.h>

namespace {

TEST(OptCatchup, offersCompareByValueAndAbsentStaysApart)
{
    const Catchup offer { 2, QStringLiteral("xc"), std::nullopt };
    const OptCatchup held(offer);
    EXPECT_EQ(held, OptCatchup(offer));
    EXPECT_NE(held, OptCatchup(Catchup { 2, QStringLiteral("xc"), QStringLiteral("") }));
    EXPECT_NE(held, OptCatchup());
    EXPECT_NE(OptCatchup(), held);
    EXPECT_EQ(OptCatchup(std::optional<Catchup>()), OptCatchup());
    EXPECT_EQ(std::optional<Catchup>(held), offer);
}

TEST(OptCatchup, aCopiedItemTakesAnotherOfferWithoutChangingTheFirst)
{
    const MediaItem item { .id = "1", .catchup = Catchup { 2, QStringLiteral("xc"), std::nullopt } };
    MediaItem copy = item;
    copy.catchup = Catchup { 5, QStringLiteral("shift"), std::nullopt };
    EXPECT_EQ(item.catchup->days, 2);
    copy.catchup.reset();
    EXPECT_TRUE(item.catchup);
    EXPECT_NE(copy, item);
}

} // namespace
