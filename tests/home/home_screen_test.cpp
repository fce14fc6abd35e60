#include "HomeFixture.h"
#include "LayerStandIn.h"
#include "TaskOutcome.h"
#include "app/ErrorMessages.h"
#include "app/Formatters.h"
#include "home/HomeScreenModel.h"
#include "kit/Theme.h"

#include <QAbstractItemModelTester>

namespace {

const QString kLive = u"get_live_streams"_qs;
const QString kVod = u"get_vod_streams"_qs;
const QString kSeries = u"get_series"_qs;

class HomeScreenTest : public HomeFixture {
protected:
    HomeScreenModel &open(
        const std::optional<DeviceResponse> &record, const QList<Route> &stack = { Routes::Home {} })
    {
        screen.reset();
        state(record, stack);
        screen = std::make_unique<HomeScreenModel>(screenDeps(), fixture.topEntry());
        loaded = std::make_unique<QSignalSpy>(screen.get(), &HomeScreenModel::countsLoaded);
        showAsLayerWould(*screen, *fixture.state);
        return *screen;
    }

    bool waitLoaded(int runs = 1)
    {
        return QTest::qWaitFor([&] { return loaded->count() >= runs; }, 10000);
    }

    // The tile text of a type as loaded by a catalog of its own.
    QString countOf(ContentType type, const char *key)
    {
        Catalog own { &fixture.http.http(), &catalogClock, [] { return u"-"_qs; } };
        const SectionPtr section = runTask(own.load(provider.playlist(), type, false));
        return trCount(QString::fromLatin1(key), section->all.size(), { formatNumber(section->all.size()) });
    }

    QStringList counts() const
    {
        return { screen->liveCount(), screen->movieCount(), screen->seriesCount() };
    }

    std::unique_ptr<HomeScreenModel> screen;
    std::unique_ptr<QSignalSpy> loaded;
};

TEST_F(HomeScreenTest, CountsEveryTypeAndKeepsTheProviderExpiry)
{
    open(device());
    EXPECT_EQ(counts(), QStringList(3, u"Loading…"_qs));
    ASSERT_TRUE(waitLoaded());
    EXPECT_EQ(counts(),
        QStringList({ countOf(ContentType::live, "count_channels"),
            countOf(ContentType::movie, "count_movies"), countOf(ContentType::series, "count_series") }));
    EXPECT_EQ(screen->loadError(), QString());
    // account.json: exp_date 4102444800
    EXPECT_EQ(
        screen->accountStatus(), u"Expires: "_qs + formatDate(QDateTime::fromSecsSinceEpoch(4102444800)));
}

struct LoaderCase {
    const char *name;
    QStringList failing; // provider actions answering 500
    bool refused; // the login is refused
    QList<bool> counted; // live, movie, series
    QString banner; // "": none, "first": the first failure's message, else a message key
    bool restAsked; // movies and series were asked for
};

class CountsLoader : public HomeScreenTest, public ::testing::WithParamInterface<LoaderCase> { };

// A type whose load failed says so once the loader is done with it, never "Loading…" for ever.
TEST_P(CountsLoader, ShowsFailuresOnlyWhenNothingLoaded)
{
    const LoaderCase &c = GetParam();
    for (const QString &action : c.failing)
        provider.answer(action, LoopbackResponse::withStatus(500));
    if (c.refused)
        provider.answerFixture(XtreamProvider::kLogin, u"refused.json"_qs);
    QString firstError;
    if (c.banner == u"first") {
        Catalog own { &fixture.http.http(), &catalogClock, [] { return u"-"_qs; } };
        firstError = userMessage(runOutcome(own.load(provider.playlist(), ContentType::live, false)).error);
        ASSERT_FALSE(firstError.isEmpty());
    }
    provider.server().clearLog();
    open(device());
    ASSERT_TRUE(waitLoaded());
    const QStringList texts = counts();
    const char *keys[] = { "count_channels", "count_movies", "count_series" };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(texts[i], c.counted[i] ? countOf(kAllContentTypes[i], keys[i]) : u"—"_qs) << i;
    const QString banner = c.banner.isEmpty() ? QString()
        : c.banner == u"first"                ? firstError
                                              : ::tr(c.banner);
    EXPECT_EQ(screen->loadError(), banner);
    EXPECT_EQ(provider.requestCount(kVod) > 0 || provider.requestCount(kSeries) > 0, c.restAsked);
}

INSTANTIATE_TEST_SUITE_P(Cases, CountsLoader,
    ::testing::Values(LoaderCase { "moviesFail", { kVod }, false, { true, false, true }, {}, true },
        LoaderCase { "allFail", { kLive, kVod, kSeries }, false, { false, false, false }, u"first"_qs, true },
        LoaderCase { "authRefused", {}, true, { false, false, false }, u"err_xtream_auth"_qs, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(HomeScreenTest, RetryForcesOnlyTheLiveSection)
{
    open(device());
    ASSERT_TRUE(waitLoaded());
    const QList<int> before { provider.requestCount(kLive), provider.requestCount(kVod),
        provider.requestCount(kSeries) };
    screen->retry();
    ASSERT_TRUE(waitLoaded(2));
    EXPECT_EQ(QList<int>({ provider.requestCount(kLive), provider.requestCount(kVod),
                  provider.requestCount(kSeries) }),
        QList<int>({ before[0] + 1, before[1], before[2] }));
}

// A run replaced by a newer one, or whose screen is gone, ends without a trace.
TEST_F(HomeScreenTest, SupersededOrAbandonedRunsEndSilently)
{
    const auto liveAnswered = [this](int requests) {
        return QTest::qWaitFor(
            [&] { return provider.requestCount(kLive) >= requests && provider.server().inFlight() == 0; },
            10000);
    };
    provider.answer(kLive,
        LoopbackResponse::json(XtreamProvider::fixture(u"live_streams.json"_qs))
            .after(std::chrono::milliseconds(100)));
    open(device());
    screen->retry();
    ASSERT_TRUE(waitLoaded());
    ASSERT_TRUE(liveAnswered(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(loaded->count(), 1);

    const QPointer<HomeScreenModel> gone = screen.get();
    const int movies = provider.requestCount(kVod);
    screen->retry();
    screen.reset();
    EXPECT_TRUE(gone.isNull());
    ASSERT_TRUE(liveAnswered(3));
    QCoreApplication::processEvents();
    EXPECT_EQ(provider.requestCount(kVod), movies);
}

TEST_F(HomeScreenTest, NoticeShowsUntilThatExactTextIsDismissed)
{
    DeviceResponse record = device();
    record.notice = u" \t "_qs;
    open(record);
    EXPECT_EQ(screen->visibleNotice(), QString()) << "blanks only";

    record.notice = u"Maintenance tonight\nfrom 2 am"_qs;
    fixture.cacheDevice(record);
    open(record);
    EXPECT_EQ(screen->visibleNotice(), u"Maintenance tonight\nfrom 2 am"_qs) << "as received";
    QSignalSpy changed(screen.get(), &HomeScreenModel::noticeChanged);
    screen->dismissNotice();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(screen->visibleNotice(), QString());
    EXPECT_EQ(fixture.prefs->defaults().text(u"dismissed_notice"_qs), u"Maintenance tonight\nfrom 2 am"_qs);

    open(record);
    EXPECT_EQ(screen->visibleNotice(), QString()) << "stays hidden on the next start";
    record.notice = u"Maintenance tonight"_qs;
    fixture.cacheDevice(record);
    open(record);
    EXPECT_EQ(screen->visibleNotice(), u"Maintenance tonight"_qs) << "any other text shows again";
}

TEST_F(HomeScreenTest, UpdateFlagNeedsANewerVersion)
{
    const std::pair<std::optional<QString>, QString> cases[] = { { std::nullopt, {} }, { u"1.1.6"_qs, {} },
        { u"1.1.5"_qs, {} }, { u"1.1.6.1"_qs, u"1.1.6.1"_qs }, { u"1.2"_qs, u"1.2"_qs } };
    for (const auto &[latest, shown] : cases) {
        DeviceResponse record = device();
        record.app = AppInfo { .latest_version = latest };
        open(record);
        EXPECT_EQ(screen->latestVersion(), shown) << qPrintable(latest.value_or(u"none"_qs));
        EXPECT_EQ(
            screen->updateText(), shown.isEmpty() ? QString() : u"Version "_qs + shown + u" is available"_qs);
    }
}

TEST_F(HomeScreenTest, ExpiryTurnsAmberWithinAWeek)
{
    const std::pair<qint64, QColor> cases[] = { { 3 * 86400, Theme::amber() }, { 30 * 86400, Theme::text() },
        { -86400, Theme::amber() }, { HomeScreenModel::kExpiryWarningSecs, Theme::text() },
        { HomeScreenModel::kExpiryWarningSecs - 1, Theme::amber() } };
    for (const auto &[ahead, colour] : cases) {
        const qint64 expiry = kNow.toSecsSinceEpoch() + ahead;
        QByteArray account = XtreamProvider::fixture(u"account.json"_qs);
        account.replace("4102444800", QByteArray::number(expiry));
        provider.answer(XtreamProvider::kLogin, LoopbackResponse::json(account));
        catalog.reset();
        open(device());
        ASSERT_TRUE(waitLoaded());
        EXPECT_EQ(
            screen->accountStatus(), u"Expires: "_qs + formatDate(QDateTime::fromSecsSinceEpoch(expiry)));
        EXPECT_EQ(screen->accountStatusColor(), colour) << ahead;
    }
}

PlayItem recentItem(const QString &key, bool live, const QString &title)
{
    return { .key = key, .title = title, .url = u"http://127.0.0.1:9/"_qs + title, .live = live };
}

TEST_F(HomeScreenTest, ContinueWatchingListsThisPlaylistAndResumes)
{
    Prefs &prefs = *fixture.prefs;
    prefs.addRecent(recentItem(u"211|MOVIE|1"_qs, false, u"Other playlist"_qs));
    prefs.addRecent(recentItem(u"21|LIVE|7"_qs, true, u"Channel"_qs));
    prefs.addRecent(recentItem(u"21|MOVIE|2"_qs, false, u"Unwatched"_qs));
    prefs.addRecent(recentItem(u"21|MOVIE|3"_qs, false, u"Half seen"_qs));
    prefs.saveResume(u"21|MOVIE|3"_qs, 1800, 3600);
    open(device());
    RecentListModel *recents = screen->recents();
    QAbstractItemModelTester tester(recents, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(screen->recentCount(), 3);
    QList<std::tuple<QString, bool, double>> rows;
    for (int i = 0; i < 3; ++i) {
        const QModelIndex index = recents->index(i);
        rows.append({ index.data(RecentListModel::TitleRole).toString(),
            index.data(RecentListModel::LiveRole).toBool(),
            index.data(RecentListModel::ProgressRole).toDouble() });
    }
    EXPECT_EQ(rows,
        (QList<std::tuple<QString, bool, double>> {
            { u"Half seen"_qs, false, 0.5 }, { u"Unwatched"_qs, false, -1 }, { u"Channel"_qs, true, -1 } }));

    for (const int card : { 0, 1 }) {
        screen->playRecent(card);
        const Route route = fixture.state->current();
        const auto *player = std::get_if<Routes::Player>(&route);
        ASSERT_TRUE(player);
        EXPECT_EQ(player->queue.count(), 1);
        EXPECT_EQ(player->queue.start, 0);
        EXPECT_TRUE(player->queue.resume);
        EXPECT_EQ(player->queue.get(0), recents->items().at(card));
        EXPECT_EQ(player->queue.get(1), std::nullopt);
        fixture.state->pop();
    }

    // The player saves its last point only after this screen is back on top.
    QSignalSpy progress(recents, &QAbstractItemModel::dataChanged);
    prefs.saveResume(u"21|MOVIE|2"_qs, 900, 3600);
    ASSERT_EQ(progress.size(), 1);
    EXPECT_EQ(progress.first().at(2).value<QList<int>>(), QList<int> { RecentListModel::ProgressRole });
    EXPECT_EQ(recents->index(1).data(RecentListModel::ProgressRole).toDouble(), 0.25);

    screen->dismissRecent(1);
    EXPECT_EQ(screen->recentCount(), 2);
    const QList<PlayItem> recent = prefs.recent();
    EXPECT_FALSE(std::any_of(
        recent.begin(), recent.end(), [](const PlayItem &item) { return item.key == u"21|MOVIE|2"; }));
}

TEST_F(HomeScreenTest, TilesAndActionsOpenTheirScreens)
{
    open(device());
    const std::pair<const char *, const char *> cases[] = { { "live", "live" }, { "movies", "browse" },
        { "series", "browse" }, { "account", "activation" }, { "playlist", "playlistPicker" },
        { "search", "search" }, { "fav", "favorites" }, { "settings", "settings" } };
    for (const auto &[id, route] : cases) {
        screen->activate(QString::fromLatin1(id));
        EXPECT_EQ(fixture.route(), QLatin1String(route)) << id;
        fixture.state->pop();
    }
    screen->activate(u"movies"_qs);
    EXPECT_EQ(std::get<Routes::Browse>(fixture.state->current()).type, ContentType::movie);
    fixture.state->pop();
    screen->activate(u"exit"_qs);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(fixture.state->stack().size(), 1);
}

TEST_F(HomeScreenTest, OpensTheSiteOnlyAsAWebPage)
{
    const std::pair<std::optional<QString>, QString> cases[]
        = { { u"https://zelfor.example/app"_qs, u"https://zelfor.example/app"_qs },
              { std::nullopt, u"portal"_qs }, { u""_qs, u"portal"_qs }, { u"file:///etc/passwd"_qs, {} },
              { u"smb://host/share"_qs, {} }, { u"zelfor-handler:run"_qs, {} }, { u"http://"_qs, {} } };
    for (const auto &[site, expected] : cases) {
        DeviceResponse record = device();
        record.site_url = site;
        open(record);
        opened.clear();
        screen->openSite();
        const QList<QUrl> wanted = expected.isEmpty()
            ? QList<QUrl>()
            : QList<QUrl> { QUrl(expected == u"portal" ? fixture.portal : expected) };
        EXPECT_EQ(opened, wanted) << qPrintable(site.value_or(u"none"_qs));
    }
}

// The reload resets the catalog and counts again; lists still fresh on disk are not fetched.
TEST_F(HomeScreenTest, ReloadCountsAgainAfterAFailedPortal)
{
    portal.serve(kDevicePath, LoopbackResponse::withStatus(500));
    open(device());
    ASSERT_TRUE(waitLoaded());
    const QStringList before = counts();
    const int live = provider.requestCount(kLive);
    runTask(screen->reload());
    EXPECT_TRUE(fixture.state->toastVisible());
    EXPECT_NE(fixture.state->toastText(), ::tr(u"refreshing"_qs)) << "the failure replaced it";
    EXPECT_EQ(screen->movieCount(), u"Loading…"_qs);
    EXPECT_EQ(screen->accountStatus(), QString());
    ASSERT_TRUE(waitLoaded(2));
    EXPECT_EQ(counts(), before);
    EXPECT_EQ(provider.requestCount(kLive), live + 1);
    EXPECT_FALSE(screen->accountStatus().isEmpty());
    EXPECT_EQ(fixture.route(), u"home"_qs);
}

TEST_F(HomeScreenTest, ReloadOnADeviceWithoutPlaylistsGoesBackToTheStart)
{
    portal.serve(kDevicePath, LoopbackResponse::json(portalRecord(0)));
    open(device());
    runTask(screen->reload());
    EXPECT_EQ(fixture.route(), u"activation"_qs);
    EXPECT_EQ(fixture.state->stack().size(), 1);
}

TEST_F(HomeScreenTest, WithoutADeviceRecordTheStackIsReRooted)
{
    open(std::nullopt);
    EXPECT_FALSE(screen->ready());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.route() == u"activation"; }));
}

TEST_F(HomeScreenTest, PlaylistTileNamesThePlaylistAndCountsSeveral)
{
    open(device(2));
    EXPECT_EQ(screen->playlistName(), provider.playlist().name);
    EXPECT_EQ(screen->playlistsLine(), u"\u20682\u2069 × Playlist"_qs);
    DeviceResponse single = device(1);
    single.playlists[0].name.clear();
    open(single);
    EXPECT_EQ(screen->playlistName(), u"Playlist"_qs);
    EXPECT_EQ(screen->playlistsLine(), QString());
    EXPECT_EQ(screen->deviceAddress(), single.mac);
}

TEST_F(HomeScreenTest, ClockTicksEveryTenSecondsAndFollowsTheTimeFormat)
{
    open(device());
    QSignalSpy ticks(screen.get(), &HomeScreenModel::clockChanged);
    EXPECT_EQ(screen->clockText(), formatClock(kNow));
    EXPECT_EQ(screen->dayText(), formatDayLong(kNow));
    fixture.clock.advance(HomeScreenModel::kClockPeriodMs - 1);
    EXPECT_EQ(ticks.count(), 0);
    fixture.clock.advance(1);
    EXPECT_EQ(ticks.count(), 1);
    fixture.clock.advance(HomeScreenModel::kClockPeriodMs);
    EXPECT_EQ(ticks.count(), 2);
    fixture.prefs->setTimeFormat(u"12"_qs);
    EXPECT_EQ(ticks.count(), 3);
}

TEST(HomeLayout, SpacingSizeFactorAndRecentRowFollowTheHeight)
{
    const std::tuple<qreal, qreal, qreal> grids[]
        = { { 419, 14, 419.0 / 420 }, { 420, 20, 1 }, { 300, 14, 0.85 }, { 700, 20, 1.35 } };
    for (const auto &[height, spacing, factor] : grids) {
        EXPECT_EQ(HomeScreenModel::gridSpacing(height), spacing) << height;
        EXPECT_DOUBLE_EQ(HomeScreenModel::sizeFactor(height), factor) << height;
    }
    EXPECT_FALSE(HomeScreenModel::showsRecents(720, 3));
    EXPECT_TRUE(HomeScreenModel::showsRecents(721, 3));
    EXPECT_FALSE(HomeScreenModel::showsRecents(2000, 0));
}

} // namespace
