#include "LiveTestSupport.h"
#include "kit/ContentListModel.h"
#include "kit/CategoryColumnModel.h"
#include "live/LiveLists.h"
#include "model/ContentKeys.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

using namespace LiveFixture;

namespace {

QList<qint64> uidsOf(const LiveLists &lists)
{
    QList<qint64> uids;
    for (int row = 0; row < lists.count(); ++row)
        uids.append(lists.channelAt(row)->uid);
    return uids;
}

LiveLists listsWith(const QList<FavoriteEntry> &favorites = {}, const QStringList &recent = {})
{
    LiveLists lists(kPlaylistId);
    lists.setFavorites(favorites);
    lists.setRecentLive(recent);
    lists.setSection(ChannelIndex::build(section()));
    return lists;
}

TEST(LiveLists, PseudoCategoriesComeFirstWithTheirCounts)
{
    const LiveLists lists
        = listsWith({ favorite(7, ContentType::live, "101"), favorite(7, ContentType::movie, "101"),
                        favorite(8, ContentType::live, "102"), favorite(7, ContentType::live, "555") },
            { key("103"), "8|LIVE|101", key("999"), "7|MOVIE|1" });
    const QList<CategoryEntry> expected {
        { "__recent__", "recently_viewed", {}, 2, "clock.fill" },
        { "__fav__", "favorites", {}, 2, "heart.fill" },
        { "__all__", "all", {}, 5, "square.grid.2x2.fill" },
        { "n", {}, "News", 3, {} },
        { "s", {}, "Sport", 2, {} },
    };
    EXPECT_EQ(lists.categories(), expected);
    EXPECT_EQ(lists.recentChannelIds(), QStringList({ key("103"), key("999") }));
}

struct ListCase {
    const char *name;
    QString category;
    QString filter;
    QList<qint64> uids;
};

TEST(LiveLists, ListsTheSelectedCategoryThroughTheFilter)
{
    const QList<ListCase> cases {
        { "all in section order", "__all__", "", { 1, 2, 3, 4, 5 } },
        { "a category", "n", "", { 1, 3, 5 } },
        { "a category the section does not list", "zzz", "", {} },
        { "a listed category without channels", "x", "", {} },
        { "a filter inside a category", "s", "sport", { 2 } },
        { "recent channels, the later of a shared id", "__recent__", "", { 3, 5 } },
        { "favourites in section order, both of a shared id", "__fav__", "", { 1, 2, 5 } },
        { "favourites through the filter", "__fav__", "two", { 5 } },
    };
    for (const ListCase &c : cases) {
        LiveLists lists
            = listsWith({ favorite(7, ContentType::live, "102"), favorite(7, ContentType::live, "101") },
                { key("103"), key("999"), key("102") });
        lists.selectCategory(c.category);
        lists.setFilter(c.filter);
        EXPECT_EQ(uidsOf(lists), c.uids) << c.name;
        // Only a change of category or filter moves the focus to the first row.
        const bool changed = c.category != "__all__" || !c.filter.isEmpty();
        EXPECT_EQ(lists.chanFocus, changed && !c.uids.isEmpty() ? 0 : -1) << c.name;
    }
}

TEST(LiveLists, RecentAndFavouriteListsNumberTheirRowsOthersShowChannelNumbers)
{
    LiveLists lists
        = listsWith({ favorite(7, ContentType::live, "103"), favorite(7, ContentType::live, "101") });
    ContentListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setItems(ContentListModel::itemsOf(lists.index()->section), kPlaylistId);
    const auto numbers = [&] {
        model.setNumbered(lists.numbered());
        model.setRows(lists.rows());
        QList<qint64> shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown.append(model.data(model.index(row), ContentListModel::NumRole).toLongLong());
        return shown;
    };
    lists.selectCategory("__fav__");
    EXPECT_EQ(numbers(), QList<qint64>({ 1, 2 }));
    lists.selectCategory("n");
    lists.setFilter("gamma");
    EXPECT_EQ(numbers(), QList<qint64>({ 9 }));
}

TEST(LiveLists, SharedIdsShareHeartAndPlayingMark)
{
    const LiveLists lists = listsWith({ favorite(7, ContentType::live, "102") });
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(lists.index()->section), kPlaylistId);
    model.setFavoriteKeys(lists.favoriteKeys());
    model.setPlayingKey(key("102"));
    for (int row = 0; row < model.rowCount(); ++row) {
        const bool shared = model.itemAt(row)->id == "102";
        EXPECT_EQ(model.data(model.index(row), ContentListModel::FavoriteRole).toBool(), shared) << row;
        EXPECT_EQ(model.data(model.index(row), ContentListModel::PlayingRole).toBool(), shared) << row;
    }
}

TEST(LiveLists, ACategoryChangeFocusesAndScrollsToTheFirstRowAFilterOnlyFocuses)
{
    LiveLists lists = listsWith();
    lists.selectCategory("s");
    EXPECT_EQ(lists.chanFocus, 0);
    EXPECT_EQ(lists.scrollTarget, std::optional<qint64>(2));
    EXPECT_EQ(lists.catFocus, 4);
    lists.scrollTarget.reset();
    lists.setFilter("plus");
    EXPECT_EQ(lists.chanFocus, 0);
    EXPECT_EQ(lists.scrollTarget, std::nullopt);
    lists.selectCategory("zzz");
    EXPECT_EQ(lists.chanFocus, -1);
    EXPECT_EQ(lists.scrollTarget, std::nullopt);
    EXPECT_EQ(lists.catFocus, 4) << "a stale category leaves the category focus";
}

TEST(LiveLists, FavouriteChangesRebuildTheListOnlyWhileFavouritesAreShown)
{
    LiveLists lists = listsWith({ favorite(7, ContentType::live, "101") });
    lists.selectCategory("n");
    const quint64 rowsBefore = lists.rowsRevision();
    lists.favoritesChanged({ favorite(7, ContentType::live, "101"), favorite(7, ContentType::live, "103") });
    EXPECT_EQ(lists.rowsRevision(), rowsBefore);
    EXPECT_EQ(lists.categories()[1].count, 2);

    lists.selectCategory("__fav__");
    lists.move(1);
    ASSERT_EQ(lists.chanFocus, 1);
    lists.favoritesChanged({ favorite(7, ContentType::live, "101") });
    EXPECT_EQ(uidsOf(lists), QList<qint64>({ 1 }));
    EXPECT_EQ(lists.chanFocus, 1) << "the focus stays until the next move";
    lists.move(1);
    EXPECT_EQ(lists.chanFocus, 0);
}

TEST(LiveLists, FocusFollowsThePreviewedChannelToTheTopOfTheRecentList)
{
    LiveLists lists = listsWith({}, { key("103"), key("101") });
    lists.selectCategory("__recent__");
    lists.move(1);
    ASSERT_EQ(lists.channelAt(lists.chanFocus)->uid, 1);
    lists.scrollTarget.reset();
    lists.recentLiveChanged({ key("101"), key("103") });
    EXPECT_EQ(uidsOf(lists), QList<qint64>({ 1, 3 }));
    EXPECT_EQ(lists.chanFocus, 0);
    EXPECT_EQ(lists.scrollTarget, std::optional<qint64>(1));
    EXPECT_EQ(lists.categories()[0].count, 2);
}

struct MoveCase {
    const char *name;
    int pane;
    int focus;
    int step;
    int expectedFocus;
};

TEST(LiveLists, MovesClampToTheColumn)
{
    const QList<MoveCase> cases {
        { "first move from no focus", 1, -1, 10, 0 },
        { "down", 1, 1, 1, 2 },
        { "page down past the end", 1, 1, 10, 4 },
        { "home", 1, 3, -100000, 0 },
        { "end", 1, 0, 100000, 4 },
        { "a focus past the end comes back", 1, 9, 1, 4 },
        { "category up from the top", 0, 0, -1, 0 },
        { "category down", 0, 2, 1, 3 },
        { "category end", 0, 2, 100000, 4 },
    };
    for (const MoveCase &c : cases) {
        LiveLists lists = listsWith();
        lists.pane = c.pane;
        (c.pane == 1 ? lists.chanFocus : lists.catFocus) = c.focus;
        lists.move(c.step);
        if (c.pane == 1) {
            EXPECT_EQ(lists.chanFocus, c.expectedFocus) << c.name;
            EXPECT_EQ(lists.scrollTarget, lists.channelAt(c.expectedFocus)->uid) << c.name;
        } else {
            const QString id = lists.categories()[c.expectedFocus].id;
            EXPECT_EQ(lists.catFocus, c.expectedFocus) << c.name;
            EXPECT_EQ(lists.selectedCat(), id) << c.name;
            EXPECT_EQ(lists.catScrollTarget, id) << c.name;
        }
    }
    LiveLists empty = listsWith();
    empty.selectCategory("zzz");
    empty.move(1);
    EXPECT_EQ(empty.chanFocus, -1);
}

TEST(LiveLists, WithoutASectionNothingIsListed)
{
    LiveLists lists(kPlaylistId);
    lists.selectCategory("n");
    lists.rebuild();
    EXPECT_TRUE(lists.categories().isEmpty());
    EXPECT_EQ(lists.count(), 0);
    lists.setSection(ChannelIndex::build(section()));
    EXPECT_EQ(uidsOf(lists), QList<qint64>({ 1, 3, 5 }));
    lists.setSection(nullptr);
    EXPECT_EQ(lists.count(), 0);
    EXPECT_EQ(lists.selectedCat(), "n") << "the selection survives a reload";
}

TEST(CategoryColumnModel, CountChangesKeepTheRowsAndOtherIdsReset)
{
    CategoryColumnModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setRows({ { "__all__", "all", {}, 5, "square.grid.2x2.fill" }, { "n", {}, "News", 3, {} } });
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    model.setRows({ { "__all__", "all", {}, 6, "square.grid.2x2.fill" }, { "n", {}, "News", 3, {} } });
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(model.data(model.index(0), CategoryColumnModel::CountRole).toInt(), 6);
    EXPECT_EQ(model.data(model.index(0), CategoryColumnModel::NameRole).toString(), "All");
    model.setSelectedRow(1);
    model.setFocusedRow(0);
    EXPECT_TRUE(model.data(model.index(1), CategoryColumnModel::SelectedRole).toBool());
    EXPECT_TRUE(model.data(model.index(0), CategoryColumnModel::FocusedRole).toBool());
    model.setRows({ { "s", {}, "Sport", 2, {} } });
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.rowOfId("s"), 0);
    EXPECT_EQ(model.rowOfId("n"), -1);
}

} // namespace
