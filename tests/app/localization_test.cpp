#include "app/BidiText.h"
#include "app/Localization.h"
#include "RegisteredPrefs.h"
#include "app/Prefs.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <limits>

namespace {

// `text` with "{" and "}" standing for the isolate around a value.
QString isolates(const char *text)
{
    return QString::fromUtf8(text).replace(u'{', QChar(0x2068)).replace(u'}', QChar(0x2069));
}

// Every "%..." conversion of a text, in order.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression conversion(u"%[-+ 0#]*[0-9.]*(?:hh|ll|[hlqztj])?[@a-zA-Z%]"_qs);
    QStringList found;
    for (auto it = conversion.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

TEST(Localization, ResolvesTheStoredCodeOrTheFirstPreferredLanguage)
{
    const std::tuple<const char *, QStringList, const char *> rows[]
        = { { "system", { "ar-MA", "en" }, "ar" }, { "system", { "en-GB", "fr-FR" }, "en" },
              { "system", {}, "en" }, { "system", { "fr-CA" }, "fr" }, { "system", { "fr" }, "fr" },
              { "system", { "de-DE", "fr-FR" }, "en" }, { "system", { "a" }, "en" },
              { "system", { "ar_MA" }, "ar" }, { "system", { "arn-CL", "ar" }, "en" },
              { "fr", { "ar" }, "fr" }, { "ar", {}, "ar" }, { "en", { "fr" }, "en" },
              { "xx", { "fr" }, "xx" }, { "System", { "fr" }, "System" }, { "", { "fr" }, "" } };
    for (const auto &[code, preferred, expected] : rows)
        EXPECT_EQ(resolveLanguage(QString::fromUtf8(code), preferred), QString::fromUtf8(expected))
            << code << " / " << qPrintable(preferred.join(u','));
}

TEST(Localization, LanguageGivesTableColumnAndLocale)
{
    const std::tuple<const char *, int, const char *> rows[] = { { "en", 0, "en_US" }, { "fr", 1, "fr_FR" },
        { "ar", 2, "ar_MA" }, { "de", 0, "en_US" }, { "system", 0, "en_US" }, { "", 0, "en_US" } };
    for (const auto &[language, column, locale] : rows) {
        EXPECT_EQ(languageColumn(QString::fromUtf8(language)), column) << language;
        EXPECT_EQ(localeFor(QString::fromUtf8(language)).name(), QString::fromUtf8(locale)) << language;
    }
}

TEST(MessageTable, KeysAreUniqueSnakeCaseAndAllBuilt)
{
    const QList<MessageTable::Row> rows = messageRows();
    QSet<QString> keys;
    static const QRegularExpression snakeCase(u"^[a-z0-9]+(?:_[a-z0-9]*)*$"_qs);
    for (const MessageTable::Row &row : rows) {
        const QString key = QString::fromUtf8(row.key);
        EXPECT_TRUE(snakeCase.match(key).hasMatch()) << row.key;
        EXPECT_FALSE(keys.contains(key)) << "duplicate " << row.key;
        keys.insert(key);
    }
    EXPECT_EQ(rows.size(), 159);
    const QStringList built = messageTable().keys();
    EXPECT_EQ(QSet<QString>(built.begin(), built.end()), keys);
}

TEST(MessageTable, EveryRowHasThreeTextsWithTheSamePlaceholders)
{
    for (const QString &key : messageTable().keys()) {
        const std::array<QString, 3> texts = messageTable().texts(key);
        const QStringList english = placeholders(texts[0]);
        EXPECT_LE(english.size(), 1) << qPrintable(key);
        for (const QString &text : texts) {
            EXPECT_FALSE(text.trimmed().isEmpty()) << qPrintable(key);
            EXPECT_EQ(placeholders(text), english) << qPrintable(key) << ": " << qPrintable(text);
            for (const QString &p : placeholders(text))
                EXPECT_TRUE(p == u"%@" || p == u"%d") << qPrintable(key) << ": " << qPrintable(p);
        }
    }
}

TEST(MessageTable, EmptyTranslationFallsBackToEnglishAndMissingKeyToItself)
{
    const MessageTable table({ { "greet", "Hello %@", "", "مرحبا %@" }, { "bye", "Bye", "Salut", "" } });
    EXPECT_EQ(table.text(u"greet"_qs, 1), u"Hello %@"_qs);
    EXPECT_EQ(table.text(u"greet"_qs, 2), u"مرحبا %@"_qs);
    EXPECT_EQ(table.text(u"bye"_qs, 1), u"Salut"_qs);
    EXPECT_EQ(table.text(u"bye"_qs, 2), u"Bye"_qs);
    EXPECT_EQ(table.text(u"absent"_qs, 2), u"absent"_qs);
    EXPECT_EQ(localizedText(table, u"fr"_qs, u"greet"_qs, { u"Léa"_qs }), u"Hello Léa"_qs);
}

TEST(MessageTable, LookupGivesTheTextOfTheLanguageFilledWithArguments)
{
    const std::tuple<const char *, const char *, TrArgs, const char *> rows[]
        = { { "fr", "quit_hint", {}, "Appuyez encore sur Échap pour quitter" },
              { "ar", "quit_hint", {}, "اضغط Esc مرة أخرى للخروج" },
              { "de", "quit_hint", {}, "Press Esc again to quit" }, { "fr", "season_n", { 3 }, "Saison 3" },
              { "en", "items_n", {}, "%d items" }, { "ar", "items_n", { 12 }, "{12} عنصر" },
              { "en", "count_movies", { u"1,234"_qs }, "1,234 movies" },
              { "ar", "app_version", { u"1.1.6"_qs }, "\u200FZelfor الإصدار {1.1.6}" },
              { "ar", "channel_n", { 12 }, "القناة {12}" },
              { "fr", "err_xtream_expired_on", { u"6 janv. 2025"_qs },
                  "Votre abonnement IPTV a expiré le 6 janv. 2025. Contactez votre fournisseur." },
              { "en", "no_such_key", {}, "no_such_key" }, { "fr", "no_such_key", { 5 }, "no_such_key" },
              { "ar", "no_such_key_%d", { 5 }, "no_such_key_%d" } };
    for (const auto &[language, key, args, expected] : rows)
        EXPECT_EQ(localizedText(messageTable(), QString::fromUtf8(language), QString::fromUtf8(key), args),
            isolates(expected))
            << language << ' ' << key;
}

// Counts take the singular for one (and none in French) and Arabic's dual and 3-10 plural;
// a key without count forms keeps its one text.
TEST(MessageTable, CountsTakeTheFormOfTheirNumber)
{
    const std::tuple<const char *, const char *, qint64, const char *> rows[] = {
        { "en", "items_n", 1, "1 item" },
        { "en", "items_n", 0, "0 items" },
        { "en", "items_n", 2, "2 items" },
        { "en", "count_channels", 1, "1 channel" },
        { "en", "count_movies", 1, "1 movie" },
        { "en", "count_movies", 21, "21 movies" },
        { "en", "count_series", 1, "1 series" },
        { "fr", "items_n", 0, "0 élément" },
        { "fr", "items_n", 1, "1 élément" },
        { "fr", "items_n", 2, "2 éléments" },
        { "fr", "count_channels", 1, "1 chaîne" },
        { "fr", "count_series", 1, "1 série" },
        { "fr", "count_movies", 1000, "1000 films" },
        { "ar", "count_channels", 1, "{1} قناة" },
        { "ar", "count_channels", 2, "{2} قناتان" },
        { "ar", "count_channels", 3, "{3} قنوات" },
        { "ar", "count_channels", 10, "{10} قنوات" },
        { "ar", "count_channels", 11, "{11} قناة" },
        { "ar", "count_channels", 103, "{103} قنوات" },
        { "ar", "count_channels", 100, "{100} قناة" },
        { "ar", "count_movies", 5, "{5} أفلام" },
        { "ar", "count_series", 2, "{2} مسلسلان" },
        { "ar", "items_n", 0, "{0} عنصر" },
        { "ar", "items_n", 4, "{4} عناصر" },
        { "en", "season_n", 1, "Season 1" },
        { "de", "items_n", 1, "1 item" },
        { "en", "items_n", -1, "-1 items" },
    };
    for (const auto &[language, key, count, expected] : rows)
        EXPECT_EQ(localizedCount(
                      messageTable(), QString::fromUtf8(language), QString::fromUtf8(key), count, { count }),
            isolates(expected))
            << language << ' ' << key << ' ' << count;
}

TEST(Localization, FillFormatFollowsPrintfForTextsAndIntegers)
{
    const std::tuple<const char *, TrArgs, const char *> rows[] = { { "%d items", { 5 }, "5 items" },
        { "Hi %@!", { u"Zoé"_qs }, "Hi Zoé!" }, { "%@ and %d", { u"a"_qs, -7 }, "a and -7" },
        { "%05d|%-4d|%+i", { 42, 7, 3 }, "00042|7   |+3" },
        { "%ld %lld %qd", { 1, qint64(1) << 40, 2 }, "1 1099511627776 2" },
        { "%d", { std::numeric_limits<qint64>::min() }, "-9223372036854775808" },
        { "100%% of %d", { 7 }, "100% of 7" }, { "%d and %@", { 1 }, "1 and %@" },
        { "%d", { u"text"_qs }, "text" }, { "%@", { 42 }, "42" }, { "%x then %d", { 5 }, "%x then 5" },
        { "50%", { 1 }, "50%" }, { "trailing %l", { 1 }, "trailing %l" }, { "%d عنصر", { 3 }, "3 عنصر" },
        { "no placeholder", { 3 }, "no placeholder" } };
    for (const auto &[format, args, expected] : rows)
        EXPECT_EQ(fillFormat(QString::fromUtf8(format), args), QString::fromUtf8(expected)) << format;
}

// A value joined to a label keeps its own order and leaves the line's direction to the
// label: a key or an address that starts with digits no longer makes an Arabic line read
// left to right, nor does a left-to-right value turn an English one around.
TEST(BidiText, IsolatedValuesLeaveTheDirectionToTheLabel)
{
    EXPECT_EQ(isolated(u"0708A481"_qs), isolates("{0708A481}"));
    EXPECT_EQ(isolated(QString()), QString());
    EXPECT_EQ(labelled(u"مفتاح"_qs, u"0708A481"_qs), isolates("مفتاح {0708A481}"));
    EXPECT_EQ(labelled(u"MAC"_qs, u"00:1A"_qs, u": "_qs), isolates("MAC: {00:1A}"));
    const std::tuple<QString, QString, bool> lines[] = {
        { u"00:1A:79:12:34:56"_qs, u"مفتاح الجهاز"_qs, true },
        { u"Zelfor/1.1.6 (X11; Linux)"_qs, u"وكيل المستخدم"_qs, true },
        { u"قناة"_qs, u"Device key"_qs, false },
    };
    for (const auto &[value, label, rightToLeft] : lines) {
        EXPECT_NE((value + u'\n' + label).isRightToLeft(), rightToLeft)
            << "unisolated: " << qPrintable(value);
        EXPECT_EQ((isolated(value) + u'\n' + label).isRightToLeft(), rightToLeft) << qPrintable(value);
    }
    EXPECT_TRUE(readsRightToLeft(u"ar"_qs));
    EXPECT_FALSE(readsRightToLeft(u"fr"_qs));
}

TEST(BidiText, ArabicLinesStartingWithALatinWordReadRightToLeft)
{
    setActiveLanguage(u"ar"_qs);
    const QString arabic = tr(u"app_version"_qs, { u"1.1.6"_qs });
    EXPECT_TRUE(arabic.isRightToLeft()) << qPrintable(arabic);
    EXPECT_TRUE(arabic.contains(u"Zelfor"_qs));
    EXPECT_EQ(tr(u"quit_hint"_qs), readingRightToLeft(tr(u"quit_hint"_qs)))
        << "an Arabic-first line is unchanged";
    setActiveLanguage(u"en"_qs);
    EXPECT_EQ(tr(u"app_version"_qs, { u"1.1.6"_qs }), u"Zelfor version 1.1.6"_qs);
    EXPECT_EQ(readingRightToLeft(u"12 Zelfor"_qs), QChar(0x200F) + u"12 Zelfor"_qs);
}

TEST(ActiveLanguage, ChangesWhatTrReturns)
{
    setActiveLanguage(u"fr"_qs);
    EXPECT_EQ(activeLanguage(), u"fr"_qs);
    EXPECT_EQ(tr(u"season_n"_qs, { 2 }), u"Saison 2"_qs);
    setActiveLanguage(u"de"_qs);
    EXPECT_EQ(activeLanguage(), u"de"_qs);
    EXPECT_EQ(tr(u"quit_hint"_qs), u"Press Esc again to quit"_qs);
    setActiveLanguage(u"system"_qs);
    EXPECT_EQ(activeLanguage(), resolveLanguage(u"system"_qs));
    EXPECT_NE(activeLanguage(), u"system"_qs);
}

TEST(ActiveLanguageDeathTest, FirstReadResolvesTheStoredSetting)
{
    // Runs in a fresh process: the active language must not have been read there yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            RegisteredPrefs prefs;
            prefs->setLanguage(u"ar"_qs);
            const bool resolved = activeLanguage() == u"ar";
            prefs->setLanguage(u"fr"_qs);
            const bool kept = activeLanguage() == u"ar";
            std::exit(resolved && kept ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
