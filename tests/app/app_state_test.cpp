#include "AppStateFixture.h"

#include <QAbstractItemModelTester>
#include <QWindow>

namespace {

TEST(AppStateRoot, RouteAndActivePlaylistAgree)
{
    using Ids = std::optional<QList<qint64>>; // nothing: no device record
    const std::tuple<Ids, std::optional<qint64>, QString, std::optional<qint64>> rows[]
        = { { std::nullopt, 7, u"activation"_qs, std::nullopt },
              { Ids { {} }, std::nullopt, u"activation"_qs, std::nullopt },
              { Ids { { 5 } }, std::nullopt, u"home"_qs, 5 }, { Ids { { 5 } }, 9, u"home"_qs, 5 },
              { Ids { { 7, 9 } }, std::nullopt, u"playlistPicker"_qs, std::nullopt },
              { Ids { { 7, 9 } }, 9, u"home"_qs, 9 },
              { Ids { { 7, 9 } }, 4, u"playlistPicker"_qs, std::nullopt },
              { Ids { { 3, -1 } }, std::nullopt, u"home"_qs, -1 } };
    for (const auto &[ids, saved, route, active] : rows) {
        SCOPED_TRACE(
            testing::Message() << (ids ? ids->size() : -1) << " playlists, saved " << saved.value_or(-2));
        AppStateFixture fixture;
        if (ids)
            fixture.cacheDevice(AppStateFixture::device(*ids));
        if (saved)
            fixture.prefs->setSelectedPlaylistId(*saved);
        AppState &state = fixture.makeState();
        EXPECT_EQ(routeName(state.rootRoute()), route);
        const std::optional<Playlist> playlist = state.activePlaylist();
        EXPECT_EQ(playlist ? std::optional(playlist->id) : std::nullopt, active);
    }
}

TEST(AppStateRoot, GetPhpLinksWithCredentialsBecomeAccounts)
{
    const QString base = u"http://127.0.0.1:8080"_qs;
    const auto listed = [](const QString &type, const QString &url) {
        Playlist playlist = AppStateFixture::playlist(4, url);
        playlist.type = type;
        return playlist;
    };
    const Playlist account { .id = 4,
        .name = u"List 4"_qs,
        .type = u"xtream"_qs,
        .host = base,
        .username = u"u"_qs,
        .password = u"p"_qs };
    const std::pair<Playlist, std::optional<Playlist>> rows[] = { // nothing: taken as it is
        { listed(u"m3u"_qs, base + u"/get.php?username=u&password=p&type=m3u_plus"_qs), account },
        { listed(u"m3u"_qs, base + u"/list.m3u?username=u&password=p"_qs), std::nullopt },
        { listed(u"m3u"_qs, base + u"/get.php?username=u"_qs), std::nullopt },
        { listed(u"xtream"_qs, base + u"/get.php?username=u&password=p"_qs), std::nullopt }
    };
    for (const auto &[stored, active] : rows) {
        AppStateFixture fixture;
        fixture.cacheDevice({ .playlists = { stored } });
        EXPECT_EQ(fixture.makeState().activePlaylist(), active.value_or(stored)) << qPrintable(*stored.url);
    }
}

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

    EXPECT_FALSE(state.canGoBack());
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
    const Route &payload = state.stack().at(2).route;
    ASSERT_TRUE(isRoute<Routes::Browse>(payload));
    EXPECT_EQ(std::get<Routes::Browse>(payload).type, ContentType::series);

    EXPECT_TRUE(state.canGoBack());
    state.pop();
    EXPECT_EQ(model.data(model.index(1), RouteStack::IsTopRole), true);
    state.replace(Routes::Activation {});
    ASSERT_EQ(state.stack().size(), 1);
    EXPECT_FALSE(state.canGoBack());
    EXPECT_NE(state.stack().first().id, bottom);
    EXPECT_TRUE(isRoute<Routes::Activation>(state.current()));
    EXPECT_EQ(stackSpy.count(), 5);
}

TEST(AppStateToast, NewerToastGetsItsFullTime)
{
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    state.showToast(u"first"_qs);
    fixture.clock.advance(1000);
    state.showToast(u"second"_qs);
    EXPECT_EQ(state.toast(), u"second"_qs);

    fixture.clock.advance(1300); // the first toast's 2.3 s are over
    EXPECT_EQ(state.toast(), u"second"_qs);
    fixture.clock.advance(999);
    EXPECT_EQ(state.toast(), u"second"_qs);
    fixture.clock.advance(1);
    EXPECT_EQ(state.toast(), std::nullopt);
    EXPECT_FALSE(state.toastVisible());
}

TEST(AppStateVersion, ComparesDottedNumbers)
{
    const std::tuple<OptText, const char *, bool> rows[] = { { u"1.1.10"_qs, "1.1.6", true },
        { u"1.1.6"_qs, "1.1.6", false }, { u""_qs, "1.1.6", false }, { std::nullopt, "1.1.6", false },
        { u"1.2.x"_qs, "1.2", false }, { u"1.2"_qs, "1.2.0", false }, { u"1.10"_qs, "1.9", true },
        { u"2.0"_qs, "1.9.9", true }, { u"1.9.9"_qs, "2.0", false }, { u"1..2"_qs, "1.1", true },
        { u"1.1.6.1"_qs, "1.1.6", true }, { u"1.1. 7"_qs, "1.1.6", false } };
    for (const auto &[version, other, newer] : rows)
        EXPECT_EQ(isVersion(version, QString::fromLatin1(other)), newer)
            << qPrintable(version.value_or(u"<none>"_qs)) << " vs " << other;
}

TEST(AppStateLanguage, StoresAppliesAndAdvancesTick)
{
    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    const QString before = activeLanguage();
    QSignalSpy tickSpy(&state, &AppState::langTickChanged);

    state.setLanguage(u"ar"_qs);
    state.setLanguage(u"fr"_qs);
    EXPECT_EQ(state.langTick(), 2);
    EXPECT_EQ(tickSpy.count(), 2);
    EXPECT_EQ(activeLanguage(), u"fr"_qs);
    EXPECT_EQ(Defaults(fixture.prefs->defaults().filePath()).text(u"language"_qs), u"fr"_qs);
    EXPECT_TRUE(isRoute<Routes::Splash>(state.current())) << "the stack stays";
    setActiveLanguage(before);
}

// Leaving full screen gives back the state the window had, maximised or not.
TEST(AppStateFullScreen, ToggleFollowsTheWindowStateAndRestoresIt)
{
    for (const Qt::WindowState before : { Qt::WindowNoState, Qt::WindowMaximized }) {
        SCOPED_TRACE(int(before));
        AppStateFixture fixture;
        AppState &state = fixture.makeState();
        QWindow window;
        window.resize(320, 200);
        window.show();
        window.setWindowStates(before);
        state.observeWindow(&window);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.windowStates() == before; }));
        ASSERT_FALSE(state.isFullScreen());

        AppState::toggleFullScreen();
        EXPECT_TRUE(QTest::qWaitFor([&] { return state.isFullScreen(); }));
        AppState::toggleFullScreen();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !state.isFullScreen(); }));
        EXPECT_EQ(window.windowStates(), before);
        window.showFullScreen();
        EXPECT_TRUE(QTest::qWaitFor([&] { return state.isFullScreen(); }))
            << "a change made elsewhere is seen too";
    }
}

} // namespace
