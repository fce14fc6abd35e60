#include "ActivationFixture.h"
#include "RunTask.h"
#include "app/Prefs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

namespace {

// The lists may fail; the login before them is what matters here.
QCoro::Task<> loadQuietly(Catalog &catalog, Playlist playlist)
{
    try {
        co_await catalog.load(playlist, ContentType::live, false);
    } catch (...) {
    }
}

Key keyOf(QChar c)
{
    switch (c.unicode()) {
    case 'L':
        return { Key::Kind::left, {} };
    case 'R':
        return { Key::Kind::right, {} };
    case 'U':
        return { Key::Kind::up, {} };
    default:
        return Key::character(QString(c));
    }
}

struct FocusCase {
    const char *name;
    int playlists; // -1: no device record
    const char *keys;
    int focus;
};

class ActivationFocus : public ActivationFixture, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(ActivationFocus, ArrowsMoveOverTheShownButtons)
{
    if (GetParam().playlists >= 0)
        fixture.cacheDevice(AppStateFixture::device(QList<qint64>(GetParam().playlists, 7)));
    start();
    for (QChar c : QString::fromLatin1(GetParam().keys))
        EXPECT_TRUE(screen->handleKey(keyOf(c)));
    EXPECT_EQ(screen->focus(), GetParam().focus);
}

INSTANTIATE_TEST_SUITE_P(Keys, ActivationFocus,
    ::testing::Values(FocusCase { "noDeviceRightSkipsContinue", -1, "R", 2 },
        FocusCase { "noDeviceLeftFromSettingsBackToRefresh", -1, "RL", 0 },
        FocusCase { "noPlaylistsRightSkipsContinue", 0, "R", 2 },
        FocusCase { "noPlaylistsStopsAtSettings", 0, "RRR", 2 },
        FocusCase { "stopsAtRefresh", 0, "LL", 0 },
        FocusCase { "playlistsRightToContinue", 1, "R", 1 },
        FocusCase { "playlistsRightTwiceToSettings", 1, "RR", 2 },
        FocusCase { "playlistsStopAtSettings", 1, "RRRR", 2 },
        FocusCase { "playlistsLeftFromSettingsToContinue", 1, "RRL", 1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, OtherKeysFallToTheRouter)
{
    start();
    for (const Key &key : { Key { Key::Kind::up, {} }, Key { Key::Kind::esc, {} }, Key::character(QStringLiteral("f")) })
        EXPECT_FALSE(screen->handleKey(key));
    EXPECT_EQ(screen->focus(), 0);
}

struct EnterCase {
    const char *name;
    int rights;
    int depth;
    const char *route;
    int stackSize;
};

class ActivationEnter : public ActivationFixture, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(ActivationEnter, RunsTheFocusedButton)
{
    fixture.cacheDevice(AppStateFixture::device({ 7 }));
    start(GetParam().depth);
    for (int i = 0; i < GetParam().rights; ++i)
        screen->handleKey({ Key::Kind::right, {} });
    EXPECT_TRUE(screen->handleKey({ Key::Kind::enter, {} }));
    EXPECT_EQ(route(), QString::fromLatin1(GetParam().route));
    EXPECT_EQ(fixture.state->stack().size(), GetParam().stackSize);
}

INSTANTIATE_TEST_SUITE_P(Keys, ActivationEnter,
    ::testing::Values(EnterCase { "continueAloneGoesToRoot", 1, 1, "home", 1 },
        EnterCase { "continuePushedGoesBack", 1, 2, "home", 1 },
        EnterCase { "settingsPushes", 2, 1, "settings", 2 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, EnterOnRefreshAsksThePortal)
{
    server.serve(kDevicePath, LoopbackResponse::json(portalRecord(0)));
    start();
    EXPECT_TRUE(screen->handleKey({ Key::Kind::space, {} }));
    EXPECT_TRUE(screen->busy());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !screen->busy(); }));
    EXPECT_EQ(server.requestCount(kDevicePath), 1);
}

struct DerivedCase {
    const char *name;
    bool hasDevice;
    QString mac;
    OptText siteUrl;
    int playlists;
    OptText email;
    OptText whatsapp;
    QString manage; // "@" stands for the portal base address
    QString stepOne;
    QString titleKey;
    QString emailLine;
    QString whatsappLine;
};

class ActivationDerived : public ActivationFixture, public ::testing::WithParamInterface<DerivedCase> {};

TEST_P(ActivationDerived, FollowTheDeviceRecord)
{
    const DerivedCase &row = GetParam();
    if (row.hasDevice) {
        DeviceResponse device = AppStateFixture::device(QList<qint64>(row.playlists, 7));
        device.mac = row.mac;
        device.site_url = row.siteUrl;
        if (row.email || row.whatsapp)
            device.support = Support { row.whatsapp, row.email };
        fixture.cacheDevice(device);
    }
    start();
    const QString base = fixture.portal;
    const QString expectedMac = row.mac.isEmpty() ? fixture.prefs->deviceMac() : row.mac;
    EXPECT_FALSE(expectedMac.isEmpty());
    EXPECT_EQ(screen->deviceAddress(), expectedMac);
    EXPECT_EQ(screen->deviceKey(), row.hasDevice ? QStringLiteral("483920") : QString());
    EXPECT_EQ(screen->manageAddress(), QString(row.manage).replace(QLatin1Char('@'), base));
    EXPECT_EQ(screen->stepOne(), QString(row.stepOne).replace(QLatin1Char('@'), base.mid(7)));
    EXPECT_EQ(screen->titleKey(), row.titleKey);
    EXPECT_EQ(screen->canContinue(), row.playlists > 0);
    EXPECT_EQ(screen->emailLine(), row.emailLine);
    EXPECT_EQ(screen->whatsappLine(), row.whatsappLine);
}

const QString kStep = QStringLiteral("On your phone or computer, open %1 (or scan the QR code)");

INSTANTIATE_TEST_SUITE_P(Values, ActivationDerived,
    ::testing::Values(
        DerivedCase { "noRecord", false, {}, {}, 0, {}, {}, u"@/manage"_qs, kStep.arg(u"@"_qs),
            u"act_title_setup"_qs, {}, {} },
        DerivedCase { "httpsSiteShownWithoutScheme", true, u"00:1a:79:aa:bb:cc"_qs, u"https://tv.example.test"_qs, 2,
            u"help@example.test"_qs, u"+212600000000"_qs, u"https://tv.example.test/manage"_qs,
            kStep.arg(u"tv.example.test"_qs), u"act_title_device"_qs, u"Email: help@example.test"_qs,
            u"WhatsApp: \u2066+212600000000\u2069"_qs },
        DerivedCase { "slashKeptAndEverySchemeRemoved", true, u"m"_qs, u"http://a.test/x/?next=https://b.test"_qs, 1,
            {}, {}, u"http://a.test/x/?next=https://b.test/manage"_qs, kStep.arg(u"a.test/x/?next=b.test"_qs),
            u"act_title_device"_qs, {}, {} },
        DerivedCase { "emptySiteAndMacFallBack", true, {}, u""_qs, 0, u"no-at-sign"_qs, u""_qs, u"@/manage"_qs,
            kStep.arg(u"@"_qs), u"act_title_no_playlist"_qs, {}, {} }),
    [](const auto &info) { return std::string(info.param.name); });

struct RefreshCase {
    const char *name;
    int depth;
    bool silent;
    LoopbackResponse answer;
    QString toast; // empty: none
    const char *route;
    bool resets;
};

class ActivationRefresh : public ActivationFixture, public ::testing::WithParamInterface<RefreshCase> {};

TEST_P(ActivationRefresh, ToastsOrReRoots)
{
    const RefreshCase &row = GetParam();
    // The catalog holds a provider account until it is reset.
    LoopbackServer provider;
    provider.serve(QStringLiteral("/player_api.php"),
        LoopbackResponse::json(R"({"user_info":{"auth":1,"status":"Active"},"server_info":{}})"));
    Playlist xtream;
    xtream.type = QStringLiteral("xtream");
    xtream.host = provider.baseUrl();
    xtream.username = xtream.password = QStringLiteral("u");
    runTask(loadQuietly(catalog, xtream));
    ASSERT_TRUE(catalog.account(xtream));

    server.serve(kDevicePath, row.answer);
    start(row.depth);
    const QString before = route();
    runTask(screen->refresh(row.silent));
    EXPECT_FALSE(screen->busy());
    EXPECT_EQ(fixture.state->toastText(), row.toast);
    EXPECT_EQ(route(), row.route ? QString::fromLatin1(row.route) : before);
    EXPECT_EQ(fixture.state->stack().size(), row.depth == 1 || !row.route ? row.depth : 1);
    EXPECT_EQ(catalog.account(xtream).has_value(), !row.resets);
}

const LoopbackResponse kBlocked = LoopbackResponse::json(R"({"error":{"message":"Device blocked"}})", 403);

INSTANTIATE_TEST_SUITE_P(Outcomes, ActivationRefresh,
    ::testing::Values(
        RefreshCase { "aloneWithPlaylistReRoots", 1, false, LoopbackResponse::json(portalRecord(1)), {}, "home", true },
        RefreshCase { "aloneWithTwoPlaylistsPicks", 1, true, LoopbackResponse::json(portalRecord(2)), {},
            "playlistPicker", true },
        RefreshCase { "aloneWithoutPlaylists", 1, false, LoopbackResponse::json(portalRecord(0)),
            u"Still no active playlist for this device"_qs, "activation", false },
        RefreshCase { "pushedWithPlaylists", 2, false, LoopbackResponse::json(portalRecord(1)), u"Up to date"_qs,
            nullptr, false },
        RefreshCase { "pushedSilent", 2, true, LoopbackResponse::json(portalRecord(1)), {}, nullptr, false },
        RefreshCase { "silentWithoutPlaylists", 1, true, LoopbackResponse::json(portalRecord(0)), {}, "activation",
            false },
        RefreshCase { "portalError", 1, false, kBlocked, u"Server: Device blocked"_qs, "activation", false },
        RefreshCase { "silentPortalError", 1, true, kBlocked, {}, "activation", false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, FailureKeepsTheRecordAndMarksOffline)
{
    fixture.cacheDevice(AppStateFixture::device({}));
    server.serve(kDevicePath, LoopbackResponse::withStatus(500));
    start();
    QSignalSpy offline(screen.get(), &ActivationScreen::offlineChanged);
    runTask(screen->refresh(false));
    EXPECT_TRUE(screen->offline());
    EXPECT_EQ(offline.count(), 1);
    EXPECT_EQ(screen->deviceKey(), QStringLiteral("483920"));
    EXPECT_EQ(fixture.state->toastText(), ::tr(QStringLiteral("err_http_server"), { qint64(500) }));
}

TEST_F(ActivationFixture, RefreshWhileBusyIsDropped)
{
    server.serve(kDevicePath, LoopbackResponse::json(portalRecord(0)).after(std::chrono::milliseconds(150)));
    start();
    QSignalSpy busy(screen.get(), &ActivationScreen::busyChanged);
    screen->startRefresh();
    screen->startRefresh();
    runTask(screen->refresh(false));
    EXPECT_TRUE(screen->busy());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !screen->busy(); }));
    EXPECT_EQ(server.requestCount(kDevicePath), 1);
    EXPECT_EQ(busy.count(), 2);
}

} // namespace
