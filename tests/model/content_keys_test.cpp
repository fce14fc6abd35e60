#include "model/ContentKeys.h"

#include <gtest/gtest.h>

namespace {

struct CatchupCase {
    const char *name;
    OptText mode;
    OptText days;
    OptText source;
    std::optional<Catchup> expected;
};

void PrintTo(const CatchupCase &c, std::ostream *out)
{
    *out << c.name;
}

Catchup offer(qint64 days, const char *mode, OptText source = std::nullopt)
{
    return Catchup { days, QString::fromLatin1(mode), source };
}

class CatchupAttributesTest : public testing::TestWithParam<CatchupCase> { };

TEST_P(CatchupAttributesTest, givesOfferOrNothing)
{
    const CatchupCase &c = GetParam();
    EXPECT_EQ(catchupFromAttributes(c.mode, c.days, c.source), c.expected);
}

const QString src = QStringLiteral("http://a/{start}");

INSTANTIATE_TEST_SUITE_P(Attributes, CatchupAttributesTest,
    testing::Values(CatchupCase { "noMode", std::nullopt, "5", src, std::nullopt },
        CatchupCase { "flussonicAlias", "Flussonic", std::nullopt, std::nullopt, offer(1, "shift") },
        CatchupCase { "fsAlias", "FS", "2", src, offer(2, "shift", src) },
        CatchupCase { "appendEmptySource", "append", "3", "", std::nullopt },
        CatchupCase { "defaultNoSource", "default", "3", std::nullopt, std::nullopt },
        CatchupCase { "defaultWithSource", "DEFAULT", "3", src, offer(3, "default", src) },
        CatchupCase { "xcZeroDays", "xc", "0", std::nullopt, offer(1, "xc") },
        CatchupCase { "xcNegativeDays", "xc", "-3", std::nullopt, offer(1, "xc") },
        CatchupCase { "plusSignedDays", "xc", "+7", std::nullopt, offer(7, "xc") },
        CatchupCase { "untrimmedDays", "xc", " 7", std::nullopt, offer(1, "xc") },
        CatchupCase { "fractionDays", "xc", "2.5", std::nullopt, offer(1, "xc") },
        CatchupCase { "absurdDaysClamped", "shift", "36500", std::nullopt, offer(365, "shift") },
        CatchupCase { "overflowingDays", "shift", "99999999999999999999", std::nullopt, offer(1, "shift") },
        CatchupCase { "shiftEmptySource", "shift", "2", "", offer(2, "shift") },
        CatchupCase { "untrimmedMode", " xc", "2", std::nullopt, std::nullopt },
        CatchupCase { "unknownMode", "timeshift", "2", src, std::nullopt },
        CatchupCase { "emptyMode", "", "2", src, std::nullopt }));

TEST(ContentKeys, rawValuesRoundTripExactly)
{
    for (ContentType type : kAllContentTypes)
        EXPECT_EQ(contentTypeFromRaw(rawValue(type)), type);
    EXPECT_EQ(rawValue(ContentType::live), QStringLiteral("LIVE"));
    EXPECT_EQ(rawValue(ContentType::movie), QStringLiteral("MOVIE"));
    EXPECT_EQ(rawValue(ContentType::series), QStringLiteral("SERIES"));
    for (const char *other : { "live", "Movie", " SERIES", "", "EP" })
        EXPECT_EQ(contentTypeFromRaw(QString::fromLatin1(other)), std::nullopt) << other;
}

TEST(ContentKeys, itemKeyJoinsPlaylistTypeAndId)
{
    EXPECT_EQ(itemKey(ContentType::movie, 7, "42"), QStringLiteral("7|MOVIE|42"));
    EXPECT_EQ(itemKey(ContentType::series, 7, "42"), QStringLiteral("7|SERIES|42"));
    EXPECT_EQ(itemKey(ContentType::live, -2, "a|b"), QStringLiteral("-2|LIVE|a|b"));
    EXPECT_NE(itemKey(ContentType::live, 7, "42"), itemKey(ContentType::live, 8, "42"));
}

MediaItem item(const char *id, const char *category)
{
    MediaItem value;
    value.id = QString::fromLatin1(id);
    value.categoryId = QString::fromLatin1(category);
    return value;
}

TEST(ContentKeys, sectionItemsKnowsOnlyTheAllCategory)
{
    Section section;
    section.all = { item("1", "a"), item("2", "b"), item("3", "__fav__") };
    section.byCategory.insert("a", { item("1", "a") });
    section.byCategory.insert("__fav__", { item("3", "__fav__") });

    EXPECT_EQ(sectionItems(section, PseudoCategory::all), section.all);
    EXPECT_EQ(sectionItems(section, "a"), QList<MediaItem>({ item("1", "a") }));
    EXPECT_EQ(sectionItems(section, "missing"), QList<MediaItem>());
    EXPECT_EQ(sectionItems(section, PseudoCategory::favorites), QList<MediaItem>({ item("3", "__fav__") }));
    EXPECT_EQ(sectionItems(Section {}, PseudoCategory::favorites), QList<MediaItem>());
    EXPECT_EQ(sectionItems(Section {}, PseudoCategory::recent), QList<MediaItem>());
}

} // namespace
