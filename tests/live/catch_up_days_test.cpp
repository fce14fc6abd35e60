#include "live/CatchUpDays.h"
#include "live/GuideRules.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QTimeZone kParis("Europe/Paris");

QDateTime paris(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), kParis);
}

MediaItem channelWithArchive(std::optional<qint64> days)
{
    MediaItem item;
    item.id = "55";
    item.name = "Archive TV";
    if (days)
        item.catchup = Catchup { *days, "xc", std::nullopt };
    return item;
}

EpgEntry programme(
    const QDateTime &start, const QDateTime &end, std::optional<bool> hasArchive = std::nullopt)
{
    return EpgEntry { "P", std::nullopt, start, end, hasArchive };
}

QStringList startsOf(const QList<EpgEntry> &entries)
{
    QStringList starts;
    for (const EpgEntry &entry : entries)
        starts << entry.start.toTimeZone(kParis).toString("dd HH:mm");
    return starts;
}

TEST(CatchUpDays, DaysGoBackTheArchiveDepthFromToday)
{
    const QDateTime now = paris(2024, 6, 12, 14, 20);
    const CatchUpDays week(channelWithArchive(7), now, kParis);
    ASSERT_EQ(week.days().size(), 8);
    EXPECT_EQ(week.days().first(), paris(2024, 6, 12, 0));
    EXPECT_EQ(week.days().last(), paris(2024, 6, 5, 0));
    EXPECT_EQ(week.windowStart(), now.addDays(-7));
    const CatchUpDays none(channelWithArchive(std::nullopt), now, kParis);
    EXPECT_EQ(none.depth(), 1);
    EXPECT_EQ(none.days().size(), 2);
}

// No cap on the offer: a long archive lists all its days; an absurd one keeps its stated
// depth while its days and window stop at the guard instead of overflowing.
TEST(CatchUpDays, LongOffersAreListedWholeAndAbsurdOnesStopAtTheGuard)
{
    const QDateTime now = paris(2024, 6, 12, 14, 20);
    const CatchUpDays years(channelWithArchive(1000), now, kParis);
    EXPECT_EQ(years.depth(), 1000);
    ASSERT_EQ(years.days().size(), 1001);
    EXPECT_EQ(years.days().last(), paris(2021, 9, 16, 0));
    EXPECT_EQ(years.windowStart(), now.addSecs(-1000LL * 86400));

    const CatchUpDays absurd(channelWithArchive(std::numeric_limits<qint64>::max()), now, kParis);
    EXPECT_EQ(absurd.depth(), std::numeric_limits<qint64>::max());
    ASSERT_EQ(absurd.days().size(), kCatchupDaysGuard + 1);
    EXPECT_EQ(absurd.windowStart(), now.addSecs(-kCatchupDaysGuard * 86400));
    EXPECT_TRUE(absurd.isPlayable(programme(now.addYears(-5), now.addYears(-5).addSecs(3600))));
    EXPECT_EQ(absurd.playableCount(1, QList<EpgEntry>()), 24);
}

TEST(CatchUpDays, EmptyGuideGivesHourlySlotsOfTheWindow)
{
    const CatchUpDays days(channelWithArchive(1), paris(2024, 6, 12, 14, 20), kParis);
    const std::optional<QList<EpgEntry>> empty = QList<EpgEntry>();
    const QList<EpgEntry> today = days.entries(0, empty);
    ASSERT_EQ(today.size(), 15);
    EXPECT_EQ(startsOf(today).first(), "12 00:00");
    EXPECT_EQ(startsOf(today).last(), "12 14:00");
    EXPECT_EQ(today.first().title, "Archive TV");
    EXPECT_EQ(startsOf(days.entries(1, empty)),
        QStringList({ "11 15:00", "11 16:00", "11 17:00", "11 18:00", "11 19:00", "11 20:00", "11 21:00",
            "11 22:00", "11 23:00" }));
    EXPECT_EQ(days.playableCount(0, empty), 15);
    EXPECT_EQ(days.playableCount(1, empty), 9);
    EXPECT_TRUE(days.entries(2, empty).isEmpty());
    EXPECT_TRUE(days.entries(0, std::nullopt).isEmpty()) << "nothing before the guide has loaded";

    const CatchUpDays onTheHour(channelWithArchive(1), paris(2024, 6, 12, 13, 0), kParis);
    EXPECT_EQ(startsOf(onTheHour.entries(1, empty)).first(), "11 14:00");
}

// A day ends where the next one starts: a 25-hour day has 25 slots, a 23-hour day 23, and a
// programme in the extra hour belongs to its own day only.
TEST(CatchUpDays, DaylightSavingDaysHoldTheirOwnHours)
{
    const std::optional<QList<EpgEntry>> empty = QList<EpgEntry>();
    const CatchUpDays autumn(channelWithArchive(3), paris(2024, 10, 28, 12, 0), kParis);
    EXPECT_EQ(autumn.dayEnd(1), paris(2024, 10, 28, 0));
    EXPECT_EQ(autumn.entries(1, empty).size(), 25);
    const QDateTime lastHour = paris(2024, 10, 27, 23, 30);
    const std::optional<QList<EpgEntry>> guide
        = QList<EpgEntry> { programme(lastHour, lastHour.addSecs(1200)) };
    EXPECT_EQ(autumn.entries(1, guide).size(), 1);
    EXPECT_TRUE(autumn.entries(0, guide).isEmpty());

    const CatchUpDays spring(channelWithArchive(3), paris(2024, 4, 1, 12, 0), kParis);
    EXPECT_EQ(spring.entries(1, empty).size(), 23);
    const QDateTime earlyMonday = paris(2024, 4, 1, 0, 30);
    const std::optional<QList<EpgEntry>> monday
        = QList<EpgEntry> { programme(earlyMonday, earlyMonday.addSecs(1200)) };
    EXPECT_TRUE(spring.entries(1, monday).isEmpty()) << "Monday's first hour is not Sunday's";
}

TEST(CatchUpDays, AProgrammeAcrossMidnightIsListedOnBothDays)
{
    const CatchUpDays days(channelWithArchive(2), paris(2024, 6, 12, 14, 20), kParis);
    const std::optional<QList<EpgEntry>> guide
        = QList<EpgEntry> { programme(paris(2024, 6, 11, 21, 30), paris(2024, 6, 12, 1, 0)) };
    EXPECT_EQ(days.entries(0, guide).size(), 1);
    EXPECT_EQ(days.entries(1, guide).size(), 1);
    EXPECT_EQ(days.playableCount(0, guide), 1);
    EXPECT_EQ(days.playableCount(1, guide), 1);
}

TEST(CatchUpDays, ReplayRule)
{
    const QDateTime now = paris(2024, 6, 12, 14, 20);
    const CatchUpDays days(channelWithArchive(1), now, kParis);
    const QDateTime window = days.windowStart();
    struct Case {
        const char *name;
        EpgEntry entry;
        bool playable;
    };
    const QList<Case> cases {
        { "on now without archive", programme(now.addSecs(-600), now.addSecs(600), false), true },
        { "ended without archive", programme(now.addSecs(-7200), now.addSecs(-3600), false), false },
        { "ended, archive not said", programme(now.addSecs(-7200), now.addSecs(-3600)), true },
        { "ended with archive", programme(now.addSecs(-7200), now.addSecs(-3600), true), true },
        { "starts exactly at the window", programme(window, window.addSecs(3600)), true },
        { "starts a second before the window", programme(window.addSecs(-1), window.addSecs(3600)), false },
        { "upcoming", programme(now.addSecs(60), now.addSecs(3600)), false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(days.isPlayable(c.entry), c.playable) << c.name;
    EXPECT_TRUE(days.isUpcoming(cases.last().entry));
}

TEST(CatchUpDays, InitialFocusIsTheLastStartedProgramme)
{
    const QDateTime now = paris(2024, 6, 12, 14, 20);
    const QList<EpgEntry> today { programme(now.addSecs(-7200), now.addSecs(-3600)),
        programme(now.addSecs(-3600), now.addSecs(600)), programme(now.addSecs(600), now.addSecs(3600)) };
    EXPECT_EQ(CatchUpDays::initialFocus(today, now), 1);
    EXPECT_EQ(CatchUpDays::initialFocus(today.mid(0, 1), now), 0);
    EXPECT_EQ(CatchUpDays::initialFocus(today.mid(2), now), 0) << "nothing started: the first";
}

TEST(GuideRules, OnAirAndProgress)
{
    const QDateTime ten = paris(2024, 6, 12, 10, 0);
    const EpgEntry hour = programme(ten, ten.addSecs(3600));
    struct Case {
        const char *name;
        EpgEntry entry;
        QDateTime at;
        bool onAir;
        double progress;
    };
    const QList<Case> cases {
        { "a quarter in", hour, ten.addSecs(900), true, 0.25 },
        { "at its start", hour, ten, true, 0 },
        { "at its end", hour, ten.addSecs(3600), false, 1 },
        { "before it", hour, ten.addSecs(-60), false, 0 },
        { "half a second long, elapsed seconds capped", programme(ten, ten.addMSecs(500)), ten.addMSecs(400),
            true, 0.4 },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(isOnAir(c.entry, c.at), c.onAir) << c.name;
        EXPECT_DOUBLE_EQ(airProgress(c.entry, c.at), c.progress) << c.name;
    }
}

} // namespace
