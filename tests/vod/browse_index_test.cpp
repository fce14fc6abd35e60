#include "model/ContentKeys.h"
#include "vod/BrowseIndex.h"

#include <gtest/gtest.h>

namespace {

SectionPtr sectionOf(const QList<std::pair<QString, QString>> &namesAndCategories)
{
    auto section = std::make_shared<Section>();
    section->type = ContentType::movie;
    for (const auto &[name, category] : namesAndCategories) {
        MediaItem item { .uid = section->all.size(),
            .type = ContentType::movie,
            .id = QString::number(100 + section->all.size()),
            .name = name,
            .categoryId = category };
        section->byCategory[category].push_back(qint32(section->all.size()));
        section->all.append(item);
    }
    return section;
}

// "Beta" and "beta" (and "BETA") are equal names: they keep catalog order either way.
const SectionPtr kSection = sectionOf(
    { { u"beta"_qs, u"a"_qs }, { u"Alpha"_qs, u"b"_qs }, { u"Éclair"_qs, u"a"_qs }, { u"BETA"_qs, u"b"_qs },
        { u"zulu"_qs, u"a"_qs }, { u"Beta"_qs, u"a"_qs }, { u"eclair"_qs, u"b"_qs } });

std::vector<qint32> rowsOf(const BrowseQuery &query)
{
    static const BrowseIndex index(
        kSection, SectionLookups::build(kSection->all), QLocale(QLocale::English, QLocale::UnitedStates));
    return index.rows(query);
}

BrowseQuery query(const QString &categoryId, const QSet<QString> &favoriteIds = {},
    const QString &filter = {}, int sort = BrowseQuery::catalogOrder)
{
    return { categoryId, favoriteIds, filter, sort };
}

struct QueryCase {
    const char *name;
    BrowseQuery query;
    std::vector<qint32> rows;
};

class BrowseIndexQuery : public ::testing::TestWithParam<QueryCase> { };

TEST_P(BrowseIndexQuery, PicksAndOrdersPositions)
{
    EXPECT_EQ(rowsOf(GetParam().query), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, BrowseIndexQuery,
    ::testing::Values(QueryCase { "all", query(PseudoCategory::all), { 0, 1, 2, 3, 4, 5, 6 } },
        QueryCase { "category", query(u"a"_qs), { 0, 2, 4, 5 } },
        QueryCase { "unknownCategory", query(u"zz"_qs), {} },
        QueryCase {
            "favourites", query(PseudoCategory::favorites, { u"105"_qs, u"101"_qs, u"999"_qs }), { 1, 5 } },
        QueryCase { "noFavourites", query(PseudoCategory::favorites), {} },
        QueryCase { "filterWithinCategory", query(u"b"_qs, {}, u"a"_qs), { 1, 3, 6 } },
        QueryCase { "ascendingStable", query(PseudoCategory::all, {}, {}, BrowseQuery::nameAscending),
            { 1, 0, 3, 5, 6, 2, 4 } },
        QueryCase { "descendingStable", query(PseudoCategory::all, {}, {}, BrowseQuery::nameDescending),
            { 4, 2, 6, 0, 3, 5, 1 } },
        QueryCase { "sortedFilteredCategory", query(u"a"_qs, {}, u"A"_qs, BrowseQuery::nameDescending),
            { 2, 0, 5 } }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BrowseIndex, CategoryPositionsNameTheSectionsCategoryItems)
{
    const BrowseIndex index(kSection, SectionLookups::build(kSection->all), QLocale::c());
    for (const QString &id : kSection->byCategory.keys()) {
        QList<MediaItem> picked;
        for (qint32 at : index.category(id, {}))
            picked.append(kSection->all[at]);
        EXPECT_EQ(picked, sectionItems(*kSection, id)) << qPrintable(id);
    }
}

TEST(BrowseIndex, EmptyWithoutSection)
{
    const BrowseIndex index;
    EXPECT_EQ(index.size(), 0);
    EXPECT_TRUE(index.rows(query(PseudoCategory::all, {}, u"a"_qs, BrowseQuery::nameAscending)).empty());
}

} // namespace
