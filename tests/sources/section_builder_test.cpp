#include "model/ContentKeys.h"
#include "sources/SectionBuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

MediaItem item(qint64 uid, const QString &categoryId)
{
    MediaItem item;
    item.uid = uid;
    item.type = ContentType::movie;
    item.id = QString::number(uid);
    item.name = QStringLiteral("Item %1").arg(uid);
    item.categoryId = categoryId;
    return item;
}

std::vector<std::string> categoryLines(const Section &section)
{
    std::vector<std::string> lines;
    for (const Category &category : section.categories)
        lines.push_back((category.id + QLatin1Char('=') + category.name + QLatin1Char('/') + QString::number(category.count)).toStdString());
    return lines;
}

std::vector<qint64> uids(const QList<MediaItem> &items)
{
    std::vector<qint64> result;
    for (const MediaItem &item : items)
        result.push_back(item.uid);
    return result;
}

TEST(SectionBuilder, ListedCategoriesComeFirstThenTheOthersAsFirstSeen)
{
    const QString uncategorized = PseudoCategory::uncategorized;
    const QList<MediaItem> items { item(0, "b"), item(1, "x"), item(2, uncategorized), item(3, "a"), item(4, "b"), item(5, "x") };
    const QList<CategoryName> listed { { "a", "Alpha" }, { "empty", "Nothing" }, { "b", "Beta" }, { "a", "Again" } };
    const SectionPtr section = buildSection(ContentType::movie, listed, items, QStringLiteral("Other"));
    EXPECT_EQ(section->type, ContentType::movie);
    EXPECT_EQ(categoryLines(*section), (std::vector<std::string> { "a=Alpha/1", "b=Beta/2", "x=x/2", "__uncat__=Other/1" }));
    EXPECT_EQ(section->all, items);
    EXPECT_EQ(uids(section->byCategory.value("b")), (std::vector<qint64> { 0, 4 }));
    EXPECT_EQ(uids(section->byCategory.value("x")), (std::vector<qint64> { 1, 5 }));
    EXPECT_EQ(section->byCategory.value(uncategorized), QList<MediaItem> { items[2] });
    EXPECT_FALSE(section->byCategory.contains("empty"));
    EXPECT_EQ(section->byCategory.size(), 4);
}

TEST(SectionBuilder, EmptyListGivesAnEmptySection)
{
    const SectionPtr section = buildSection(ContentType::live, { { "a", "Alpha" } }, {}, QStringLiteral("Other"));
    EXPECT_TRUE(section->categories.isEmpty());
    EXPECT_TRUE(section->all.isEmpty());
    EXPECT_TRUE(section->byCategory.isEmpty());
}

// Many items over many categories: every group holds its items in list order.
TEST(SectionBuilder, LargeSectionsGroupEveryItemInOrder)
{
    QList<MediaItem> items;
    std::map<QString, std::vector<qint64>> expected;
    std::vector<QString> firstSeen;
    quint32 state = 1;
    for (qint64 uid = 0; uid < 30000; ++uid) {
        state = state * 1664525u + 1013904223u;
        const QString category = QString::number((state >> 16) % 211);
        if (!expected.contains(category))
            firstSeen.push_back(category);
        expected[category].push_back(uid);
        items.append(item(uid, category));
    }
    const SectionPtr section = buildSection(ContentType::series, {}, items, QStringLiteral("Other"));
    ASSERT_EQ(section->categories.size(), qsizetype(firstSeen.size()));
    for (qsizetype i = 0; i < section->categories.size(); ++i) {
        const Category &category = section->categories[i];
        ASSERT_EQ(category.id, firstSeen[std::size_t(i)]);
        const QList<MediaItem> group = section->byCategory.value(category.id);
        EXPECT_EQ(category.count, group.size());
        ASSERT_EQ(uids(group), expected[category.id]) << category.id.toStdString();
        for (const MediaItem &member : group)
            ASSERT_EQ(member, items[member.uid]);
    }
}

} // namespace
