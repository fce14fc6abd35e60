#include "app/Formatters.h"
#include "app/Localization.h"
#include "RegisteredPrefs.h"
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

TEST(DateFormats, FollowTheLocaleOfTheLanguage)
{
    const QDateTime winter = localTime(2025, 1, 6, 13, 5);
    const QDateTime summer = localTime(2024, 8, 15, 0, 30);
    // Language, time, date, long day, short day.
    const std::tuple<const char *, QDateTime, const char *, const char *, const char *> rows[] = {
        { "en", winter, "Jan 6, 2025", "Monday, January 6", "Mon, Jan 6" },
        { "de", winter, "Jan 6, 2025", "Monday, January 6", "Mon, Jan 6" },
        { "fr", winter, "6 janv. 2025", "lundi 6 janvier", "lun. 6 janv." },
        { "ar", winter, "06\u200F/01\u200F/2025", "الاثنين، 6 يناير", "الاثنين، 6 يناير" },
        { "en", summer, "Aug 15, 2024", "Thursday, August 15", "Thu, Aug 15" },
        { "fr", summer, "15 août 2024", "jeudi 15 août", "jeu. 15 août" },
        // Moroccan month names, Latin digits.
        { "ar", summer, "15\u200F/08\u200F/2024", "الخميس، 15 غشت", "الخميس، 15 غشت" },
        { "fr", localTime(2023, 12, 31, 23, 59), "31 déc. 2023", "dimanche 31 décembre", "dim. 31 déc." }
    };
    for (const auto &[code, when, date, dayLong, dayShort] : rows) {
        SCOPED_TRACE(testing::Message() << code << ' ' << date);
        const QString language = utf8(code);
        EXPECT_EQ(formatDate(when, language), utf8(date));
        EXPECT_EQ(formatDayLong(when, language), utf8(dayLong));
        EXPECT_EQ(formatDayShort(when, language), utf8(dayShort));
        EXPECT_EQ(formatFromTemplate(when, u"EEEEdMMMM"_qs, language), utf8(dayLong));
        EXPECT_EQ(formatFromTemplate(when, u"MMMdEEE"_qs, language), utf8(dayShort));
    }
}

TEST(DateFormats, PointsInTimeAreShownInLocalTime)
{
    const QDateTime utc = QDateTime(QDate(2025, 3, 1), QTime(23, 30), Qt::UTC);
    const QDateTime local = utc.toLocalTime();
    EXPECT_EQ(formatDate(utc, u"en"_qs),
        QLocale(QLocale::English, QLocale::UnitedStates).toString(local.date(), u"MMM d, yyyy"_qs));
    EXPECT_EQ(formatClock(utc, u"en"_qs, true), local.time().toString(u"HH:mm"_qs));
}

TEST(DateFormats, UnknownTemplateShowsItsFieldsInOrder)
{
    const std::tuple<const char *, const char *, const char *> rows[] = { { "dMMMy", "fr", "6 janv. 2025" },
        { "EEEEy", "en", "Monday 2025" }, { "MMyy", "en", "01 25" }, { "hmma", "en", "1 05 PM" },
        { "GGGG", "en", "" } };
    for (const auto &[pattern, language, expected] : rows)
        EXPECT_EQ(
            formatFromTemplate(localTime(2025, 1, 6, 13, 5), utf8(pattern), utf8(language)), utf8(expected))
            << pattern;
}

TEST(ClockFormats, UseHoursAndMinutesOfTheChosenForm)
{
    const std::tuple<const char *, QTime, const char *, const char *> rows[]
        = { { "en", QTime(13, 5), "13:05", "1:05 PM" }, { "en", QTime(9, 7), "09:07", "9:07 AM" },
              { "en", QTime(0, 30), "00:30", "12:30 AM" }, { "en", QTime(12, 0), "12:00", "12:00 PM" },
              { "fr", QTime(13, 5), "13:05", "1:05 PM" }, { "ar", QTime(13, 5), "13:05", "1:05 م" },
              { "ar", QTime(9, 7), "09:07", "9:07 ص" } };
    for (const auto &[language, time, clock24, clock12] : rows) {
        const QDateTime when(QDate(2025, 1, 6), time);
        EXPECT_EQ(formatClock(when, utf8(language), true), utf8(clock24)) << language;
        EXPECT_EQ(formatClock(when, utf8(language), false), utf8(clock12)) << language;
    }
}

TEST(HourCycle, FollowsSettingThenSystemLocale)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale germany(QLocale::German, QLocale::Germany);
    const std::tuple<const char *, QLocale, bool> rows[] = { { "24", us, true }, { "12", germany, false },
        { "system", us, false }, { "system", germany, true },
        { "system", QLocale(QLocale::French, QLocale::Canada), true },
        { "", QLocale(QLocale::Korean, QLocale::SouthKorea), false },
        { "bogus", QLocale(QLocale::Arabic, QLocale::Morocco), true }, { "system", QLocale::c(), true } };
    for (const auto &[setting, system, uses24Hour] : rows)
        EXPECT_EQ(uses24HourClock(utf8(setting), system), uses24Hour)
            << setting << ' ' << qPrintable(system.name());
}

TEST(HourCycle, StoredSettingIsReadOnEveryCall)
{
    RegisteredPrefs prefs;
    prefs->setTimeFormat(u"24"_qs);
    const bool after24 = uses24HourClock();
    prefs->setTimeFormat(u"12"_qs);
    const bool after12 = uses24HourClock();
    setActiveLanguage(u"en"_qs);
    const QString clock12 = formatClock(localTime(2025, 1, 6, 13, 5));
    EXPECT_TRUE(after24);
    EXPECT_FALSE(after12);
    EXPECT_EQ(clock12, u"1:05 PM"_qs);
}

TEST(Duration, ShowsMinutesAndSecondsOrHoursInAsciiDigits)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, const char *> rows[] = { { 0, "0:00" }, { 59.9, "0:59" }, { 754, "12:34" },
        { 3599.99, "59:59" }, { 3600, "1:00:00" }, { 3661.5, "1:01:01" }, { 90000, "25:00:00" },
        { 359999, "99:59:59" }, { -0.0, "0:00" }, { -1, "--:--" }, { -0.5, "--:--" }, { infinity, "--:--" },
        { -infinity, "--:--" }, { std::nan(""), "--:--" },
        { 9223372036854774784.0, "2562047788015215:13:04" }, { 9223372036854775808.0, "--:--" },
        { 1e300, "--:--" } };
    setActiveLanguage(u"ar"_qs);
    for (const auto &[seconds, expected] : rows)
        EXPECT_EQ(formatDuration(seconds), utf8(expected)) << seconds;
}

TEST(Number, GroupsDigitsTheLocaleWay)
{
    const std::tuple<const char *, qint64, const char *> rows[] = { { "en", 1234, "1,234" },
        { "fr", 1234, "1\u202F234" }, { "ar", 1234, "1.234" }, { "xx", 1234, "1,234" }, { "en", 0, "0" },
        { "ar", 999, "999" }, { "en", -1234567, "-1,234,567" }, { "ar", -1234567, "\u200E-1.234.567" },
        { "en", std::numeric_limits<qint64>::max(), "9,223,372,036,854,775,807" },
        { "fr", std::numeric_limits<qint64>::min(),
            "-9\u202F223\u202F372\u202F036\u202F854\u202F775\u202F808" } };
    for (const auto &[language, value, expected] : rows)
        EXPECT_EQ(formatNumber(value, utf8(language)), utf8(expected)) << language << ' ' << value;
}

TEST(ActiveLanguageFormats, FormattersAndTrUseTheActiveLanguage)
{
    const QDateTime when = localTime(2025, 1, 6, 13, 5);
    setActiveLanguage(u"fr"_qs);
    EXPECT_EQ(formatDate(when), u"6 janv. 2025"_qs);
    EXPECT_EQ(formatDayLong(when), u"lundi 6 janvier"_qs);
    EXPECT_EQ(formatDayShort(when), u"lun. 6 janv."_qs);
    EXPECT_EQ(formatFromTemplate(when, u"dMMMy"_qs), u"6 janv. 2025"_qs);
    EXPECT_EQ(tr(u"count_channels"_qs, { formatNumber(1234) }), u"1\u202F234 chaînes"_qs);
}

} // namespace
