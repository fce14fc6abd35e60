#include "kit/PosterRating.h"

#include <gtest/gtest.h>

namespace {

struct RatingCase {
    const char *name;
    OptText rating;
    OptText badge;
};

class PosterRatingBadge : public ::testing::TestWithParam<RatingCase> { };

TEST_P(PosterRatingBadge, Text)
{
    EXPECT_EQ(PosterRating::badge(GetParam().rating), GetParam().badge);
}

INSTANTIATE_TEST_SUITE_P(Ratings, PosterRatingBadge,
    ::testing::Values(RatingCase { "RoundsToOneDecimal", "7.26", "7.3" },
        RatingCase { "WholeNumberGetsADecimal", "8", "8.0" }, RatingCase { "Ten", "10", "10.0" },
        RatingCase { "RoundsToZero", "0.04", std::nullopt },
        RatingCase { "RoundsUpFromBelowOneTenth", "0.05", "0.1" }, RatingCase { "Exponent", "7e-1", "0.7" },
        RatingCase { "LeadingPlus", "+6.5", "6.5" }, RatingCase { "Zero", "0", std::nullopt },
        RatingCase { "Negative", "-3", std::nullopt }, RatingCase { "Empty", "", std::nullopt },
        RatingCase { "Missing", std::nullopt, std::nullopt },
        RatingCase { "NotANumber", "N/A", std::nullopt }, RatingCase { "Comma", "7,5", std::nullopt },
        RatingCase { "Thousands", "1,000", std::nullopt },
        RatingCase { "LeadingSpace", " 7.5", std::nullopt },
        RatingCase { "TrailingSpace", "7.5 ", std::nullopt },
        RatingCase { "TrailingText", "7.5/10", std::nullopt }, RatingCase { "Infinite", "inf", std::nullopt },
        RatingCase { "NaN", "nan", std::nullopt }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
