#include "model/ContentKeys.h"
#include "sources/SectionBuilder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

MediaItem item(qint64 uid, const QString &categoryId)
{
    return MediaItem { .uid = uid,
        .type = ContentType::movie,
        .id = QString::number(uid),
        .name = QStringLiteral("Item %1").arg(uid),
        .categoryId = categoryId };
}

TEST(SectionBuilder, ListedCategoriesComeFirstThenTheOthersAsFirstSeen)
{
    const QString uncategorized = PseudoCategory::uncategorized;
    const QList<MediaItem> items { item(0, "b"), item(1, "x"), item(2, uncategorized), item(3, "a"),
        item(4, "b"), item(5, "x") };
    const QList<CategoryName> listed { { "a", "Alpha" }, { "empty", "Nothing" }, { "b", "Beta" },
        { "a", "Again" } };
    const SectionPtr section = buildSection(ContentType::movie, listed, items, QStringLiteral("Other"));
    EXPECT_EQ(section->type, ContentType::movie);
    EXPECT_EQ(section->categories,
        (QList<Category> {
            { "a", "Alpha", 1 }, { "b", "Beta", 2 }, { "x", "x", 2 }, { uncategorized, "Other", 1 } }));
    EXPECT_EQ(section->all, items);
    EXPECT_EQ(section->byCategory,
        (QHash<QString, std::vector<qint32>> {
            { "a", { 3 } }, { "b", { 0, 4 } }, { "x", { 1, 5 } }, { uncategorized, { 2 } } }));

    const SectionPtr empty
        = buildSection(ContentType::live, { { "a", "Alpha" } }, {}, QStringLiteral("Other"));
    EXPECT_TRUE(empty->categories.isEmpty());
    EXPECT_TRUE(empty->all.isEmpty());
    EXPECT_TRUE(empty->byCategory.isEmpty());
}

// Many items over many categories: every group holds its items in list order.
TEST(SectionBuilder, LargeSectionsGroupEveryItemInOrder)
{
    QList<MediaItem> items;
    std::map<QString, QList<MediaItem>> expected;
    QList<Category> categories;
    quint32 state = 1;
    for (qint64 uid = 0; uid < 30000; ++uid) {
        state = state * 1664525u + 1013904223u;
        const QString category = QString::number((state >> 16) % 211);
        if (!expected.contains(category))
            categories.append({ category, category, 0 });
        expected[category].append(item(uid, category));
        items.append(item(uid, category));
    }
    for (Category &category : categories)
        category.count = expected[category.id].size();
    const SectionPtr section = buildSection(ContentType::series, {}, items, QStringLiteral("Other"));
    EXPECT_EQ(section->categories, categories);
    ASSERT_EQ(section->byCategory.size(), qsizetype(expected.size()));
    for (const auto &[id, group] : expected)
        ASSERT_EQ(sectionItems(*section, id), group) << id.toStdString();
}

// Ids of one category stored apart (read by different workers) and ids stored alike
// in runs: each category is one group, whatever holds its text.
TEST(SectionBuilder, GroupsByTextWhereverTheIdIsStored)
{
    const QString shared = QStringLiteral("news");
    QList<MediaItem> items;
    for (qint64 uid = 0; uid < 20000; ++uid) {
        const bool own = uid % 3 == 0; // a separately stored copy of the same text
        const QString id = uid % 5 == 4 ? QStringLiteral("sport")
            : own                       ? QString(shared.constData(), shared.size())
                                        : shared;
        items.append(item(uid, id));
    }
    const SectionPtr section = buildSection(ContentType::live, {}, items, QStringLiteral("Other"));
    EXPECT_EQ(
        section->categories, (QList<Category> { { "news", "news", 16000 }, { "sport", "sport", 4000 } }));
    ASSERT_EQ(section->byCategory.value("news").size(), 16000);
    EXPECT_EQ(section->byCategory.value("news")[3], 3);
    EXPECT_EQ(section->byCategory.value("sport")[1], 9);
}

} // namespace
