#include "app/Localization.h"
#include "app/Prefs.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <limits>

namespace {

// Every "%..." conversion of a text, in order.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression conversion(
        QStringLiteral("%[-+ 0#]*[0-9.]*(?:hh|ll|[hlqztj])?[@a-zA-Z%]"));
    QStringList found;
    for (auto it = conversion.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

struct ResolveCase {
    const char *code;
    QStringList preferred;
    const char *expected;
};

class ResolveLanguage : public testing::TestWithParam<ResolveCase> { };

TEST_P(ResolveLanguage, FollowsStoredCodeOrFirstPreferredLanguage)
{
    const ResolveCase &c = GetParam();
    EXPECT_EQ(resolveLanguage(QString::fromUtf8(c.code), c.preferred), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, ResolveLanguage,
    testing::Values(ResolveCase { "system", { "ar-MA", "en" }, "ar" },
        ResolveCase { "system", { "en-GB", "fr-FR" }, "en" }, ResolveCase { "system", {}, "en" },
        ResolveCase { "system", { "fr-CA" }, "fr" }, ResolveCase { "system", { "fr" }, "fr" },
        ResolveCase { "system", { "de-DE", "fr-FR" }, "en" }, ResolveCase { "system", { "a" }, "en" },
        ResolveCase { "system", { "ar_MA" }, "ar" }, ResolveCase { "system", { "arn-CL", "ar" }, "en" },
        ResolveCase { "fr", { "ar" }, "fr" }, ResolveCase { "ar", {}, "ar" },
        ResolveCase { "en", { "fr" }, "en" }, ResolveCase { "xx", { "fr" }, "xx" },
        ResolveCase { "System", { "fr" }, "System" }, ResolveCase { "", { "fr" }, "" }));

struct LanguageCase {
    const char *language;
    int column;
    const char *locale;
};

class LanguageColumn : public testing::TestWithParam<LanguageCase> { };

TEST_P(LanguageColumn, GivesTableColumnAndLocale)
{
    const LanguageCase &c = GetParam();
    const QString language = QString::fromUtf8(c.language);
    EXPECT_EQ(languageColumn(language), c.column);
    EXPECT_EQ(localeFor(language).name(), QString::fromUtf8(c.locale));
}

INSTANTIATE_TEST_SUITE_P(Table, LanguageColumn,
    testing::Values(LanguageCase { "en", 0, "en_US" }, LanguageCase { "fr", 1, "fr_FR" },
        LanguageCase { "ar", 2, "ar_MA" }, LanguageCase { "de", 0, "en_US" },
        LanguageCase { "system", 0, "en_US" }, LanguageCase { "", 0, "en_US" }));

TEST(MessageTable, KeysAreUniqueSnakeCaseAndAllBuilt)
{
    const QList<MessageTable::Row> rows = messageRows();
    QSet<QString> keys;
    static const QRegularExpression snakeCase(QStringLiteral("^[a-z0-9]+(?:_[a-z0-9]*)*$"));
    for (const MessageTable::Row &row : rows) {
        const QString key = QString::fromUtf8(row.key);
        EXPECT_TRUE(snakeCase.match(key).hasMatch()) << row.key;
        EXPECT_FALSE(keys.contains(key)) << "duplicate " << row.key;
        keys.insert(key);
    }
    EXPECT_EQ(rows.size(), 157);
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
    EXPECT_EQ(table.text(QStringLiteral("greet"), 1), QStringLiteral("Hello %@"));
    EXPECT_EQ(table.text(QStringLiteral("greet"), 2), QStringLiteral("مرحبا %@"));
    EXPECT_EQ(table.text(QStringLiteral("bye"), 1), QStringLiteral("Salut"));
    EXPECT_EQ(table.text(QStringLiteral("bye"), 2), QStringLiteral("Bye"));
    EXPECT_EQ(table.text(QStringLiteral("absent"), 2), QStringLiteral("absent"));
    EXPECT_EQ(localizedText(table, QStringLiteral("fr"), QStringLiteral("greet"), { QStringLiteral("Léa") }),
        QStringLiteral("Hello Léa"));
}

struct LookupCase {
    const char *language;
    const char *key;
    TrArgs args;
    const char *expected;
};

class Lookup : public testing::TestWithParam<LookupCase> { };

TEST_P(Lookup, GivesTextOfLanguageFilledWithArguments)
{
    const LookupCase &c = GetParam();
    EXPECT_EQ(localizedText(messageTable(), QString::fromUtf8(c.language), QString::fromUtf8(c.key), c.args),
        QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, Lookup,
    testing::Values(LookupCase { "fr", "quit_hint", {}, "Appuyez encore sur Échap pour quitter" },
        LookupCase { "ar", "quit_hint", {}, "اضغط Esc مرة أخرى للخروج" },
        LookupCase { "de", "quit_hint", {}, "Press Esc again to quit" },
        LookupCase { "fr", "season_n", { 3 }, "Saison 3" }, LookupCase { "en", "items_n", {}, "%d items" },
        LookupCase { "ar", "items_n", { 12 }, "12 عنصر" },
        LookupCase { "en", "count_movies", { QStringLiteral("1,234") }, "1,234 movies" },
        LookupCase { "ar", "err_http_server", { 503 }, "الخادم يواجه مشكلة (503). حاول لاحقاً." },
        LookupCase { "fr", "err_xtream_expired_on", { QStringLiteral("6 janv. 2025") },
            "Votre abonnement IPTV a expiré le 6 janv. 2025. Contactez votre fournisseur." },
        LookupCase { "en", "perr_container", { QStringLiteral("MKV") },
            "MKV files can't be played by the system video engine. Try another version of this title "
            "(use Search)." },
        LookupCase { "en", "no_such_key", {}, "no_such_key" },
        LookupCase { "fr", "no_such_key", { 5 }, "no_such_key" },
        LookupCase { "ar", "no_such_key_%d", { 5 }, "no_such_key_%d" }));

struct FillCase {
    const char *format;
    TrArgs args;
    const char *expected;
};

class FillFormat : public testing::TestWithParam<FillCase> { };

TEST_P(FillFormat, FollowsPrintfForTextsAndIntegers)
{
    const FillCase &c = GetParam();
    EXPECT_EQ(fillFormat(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, FillFormat,
    testing::Values(FillCase { "%d items", { 5 }, "5 items" },
        FillCase { "Hi %@!", { QStringLiteral("Zoé") }, "Hi Zoé!" },
        FillCase { "%@ and %d", { QStringLiteral("a"), -7 }, "a and -7" },
        FillCase { "%05d|%-4d|%+i", { 42, 7, 3 }, "00042|7   |+3" },
        FillCase { "%ld %lld %qd", { 1, qint64(1) << 40, 2 }, "1 1099511627776 2" },
        FillCase { "%d", { std::numeric_limits<qint64>::min() }, "-9223372036854775808" },
        FillCase { "100%% of %d", { 7 }, "100% of 7" }, FillCase { "%d and %@", { 1 }, "1 and %@" },
        FillCase { "%d", { QStringLiteral("text") }, "text" }, FillCase { "%@", { 42 }, "42" },
        FillCase { "%x then %d", { 5 }, "%x then 5" }, FillCase { "50%", { 1 }, "50%" },
        FillCase { "trailing %l", { 1 }, "trailing %l" }, FillCase { "%d عنصر", { 3 }, "3 عنصر" },
        FillCase { "no placeholder", { 3 }, "no placeholder" }));

TEST(ActiveLanguage, ChangesWhatTrReturns)
{
    setActiveLanguage(QStringLiteral("fr"));
    EXPECT_EQ(activeLanguage(), QStringLiteral("fr"));
    EXPECT_EQ(tr(QStringLiteral("season_n"), { 2 }), QStringLiteral("Saison 2"));
    setActiveLanguage(QStringLiteral("ar"));
    EXPECT_EQ(tr(QStringLiteral("quit_hint")), QStringLiteral("اضغط Esc مرة أخرى للخروج"));
    setActiveLanguage(QStringLiteral("de"));
    EXPECT_EQ(activeLanguage(), QStringLiteral("de"));
    EXPECT_EQ(tr(QStringLiteral("quit_hint")), QStringLiteral("Press Esc again to quit"));
    setActiveLanguage(QStringLiteral("system"));
    EXPECT_EQ(activeLanguage(), resolveLanguage(QStringLiteral("system")));
    EXPECT_NE(activeLanguage(), QStringLiteral("system"));
}

TEST(ActiveLanguageDeathTest, FirstReadResolvesTheStoredSetting)
{
    // Runs in a fresh process: the active language must not have been read there yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Prefs *prefs = Prefs::shared();
            const QString stored = prefs->language();
            prefs->setLanguage(QStringLiteral("ar"));
            const bool resolved = activeLanguage() == u"ar";
            prefs->setLanguage(QStringLiteral("fr"));
            const bool kept = activeLanguage() == u"ar";
            prefs->setLanguage(stored);
            std::exit(resolved && kept ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
