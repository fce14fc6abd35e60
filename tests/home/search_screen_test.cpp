#include "ContentScreenFixture.h"
#include "LayerStandIn.h"
#include "home/SearchScreenModel.h"

#include <QAbstractItemModelTester>

namespace {

QStringList numbered(const QString &stem, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(stem.arg(i));
    return names;
}

class SearchScreenTest : public ::testing::Test {
protected:
    SearchScreenTest()
    {
        home.serve(ContentType::live, { u"Evening News"_qs, u"Sports"_qs, u"newsroom"_qs, u"New Sound"_qs });
        home.serve(ContentType::movie, { u"Heat"_qs, u"The News Movie"_qs });
        home.serve(ContentType::series, { u"The Wire"_qs, u"NEWS night"_qs });
    }

    SearchScreenModel &screen()
    {
        if (!m_screen) {
            m_screen = std::make_unique<SearchScreenModel>(home.screenDeps(), home.state.topEntry());
            for (ContentType type : kAllContentTypes)
                m_testers.push_back(std::make_unique<QAbstractItemModelTester>(m_screen->results(int(type))));
        }
        return *m_screen;
    }

    // The screen shown, every section load finished.
    SearchScreenModel &loaded()
    {
        showAsLayerWould(screen(), home.app());
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_screen->loading(); }, 5000));
        return *m_screen;
    }

    QStringList names(ContentType type)
    {
        QStringList found;
        const ContentListModel *model = screen().results(int(type));
        for (int row = 0; row < model->count(); ++row)
            found.append(model->itemAt(row)->name);
        return found;
    }

    ContentScreenFixture home { Routes::Search {} };

private:
    std::unique_ptr<SearchScreenModel> m_screen;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
};

TEST_F(SearchScreenTest, ResultsGrowAsEachSectionArrives)
{
    screen().setQuery(u"news"_qs);
    QList<QList<ContentType>> seen;
    const QObject watching;
    QObject::connect(&screen(), &SearchScreenModel::resultsChanged, &watching, [&] {
        if (seen.isEmpty() || seen.last() != screen().visibleRows())
            seen.append(screen().visibleRows());
    });
    loaded();
    const QList<QList<ContentType>> expected { { ContentType::live },
        { ContentType::live, ContentType::movie },
        { ContentType::live, ContentType::movie, ContentType::series } };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(names(ContentType::live), (QStringList { u"Evening News"_qs, u"newsroom"_qs }));
    EXPECT_EQ(names(ContentType::movie), QStringList { u"The News Movie"_qs });
    EXPECT_EQ(names(ContentType::series), QStringList { u"NEWS night"_qs });
}

// Spaces and tabs around the query are ignored; one character (after trimming) is too short.
TEST_F(SearchScreenTest, QueriesShorterThanTwoCharactersShowTheHintAndClearTheResults)
{
    loaded().setQuery(u" \tnews  "_qs);
    EXPECT_EQ(names(ContentType::live), (QStringList { u"Evening News"_qs, u"newsroom"_qs }));
    EXPECT_EQ(screen().content(), u"results"_qs);
    for (const QString &query : { u"n"_qs, u"  n"_qs, u" \tn "_qs, u""_qs }) {
        screen().setQuery(query);
        EXPECT_EQ(screen().content(), u"hint"_qs) << qPrintable(query);
        EXPECT_TRUE(screen().visibleRows().isEmpty()) << qPrintable(query);
    }
    screen().setQuery(u"zq"_qs);
    EXPECT_EQ(screen().content(), u"empty"_qs);
}

TEST_F(SearchScreenTest, WhileLoadingAQueryWithoutMatchesShowsTheEmptyResultsNotNoResults)
{
    showAsLayerWould(screen(), home.app());
    screen().setQuery(u"zq"_qs);
    EXPECT_TRUE(screen().loading());
    EXPECT_EQ(screen().content(), u"results"_qs);
    loaded();
    EXPECT_EQ(screen().content(), u"empty"_qs);
}

TEST_F(SearchScreenTest, KeepsTheFirstSixtyMatchesOfATypeInCatalogOrder)
{
    QStringList movies;
    for (const QString &name : numbered(u"Match %1"_qs, 100))
        movies << name << u"Other"_qs;
    home.serve(ContentType::movie, movies);
    loaded().setQuery(u"match"_qs);
    EXPECT_EQ(names(ContentType::movie), numbered(u"Match %1"_qs, 60));
}

TEST_F(SearchScreenTest, ASectionThatFailsToLoadIsLeftOutSilently)
{
    home.provider.answer(u"get_series"_qs, LoopbackResponse::withStatus(500));
    loaded().setQuery(u"news"_qs);
    EXPECT_EQ(screen().visibleRows(), (QList<ContentType> { ContentType::live, ContentType::movie }));
    EXPECT_FALSE(home.app().toastVisible());
}

TEST_F(SearchScreenTest, EnterInTheFieldOpensTheFirstResultOfTheFirstRow)
{
    home.serve(ContentType::live, { u"Sports"_qs });
    loaded().setQuery(u"the"_qs);
    ASSERT_EQ(screen().visibleRows(), (QList<ContentType> { ContentType::movie, ContentType::series }));
    EXPECT_TRUE(screen().handleKey(key(Key::Kind::enter)));
    ASSERT_TRUE(isRoute<Routes::Movie>(home.app().current()));
    EXPECT_EQ(std::get<Routes::Movie>(home.app().current()).item.name, u"The News Movie"_qs);
}

TEST_F(SearchScreenTest, EnterWithNothingToOpenIsUsedAndDoesNothing)
{
    loaded().setQuery(u"zq"_qs);
    EXPECT_TRUE(screen().handleKey(key(Key::Kind::enter)));
    EXPECT_EQ(home.state.route(), u"search"_qs);
}

TEST_F(SearchScreenTest, AChannelPlaysAloneAndIsRecordedAsRecentlyWatched)
{
    loaded().setQuery(u"newsroom"_qs);
    EXPECT_TRUE(press(screen(), "DE"));
    ASSERT_TRUE(isRoute<Routes::Player>(home.app().current()));
    const PlayQueue queue = std::get<Routes::Player>(home.app().current()).queue;
    const QString key = itemKey(ContentType::live, home.playlistId(), u"3"_qs);
    EXPECT_EQ(queue.count(), 1);
    EXPECT_EQ(queue.start, 0);
    EXPECT_TRUE(queue.resume);
    ASSERT_TRUE(queue.get(0));
    EXPECT_EQ(queue.get(0)->key, key);
    EXPECT_EQ(home.prefs().recentLive().value(0), key);
}

TEST_F(SearchScreenTest, ASeriesCardOpensTheSeriesDetails)
{
    loaded().setQuery(u"news"_qs);
    EXPECT_TRUE(press(screen(), "DDDE"));
    ASSERT_TRUE(isRoute<Routes::Series>(home.app().current()));
    EXPECT_EQ(std::get<Routes::Series>(home.app().current()).item.name, u"NEWS night"_qs);
}

TEST_F(SearchScreenTest, PostersOfFavouritesAreMarked)
{
    home.prefs().toggleFavorite(
        { .playlistId = home.playlistId(), .type = ContentType::movie, .id = u"2"_qs });
    loaded().setQuery(u"ea"_qs);
    const ContentListModel *movies = screen().results(int(ContentType::movie));
    ASSERT_EQ(movies->count(), 1);
    EXPECT_FALSE(movies->data(movies->index(0), ContentListModel::FavoriteRole).toBool());
    screen().setQuery(u"news"_qs);
    EXPECT_TRUE(movies->data(movies->index(0), ContentListModel::FavoriteRole).toBool());
}

TEST_F(SearchScreenTest, TypingPutsTheFocusBackOnTheFieldAndTheFieldIsFocusedSoonAfterShowing)
{
    loaded();
    EXPECT_FALSE(screen().fieldFocused());
    home.state.clock.advance(SearchScreenModel::kFieldFocusDelayMs);
    EXPECT_TRUE(screen().fieldFocused());
    screen().setQuery(u"news"_qs);
    EXPECT_TRUE(press(screen(), "DR"));
    EXPECT_FALSE(screen().fieldFocused());
    screen().setQuery(u"news "_qs);
    EXPECT_EQ(screen().focusRow(), -1);
    EXPECT_EQ(screen().focusCol(), 1);
}

TEST_F(SearchScreenTest, ComingBackIntoViewLoadsFromTheCatalogsMemoryAndKeepsTheResults)
{
    loaded().setQuery(u"news"_qs);
    const int requests = home.provider.requestCount(u"get_vod_streams"_qs);
    QSignalSpy searches(&screen(), &SearchScreenModel::resultsChanged);
    coverAndUncover(screen());
    // One search per section again, then the end of the pass.
    EXPECT_TRUE(QTest::qWaitFor([&] { return searches.size() >= 4; }, 2000));
    EXPECT_EQ(home.provider.requestCount(u"get_vod_streams"_qs), requests);
    EXPECT_EQ(names(ContentType::movie), QStringList { u"The News Movie"_qs });
    EXPECT_FALSE(screen().loading());
}

TEST(SearchScreenWithoutPlaylist, LoadsNothing)
{
    ContentScreenFixture home { Routes::Search {}, false };
    SearchScreenModel screen(home.screenDeps(), home.state.topEntry());
    showAsLayerWould(screen, home.app());
    EXPECT_FALSE(screen.hasPlaylist());
    EXPECT_EQ(home.provider.requestCount(XtreamProvider::kLogin), 0);
    screen.setQuery(u"news"_qs);
    EXPECT_TRUE(screen.visibleRows().isEmpty());
}

struct KeyCase {
    const char *name;
    const char *keys; // '~' types the query again
    int row;
    int col;
    bool lastUsed;
};

void PrintTo(const KeyCase &keyCase, std::ostream *out)
{
    *out << keyCase.keys;
}

// Rows of 3 channels, 8 movies and 2 series.
const KeyCase kKeyCases[] = {
    { "DownFromTheFieldKeepsTheColumnInsideTheRow", "DDRRRRR~D", 0, 2, true },
    { "RightStopsOnTheLastCard", "DRRRR", 0, 2, true },
    { "LeftStopsOnTheFirstCard", "DRLL", 0, 0, true },
    { "LeftInTheFieldIsNotUsed", "L", -1, 0, false },
    { "RightInTheFieldIsNotUsed", "R", -1, 0, false },
    { "UpKeepsTheColumnInsideTheUpperRow", "DDRRRRRU", 0, 2, true },
    { "UpFromTheFirstRowGoesToTheField", "DRU", -1, 1, true },
    { "UpInTheFieldStays", "U", -1, 0, true },
    { "DownOnTheLastRowStays", "DDDD", 2, 0, true },
    { "SpaceIsNotUsed", "DS", 0, 0, false },
    { "TabIsNotUsed", "T", -1, 0, false },
    { "EscIsNotUsed", "X", -1, 0, false },
    { "HomeIsNotUsed", "D<", 0, 0, false },
    { "PageDownIsNotUsed", "]", -1, 0, false },
    { "LettersAreNotUsed", "Dx", 0, 0, false },
};

class SearchScreenKeys : public SearchScreenTest, public ::testing::WithParamInterface<KeyCase> { };

TEST_P(SearchScreenKeys, MoveTheFocusAsTheTableSays)
{
    home.serve(ContentType::live, numbered(u"ab channel %1"_qs, 3));
    home.serve(ContentType::movie, numbered(u"ab movie %1"_qs, 8));
    home.serve(ContentType::series, numbered(u"ab series %1"_qs, 2));
    loaded().setQuery(u"ab"_qs);
    bool used = false;
    for (const char *c = GetParam().keys; *c; ++c) {
        if (*c == '~')
            screen().setQuery(screen().query() == u"ab"_qs ? u"ab "_qs : u"ab"_qs);
        else
            used = screen().handleKey(keys(std::string(1, *c).c_str()).first());
    }
    EXPECT_EQ((std::array { screen().focusRow(), screen().focusCol() }),
        (std::array { GetParam().row, GetParam().col }));
    EXPECT_EQ(used, GetParam().lastUsed);
    EXPECT_EQ(home.state.route(), u"search"_qs);
}

INSTANTIATE_TEST_SUITE_P(Table, SearchScreenKeys, ::testing::ValuesIn(kKeyCases),
    [](const ::testing::TestParamInfo<KeyCase> &info) { return std::string(info.param.name); });

TEST_F(SearchScreenTest, TheFocusedCardIsTheFocusedRowOfItsResults)
{
    loaded().setQuery(u"news"_qs);
    QSignalSpy scrolls(&screen(), &SearchScreenModel::scrollRequested);
    EXPECT_TRUE(press(screen(), "DRDD"));
    EXPECT_EQ(screen().results(int(ContentType::live))->focusedRow(), -1);
    EXPECT_EQ(screen().results(int(ContentType::series))->focusedRow(), 0);
    ASSERT_GE(scrolls.size(), 1);
    EXPECT_EQ(scrolls.first(), (QVariantList { int(ContentType::live), 1 }));
}

// Typing changes the result rows in place: the cards of rows that stay are kept, and the
// view's rows are rebuilt only when the content types with results change.
TEST_F(SearchScreenTest, TypingChangesTheResultRowsInPlace)
{
    home.serve(ContentType::live, { u"News 24"_qs, u"Sports"_qs, u"World News"_qs, u"Newsroom"_qs });
    loaded();
    std::vector<std::unique_ptr<QSignalSpy>> resets;
    for (ContentType type : kAllContentTypes)
        resets.push_back(
            std::make_unique<QSignalSpy>(screen().results(int(type)), &QAbstractItemModel::modelReset));
    QSignalSpy removed(screen().results(int(ContentType::live)), &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(screen().results(int(ContentType::live)), &QAbstractItemModel::rowsInserted);
    const struct {
        QString query;
        QStringList live;
    } steps[] = {
        { u"ne"_qs, { u"News 24"_qs, u"World News"_qs, u"Newsroom"_qs } },
        { u"new"_qs, { u"News 24"_qs, u"World News"_qs, u"Newsroom"_qs } },
        { u"news 2"_qs, { u"News 24"_qs } },
        { u"world"_qs, { u"World News"_qs } },
        { u"news"_qs, { u"News 24"_qs, u"World News"_qs, u"Newsroom"_qs } },
        { u"n"_qs, {} },
    };
    QList<QList<ContentType>> announced;
    const QObject watching;
    QObject::connect(&screen(), &SearchScreenModel::visibleRowsChanged, &watching,
        [&] { announced.append(screen().visibleRows()); });
    for (const auto &step : steps) {
        screen().setQuery(step.query);
        EXPECT_EQ(names(ContentType::live), step.live) << qPrintable(step.query);
    }
    // "news 2" and "world" leave only the channel row; "n" clears every row.
    EXPECT_EQ(announced,
        (QList<QList<ContentType>> { { ContentType::live, ContentType::movie, ContentType::series },
            { ContentType::live }, { ContentType::live, ContentType::movie, ContentType::series }, {} }));
    for (const auto &spy : resets)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_GE(removed.count(), 3);
    EXPECT_GE(inserted.count(), 3);
}

} // namespace
