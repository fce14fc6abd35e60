#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Dates, clock times and numbers are written in the locale of a language (see
// localeFor); the overloads without a language use the active one. Points in time
// are shown in the local time zone.

// Medium date without time: "Jan 6, 2025", "6 janv. 2025", "06/01/2025".
QString formatDate(const QDateTime &when, const QString &language);
QString formatDate(const QDateTime &when);

// "24" and "12" decide; any other setting follows the clock of `systemLocale`.
bool uses24HourClock(const QString &timeFormatSetting, const QLocale &systemLocale);
// The same with the stored "time_format" setting and the system locale.
bool uses24HourClock();

// "HH:mm" in the 24-hour form, else "h:mm" followed by the locale's AM/PM text.
QString formatClock(const QDateTime &when, const QString &language, bool use24Hour);
QString formatClock(const QDateTime &when);

// The locale's form of a date template such as "EEEEdMMMM" or "EEEdMMM".
QString formatFromTemplate(const QDateTime &when, const QString &dateTemplate, const QString &language);
QString formatFromTemplate(const QDateTime &when, const QString &dateTemplate);

// Weekday, day and month: long forms ("Monday, January 6") and short forms ("Mon, Jan 6").
QString formatDayLong(const QDateTime &when, const QString &language);
QString formatDayLong(const QDateTime &when);
QString formatDayShort(const QDateTime &when, const QString &language);
QString formatDayShort(const QDateTime &when);

// "m:ss" below an hour, else "h:mm:ss", in ASCII digits whatever the language;
// "--:--" for a negative, non-finite or too large value.
QString formatDuration(double seconds);

// The integer with the locale's digit grouping.
QString formatNumber(qint64 value, const QString &language);
QString formatNumber(qint64 value);
