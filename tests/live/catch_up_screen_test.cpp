#include "../app/AppStateFixture.h"
#include "LayerStandIn.h"
#include "DevPortal.h"
#include "app/Formatters.h"
#include "live/CatchUpScreenModel.h"
#include "sources/Catalog.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// The catch-up screen of a demo channel in virtual time; the demo's archive guide is real.
struct CatchUpRig {
    explicit CatchUpRig(const QString &channelId, bool withPlaylist = true)
    {
        if (withPlaylist)
            app.cacheDevice(portal.deviceRecord(u"00:1a:79:00:00:01"_qs));
        app.makeState({ Routes::Home {}, Routes::Live {} });
        app.clock.setNow(now);
        if (withPlaylist) {
            const SectionPtr live
                = runTask(catalog.load(*app.state->activePlaylist(), ContentType::live, false));
            for (const MediaItem &item : live->all) {
                if (item.id == channelId)
                    channel = item;
            }
        }
        app.state->push(Routes::Catchup { channel });
        open();
    }

    // A screen over the top entry, shown on top, in place of the one before.
    void open()
    {
        ScreenDeps deps = app.screenDeps();
        deps.catalog = &catalog;
        screen = std::make_unique<CatchUpScreenModel>(deps, app.topEntry());
        showAsLayerWould(*screen, *app.state);
    }

    bool loaded()
    {
        return QTest::qWaitFor([this] { return screen->guideLoaded(); }, 5000);
    }
    QList<EpgEntry> entries() const { return screen->dayEntries(); }
    QString route() const { return app.route(); }

    DevPortal portal { DevPortalOptions { .port = 0, .playlists = 1 }, DemoMedia {} };
    AppStateFixture app;
    // Midday, so today has programmes on both sides of now whatever the hour of the run.
    QDateTime now = QDateTime(QDate::currentDate(), QTime(12, 10));
    Catalog catalog { &app.http.http(), &app.clock, [] { return u"Uncategorized"_qs; } };
    MediaItem channel;
    std::unique_ptr<CatchUpScreenModel> screen;
};

QStringList dayNames(CategoryColumnModel *days)
{
    QStringList names;
    for (int row = 0; row < days->rowCount(); ++row)
        names << days->data(days->index(row), CategoryColumnModel::NameRole).toString();
    return names;
}

TEST(CatchUpScreen, ShowsTheEntrysChannelAndDaysFromConstruction)
{
    CatchUpRig rig("101");
    EXPECT_TRUE(rig.screen->hasPlaylist());
    EXPECT_EQ(rig.screen->channelName(), rig.channel.name);
    EXPECT_EQ(rig.screen->channelLogo(), rig.channel.logo.value_or(QString()));
    EXPECT_EQ(rig.screen->archiveText(), "3-day archive");
    EXPECT_EQ(dayNames(rig.screen->dayColumn()).size(), 4);
}

TEST(CatchUpScreen, ListsTheArchiveDaysAndFocusesTheProgrammeOnNow)
{
    CatchUpRig rig("101");
    EXPECT_EQ(rig.screen->archiveText(), "3-day archive");
    ASSERT_TRUE(rig.loaded());
    const QStringList names = dayNames(rig.screen->dayColumn());
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names.mid(0, 2), QStringList({ "Today", "Yesterday" }));
    EXPECT_EQ(names[2], formatDayShort(rig.screen->archive().days()[2]));
    const QList<EpgEntry> today = rig.entries();
    ASSERT_GE(rig.screen->focus(), 0);
    const EpgEntry &focused = today[rig.screen->focus()];
    EXPECT_TRUE(focused.start <= rig.now && rig.now < focused.end);
    EXPECT_EQ(rig.screen->programmes()[rig.screen->focus()].toMap()["onNow"].toBool(), true);
    EXPECT_GT(rig.screen->dayColumn()
                  ->data(rig.screen->dayColumn()->index(1), CategoryColumnModel::CountRole)
                  .toInt(),
        0);

    QSignalSpy scrolls(rig.screen.get(), &CatchUpScreenModel::programmeScrollRequested);
    rig.screen->selectDay(1);
    EXPECT_EQ(rig.screen->focus(), rig.entries().size() - 1) << "a past day starts on its last programme";
    rig.app.clock.advance(CatchUpScreenModel::kScrollDelayMs - 1);
    EXPECT_TRUE(scrolls.isEmpty());
    rig.app.clock.advance(1);
    ASSERT_EQ(scrolls.size(), 1);
    EXPECT_EQ(scrolls.first().first().toInt(), rig.screen->focus());
}

TEST(CatchUpScreen, Keys)
{
    struct Case {
        const char *keys;
        int pane;
        int day;
        int focusShift; // from the initial focus of the day; -99: the day's initial focus, -100: none
        bool used;
    };
    const QList<Case> cases {
        { "D", 1, 0, 1, true },
        { "U", 1, 0, -1, true },
        { "L", 0, 0, 0, true },
        { "LU", 0, 0, -100, true },
        { "LD", 0, 1, -99, true },
        { "LDE", 1, 1, -99, true },
        { "LR", 1, 0, 0, true },
        { "LT", 1, 0, 0, true },
        { "X", 1, 0, 0, false },
        { "S", 1, 0, 0, false },
        { "q", 1, 0, 0, false },
    };
    for (const Case &c : cases) {
        CatchUpRig rig("101");
        ASSERT_TRUE(rig.loaded());
        const int initial = rig.screen->focus();
        EXPECT_EQ(press(*rig.screen, c.keys), c.used) << c.keys;
        EXPECT_EQ(rig.screen->pane(), c.pane) << c.keys;
        EXPECT_EQ(rig.screen->day(), c.day) << c.keys;
        const int expected = c.focusShift == -99 ? CatchUpDays::initialFocus(rig.entries(), rig.now)
            : c.focusShift == -100               ? -1
                                                 : initial + c.focusShift;
        EXPECT_EQ(rig.screen->focus(), expected) << c.keys;
        EXPECT_EQ(rig.route(), "catchup") << c.keys;
    }
}

TEST(CatchUpScreen, DownFromNoFocusLandsOnTheSecondRow)
{
    CatchUpRig rig("101");
    ASSERT_TRUE(rig.loaded());
    rig.screen->selectDay(0);
    EXPECT_EQ(rig.screen->focus(), -1);
    press(*rig.screen, "D");
    EXPECT_EQ(rig.screen->focus(), 1);
    rig.screen->selectDay(0);
    press(*rig.screen, "U");
    EXPECT_EQ(rig.screen->focus(), 0);
}

TEST(CatchUpScreen, EnterReplaysTheFocusedProgrammeOnceWithoutResuming)
{
    CatchUpRig rig("101");
    ASSERT_TRUE(rig.loaded());
    press(*rig.screen, "E");
    ASSERT_EQ(rig.app.route(), "player");
    const PlayQueue queue = std::get<Routes::Player>(rig.app.state->current()).queue;
    EXPECT_EQ(queue.count(), 1);
    EXPECT_EQ(queue.start, 0);
    EXPECT_FALSE(queue.resume);
    const std::optional<PlayItem> item = queue.get(0);
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->catchup);
    EXPECT_EQ(item->key,
        QStringLiteral("1|CATCHUP|101|%1").arg(rig.entries()[rig.screen->focus()].start.toSecsSinceEpoch()));
}

TEST(CatchUpScreen, UpcomingProgrammesAreNotReplayed)
{
    CatchUpRig rig("101");
    ASSERT_TRUE(rig.loaded());
    press(*rig.screen, "D");
    ASSERT_FALSE(rig.screen->programmes()[rig.screen->focus()].toMap()["playable"].toBool());
    press(*rig.screen, "E");
    EXPECT_EQ(rig.app.route(), "catchup");
}

TEST(CatchUpScreen, AChannelWithoutArchiveGetsHourlySlotsAndTheUnavailableToast)
{
    CatchUpRig rig("102");
    ASSERT_TRUE(rig.loaded());
    EXPECT_TRUE(rig.screen->noGuide());
    EXPECT_EQ(rig.screen->archiveText(), "1-day archive");
    EXPECT_EQ(dayNames(rig.screen->dayColumn()).size(), 2);
    ASSERT_FALSE(rig.entries().isEmpty());
    EXPECT_EQ(rig.entries().first().title, rig.channel.name);
    rig.screen->play(0);
    EXPECT_EQ(rig.app.state->toast(), "Catch up not available for this channel");
    EXPECT_EQ(rig.app.route(), "catchup");
}

TEST(CatchUpScreen, WithoutAnActivePlaylistNothingLoadsAndNoKeyIsTaken)
{
    CatchUpRig rig("101", false);
    EXPECT_FALSE(rig.screen->hasPlaylist());
    EXPECT_FALSE(press(*rig.screen, "DE"));
    EXPECT_FALSE(rig.screen->guideLoaded());
}

// Closing the screen aborts the guide request, whose answer comes back while the screen
// is still being torn down.
TEST(CatchUpScreen, ClosedWhileTheGuideLoadsItAbortsTheRequestAndTakesNoAnswer)
{
    CatchUpRig rig("101");
    ASSERT_TRUE(rig.loaded());
    rig.portal.server().serve(u"/player_api.php"_qs, LoopbackResponse::stalled());
    rig.app.state->push(Routes::Catchup { rig.channel });
    rig.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.portal.server().inFlight() == 1; }, 5000));
    int announced = 0;
    QObject::connect(rig.screen.get(), &CatchUpScreenModel::guideChanged, [&announced] { ++announced; });
    rig.screen.reset();
    EXPECT_EQ(announced, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.portal.server().inFlight() == 0; }, 5000));
}

} // namespace
