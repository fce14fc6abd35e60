#include "ManualClock.h"
#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "app/WallClock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kPeriodMs = 10000;

class WallClockTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Prefs prefs { dir.filePath(u"defaults.json"_qs), u"abc"_qs };
    // Half past ten o'clock, local time.
    ManualClock clock { QDateTime(QDate(2026, 3, 2), QTime(10, 0, 30)).toUTC() };
    WallClock wall { &clock, &prefs };
};

TEST_F(WallClockTest, ReadsEachPeriodAndAnnouncesTheTextOnlyWhenItChanges)
{
    QSignalSpy ticks(&wall, &WallClock::ticked);
    QSignalSpy texts(&wall, &WallClock::textChanged);
    wall.start(kPeriodMs);
    clock.advance(2 * kPeriodMs);
    EXPECT_EQ(wall.now(), QDateTime(QDate(2026, 3, 2), QTime(10, 0, 50)));
    EXPECT_EQ(std::make_pair(ticks.count(), texts.count()), std::make_pair(qsizetype(3), qsizetype(0)));
    clock.advance(kPeriodMs);
    EXPECT_EQ(std::make_pair(ticks.count(), texts.count()), std::make_pair(qsizetype(4), qsizetype(1)));
    wall.stop();
    clock.advance(6 * kPeriodMs);
    EXPECT_EQ(ticks.count(), 4);
    EXPECT_FALSE(wall.ticking());
}

TEST_F(WallClockTest, ShowsTheTimeInTheStoredFormat)
{
    const std::pair<QString, bool> rows[] = { { u"24"_qs, true }, { u"12"_qs, false } };
    for (const auto &[format, use24Hour] : rows) {
        prefs.setTimeFormat(format);
        EXPECT_EQ(wall.text(), formatClock(wall.now(), activeLanguage(), use24Hour)) << qPrintable(format);
    }
}

} // namespace
