#pragma once

#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <variant>

// Interface languages: "en", "fr", "ar". Any other code reads as English.

// One format argument: an integer for "%d", a text for "%@".
using TrArg = std::variant<qint64, QString>;
using TrArgs = QList<TrArg>;

// The built-in message table: per key, the English, French and Arabic texts.
class MessageTable {
public:
    struct Row {
        const char *key;
        const char *en;
        const char *fr;
        const char *ar;
    };

    explicit MessageTable(const QList<Row> &rows);

    // The text of `key` in `column` (0 en, 1 fr, 2 ar); an empty translation gives
    // the English text, a missing key gives the key itself.
    QString text(const QString &key, int column) const;
    bool contains(const QString &key) const { return m_rows.contains(key); }
    QStringList keys() const { return m_rows.keys(); }
    std::array<QString, 3> texts(const QString &key) const { return m_rows.value(key); }

private:
    QHash<QString, std::array<QString, 3>> m_rows;
};

// The application's table, built once on first use and never changed.
const MessageTable &messageTable();
// Its constant rows, in the order they are written.
QList<MessageTable::Row> messageRows();

// "system" becomes the first preferred language when it is French or Arabic, else
// English; any other code is returned unchanged.
QString resolveLanguage(const QString &code, const QStringList &preferredLanguages);
// The same with the system's preferred languages.
QString resolveLanguage(const QString &code);

// Whether the interface in `language` reads right to left.
bool readsRightToLeft(const QString &language);

// Column of a language in the message table and its formatting locale.
int languageColumn(const QString &language);
QLocale localeFor(const QString &language);

// The stored "language" and "time_format" settings, read from the Prefs the program registered.
QString languageSetting();
QString timeFormatSetting();

// Process-wide interface language; the first read resolves the stored setting.
// Readable from any thread, written on the main thread.
QString activeLanguage();
// Stores resolveLanguage(code) as the active language.
void setActiveLanguage(const QString &code);

// Fills a printf-style format: "%@" takes a text, "%d"/"%i" an integer (flags, width
// and length modifiers allowed), "%%" is a percent sign. A placeholder without an
// argument stays as written; a text given for "%d" is inserted as it is and an
// integer given for "%@" is written in decimal.
QString fillFormat(const QString &format, const TrArgs &args);

// The localised text of `key` in `language`, filled with `args` when there are any; in a
// right-to-left language each value filled in is isolated (BidiText.h).
QString localizedText(
    const MessageTable &table, const QString &language, const QString &key, const TrArgs &args = {});

// The localised text of `key` in the active language. Inside a QObject member,
// call it as ::tr so that QObject::tr does not hide it.
QString tr(const QString &key, const TrArgs &args = {});

// The plural form `count` takes in `language`: "one" (English 1, French 0 and 1,
// Arabic 1), "two" (Arabic 2), "few" (Arabic 3-10 modulo 100) or "other".
QString pluralCategory(const QString &language, qint64 count);

// The text of a count: the row "<key>_<form>" for the form `count` takes when the table
// has one, else the row `key`, filled with `args`.
QString localizedCount(
    const MessageTable &table, const QString &language, const QString &key, qint64 count, const TrArgs &args);
// The same in the active language.
QString trCount(const QString &key, qint64 count, const TrArgs &args);
