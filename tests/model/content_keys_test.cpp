#include "model/ContentKeys.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

Catchup offer(qint64 days, const char *mode, OptText source = std::nullopt)
{
    return Catchup { days, QString::fromLatin1(mode), source };
}

TEST(ContentKeys, catchupAttributesGiveOfferOrNothing)
{
    const QString src = QStringLiteral("http://a/{start}");
    const struct {
        OptText mode, days, source;
        std::optional<Catchup> expected;
    } cases[] = {
        { std::nullopt, "5", src, std::nullopt },
        { "Flussonic", std::nullopt, std::nullopt, offer(1, "shift") },
        { "FS", "2", src, offer(2, "shift", src) },
        { "append", "3", "", std::nullopt },
        { "default", "3", std::nullopt, std::nullopt },
        { "DEFAULT", "3", src, offer(3, "default", src) },
        { "xc", "0", std::nullopt, offer(1, "xc") },
        { "xc", "-3", std::nullopt, offer(1, "xc") },
        { "xc", "+7", std::nullopt, offer(7, "xc") },
        { "xc", " 7", std::nullopt, offer(1, "xc") },
        { "xc", "2.5", std::nullopt, offer(1, "xc") },
        { "shift", "36500", std::nullopt, offer(36500, "shift") },
        { "xc", "9223372036854775807", std::nullopt, offer(std::numeric_limits<qint64>::max(), "xc") },
        { "shift", "99999999999999999999", std::nullopt, offer(1, "shift") },
        { "shift", "2", "", offer(2, "shift") },
        { " xc", "2", std::nullopt, std::nullopt },
        { "timeshift", "2", src, std::nullopt },
        { "", "2", src, std::nullopt },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(
            c.mode.value_or("<none>").toStdString() + " / " + c.days.value_or("<none>").toStdString());
        EXPECT_EQ(catchupFromAttributes(c.mode, c.days, c.source), c.expected);
    }
}

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
}

// Stored favourites, recents and resume points are found again by these exact texts.
TEST(ContentKeys, archiveAndEpisodeKeysKeepTheirStoredForm)
{
    const auto at = [](qint64 ms) { return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC); };
    const struct {
        QString key;
        const char *expected;
    } cases[] = {
        { catchupKey(7, "5", at(1710102615000)), "7|CATCHUP|5|1710102615" },
        { catchupKey(7, "5", at(1710102615999)), "7|CATCHUP|5|1710102615" },
        { catchupKey(-2, "a|b", at(-1500)), "-2|CATCHUP|a|b|-1" },
        { catchupKey(0, "", at(0)), "0|CATCHUP||0" },
        { episodeKey(7, "901"), "7|EP|901" },
        { episodeKey(-2, "a|b"), "-2|EP|a|b" },
        { episodeKey(0, ""), "0|EP|" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.key, QString::fromLatin1(c.expected));
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
    section.byCategory.insert("a", { 0 });
    section.byCategory.insert("__fav__", { 2 });

    EXPECT_EQ(sectionItems(section, PseudoCategory::all), section.all);
    EXPECT_EQ(sectionItems(section, "a"), QList<MediaItem>({ item("1", "a") }));
    EXPECT_EQ(sectionItems(section, "missing"), QList<MediaItem>());
    EXPECT_EQ(sectionItems(section, PseudoCategory::favorites), QList<MediaItem>({ item("3", "__fav__") }));
    EXPECT_EQ(sectionItems(Section {}, PseudoCategory::favorites), QList<MediaItem>());
    EXPECT_EQ(sectionItems(Section {}, PseudoCategory::recent), QList<MediaItem>());
}

} // namespace
