#include "app/Localization.h"

#include "app/BidiText.h"

#include <QRegularExpression>

#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

namespace {

std::mutex activeMutex;
std::optional<QString> activeCode;

bool isFlag(QChar c)
{
    return c == u'-' || c == u'+' || c == u' ' || c == u'0' || c == u'#';
}

// Length of a length modifier (hh, h, ll, l, q, z, t, j) at `pos`, 0 when there is none.
qsizetype lengthModifierSize(const QString &format, qsizetype pos)
{
    const QStringView rest = QStringView(format).mid(pos);
    if (rest.startsWith(u"hh") || rest.startsWith(u"ll"))
        return 2;
    if (!rest.isEmpty() && QStringView(u"hlqztj").contains(rest.front()))
        return 1;
    return 0;
}

QString formatInteger(const QString &flagsWidthPrecision, qint64 value)
{
    const std::string spec = "%" + flagsWidthPrecision.toStdString() + "lld";
    const int size = std::snprintf(nullptr, 0, spec.c_str(), static_cast<long long>(value));
    if (size < 0)
        return QString::number(value);
    std::string out(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), spec.c_str(), static_cast<long long>(value));
    out.resize(static_cast<size_t>(size));
    return QString::fromStdString(out);
}

QString argumentText(const TrArg &arg, QChar conversion, const QString &flagsWidthPrecision)
{
    if (const auto *text = std::get_if<QString>(&arg))
        return *text;
    const qint64 value = std::get<qint64>(arg);
    return conversion == u'@' ? QString::number(value) : formatInteger(flagsWidthPrecision, value);
}

QString fill(const QString &format, const TrArgs &args, bool isolateValues)
{
    QString out;
    out.reserve(format.size() + 16);
    qsizetype next = 0;
    qsizetype i = 0;
    while (i < format.size()) {
        if (format[i] != u'%') {
            out += format[i++];
            continue;
        }
        qsizetype j = i + 1;
        while (j < format.size() && isFlag(format[j]))
            ++j;
        while (j < format.size() && (format[j].isDigit() || format[j] == u'.'))
            ++j;
        const QString flagsWidthPrecision = format.mid(i + 1, j - i - 1);
        j += lengthModifierSize(format, j);
        if (j >= format.size()) {
            out += QStringView(format).mid(i);
            break;
        }
        const QChar conversion = format[j];
        const bool takesArgument = conversion == u'@' || conversion == u'd' || conversion == u'i';
        if (conversion == u'%' && j == i + 1) {
            out += u'%';
        } else if (takesArgument && next < args.size()) {
            const QString value = argumentText(args[next++], conversion, flagsWidthPrecision);
            out += isolateValues ? isolated(value) : value;
        } else {
            out += QStringView(format).mid(i, j - i + 1);
        }
        i = j + 1;
    }
    return out;
}

} // namespace

QString fillFormat(const QString &format, const TrArgs &args)
{
    return fill(format, args, false);
}

bool readsRightToLeft(const QString &language)
{
    return language == u"ar";
}

MessageTable::MessageTable(const QList<Row> &rows)
{
    m_rows.reserve(rows.size());
    for (const Row &row : rows) {
        m_rows.insert(QString::fromUtf8(row.key),
            { QString::fromUtf8(row.en), QString::fromUtf8(row.fr), QString::fromUtf8(row.ar) });
    }
}

QString MessageTable::text(const QString &key, int column) const
{
    const auto it = m_rows.constFind(key);
    if (it == m_rows.cend())
        return key;
    const QString &text = it->at(static_cast<size_t>(column));
    return text.isEmpty() ? it->at(0) : text;
}

const MessageTable &messageTable()
{
    static const MessageTable table(messageRows());
    return table;
}

QString resolveLanguage(const QString &code, const QStringList &preferredLanguages)
{
    if (code != u"system")
        return code;
    // The language subtag of the first preferred language ("fr-CA" gives "fr"); a
    // three-letter language such as "arn" is not Arabic.
    static const QRegularExpression subtagSeparator(QStringLiteral("[-_]"));
    const QString candidate = preferredLanguages.isEmpty()
        ? QStringLiteral("en")
        : preferredLanguages.first().section(subtagSeparator, 0, 0);
    if (candidate == u"fr" || candidate == u"ar")
        return candidate;
    return QStringLiteral("en");
}

QString resolveLanguage(const QString &code)
{
    return resolveLanguage(code, QLocale::system().uiLanguages());
}

int languageColumn(const QString &language)
{
    if (language == u"fr")
        return 1;
    if (language == u"ar")
        return 2;
    return 0;
}

QLocale localeFor(const QString &language)
{
    if (language == u"ar")
        return QLocale(QLocale::Arabic, QLocale::Morocco);
    if (language == u"fr")
        return QLocale(QLocale::French, QLocale::France);
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

QString activeLanguage()
{
    std::lock_guard lock(activeMutex);
    if (!activeCode)
        activeCode = resolveLanguage(languageSetting());
    return *activeCode;
}

void setActiveLanguage(const QString &code)
{
    const QString resolved = resolveLanguage(code);
    std::lock_guard lock(activeMutex);
    activeCode = resolved;
}

QString localizedText(
    const MessageTable &table, const QString &language, const QString &key, const TrArgs &args)
{
    if (!table.contains(key))
        return key;
    const QString text = table.text(key, languageColumn(language));
    if (!readsRightToLeft(language))
        return args.isEmpty() ? text : fill(text, args, false);
    // A right-to-left text reads right to left and keeps each value whole and in its place.
    return readingRightToLeft(args.isEmpty() ? text : fill(text, args, true));
}

QString tr(const QString &key, const TrArgs &args)
{
    return localizedText(messageTable(), activeLanguage(), key, args);
}

QString pluralCategory(const QString &language, qint64 count)
{
    if (language == u"fr")
        return count == 0 || count == 1 ? QStringLiteral("one") : QStringLiteral("other");
    if (language == u"ar") {
        const qint64 lastTwo = count % 100;
        if (count == 1)
            return QStringLiteral("one");
        if (count == 2)
            return QStringLiteral("two");
        if (lastTwo >= 3 && lastTwo <= 10)
            return QStringLiteral("few");
        return QStringLiteral("other");
    }
    return count == 1 ? QStringLiteral("one") : QStringLiteral("other");
}

QString localizedCount(
    const MessageTable &table, const QString &language, const QString &key, qint64 count, const TrArgs &args)
{
    const QString form = key + u'_' + pluralCategory(language, count);
    return localizedText(table, language, table.contains(form) ? form : key, args);
}

QString trCount(const QString &key, qint64 count, const TrArgs &args)
{
    return localizedCount(messageTable(), activeLanguage(), key, count, args);
}
