#include "ProgramServices.h"
#include "WalkRig.h"
#include "app/ChoiceDialog.h"
#include "app/Formatters.h"
#include "home/FavoritesScreenModel.h"
#include "home/HomeScreenModel.h"
#include "home/SearchScreenModel.h"
#include "home/SettingsScreenModel.h"
#include "live/CatchUpScreenModel.h"
#include "live/LiveScreenModel.h"
#include "shell/ScreenTable.h"
#include "vod/BrowseScreenModel.h"
#include "vod/MovieDetailsScreenModel.h"
#include "vod/SeriesDetailsScreenModel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

using K = Key::Kind;

// One walk through every screen, as a user takes it with the keyboard; each step checks
// where it is and something the user sees there.
class EndToEndWalk : public WalkRig {
protected:
    // The text of the item `child` inside the item `parent`.
    QString textIn(const QString &parent, const QString &child) const
    {
        QQuickItem *outer = named(parent);
        QQuickItem *inner = outer ? itemNamed(outer, child) : nullptr;
        return inner ? inner->property("text").toString() : QString();
    }

    // The splash screen asks the portal and gives way to home, whose tiles count the
    // demo content.
    void splashToHome()
    {
        EXPECT_EQ(route(), u"splash");
        shoot(QStringLiteral("splash"));
        ASSERT_TRUE(waitFor([this] { return top<HomeScreenModel>() != nullptr; }));
        ASSERT_EQ(route(), u"home");
        const auto counted
            = [](ContentType type) { return QString::number(DemoCatalog::titles(type).size()); };
        ASSERT_TRUE(waitFor([&] {
            return textIn(QStringLiteral("tile_live"), QStringLiteral("count"))
                       .contains(counted(ContentType::live))
                && textIn(QStringLiteral("tile_movies"), QStringLiteral("sub"))
                       .contains(counted(ContentType::movie))
                && textIn(QStringLiteral("tile_series"), QStringLiteral("sub"))
                       .contains(counted(ContentType::series));
        })) << qPrintable(textIn(QStringLiteral("tile_live"), QStringLiteral("count")));
        shoot(QStringLiteral("home"));
    }

    // Live TV: the first channel plays in the preview, full screen takes it over without
    // starting it again, and back on the list it still plays; H makes it a favourite.
    void liveTv()
    {
        ScreenTable *table = programServices().screens();
        ASSERT_TRUE(waitFor([table] { return table->preparedView() != nullptr; }));
        const QPointer<QQuickItem> madeAhead = table->preparedView();
        press({ K::tab, K::enter });
        ASSERT_EQ(route(), u"live");
        EXPECT_TRUE(waitFor([&] { return topScreen() && topScreen() == madeAhead.data(); }))
            << "home made Live TV ahead";
        ASSERT_TRUE(waitFor([this] { return top<LiveScreenModel>() && top<LiveScreenModel>()->loaded(); }));
        press({ K::down, K::enter });
        LiveScreenModel *live = top<LiveScreenModel>();
        ASSERT_TRUE(live->hasPreview());
        EXPECT_TRUE(framesArrive()) << "the preview plays"
                                    << ": " << playback();
        ASSERT_TRUE(waitFor([live] { return !live->guide()->loading(); }));
        shoot(QStringLiteral("live"));

        PlayerEngine *player = programServices().engine();
        const QString channel = player->itemKey();
        press(K::enter);
        ASSERT_EQ(route(), u"player");
        EXPECT_TRUE(framesArrive()) << "full screen shows the same stream"
                                    << ": " << playback();
        EXPECT_EQ(player->itemKey(), channel);
        shoot(QStringLiteral("player-live"));
        press(K::esc);
        ASSERT_EQ(route(), u"live");
        EXPECT_EQ(player->itemKey(), channel);
        EXPECT_TRUE(framesArrive()) << "back on the list the channel still plays"
                                    << ": " << playback();

        type(QStringLiteral("h"));
        EXPECT_TRUE(toastSays(QStringLiteral("added_to_favorites")));
        EXPECT_TRUE(programServices().prefs()->isFavorite(channel));
    }

    // Catch-up of the previewed channel: its archive opens on today's programmes and the
    // focused one plays.
    void catchUp()
    {
        type(QStringLiteral("c"));
        ASSERT_EQ(route(), u"catchup");
        ASSERT_TRUE(waitFor(
            [this] { return top<CatchUpScreenModel>() && top<CatchUpScreenModel>()->guideLoaded(); }));
        EXPECT_FALSE(top<CatchUpScreenModel>()->programmes().isEmpty());
        shoot(QStringLiteral("catchup"));
        press(K::enter);
        ASSERT_EQ(route(), u"player");
        PlayerEngine *player = programServices().engine();
        // The player screen starts the programme once it is shown.
        ASSERT_TRUE(waitFor([player] { return player->item() && player->item()->catchup; })) << playback();
        EXPECT_TRUE(framesArrive()) << "the programme plays"
                                    << ": " << playback();
        EXPECT_FALSE(player->hasError()) << qPrintable(player->errorText());
        shoot(QStringLiteral("player-catchup"));
        press({ K::esc, K::esc, K::esc });
        ASSERT_EQ(route(), u"home");
        EXPECT_TRUE(waitFor([player] { return !player->hasItem(); })) << "leaving live TV stops playback";
    }

    // From the home screen, whose focus stays where the last step left it, the keys move
    // to the tile or action `id` and Enter opens its screen.
    void openFromHome(std::initializer_list<Key::Kind> moves, const QString &id, const QString &routeName)
    {
        ASSERT_EQ(route(), u"home");
        press(moves);
        ASSERT_EQ(top<HomeScreenModel>()->focus(), id);
        press(K::enter);
        ASSERT_EQ(route(), routeName);
        ASSERT_TRUE(settled());
    }

    // Back with Esc until home is on top again.
    void backHome()
    {
        for (int step = 0; step < 4 && route() != u"home"; ++step)
            press(K::esc);
        ASSERT_EQ(route(), u"home");
        ASSERT_TRUE(settled());
    }

    BrowseScreenModel *browseLoaded()
    {
        BrowseScreenModel *browse = nullptr;
        waitFor([&] {
            return (browse = top<BrowseScreenModel>()) && browse->state() == BrowseScreenModel::Loaded;
        });
        return browse;
    }

    // Movies: the first poster's details, play, ten seconds on twice, and Esc leaves a
    // resume point that the details offer.
    void movies()
    {
        ASSERT_NO_FATAL_FAILURE(
            openFromHome({ K::right }, QStringLiteral("movies"), QStringLiteral("browse")));
        BrowseScreenModel *browse = browseLoaded();
        ASSERT_TRUE(browse);
        EXPECT_TRUE(showsText(browse->countText()));
        shoot(QStringLiteral("movies"));
        press({ K::down, K::enter });
        ASSERT_EQ(route(), u"movie");
        MovieDetailsScreenModel *movie = nullptr;
        ASSERT_TRUE(waitFor([&] { return (movie = top<MovieDetailsScreenModel>()) && movie->loaded(); }));
        EXPECT_TRUE(showsText(movie->title()));
        shoot(QStringLiteral("movie"));
        const QString key = itemKey(ContentType::movie, app->activePlaylist()->id, movie->item().id);

        press(K::enter);
        ASSERT_EQ(route(), u"player");
        PlayerEngine *player = programServices().engine();
        EXPECT_TRUE(framesArrive()) << "the film plays"
                                    << ": " << playback();
        ASSERT_TRUE(waitFor([player] { return player->isSeekable() && player->duration() > 0; }));
        shoot(QStringLiteral("player-movie"));
        press({ K::right, K::right });
        ASSERT_TRUE(waitFor([player] { return player->position() >= 20; })) << player->position();
        press(K::esc);
        ASSERT_EQ(route(), u"movie");
        const std::optional<Prefs::ResumePoint> resume = programServices().prefs()->resumePoint(key);
        ASSERT_TRUE(resume) << "Esc saves where the film was left";
        EXPECT_GE(resume->pos, 20);
        EXPECT_TRUE(showsText(::tr(QStringLiteral("resume_from"), { formatDuration(resume->pos) })));

        ASSERT_NO_FATAL_FAILURE(backHome());
    }

    // Series: the first series, its second season, the second episode plays in a queue of
    // exactly that season's episodes.
    void series()
    {
        ASSERT_NO_FATAL_FAILURE(
            openFromHome({ K::right }, QStringLiteral("series"), QStringLiteral("browse")));
        BrowseScreenModel *browse = browseLoaded();
        ASSERT_TRUE(browse);
        press(K::down);
        ASSERT_EQ(browse->focus(), 0);
        press(K::enter);
        ASSERT_EQ(route(), u"series");
        SeriesDetailsScreenModel *series = nullptr;
        ASSERT_TRUE(waitFor([&] {
            return (series = top<SeriesDetailsScreenModel>())
                && series->state() == SeriesDetailsScreenModel::Loaded;
        }));
        ASSERT_GE(series->seasonNumbers().size(), 2);
        press({ K::right, K::down });
        ASSERT_EQ(series->season(), 1);
        const QList<Episode> season = series->shownEpisodes();
        ASSERT_GE(season.size(), 2);
        EXPECT_TRUE(showsText(season[1].title));
        shoot(QStringLiteral("series"));

        press(K::enter);
        ASSERT_EQ(route(), u"player");
        const PlayQueue queue = std::get<Routes::Player>(app->current()).queue;
        EXPECT_EQ(queue.start, 1);
        QStringList queued, episodes;
        for (qint64 at = 0; at < queue.count(); ++at)
            queued.append(queue.get(at)->key);
        for (const Episode &episode : season)
            episodes.append(QStringLiteral("%1|EP|%2").arg(app->activePlaylist()->id).arg(episode.id));
        EXPECT_EQ(queued, episodes);
        EXPECT_TRUE(framesArrive()) << "the episode plays"
                                    << ": " << playback();
        EXPECT_EQ(programServices().engine()->itemKey(), episodes[1]);
        shoot(QStringLiteral("player-episode"));
        ASSERT_NO_FATAL_FAILURE(backHome());
    }

    // Search: typing part of a demo film's name finds it; Enter opens its details.
    void search()
    {
        ASSERT_NO_FATAL_FAILURE(
            openFromHome({ K::right }, QStringLiteral("search"), QStringLiteral("search")));
        SearchScreenModel *search = nullptr;
        ASSERT_TRUE(waitFor([&] {
            return (search = top<SearchScreenModel>()) && !search->loading() && search->fieldFocused();
        }));
        type(QStringLiteral("quiet"));
        EXPECT_EQ(search->query(), u"quiet");
        ASSERT_TRUE(showsText(QStringLiteral("Quiet Rooms")));
        shoot(QStringLiteral("search"));
        press(K::enter);
        ASSERT_EQ(route(), u"movie");
        EXPECT_EQ(std::get<Routes::Movie>(app->current()).item.name, u"Quiet Rooms");
        EXPECT_TRUE(showsText(QStringLiteral("Quiet Rooms")));
        ASSERT_NO_FATAL_FAILURE(backHome());
    }

    // Favourites: the channel made favourite on the live screen is listed.
    void favorites()
    {
        ASSERT_NO_FATAL_FAILURE(
            openFromHome({ K::down }, QStringLiteral("fav"), QStringLiteral("favorites")));
        FavoritesScreenModel *favorites = nullptr;
        ASSERT_TRUE(waitFor([&] { return (favorites = top<FavoritesScreenModel>()) != nullptr; }));
        const DemoCatalog::Title channel = DemoCatalog::titles(ContentType::live).first();
        EXPECT_GE(
            favorites->items()->rowOfKey(itemKey(ContentType::live, app->activePlaylist()->id, channel.id)),
            0);
        EXPECT_TRUE(showsText(channel.name));
        shoot(QStringLiteral("favorites"));
        ASSERT_NO_FATAL_FAILURE(backHome());
    }

    // Settings: the language changes to the other one and back; the whole window is laid
    // out for each, and settings and home are built anew with the focus they had.
    void settings()
    {
        ASSERT_NO_FATAL_FAILURE(
            openFromHome({ K::down, K::down }, QStringLiteral("settings"), QStringLiteral("settings")));
        ASSERT_TRUE(
            waitFor([this] { return top<SettingsScreenModel>() && named(QStringLiteral("setting_lang")); }));
        shoot(QStringLiteral("settings"));
        const QString other = rightToLeft() ? QStringLiteral("en") : QStringLiteral("ar");
        chooseLanguage(other);
        ASSERT_NO_FATAL_FAILURE(expectLaidOutFor(other));
        EXPECT_EQ(focusedTile(), u"lang");
        chooseLanguage(language());
        ASSERT_NO_FATAL_FAILURE(expectLaidOutFor(language()));
        press(K::esc);
        ASSERT_EQ(route(), u"home");
        EXPECT_EQ(top<HomeScreenModel>()->property("focus").toString(), u"settings");
    }

    // The id of the settings tile in focus, as the view reads it.
    QString focusedTile() const
    {
        SettingsScreenModel *settings = top<SettingsScreenModel>();
        const int focus = settings->property("focus").toInt();
        return settings->tileValues().value(focus).toMap().value(QStringLiteral("id")).toString();
    }

    // Opens the language tile's dialog with the keys and picks `code`.
    void chooseLanguage(const QString &code)
    {
        static const QStringList codes { QStringLiteral("system"), QStringLiteral("en"), QStringLiteral("fr"),
            QStringLiteral("ar") };
        ASSERT_TRUE(waitFor([this] { return top<SettingsScreenModel>() != nullptr; }));
        const qsizetype tiles = top<SettingsScreenModel>()->tileValues().size();
        for (qsizetype step = 0; step <= tiles && focusedTile() != u"lang"; ++step)
            press(K::right);
        ASSERT_EQ(focusedTile(), u"lang");
        press(K::enter);
        ASSERT_TRUE(app->dialog());
        // The dialog takes the keys once its view is up.
        ASSERT_TRUE(waitFor([this] { return top<ChoiceDialogController>() != nullptr; }));
        const int from = std::max(0, app->dialog()->selected());
        const int to = int(codes.indexOf(code));
        for (int step = from; step != to; step += to > from ? 1 : -1)
            press(to > from ? K::down : K::up);
        press(K::enter);
        EXPECT_EQ(programServices().prefs()->language(), code);
        EXPECT_FALSE(app->dialog());
    }

    // The settings screen is back on top, its device tile at the reading start of `code`.
    void expectLaidOutFor(const QString &code)
    {
        ASSERT_EQ(route(), u"settings");
        ASSERT_TRUE(waitFor([&] {
            QQuickItem *device = named(QStringLiteral("setting_device"));
            const bool atRight = device && device->mapToScene({}).x() > window->width() / 2;
            return top<SettingsScreenModel>() && atRight == (code == u"ar");
        }));
    }

    // Esc on the lone home screen hints, a second Esc quits the application.
    void quit()
    {
        ASSERT_EQ(app->stack().size(), 1);
        bool hinted = false;
        QTimer::singleShot(0, [&] {
            press(K::esc);
            hinted = toastSays(QStringLiteral("quit_hint"));
            shoot(QStringLiteral("home-quit-hint"), true);
            press(K::esc);
        });
        // Stands in for the event loop of the program; a quit ends it with 0.
        QTimer stuck;
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        stuck.start(kStepMs);
        EXPECT_EQ(QCoreApplication::exec(), 0) << "a second Esc quits";
        EXPECT_TRUE(hinted);
    }
};

TEST_P(EndToEndWalk, EveryScreenByKeys)
{
    QElapsedTimer took;
    took.start();
    ASSERT_NO_FATAL_FAILURE(splashToHome());
    ASSERT_NO_FATAL_FAILURE(liveTv());
    ASSERT_NO_FATAL_FAILURE(catchUp());
    ASSERT_NO_FATAL_FAILURE(movies());
    ASSERT_NO_FATAL_FAILURE(series());
    ASSERT_NO_FATAL_FAILURE(search());
    ASSERT_NO_FATAL_FAILURE(favorites());
    ASSERT_NO_FATAL_FAILURE(settings());
    ASSERT_NO_FATAL_FAILURE(quit());
    RecordProperty("walk_ms", int(took.elapsed()));
}

INSTANTIATE_TEST_SUITE_P(Languages, EndToEndWalk, ::testing::Values("en", "ar"),
    [](const ::testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

} // namespace
