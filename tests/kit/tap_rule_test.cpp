#include "ManualClock.h"
#include "kit/TapRule.h"
#include "sources/Registered.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct TapCase {
    const char *name;
    bool doubleEnabled;
    QList<qint64> clicks; // virtual times in ms, interval 400
    int singles;
    int doubles;
    bool pendingAfter;
    int dropDoubleBefore = -1; // the click before which the double action goes away
};

// The clock rules are made on while it lives, registered as the program registers its own.
struct ClockScope {
    explicit ClockScope(AppClock *clock) { Registered<AppClock>::set(clock); }
    ~ClockScope() { Registered<AppClock>::set(earlier); }
    AppClock *earlier = Registered<AppClock>::get();
};

class TapRuleSequence : public ::testing::TestWithParam<TapCase> { };

TEST_P(TapRuleSequence, DecidesBetweenSingleAndDoubleTaps)
{
    const TapCase &c = GetParam();
    ManualClock clock;
    const ClockScope registered(&clock);
    TapRule rule;
    rule.setInterval(400);
    rule.setDoubleEnabled(c.doubleEnabled);
    QSignalSpy singles(&rule, &TapRule::singleTap);
    QSignalSpy doubles(&rule, &TapRule::doubleTap);
    for (int i = 0; i < c.clicks.size(); ++i) {
        if (i == c.dropDoubleBefore)
            rule.setDoubleEnabled(false);
        clock.advance(c.clicks[i] - clock.nowMs());
        rule.click();
    }
    EXPECT_EQ(singles.count(), c.singles);
    EXPECT_EQ(doubles.count(), c.doubles);
    EXPECT_EQ(rule.pending(), c.pendingAfter);
}

INSTANTIATE_TEST_SUITE_P(Clicks, TapRuleSequence,
    ::testing::Values(TapCase { "withoutDoubleEveryClickIsSingleAtOnce", false, { 0, 100 }, 2, 0, false },
        TapCase { "singleClickWaitsForTheInterval", true, { 0 }, 0, 0, true },
        TapCase { "twoQuickClicksAreOneDouble", true, { 0, 100 }, 0, 1, false },
        TapCase { "secondClickOnTheIntervalStillCounts", true, { 0, 400 }, 0, 1, false },
        TapCase { "lateSecondClickEndsTheFirstAsSingle", true, { 0, 401 }, 1, 0, true },
        TapCase { "thirdClickStartsAfresh", true, { 0, 100, 200 }, 0, 1, true },
        TapCase { "fourQuickClicksAreTwoDoubles", true, { 0, 100, 200, 300 }, 0, 2, false },
        TapCase {
            "droppingTheDoubleActionMakesThePendingAndNextClickSingle", true, { 0, 100 }, 2, 0, false, 1 }),
    [](const auto &info) { return std::string(info.param.name); });

// On the real timer: a double cancels its pending single, a lone click becomes single.
TEST(TapRule, LoneClickBecomesSingleWhenTheIntervalRunsOut)
{
    TapRule rule;
    rule.setInterval(20);
    rule.setDoubleEnabled(true);
    QSignalSpy singles(&rule, &TapRule::singleTap);
    QSignalSpy doubles(&rule, &TapRule::doubleTap);
    rule.click();
    rule.click();
    rule.click();
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_TRUE(singles.isEmpty());
    ASSERT_TRUE(singles.wait(2000));
    EXPECT_FALSE(singles.wait(100));
    EXPECT_EQ(singles.count(), 1);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_FALSE(rule.pending());
}

} // namespace
