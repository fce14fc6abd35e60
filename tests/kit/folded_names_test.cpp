#include "kit/FoldedNames.h"

#include <QRandomGenerator>

#include <numeric>

#include <gtest/gtest.h>

namespace {

QList<MediaItem> itemsNamed(const QStringList &names)
{
    QList<MediaItem> items;
    for (const QString &name : names)
        items.append(MediaItem { .uid = items.size(), .name = name });
    return items;
}

// Positions of the names containing `query` by Qt's own case-insensitive comparison.
std::vector<qint32> plainWalk(const QStringList &names, const QString &query, qsizetype limit)
{
    std::vector<qint32> found;
    for (qsizetype i = 0; i < names.size() && qsizetype(found.size()) < limit; ++i) {
        if (names[i].contains(query, Qt::CaseInsensitive))
            found.push_back(qint32(i));
    }
    return found;
}

std::vector<qint32> fastPath(const FoldedNames &folded, const QString &query, qsizetype limit)
{
    return folded.find(FoldedNames::fold(query), limit);
}

// The positions, in their order, whose names contain `query` by Qt's own comparison.
std::vector<qint32> plainFilter(const QStringList &names, std::vector<qint32> positions, const QString &query)
{
    std::erase_if(positions, [&](qint32 at) { return !names[at].contains(query, Qt::CaseInsensitive); });
    return positions;
}

// Every other position from the end backwards, then the rest in order: an order unlike
// the catalog's, as a list of recently watched channels has.
std::vector<qint32> mixedPositions(qsizetype count)
{
    std::vector<qint32> positions;
    for (qint32 at = qint32(count) - 1; at >= 0; at -= 2)
        positions.push_back(at);
    for (qint32 at = qint32(count) % 2; at < count; at += 2)
        positions.push_back(at);
    return positions;
}

struct Script {
    const char *name;
    QString letters;
};

// Letters of each script in both cases, with the ones whose folding is special: Turkish
// dotted and dotless i, German sharp s, Greek final sigma, Arabic without case.
const Script kScripts[] = {
    { "Latin", u"aAbBcCeEéÉnNoOsSßẞtTzZ"_qs },
    { "Cyrillic", u"аАбБвВгГдДеЕёЁжЖкКоОтТяЯ"_qs },
    { "Greek", u"αΑβΒγΓδΔεΕσΣςοΟωΩάΆ"_qs },
    { "Turkish", u"iIİıçÇğĞöÖşŞüÜ"_qs },
    { "Arabic", u"ابتثجحخدذرزسشصضطظعغفقكلمنهوي"_qs },
};

void PrintTo(const Script &script, std::ostream *out)
{
    *out << script.name;
}

class FoldedNamesScript : public ::testing::TestWithParam<Script> { };

// Random names of the script (with spaces and digits), and queries cut from them with their
// case flipped, plus random ones that mostly match nothing: the fast path and the plain walk
// agree on every query, also under a small limit.
TEST_P(FoldedNamesScript, FindsWhatThePlainCaseInsensitiveWalkFinds)
{
    const QString letters = GetParam().letters + u"  12"_qs;
    QRandomGenerator random(20261208);
    const auto randomText = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text.append(letters.at(random.bounded(letters.size())));
        return text;
    };
    QStringList names;
    for (int i = 0; i < 3000; ++i)
        names.append(randomText(1 + random.bounded(24)));
    const FoldedNames folded(itemsNamed(names));
    ASSERT_EQ(folded.size(), names.size());

    for (int round = 0; round < 400; ++round) {
        QString query;
        if (round % 2 == 0) {
            const QString &source = names[random.bounded(names.size())];
            const int start = random.bounded(source.size());
            query = source.mid(start, 2 + random.bounded(4));
            for (QChar &c : query)
                c = random.bounded(2) ? c.toUpper() : c.toLower();
        } else {
            query = randomText(2 + random.bounded(3));
        }
        for (qsizetype limit : { qsizetype(names.size()), qsizetype(60), qsizetype(1) })
            ASSERT_EQ(fastPath(folded, query, limit), plainWalk(names, query, limit)) << qPrintable(query);
        const std::vector<qint32> positions = mixedPositions(names.size());
        ASSERT_EQ(folded.filter(positions, FoldedNames::fold(query)), plainFilter(names, positions, query))
            << qPrintable(query);
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, FoldedNamesScript, ::testing::ValuesIn(kScripts),
    [](const ::testing::TestParamInfo<Script> &info) { return std::string(info.param.name); });

// Chosen cases where folding or the name bounds decide.
TEST(FoldedNames, AgreesOnCasesAtTheEdgesOfFoldingAndNames)
{
    const QStringList names { u"İstanbul"_qs, u"istanbul"_qs, u"ISTANBUL"_qs, u"ıspanak"_qs, u"Straße"_qs,
        u"STRASSE"_qs, u"ΟΔΟΣ"_qs, u"οδος"_qs, u"ab"_qs, u"cd"_qs, u"Évening News"_qs, u"newsroom"_qs,
        u"𐐀𐐁 Deseret"_qs, u"𐐨𐐩 deseret"_qs, u"قناة الأخبار"_qs, u""_qs, u"x"_qs };
    const FoldedNames folded(itemsNamed(names));
    const QStringList queries { u"istanbul"_qs, u"İSTANBUL"_qs, u"ISPANAK"_qs, u"ıs"_qs, u"straße"_qs,
        u"strasse"_qs, u"ss"_qs, u"οδοσ"_qs, u"ΟΔΟς"_qs, u"bc"_qs, u"b\u0000c"_qs, u"news"_qs, u"ÉVENING"_qs,
        u"𐐨𐐩"_qs, u"𐐀"_qs, u"الأخبار"_qs, u"zz"_qs };
    const std::vector<qint32> positions = mixedPositions(names.size());
    for (const QString &query : queries) {
        EXPECT_EQ(fastPath(folded, query, 100), plainWalk(names, query, 100)) << qPrintable(query);
        EXPECT_EQ(folded.filter(positions, FoldedNames::fold(query)), plainFilter(names, positions, query))
            << qPrintable(query);
    }
}

// Enough names to be searched in runs on worker threads: matches near the joins of the
// runs, a limit met inside the first run and one met only in the last.
TEST(FoldedNames, LongListsSearchedInRunsAnswerLikeOneWalk)
{
    const qint32 count = 3 * FoldedNames::kChunkNames + 5;
    QStringList names;
    for (qint32 i = 0; i < count; ++i)
        names.append(i % FoldedNames::kChunkNames == 0 || i % 997 == 0 ? u"Match %1"_qs.arg(i)
                                                                       : u"Other %1"_qs.arg(i));
    names[count - 1] = u"Rare MATCH at the end"_qs;
    names[FoldedNames::kChunkNames - 1] = u"Rare match before a join"_qs;
    const FoldedNames folded(itemsNamed(names));
    std::vector<qint32> inOrder(static_cast<size_t>(count));
    std::iota(inOrder.begin(), inOrder.end(), 0);
    for (const QString &query : { u"match"_qs, u"rare match"_qs, u"other 9"_qs, u"absent"_qs }) {
        for (qsizetype limit : { qsizetype(1), qsizetype(60), qsizetype(count) })
            EXPECT_EQ(fastPath(folded, query, limit), plainWalk(names, query, limit))
                << qPrintable(query) << limit;
        for (const std::vector<qint32> &positions : { inOrder, mixedPositions(count) })
            EXPECT_EQ(
                folded.filter(positions, FoldedNames::fold(query)), plainFilter(names, positions, query))
                << qPrintable(query);
    }
    EXPECT_EQ(folded.filter(inOrder, QString()), inOrder) << "an empty filter keeps every position";
}

struct MatchCase {
    const char *name;
    QString query;
    std::vector<qint32> positions;
};

// A list's name filter over positions in a mixed order: the query trimmed of spaces and tabs
// only, any case, accents kept apart.
TEST(FoldedNames, MatchingFiltersByTheTrimmedQueryInAnyCase)
{
    const FoldedNames folded(itemsNamed(
        { u"News One"_qs, u"Sport"_qs, u"news two"_qs, u"ÉTÉ Sport"_qs, u"Eclair"_qs, u"Éclair"_qs }));
    const MatchCase cases[] = {
        { "empty keeps all", u""_qs, { 5, 0, 3, 2, 1, 4 } },
        { "spaces and tabs keep all", u" \t  "_qs, { 5, 0, 3, 2, 1, 4 } },
        { "any case, trimmed", u" NEWS\t"_qs, { 0, 2 } },
        { "accented capitals", u"été"_qs, { 3 } },
        { "accents stay distinct", u"écl"_qs, { 5 } },
        { "line breaks are not trimmed", u"\nnews"_qs, {} },
        { "nothing matches", u"zzz"_qs, {} },
    };
    for (const MatchCase &c : cases)
        EXPECT_EQ(folded.matching({ 5, 0, 3, 2, 1, 4 }, c.query), c.positions) << c.name;
}

TEST(FoldedNames, StopsAtTheLimitInCatalogOrderAndTakesEachNameOnce)
{
    const QStringList names { u"news news"_qs, u"sport"_qs, u"NEWS 2"_qs, u"old news"_qs, u"News"_qs };
    const FoldedNames folded(itemsNamed(names));
    EXPECT_EQ(fastPath(folded, u"news"_qs, 60), (std::vector<qint32> { 0, 2, 3, 4 }));
    EXPECT_EQ(fastPath(folded, u"news"_qs, 2), (std::vector<qint32> { 0, 2 }));
    EXPECT_TRUE(FoldedNames().find(u"ne"_qs, 60).empty());
}

} // namespace
