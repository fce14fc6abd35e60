#include "AppStateFixture.h"
#include "app/Localization.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

struct RootRow {
    const char *name;
    std::optional<QList<qint64>> playlists; // nothing: no device record
    std::optional<qint64> saved;
    QString route;
    std::optional<qint64> active;
};

class RootRouteTest : public ::testing::TestWithParam<RootRow> { };

TEST_P(RootRouteTest, RouteAndActivePlaylistAgree)
{
    const RootRow &row = GetParam();
    AppStateFixture fixture;
    if (row.playlists)
        fixture.cacheDevice(AppStateFixture::device(*row.playlists));
    if (row.saved)
        fixture.prefs->setSelectedPlaylistId(*row.saved);
    AppState &state = fixture.makeState();

    EXPECT_EQ(routeName(state.rootRoute()), row.route);
    const std::optional<Playlist> active = state.activePlaylist();
    ASSERT_EQ(active.has_value(), row.active.has_value());
    if (active)
        EXPECT_EQ(active->id, *row.active);
    if (isRoute<Routes::Home>(state.rootRoute()))
        EXPECT_TRUE(active.has_value());
}

INSTANTIATE_TEST_SUITE_P(Table, RootRouteTest,
    ::testing::Values(RootRow { "NoDevice", std::nullopt, 7, "activation", std::nullopt },
        RootRow { "NoPlaylists", QList<qint64> {}, std::nullopt, "activation", std::nullopt },
        RootRow { "OneUnsaved", QList<qint64> { 5 }, std::nullopt, "home", 5 },
        RootRow { "OneOtherSaved", QList<qint64> { 5 }, 9, "home", 5 },
        RootRow { "TwoUnsaved", QList<qint64> { 7, 9 }, std::nullopt, "playlistPicker", std::nullopt },
        RootRow { "TwoSecondSaved", QList<qint64> { 7, 9 }, 9, "home", 9 },
        RootRow { "TwoUnknownSaved", QList<qint64> { 7, 9 }, 4, "playlistPicker", std::nullopt },
        RootRow { "MinusOneMatchesUnsaved", QList<qint64> { 3, -1 }, std::nullopt, "home", -1 }),
    [](const auto &info) { return std::string(info.param.name); });

struct ActiveFormRow {
    const char *name;
    QString type;
    QString url;
    QString expectedType;
    OptText expectedHost;
};

class ActivePlaylistFormTest : public ::testing::TestWithParam<ActiveFormRow> { };

TEST_P(ActivePlaylistFormTest, GetPhpLinksBecomeAccounts)
{
    const ActiveFormRow &row = GetParam();
    AppStateFixture fixture;
    DeviceResponse device = AppStateFixture::device({});
    Playlist playlist = AppStateFixture::playlist(4, row.url);
    playlist.type = row.type;
    device.playlists = { playlist };
    fixture.cacheDevice(device);
    const std::optional<Playlist> active = fixture.makeState().activePlaylist();

    ASSERT_TRUE(active.has_value());
    EXPECT_EQ(active->type, row.expectedType);
    EXPECT_EQ(active->host, row.expectedHost);
    if (row.expectedType == row.type)
        EXPECT_EQ(*active, playlist);
    else
        EXPECT_EQ(active->url, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Table, ActivePlaylistFormTest,
    ::testing::Values(
        ActiveFormRow { "GetPhp", "m3u", "http://127.0.0.1:8080/get.php?username=u&password=p&type=m3u_plus",
            "xtream", QStringLiteral("http://127.0.0.1:8080") },
        ActiveFormRow {
            "PlainM3u", "m3u", "http://127.0.0.1:8080/list.m3u?username=u&password=p", "m3u", std::nullopt },
        ActiveFormRow {
            "GetPhpWithoutPassword", "m3u", "http://127.0.0.1:8080/get.php?username=u", "m3u", std::nullopt },
        ActiveFormRow { "AlreadyXtream", "xtream", "http://127.0.0.1:8080/get.php?username=u&password=p",
            "xtream", std::nullopt }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(AppStateStack, PushPopReplaceKeepEntriesAndTop)
{
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    QAbstractItemModelTester tester(
        state.routeStack(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy stackSpy(&state, &AppState::stackChanged);
    const RouteStack &model = *state.routeStack();
    ASSERT_EQ(state.stack().size(), 1);
    EXPECT_TRUE(isRoute<Routes::Splash>(state.current()));

    state.pop();
    EXPECT_EQ(state.stack().size(), 1) << "the last entry is never popped";
    EXPECT_EQ(stackSpy.count(), 0);

    state.replace(Routes::Home {});
    state.push(Routes::Browse { ContentType::series });
    const QUuid bottom = state.stack().first().id;
    state.push(Routes::Browse { ContentType::series });
    ASSERT_EQ(model.count(), 3);
    EXPECT_NE(state.stack().at(1).id, state.stack().at(2).id) << "same route, different entries";
    EXPECT_EQ(model.data(model.index(0), RouteStack::EntryIdRole), bottom.toString(QUuid::WithoutBraces));
    EXPECT_EQ(model.data(model.index(1), RouteStack::IsTopRole), false);
    EXPECT_EQ(model.data(model.index(2), RouteStack::IsTopRole), true);
    EXPECT_EQ(model.data(model.index(2), RouteStack::NameRole), QStringLiteral("browse"));
    const auto payload = state.routeOf(state.stack().at(2).id);
    ASSERT_TRUE(payload && isRoute<Routes::Browse>(*payload));
    EXPECT_EQ(std::get<Routes::Browse>(*payload).type, ContentType::series);

    state.pop();
    EXPECT_EQ(model.data(model.index(1), RouteStack::IsTopRole), true);
    state.replace(Routes::Activation {});
    ASSERT_EQ(state.stack().size(), 1);
    EXPECT_NE(state.stack().first().id, bottom);
    EXPECT_TRUE(isRoute<Routes::Activation>(state.current()));
    EXPECT_EQ(stackSpy.count(), 5);
}

TEST(AppStateToast, NewerToastGetsItsFullTime)
{
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    state.showToast(QStringLiteral("first"));
    fixture.clock.advance(1000);
    state.showToast(QStringLiteral("second"));
    EXPECT_EQ(state.toast(), QStringLiteral("second"));

    fixture.clock.advance(1300); // the first toast's 2.3 s are over
    EXPECT_EQ(state.toast(), QStringLiteral("second"));
    fixture.clock.advance(999);
    EXPECT_EQ(state.toast(), QStringLiteral("second"));
    fixture.clock.advance(1);
    EXPECT_EQ(state.toast(), std::nullopt);
    EXPECT_FALSE(state.toastVisible());
}

struct VersionRow {
    OptText version;
    QString other;
    bool newer;
};

class IsVersionTest : public ::testing::TestWithParam<VersionRow> { };

TEST_P(IsVersionTest, ComparesDottedNumbers)
{
    const VersionRow &row = GetParam();
    EXPECT_EQ(isVersion(row.version, row.other), row.newer)
        << row.version.value_or(QStringLiteral("<none>")).toStdString() << " vs " << row.other.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, IsVersionTest,
    ::testing::Values(VersionRow { QStringLiteral("1.1.10"), QStringLiteral("1.1.6"), true },
        VersionRow { QStringLiteral("1.1.6"), QStringLiteral("1.1.6"), false },
        VersionRow { QStringLiteral(""), QStringLiteral("1.1.6"), false },
        VersionRow { std::nullopt, QStringLiteral("1.1.6"), false },
        VersionRow { QStringLiteral("1.2.x"), QStringLiteral("1.2"), false },
        VersionRow { QStringLiteral("1.2"), QStringLiteral("1.2.0"), false },
        VersionRow { QStringLiteral("1.10"), QStringLiteral("1.9"), true },
        VersionRow { QStringLiteral("2.0"), QStringLiteral("1.9.9"), true },
        VersionRow { QStringLiteral("1.9.9"), QStringLiteral("2.0"), false },
        VersionRow { QStringLiteral("1..2"), QStringLiteral("1.1"), true },
        VersionRow { QStringLiteral("1.1.6.1"), QStringLiteral("1.1.6"), true },
        VersionRow { QStringLiteral("1.1. 7"), QStringLiteral("1.1.6"), false }));

TEST(AppStateLanguage, StoresAppliesAndAdvancesTick)
{
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    const QString before = activeLanguage();
    QSignalSpy tickSpy(&state, &AppState::langTickChanged);

    state.setLanguage(QStringLiteral("ar"));
    state.setLanguage(QStringLiteral("fr"));
    EXPECT_EQ(state.langTick(), 2);
    EXPECT_EQ(tickSpy.count(), 2);
    EXPECT_EQ(activeLanguage(), QStringLiteral("fr"));
    EXPECT_EQ(Defaults(fixture.prefs->defaults().filePath()).text(QStringLiteral("language")),
        QStringLiteral("fr"));
    EXPECT_TRUE(isRoute<Routes::Splash>(state.current())) << "the stack stays";
    setActiveLanguage(before);
}

TEST(AppStateFullScreen, ToggleFollowsTheWindowState)
{
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    QWindow window;
    window.resize(320, 200);
    window.show();
    state.observeWindow(&window);
    ASSERT_FALSE(state.isFullScreen());

    AppState::toggleFullScreen();
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.isFullScreen(); }));
    AppState::toggleFullScreen();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !state.isFullScreen(); }));
    window.showFullScreen();
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.isFullScreen(); }))
        << "a change made elsewhere is seen too";
}

} // namespace
