#include "app/Formatters.h"
#include "app/Localization.h"
#include "app/Prefs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QDateTime localTime(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

struct DateCase {
    const char *language;
    QDateTime when;
    const char *date;
    const char *dayLong;
    const char *dayShort;
};

class DateFormats : public testing::TestWithParam<DateCase> { };

TEST_P(DateFormats, FollowTheLocaleOfTheLanguage)
{
    const DateCase &c = GetParam();
    const QString language = utf8(c.language);
    EXPECT_EQ(formatDate(c.when, language), utf8(c.date));
    EXPECT_EQ(formatDayLong(c.when, language), utf8(c.dayLong));
    EXPECT_EQ(formatDayShort(c.when, language), utf8(c.dayShort));
    EXPECT_EQ(formatFromTemplate(c.when, QStringLiteral("EEEEdMMMM"), language), utf8(c.dayLong));
    EXPECT_EQ(formatFromTemplate(c.when, QStringLiteral("MMMdEEE"), language), utf8(c.dayShort));
}

INSTANTIATE_TEST_SUITE_P(Table, DateFormats,
    testing::Values(
        DateCase { "en", localTime(2025, 1, 6, 13, 5), "Jan 6, 2025", "Monday, January 6", "Mon, Jan 6" },
        DateCase { "de", localTime(2025, 1, 6, 13, 5), "Jan 6, 2025", "Monday, January 6", "Mon, Jan 6" },
        DateCase { "fr", localTime(2025, 1, 6, 13, 5), "6 janv. 2025", "lundi 6 janvier", "lun. 6 janv." },
        DateCase { "ar", localTime(2025, 1, 6, 13, 5), "06\u200F/01\u200F/2025", "الاثنين، 6 يناير",
            "الاثنين، 6 يناير" },
        DateCase {
            "en", localTime(2024, 8, 15, 0, 30), "Aug 15, 2024", "Thursday, August 15", "Thu, Aug 15" },
        DateCase { "fr", localTime(2024, 8, 15, 0, 30), "15 août 2024", "jeudi 15 août", "jeu. 15 août" },
        // Moroccan month names, Latin digits.
        DateCase { "ar", localTime(2024, 8, 15, 0, 30), "15\u200F/08\u200F/2024", "الخميس، 15 غشت",
            "الخميس، 15 غشت" },
        DateCase {
            "fr", localTime(2023, 12, 31, 23, 59), "31 déc. 2023", "dimanche 31 décembre", "dim. 31 déc." }));

TEST(DateFormats, PointsInTimeAreShownInLocalTime)
{
    const QDateTime utc = QDateTime(QDate(2025, 3, 1), QTime(23, 30), Qt::UTC);
    const QDateTime local = utc.toLocalTime();
    EXPECT_EQ(formatDate(utc, QStringLiteral("en")),
        QLocale(QLocale::English, QLocale::UnitedStates)
            .toString(local.date(), QStringLiteral("MMM d, yyyy")));
    EXPECT_EQ(formatClock(utc, QStringLiteral("en"), true), local.time().toString(QStringLiteral("HH:mm")));
}

TEST(DateFormats, UnknownTemplateShowsItsFieldsInOrder)
{
    const QDateTime when = localTime(2025, 1, 6, 13, 5);
    EXPECT_EQ(formatFromTemplate(when, QStringLiteral("dMMMy"), QStringLiteral("fr")),
        QStringLiteral("6 janv. 2025"));
    EXPECT_EQ(formatFromTemplate(when, QStringLiteral("EEEEy"), QStringLiteral("en")),
        QStringLiteral("Monday 2025"));
    EXPECT_EQ(
        formatFromTemplate(when, QStringLiteral("MMyy"), QStringLiteral("en")), QStringLiteral("01 25"));
    EXPECT_EQ(
        formatFromTemplate(when, QStringLiteral("hmma"), QStringLiteral("en")), QStringLiteral("1 05 PM"));
    EXPECT_EQ(formatFromTemplate(when, QStringLiteral("GGGG"), QStringLiteral("en")), QString());
}

struct ClockCase {
    const char *language;
    QTime time;
    const char *clock24;
    const char *clock12;
};

class ClockFormats : public testing::TestWithParam<ClockCase> { };

TEST_P(ClockFormats, UseHoursAndMinutesOfTheChosenForm)
{
    const ClockCase &c = GetParam();
    const QDateTime when(QDate(2025, 1, 6), c.time);
    EXPECT_EQ(formatClock(when, utf8(c.language), true), utf8(c.clock24));
    EXPECT_EQ(formatClock(when, utf8(c.language), false), utf8(c.clock12));
}

INSTANTIATE_TEST_SUITE_P(Table, ClockFormats,
    testing::Values(ClockCase { "en", QTime(13, 5), "13:05", "1:05 PM" },
        ClockCase { "en", QTime(9, 7), "09:07", "9:07 AM" },
        ClockCase { "en", QTime(0, 30), "00:30", "12:30 AM" },
        ClockCase { "en", QTime(12, 0), "12:00", "12:00 PM" },
        ClockCase { "fr", QTime(13, 5), "13:05", "1:05 PM" },
        ClockCase { "ar", QTime(13, 5), "13:05", "1:05 م" },
        ClockCase { "ar", QTime(9, 7), "09:07", "9:07 ص" }));

struct HourCycleCase {
    const char *setting;
    QLocale system;
    bool uses24Hour;
};

class HourCycle : public testing::TestWithParam<HourCycleCase> { };

TEST_P(HourCycle, FollowsSettingThenSystemLocale)
{
    const HourCycleCase &c = GetParam();
    EXPECT_EQ(uses24HourClock(utf8(c.setting), c.system), c.uses24Hour);
}

INSTANTIATE_TEST_SUITE_P(Table, HourCycle,
    testing::Values(HourCycleCase { "24", QLocale(QLocale::English, QLocale::UnitedStates), true },
        HourCycleCase { "12", QLocale(QLocale::German, QLocale::Germany), false },
        HourCycleCase { "system", QLocale(QLocale::English, QLocale::UnitedStates), false },
        HourCycleCase { "system", QLocale(QLocale::German, QLocale::Germany), true },
        HourCycleCase { "system", QLocale(QLocale::French, QLocale::Canada), true },
        HourCycleCase { "", QLocale(QLocale::Korean, QLocale::SouthKorea), false },
        HourCycleCase { "bogus", QLocale(QLocale::Arabic, QLocale::Morocco), true },
        HourCycleCase { "system", QLocale::c(), true }));

TEST(HourCycle, StoredSettingIsReadOnEveryCall)
{
    Prefs *prefs = Prefs::shared();
    const QString stored = prefs->timeFormat();
    prefs->setTimeFormat(QStringLiteral("24"));
    const bool after24 = uses24HourClock();
    prefs->setTimeFormat(QStringLiteral("12"));
    const bool after12 = uses24HourClock();
    setActiveLanguage(QStringLiteral("en"));
    const QString clock12 = formatClock(localTime(2025, 1, 6, 13, 5));
    prefs->setTimeFormat(stored);
    EXPECT_TRUE(after24);
    EXPECT_FALSE(after12);
    EXPECT_EQ(clock12, QStringLiteral("1:05 PM"));
}

struct DurationCase {
    double seconds;
    const char *expected;
};

class Duration : public testing::TestWithParam<DurationCase> { };

TEST_P(Duration, ShowsMinutesAndSecondsOrHours)
{
    EXPECT_EQ(formatDuration(GetParam().seconds), utf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, Duration,
    testing::Values(DurationCase { 0, "0:00" }, DurationCase { 59.9, "0:59" }, DurationCase { 754, "12:34" },
        DurationCase { 3599.99, "59:59" }, DurationCase { 3600, "1:00:00" },
        DurationCase { 3661.5, "1:01:01" }, DurationCase { 90000, "25:00:00" },
        DurationCase { 359999, "99:59:59" }, DurationCase { -0.0, "0:00" }, DurationCase { -1, "--:--" },
        DurationCase { -0.5, "--:--" }, DurationCase { std::numeric_limits<double>::infinity(), "--:--" },
        DurationCase { -std::numeric_limits<double>::infinity(), "--:--" },
        DurationCase { std::nan(""), "--:--" },
        DurationCase { 9223372036854774784.0, "2562047788015215:13:04" },
        DurationCase { 9223372036854775808.0, "--:--" }, DurationCase { 1e300, "--:--" }));

TEST(Duration, DigitsStayAsciiWhateverTheLanguage)
{
    setActiveLanguage(QStringLiteral("ar"));
    EXPECT_EQ(formatDuration(754), QStringLiteral("12:34"));
}

struct NumberCase {
    const char *language;
    qint64 value;
    const char *expected;
};

class Number : public testing::TestWithParam<NumberCase> { };

TEST_P(Number, GroupsDigitsTheLocaleWay)
{
    const NumberCase &c = GetParam();
    EXPECT_EQ(formatNumber(c.value, utf8(c.language)), utf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, Number,
    testing::Values(NumberCase { "en", 1234, "1,234" }, NumberCase { "fr", 1234, "1\u202F234" },
        NumberCase { "ar", 1234, "1.234" }, NumberCase { "xx", 1234, "1,234" }, NumberCase { "en", 0, "0" },
        NumberCase { "ar", 999, "999" }, NumberCase { "en", -1234567, "-1,234,567" },
        NumberCase { "ar", -1234567, "\u200E-1.234.567" },
        NumberCase { "en", std::numeric_limits<qint64>::max(), "9,223,372,036,854,775,807" },
        NumberCase { "fr", std::numeric_limits<qint64>::min(),
            "-9\u202F223\u202F372\u202F036\u202F854\u202F775\u202F808" }));

TEST(ActiveLanguageFormats, FormattersAndTrUseTheActiveLanguage)
{
    const QDateTime when = localTime(2025, 1, 6, 13, 5);
    setActiveLanguage(QStringLiteral("fr"));
    EXPECT_EQ(formatDate(when), QStringLiteral("6 janv. 2025"));
    EXPECT_EQ(formatDayLong(when), QStringLiteral("lundi 6 janvier"));
    EXPECT_EQ(formatDayShort(when), QStringLiteral("lun. 6 janv."));
    EXPECT_EQ(formatFromTemplate(when, QStringLiteral("dMMMy")), QStringLiteral("6 janv. 2025"));
    EXPECT_EQ(tr(QStringLiteral("count_channels"), { formatNumber(1234) }),
        QString::fromUtf8("1\u202F234 chaînes"));
    setActiveLanguage(QStringLiteral("en"));
    EXPECT_EQ(tr(QStringLiteral("count_movies"), { formatNumber(1234) }), QStringLiteral("1,234 movies"));
}

} // namespace
