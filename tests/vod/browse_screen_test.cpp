#include "VodFixture.h"
#include "LayerStandIn.h"
#include "RunTask.h"
#include "app/ChoiceDialog.h"
#include "kit/SectionLookups.h"
#include "model/ContentKeys.h"
#include "sources/PlayItems.h"
#include "vod/BrowseScreenModel.h"

#include <QAbstractItemModelTester>

namespace {

const QString kStreams = u"get_vod_streams"_qs;

// Twelve movies: 1-8 in "Action" (10), 9-12 in "Drama" (11); 2 and 5 share a name.
QList<Title> twelveMovies()
{
    QList<Title> titles;
    for (int i = 1; i <= 12; ++i)
        titles.append({ QString::number(i), i == 5 ? u"Movie 2"_qs : u"Movie %1"_qs.arg(i),
            i <= 8 ? u"10"_qs : u"11"_qs });
    return titles;
}

class BrowseScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vod.provider.answer(kStreams, LoopbackResponse::json(streamsBody(twelveMovies())));
        screen = vod.open<BrowseScreenModel>(Routes::Browse { ContentType::movie });
        tester = std::make_unique<QAbstractItemModelTester>(screen->posters());
        ASSERT_TRUE(VodFixture::eventually([this] { return screen->state() == BrowseScreenModel::Loaded; }));
    }

    QStringList shownIds() const
    {
        QStringList ids;
        for (int row = 0; row < screen->posters()->count(); ++row)
            ids.append(screen->posters()->itemAt(row)->id);
        return ids;
    }

    FavoriteEntry favorite(qint64 playlistId, ContentType type, const QString &id)
    {
        return PlayItems::favoriteOf({ .type = type, .id = id, .name = u"Fav "_qs + id }, playlistId);
    }

    VodFixture vod;
    std::unique_ptr<BrowseScreenModel> screen;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(BrowseScreenTest, ShowsTheSectionUnderAllWithItsHeader)
{
    EXPECT_EQ(screen->posters()->count(), 12);
    EXPECT_EQ(screen->categoryName(), u"All"_qs);
    EXPECT_EQ(screen->countText(), u"12 items"_qs);
    EXPECT_EQ(screen->title(), u"Movies"_qs);
    const QList<CategoryEntry> expected { { PseudoCategory::all, u"all"_qs, {}, 12,
                                              u"square.grid.2x2.fill"_qs },
        { PseudoCategory::favorites, u"favorites"_qs, {}, 0, u"heart.fill"_qs },
        { u"10"_qs, {}, u"Action"_qs, 8, {} }, { u"11"_qs, {}, u"Drama"_qs, 4, {} } };
    EXPECT_EQ(screen->categoryList(), expected);
    CategoryColumnModel *pane = screen->categories();
    EXPECT_EQ(pane->data(pane->index(1), CategoryColumnModel::NameRole).toString(), u"Favorites"_qs);
    EXPECT_TRUE(pane->data(pane->index(0), CategoryColumnModel::SelectedRole).toBool());
    EXPECT_EQ(
        std::make_tuple(screen->pane(), screen->focus(), screen->catFocus()), std::make_tuple(1, -1, 0));
}

// The grid filters with the section's shared lookups, so search or another visit finds the
// names already folded.
TEST_F(BrowseScreenTest, SharesTheSectionsFoldedNames)
{
    const SectionPtr section = runTask(vod.catalog->load(vod.playlist(), ContentType::movie, false));
    EXPECT_TRUE(SectionLookups::of(section).isReady());
}

struct KeyCase {
    const char *name;
    const char *keys;
    int pane;
    int focus;
    int catFocus;
};

class BrowseKeys : public BrowseScreenTest, public ::testing::WithParamInterface<KeyCase> { };

// Five columns; the screen starts in the grid with nothing focused.
TEST_P(BrowseKeys, MoveThroughPanesAndGrid)
{
    screen->setGridWidth(894);
    ASSERT_EQ(screen->columns(), 5);
    EXPECT_TRUE(press(*screen, GetParam().keys));
    EXPECT_EQ(std::make_tuple(screen->pane(), screen->focus(), screen->catFocus()),
        std::make_tuple(GetParam().pane, GetParam().focus, GetParam().catFocus));
    EXPECT_EQ(screen->selectedCat(), screen->categoryList()[screen->catFocus()].id);
}

INSTANTIATE_TEST_SUITE_P(Table, BrowseKeys,
    ::testing::Values(KeyCase { "firstArrowFocusesFirst", "R", 1, 0, 0 },
        KeyCase { "leftWithinRow", "DRRRRRRRL", 1, 6, 0 },
        KeyCase { "leftFromFirstColumnToCategories", "DDL", 0, 5, 0 },
        KeyCase { "pageDownStopsAtEnd", "D]", 1, 11, 0 }, KeyCase { "pageUpStopsAtStart", "D][", 1, 0, 0 },
        KeyCase { "tabToCategories", "DRT", 0, 1, 0 },
        KeyCase { "categoryDownChoosesAndClearsFocus", "DRTDD", 0, -1, 2 },
        KeyCase { "categoryUpStopsAtFirst", "TUU", 0, -1, 0 },
        KeyCase { "categoryRightBackToGrid", "DRRTR", 1, 2, 0 },
        KeyCase { "categoryEnterBackToGrid", "DRRTE", 1, 2, 0 },
        KeyCase { "emptyCategoryKeepsThePane", "TDR", 0, -1, 1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(BrowseScreenTest, KeysTheScreenLeavesToTheRouter)
{
    for (const char *spelled : { "X", "<", ">", "a" }) {
        EXPECT_FALSE(press(*screen, spelled)) << "grid " << spelled;
        press(*screen, "T");
        EXPECT_FALSE(press(*screen, spelled)) << "categories " << spelled;
        press(*screen, "R");
    }
    press(*screen, "T");
    EXPECT_FALSE(press(*screen, "L")) << "left in the category pane";
}

TEST_F(BrowseScreenTest, LeftFromAnEmptyGridLeadsToTheCategories)
{
    screen->setFilter(u"nothing like it"_qs);
    ASSERT_EQ(screen->posters()->count(), 0);
    EXPECT_TRUE(press(*screen, "L"));
    EXPECT_EQ(std::make_tuple(screen->pane(), screen->focus()), std::make_tuple(0, -1));
}

TEST_F(BrowseScreenTest, EnterOpensTheFocusedMovieOnceAndNothingWithoutFocus)
{
    EXPECT_TRUE(press(*screen, "E"));
    EXPECT_EQ(vod.app().stack().size(), 2);
    press(*screen, "DRE");
    ASSERT_EQ(vod.app().stack().size(), 3);
    const auto *movie = std::get_if<Routes::Movie>(&vod.app().stack().last().route);
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->item, *screen->posters()->itemAt(1));
    press(*screen, "E");
    screen->open(2);
    EXPECT_EQ(vod.app().stack().size(), 3) << "a screen that is not on top opens nothing";
}

TEST_F(BrowseScreenTest, ChoosingACategoryClearsFocusAndScrollsToTheTop)
{
    QSignalSpy scrolls(screen.get(), &BrowseScreenModel::scrollToPoster);
    press(*screen, "DDD");
    screen->selectCategory(3);
    EXPECT_EQ(shownIds(), (QStringList { u"9"_qs, u"10"_qs, u"11"_qs, u"12"_qs }));
    EXPECT_EQ(
        std::make_tuple(screen->pane(), screen->focus(), screen->catFocus()), std::make_tuple(1, -1, 3));
    ASSERT_FALSE(scrolls.isEmpty());
    EXPECT_EQ(scrolls.last().at(0).toInt(), 0);
    EXPECT_EQ(screen->categoryName(), u"Drama"_qs);
}

TEST_F(BrowseScreenTest, FilterKeepsFocusAndReturningToTheGridClampsIt)
{
    press(*screen, "DDRR");
    ASSERT_EQ(screen->focus(), 8);
    screen->setFilter(u"  MOVIE 1"_qs);
    EXPECT_EQ(shownIds(), (QStringList { u"1"_qs, u"10"_qs, u"11"_qs, u"12"_qs }));
    EXPECT_EQ(screen->focus(), 8);
    EXPECT_EQ(screen->posters()->focusedRow(), -1);
    press(*screen, "TR");
    EXPECT_EQ(screen->focus(), 3);
}

TEST_F(BrowseScreenTest, SortDialogOrdersByNameKeepingEqualNamesInCatalogOrder)
{
    screen->showSortDialog();
    ChoiceDialogModel *dialog = vod.app().dialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->options(), (QStringList { u"Default order"_qs, u"Name A–Z"_qs, u"Name Z–A"_qs }));
    EXPECT_EQ(dialog->selected(), 0);
    dialog->select(2);
    EXPECT_EQ(screen->sort(), 2);
    EXPECT_EQ(shownIds().mid(6), (QStringList { u"2"_qs, u"5"_qs, u"12"_qs, u"11"_qs, u"10"_qs, u"1"_qs }));
    screen->setSort(1);
    EXPECT_EQ(
        shownIds().mid(0, 6), (QStringList { u"1"_qs, u"10"_qs, u"11"_qs, u"12"_qs, u"2"_qs, u"5"_qs }));
}

TEST_F(BrowseScreenTest, FavouritesOfThisPlaylistAndTypeCountedListedOnlyWhilePresent)
{
    const qint64 id = vod.playlist().id;
    for (const FavoriteEntry &entry :
        { favorite(id, ContentType::movie, u"4"_qs), favorite(id, ContentType::movie, u"gone"_qs),
            favorite(id + 1, ContentType::movie, u"3"_qs), favorite(id, ContentType::series, u"3"_qs) })
        vod.prefs().toggleFavorite(entry);
    EXPECT_EQ(screen->categoryList()[1].count, 2);
    screen->selectCategory(1);
    EXPECT_EQ(shownIds(), QStringList { u"4"_qs });
    EXPECT_TRUE(
        screen->posters()->data(screen->posters()->index(0), ContentListModel::FavoriteRole).toBool());
    screen->toggleFavoriteAt(0);
    EXPECT_EQ(shownIds(), QStringList());
    EXPECT_EQ(vod.app().toast(), u"Removed from favorites"_qs);
    EXPECT_EQ(screen->emptyText(), u"No favorites yet. Use the heart (or right-click) to add some."_qs);
    EXPECT_EQ(screen->categoryList()[1].count, 1);
}

TEST_F(BrowseScreenTest, FavouriteOutsideItsCategoryOnlyRedrawsTheBadge)
{
    QSignalSpy resets(screen->posters(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(screen->posters(), &QAbstractItemModel::dataChanged);
    screen->toggleFavoriteAt(3);
    EXPECT_EQ(resets.size(), 0) << "a reset would scroll the grid back to the top";
    EXPECT_FALSE(changes.isEmpty());
    EXPECT_TRUE(
        screen->posters()->data(screen->posters()->index(3), ContentListModel::FavoriteRole).toBool());
    EXPECT_EQ(vod.app().toast(), u"Added to favorites"_qs);
}

// The pane keeps its rows (and so its scroll position): only the favourites' count is redrawn.
TEST_F(BrowseScreenTest, FavouriteToggleRedrawsOnlyTheFavouritesCount)
{
    CategoryColumnModel *pane = screen->categories();
    QAbstractItemModelTester paneTester(pane);
    press(*screen, "TDDD");
    ASSERT_EQ(screen->catFocus(), 3);
    QSignalSpy resets(pane, &QAbstractItemModel::modelReset);
    QSignalSpy removals(pane, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changes(pane, &QAbstractItemModel::dataChanged);
    QSignalSpy focusChanges(screen.get(), &BrowseScreenModel::focusChanged);
    screen->toggleFavoriteAt(0);
    EXPECT_EQ(resets.size() + removals.size(), 0);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 1);
    EXPECT_EQ(pane->data(pane->index(1), CategoryColumnModel::CountRole).toInt(), 1);
    EXPECT_EQ(focusChanges.size(), 0);
    EXPECT_EQ(std::make_tuple(screen->pane(), screen->catFocus(), screen->selectedCat()),
        std::make_tuple(0, 3, u"11"_qs));
    EXPECT_TRUE(pane->data(pane->index(3), CategoryColumnModel::SelectedRole).toBool());
    EXPECT_TRUE(pane->data(pane->index(3), CategoryColumnModel::FocusedRole).toBool());
}

TEST_F(BrowseScreenTest, ComingBackDoesNotReloadAndRefreshReloadsWithForce)
{
    coverAndUncover(*screen);
    EXPECT_EQ(screen->state(), BrowseScreenModel::Loaded);
    screen->requestReload();
    EXPECT_EQ(screen->state(), BrowseScreenModel::Loading);
    ASSERT_TRUE(VodFixture::eventually([this] { return screen->state() == BrowseScreenModel::Loaded; }));
    EXPECT_EQ(vod.provider.requestCount(kStreams), 2);
}

TEST_F(BrowseScreenTest, ComingBackAfterOrDuringARefreshStartsNoOtherLoad)
{
    screen->requestReload();
    ASSERT_TRUE(VodFixture::eventually([this] { return screen->state() == BrowseScreenModel::Loaded; }));
    coverAndUncover(*screen);
    EXPECT_EQ(screen->state(), BrowseScreenModel::Loaded) << "a refreshed section stays like the first one";
    vod.provider.answer(kStreams, LoopbackResponse::json(streamsBody({ { u"50"_qs, u"Fresh"_qs } })));
    screen->requestReload();
    coverAndUncover(*screen);
    ASSERT_TRUE(VodFixture::eventually([this] { return screen->state() == BrowseScreenModel::Loaded; }));
    EXPECT_EQ(shownIds(), QStringList { u"50"_qs }) << "the refresh's answer, not the section it replaces";
    EXPECT_EQ(vod.provider.requestCount(kStreams), 3);
}

TEST(BrowseScreen, FailedLoadShowsItsMessageAndRetryLoadsAgain)
{
    VodFixture vod;
    vod.provider.answer(kStreams, LoopbackResponse::withStatus(500));
    auto screen = vod.open<BrowseScreenModel>(Routes::Browse { ContentType::movie });
    ASSERT_TRUE(VodFixture::eventually([&] { return screen->state() == BrowseScreenModel::Failed; }));
    EXPECT_FALSE(screen->error().isEmpty());
    EXPECT_FALSE(press(*screen, "D")) << "no key is used without a section";
    vod.provider.reset();
    screen->requestReload();
    ASSERT_TRUE(VodFixture::eventually([&] { return screen->state() == BrowseScreenModel::Loaded; }));
    EXPECT_TRUE(screen->error().isEmpty());
}

TEST(BrowseScreen, WithoutAPlaylistStartsAgainFromTheRoot)
{
    AppStateFixture fixture;
    fixture.cacheDevice(AppStateFixture::device({}));
    fixture.makeState({ Routes::Home {}, Routes::Browse { ContentType::series } });
    Catalog catalog(&fixture.http.http(), &fixture.clock, [] { return QString(); });
    ScreenDeps deps = fixture.screenDeps();
    deps.catalog = &catalog;
    BrowseScreenModel screen(deps, fixture.topEntry());
    showAsLayerWould(screen, *fixture.state);
    EXPECT_FALSE(screen.hasPlaylist());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.state->stack().size() == 1; }, 1000));
    EXPECT_EQ(fixture.route(), u"activation"_qs);
}

} // namespace
