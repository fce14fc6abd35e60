#include "ContentScreenFixture.h"
#include "home/FavoritesScreenModel.h"

#include <QAbstractItemModelTester>

namespace {

class FavoritesScreenTest : public ::testing::Test {
protected:
    FavoriteEntry favourite(ContentType type, const QString &id, qint64 playlistId = 0)
    {
        return { .playlistId = playlistId ? playlistId : home.playlistId(),
            .type = type,
            .id = id,
            .name = rawValue(type) + u" "_qs + id,
            .url = u"http://127.0.0.1:9/stream/"_qs + id + u".ts"_qs,
            .categoryId = u"1"_qs };
    }

    void store(ContentType type, const QStringList &ids)
    {
        for (const QString &id : ids)
            home.prefs().toggleFavorite(favourite(type, id));
    }

    FavoritesScreenModel &screen()
    {
        if (!m_screen) {
            m_screen = std::make_unique<FavoritesScreenModel>(home.screenDeps(), home.state.topEntry());
            m_tester = std::make_unique<QAbstractItemModelTester>(m_screen->items());
        }
        return *m_screen;
    }

    QStringList shownIds()
    {
        QStringList ids;
        for (int row = 0; row < screen().items()->count(); ++row)
            ids.append(screen().items()->itemAt(row)->id);
        return ids;
    }

    QList<int> tabCounts()
    {
        QList<int> counts;
        for (const QVariant &tab : screen().tabs())
            counts.append(tab.toMap().value(u"count"_qs).toInt());
        return counts;
    }

    ContentScreenFixture home { Routes::Favorites {} };

private:
    std::unique_ptr<FavoritesScreenModel> m_screen;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

TEST_F(FavoritesScreenTest, TabsListTheActivePlaylistsFavouritesOfTheirTypeInStoredOrder)
{
    store(ContentType::live, { u"7"_qs, u"3"_qs, u"5"_qs });
    store(ContentType::movie, { u"40"_qs });
    home.prefs().toggleFavorite(favourite(ContentType::live, u"9"_qs, 999));
    EXPECT_EQ(tabCounts(), (QList<int> { 3, 1, 0 }));
    EXPECT_EQ(shownIds(), (QStringList { u"7"_qs, u"3"_qs, u"5"_qs }));
    const std::optional<MediaItem> second = screen().items()->itemAt(1);
    ASSERT_TRUE(second);
    EXPECT_EQ((std::array { second->uid, second->num }), (std::array<qint64, 2> { 1, 2 }));
    EXPECT_TRUE(press(screen(), "T"));
    EXPECT_EQ(screen().tab(), 1);
    EXPECT_EQ(shownIds(), QStringList { u"40"_qs });
    EXPECT_TRUE(press(screen(), "TT"));
    EXPECT_EQ(screen().tab(), 0);
}

TEST_F(FavoritesScreenTest, OpeningAChannelPlaysTheTabsChannelsFromItAndRecordsIt)
{
    store(ContentType::live, { u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs });
    screen().open(2);
    ASSERT_TRUE(isRoute<Routes::Player>(home.app().current()));
    const PlayQueue queue = std::get<Routes::Player>(home.app().current()).queue;
    EXPECT_EQ((std::array<qint64, 2> { queue.count(), queue.start }), (std::array<qint64, 2> { 5, 2 }));
    EXPECT_TRUE(queue.resume);
    QStringList keys;
    for (qint64 i = 0; i < queue.count(); ++i)
        keys.append(queue.get(i)->key);
    EXPECT_EQ(keys.first(), itemKey(ContentType::live, home.playlistId(), u"1"_qs));
    EXPECT_EQ(keys.last(), itemKey(ContentType::live, home.playlistId(), u"5"_qs));
    // Built from the stored fields alone: the provider is never asked.
    EXPECT_EQ(queue.get(2)->url, u"http://127.0.0.1:9/stream/3.ts"_qs);
    EXPECT_EQ(home.prefs().recentLive().value(0), itemKey(ContentType::live, home.playlistId(), u"3"_qs));
}

TEST_F(FavoritesScreenTest, OpeningAMovieOrASeriesShowsItsDetails)
{
    store(ContentType::movie, { u"40"_qs });
    store(ContentType::series, { u"50"_qs });
    screen().setTab(1);
    EXPECT_TRUE(press(screen(), "RE"));
    ASSERT_TRUE(isRoute<Routes::Movie>(home.app().current()));
    EXPECT_EQ(std::get<Routes::Movie>(home.app().current()).item.id, u"40"_qs);
    home.app().pop();
    screen().setTab(2);
    EXPECT_TRUE(press(screen(), "DS"));
    ASSERT_TRUE(isRoute<Routes::Series>(home.app().current()));
    EXPECT_EQ(std::get<Routes::Series>(home.app().current()).item.id, u"50"_qs);
}

TEST_F(FavoritesScreenTest, HRemovesTheFocusedFavouriteWithAToastAndKeepsTheFocus)
{
    store(ContentType::live, { u"1"_qs, u"2"_qs, u"3"_qs });
    EXPECT_TRUE(press(screen(), "RRh"));
    EXPECT_EQ(shownIds(), (QStringList { u"1"_qs, u"3"_qs }));
    EXPECT_EQ(home.app().toastText(), ::tr(u"removed_from_favorites"_qs));
    EXPECT_EQ(screen().focus(), 1);
    EXPECT_EQ(screen().items()->focusedRow(), 1);
    // The last cell removed: the focus points past the end and nothing is focused or opened.
    EXPECT_TRUE(press(screen(), "h"));
    EXPECT_EQ(screen().focus(), 1);
    EXPECT_EQ(screen().items()->focusedRow(), -1);
    EXPECT_TRUE(press(screen(), "Eh"));
    EXPECT_EQ(shownIds(), QStringList { u"1"_qs });
    EXPECT_EQ(home.state.route(), u"favorites"_qs);
    EXPECT_TRUE(press(screen(), "L"));
    EXPECT_EQ(screen().focus(), 0);
}

TEST_F(FavoritesScreenTest, ColumnsFollowTheMeasuredWidthOfEachTab)
{
    const struct {
        qreal width;
        ContentType type;
        int columns;
    } cases[] = {
        { 1000, ContentType::live, 4 },
        { 1000, ContentType::movie, 5 },
        { 1000, ContentType::series, 5 },
        { 100, ContentType::live, 2 },
        { 0, ContentType::movie, 2 },
        { 1290, ContentType::live, 6 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(FavoritesScreenModel::columnsFor(c.width, c.type), c.columns) << c.width;
    screen().measure(1000);
    EXPECT_EQ(screen().columns(), 4);
    screen().setTab(1);
    EXPECT_EQ(screen().columns(), 5);
}

struct GridKeyCase {
    const char *keys;
    int focus;
    bool lastUsed;
};

void PrintTo(const GridKeyCase &keyCase, std::ostream *out)
{
    *out << keyCase.keys;
}

// Ten channels on a grid of 4 columns.
const GridKeyCase kGridKeyCases[] = {
    { "R", 0, true },
    { "D", 0, true },
    { "RR", 1, true },
    { "DD", 4, true },
    { "DDDD", 9, true },
    { "DRRRRRRRRRRRR", 9, true },
    { "DU", 0, true },
    { "DRRRRRU", 1, true },
    { "DRU", 1, true },
    { "DLL", 0, true },
    { "X", -1, false },
    { "D[", 0, false },
    { "D]", 0, false },
    { "D<", 0, false },
    { "D>", 0, false },
    { "Dq", 0, false },
};

class FavoritesGridKeys : public FavoritesScreenTest, public ::testing::WithParamInterface<GridKeyCase> { };

TEST_P(FavoritesGridKeys, MoveTheFocusByTheMeasuredColumns)
{
    QStringList ids;
    for (int i = 1; i <= 10; ++i)
        ids.append(QString::number(i));
    store(ContentType::live, ids);
    screen().measure(1000);
    bool used = false;
    for (const Key &key : keys(GetParam().keys))
        used = screen().handleKey(key);
    EXPECT_EQ(screen().focus(), GetParam().focus);
    EXPECT_EQ(used, GetParam().lastUsed);
}

INSTANTIATE_TEST_SUITE_P(Table, FavoritesGridKeys, ::testing::ValuesIn(kGridKeyCases));

TEST_F(FavoritesScreenTest, WithoutFavouritesTheKeysChangeNothingButTabStillCycles)
{
    EXPECT_TRUE(press(screen(), "RDEh"));
    EXPECT_EQ(screen().items()->count(), 0);
    EXPECT_EQ(home.state.route(), u"favorites"_qs);
    EXPECT_FALSE(home.app().toastVisible());
    EXPECT_TRUE(press(screen(), "T"));
    EXPECT_EQ(screen().tab(), 1);
    EXPECT_EQ(screen().focus(), -1);
}

TEST_F(FavoritesScreenTest, AFavouriteAddedElsewhereShowsAtOnce)
{
    EXPECT_EQ(screen().items()->count(), 0);
    store(ContentType::live, { u"8"_qs });
    EXPECT_EQ(shownIds(), QStringList { u"8"_qs });
    EXPECT_EQ(tabCounts(), (QList<int> { 1, 0, 0 }));
}

} // namespace
