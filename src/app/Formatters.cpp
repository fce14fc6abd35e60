#include "app/Formatters.h"

#include "app/Localization.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct DatePatterns {
    QString mediumDate;
    QString dayLong;
    QString dayShort;
};

// Qt has no medium style nor template matching: each language gets its fixed patterns.
const DatePatterns &patternsFor(const QString &language)
{
    static const DatePatterns english { QStringLiteral("MMM d, yyyy"), QStringLiteral("dddd, MMMM d"),
        QStringLiteral("ddd, MMM d") };
    static const DatePatterns french { QStringLiteral("d MMM yyyy"), QStringLiteral("dddd d MMMM"),
        QStringLiteral("ddd d MMM") };
    static const DatePatterns arabic { QStringLiteral("dd\u200F/MM\u200F/yyyy"),
        QStringLiteral("dddd\u060C d MMMM"), QStringLiteral("ddd\u060C d MMM") };
    switch (languageColumn(language)) {
    case 1:
        return french;
    case 2:
        return arabic;
    default:
        return english;
    }
}

// A template's fields regardless of their order.
QString skeletonOf(const QString &dateTemplate)
{
    QString sorted = dateTemplate;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// A Qt pattern for one run of a template letter; empty for letters we don't render.
QString qtField(QChar letter, qsizetype count)
{
    const auto capped = [&](qsizetype most) { return QString(std::min(count, most), letter); };
    switch (letter.unicode()) {
    case 'E':
        return count <= 3 ? QStringLiteral("ddd") : QStringLiteral("dddd");
    case 'd':
    case 'H':
    case 'h':
    case 'm':
    case 's':
        return capped(2);
    case 'M':
        return capped(4);
    case 'y':
        return count == 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
    case 'a':
        return QStringLiteral("AP");
    default:
        return {};
    }
}

// Fields of an unknown template, in its own order, separated by blanks.
QString patternFromTemplate(const QString &dateTemplate)
{
    QStringList fields;
    for (qsizetype i = 0; i < dateTemplate.size();) {
        qsizetype end = i;
        while (end < dateTemplate.size() && dateTemplate[end] == dateTemplate[i])
            ++end;
        const QString field = qtField(dateTemplate[i], end - i);
        if (!field.isEmpty())
            fields << field;
        i = end;
    }
    return fields.join(u' ');
}

QString formatLocal(const QDateTime &when, const QString &pattern, const QString &language)
{
    return localeFor(language).toString(when.toLocalTime(), pattern);
}

} // namespace

QString formatDate(const QDateTime &when, const QString &language)
{
    return formatLocal(when, patternsFor(language).mediumDate, language);
}

QString formatDate(const QDateTime &when)
{
    return formatDate(when, activeLanguage());
}

bool uses24HourClock(const QString &timeFormatSetting, const QLocale &systemLocale)
{
    if (timeFormatSetting == u"24")
        return true;
    if (timeFormatSetting == u"12")
        return false;
    // The AM/PM field is "AP", "ap", "A" or "a"; no other time field uses that letter.
    // A locale without a time format counts as 24-hour.
    return !systemLocale.timeFormat(QLocale::ShortFormat).contains(u'a', Qt::CaseInsensitive);
}

bool uses24HourClock()
{
    return uses24HourClock(timeFormatSetting(), QLocale::system());
}

QString formatClock(const QDateTime &when, const QString &language, bool use24Hour)
{
    return formatLocal(when, use24Hour ? QStringLiteral("HH:mm") : QStringLiteral("h:mm AP"), language);
}

QString formatClock(const QDateTime &when)
{
    return formatClock(when, activeLanguage(), uses24HourClock());
}

QString formatFromTemplate(const QDateTime &when, const QString &dateTemplate, const QString &language)
{
    const DatePatterns &patterns = patternsFor(language);
    const QString skeleton = skeletonOf(dateTemplate);
    if (skeleton == skeletonOf(QStringLiteral("EEEEdMMMM")))
        return formatLocal(when, patterns.dayLong, language);
    if (skeleton == skeletonOf(QStringLiteral("EEEdMMM")))
        return formatLocal(when, patterns.dayShort, language);
    return formatLocal(when, patternFromTemplate(dateTemplate), language);
}

QString formatFromTemplate(const QDateTime &when, const QString &dateTemplate)
{
    return formatFromTemplate(when, dateTemplate, activeLanguage());
}

QString formatDayLong(const QDateTime &when, const QString &language)
{
    return formatFromTemplate(when, QStringLiteral("EEEEdMMMM"), language);
}

QString formatDayLong(const QDateTime &when)
{
    return formatDayLong(when, activeLanguage());
}

QString formatDayShort(const QDateTime &when, const QString &language)
{
    return formatFromTemplate(when, QStringLiteral("EEEdMMM"), language);
}

QString formatDayShort(const QDateTime &when)
{
    return formatDayShort(when, activeLanguage());
}

QString formatDuration(double seconds)
{
    // 2^63: the first value a 64-bit count of seconds cannot hold.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(seconds) || seconds < 0 || seconds >= kLimit)
        return QStringLiteral("--:--");
    const long long s = static_cast<long long>(seconds);
    char text[64];
    if (s < 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
    return QString::fromLatin1(text);
}

QString formatNumber(qint64 value, const QString &language)
{
    const QString text = localeFor(language).toString(value);
    return text.isEmpty() ? QString::number(value) : text;
}

QString formatNumber(qint64 value)
{
    return formatNumber(value, activeLanguage());
}
