#include "ActivationFixture.h"
#include "TaskOutcome.h"

namespace {

TEST_F(ActivationFixture, ArrowsMoveOverTheShownButtonsAndOtherKeysFallThrough)
{
    struct Row {
        int playlists; // -1: no device record
        const char *keys;
        QList<int> focus; // after each key
    };
    const Row rows[]
        = { { -1, "RL", { 2, 0 } }, { 0, "RRLL", { 2, 2, 0, 0 } }, { 1, "RRRLLL", { 1, 2, 2, 1, 0, 0 } } };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.keys);
        start(row.playlists);
        QList<int> focus;
        for (const Key &key : keys(row.keys)) {
            EXPECT_TRUE(screen->handleKey(key));
            focus.append(screen->focus());
        }
        EXPECT_EQ(focus, row.focus);
        for (const Key &other : keys("UXf"))
            EXPECT_FALSE(screen->handleKey(other));
        EXPECT_EQ(screen->focus(), 0);
    }
}

TEST_F(ActivationFixture, EnterRunsTheFocusedButton)
{
    struct Row {
        const char *keys;
        bool pushed;
        const char *route;
        int stackSize;
    };
    const Row rows[]
        = { { "RE", false, "home", 1 }, { "RE", true, "home", 1 }, { "RRE", false, "settings", 2 } };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.keys << " pushed " << row.pushed);
        start(1, row.pushed);
        EXPECT_TRUE(press(*screen, row.keys));
        EXPECT_EQ(fixture.route(), QString::fromLatin1(row.route));
        EXPECT_EQ(fixture.state->stack().size(), row.stackSize);
    }
}

TEST_F(ActivationFixture, EnterOnRefreshAsksThePortal)
{
    server.serve(kDevicePath, LoopbackResponse::json(portalRecord(0)));
    start(-1);
    EXPECT_TRUE(press(*screen, "S"));
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

class ActivationDerived : public ActivationFixture, public ::testing::WithParamInterface<DerivedCase> { };

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
    open();
    const QString base = fixture.portal;
    const QString expectedMac = row.mac.isEmpty() ? fixture.prefs->deviceMac() : row.mac;
    EXPECT_FALSE(expectedMac.isEmpty());
    EXPECT_EQ(screen->deviceAddress(), expectedMac);
    EXPECT_EQ(screen->deviceKey(), row.hasDevice ? u"483920"_qs : QString());
    EXPECT_EQ(screen->manageAddress(), QString(row.manage).replace(QLatin1Char('@'), base));
    EXPECT_EQ(screen->stepOne(), QString(row.stepOne).replace(QLatin1Char('@'), base.mid(7)));
    EXPECT_EQ(screen->titleKey(), row.titleKey);
    EXPECT_EQ(screen->canContinue(), row.playlists > 0);
    EXPECT_EQ(screen->emailLine(), row.emailLine);
    EXPECT_EQ(screen->whatsappLine(), row.whatsappLine);
}

const QString kStep = u"On your phone or computer, open %1 (or scan the QR code)"_qs;

INSTANTIATE_TEST_SUITE_P(Values, ActivationDerived,
    ::testing::Values(DerivedCase { "noRecord", false, {}, {}, 0, {}, {}, u"@/manage"_qs, kStep.arg(u"@"_qs),
                          u"act_title_setup"_qs, {}, {} },
        DerivedCase { "httpsSiteShownWithoutScheme", true, u"00:1a:79:aa:bb:cc"_qs,
            u"https://tv.example.test"_qs, 2, u"help@example.test"_qs, u"+212600000000"_qs,
            u"https://tv.example.test/manage"_qs, kStep.arg(u"tv.example.test"_qs), u"act_title_device"_qs,
            u"Email: help@example.test"_qs, u"WhatsApp: \u2066+212600000000\u2069"_qs },
        DerivedCase { "slashKeptAndEverySchemeRemoved", true, u"m"_qs,
            u"http://a.test/x/?next=https://b.test"_qs, 1, {}, {},
            u"http://a.test/x/?next=https://b.test/manage"_qs, kStep.arg(u"a.test/x/?next=b.test"_qs),
            u"act_title_device"_qs, {}, {} },
        DerivedCase { "emptySiteAndMacFallBack", true, {}, u""_qs, 0, u"no-at-sign"_qs, u""_qs,
            u"@/manage"_qs, kStep.arg(u"@"_qs), u"act_title_no_playlist"_qs, {}, {} }),
    [](const auto &info) { return std::string(info.param.name); });

struct RefreshCase {
    const char *name;
    bool pushed;
    bool silent;
    LoopbackResponse answer;
    QString toast; // empty: none
    const char *route; // null: unchanged
    bool resets;
};

class ActivationRefresh : public ActivationFixture, public ::testing::WithParamInterface<RefreshCase> { };

TEST_P(ActivationRefresh, ToastsOrReRoots)
{
    const RefreshCase &row = GetParam();
    // The catalog holds a provider account until it is reset.
    LoopbackServer provider;
    provider.serve(u"/player_api.php"_qs,
        LoopbackResponse::json(R"({"user_info":{"auth":1,"status":"Active"},"server_info":{}})"));
    Playlist xtream;
    xtream.type = u"xtream"_qs;
    xtream.host = provider.baseUrl();
    xtream.username = xtream.password = u"u"_qs;
    runOutcome(catalog.load(xtream, ContentType::live, false));
    ASSERT_TRUE(catalog.account(xtream));

    server.serve(kDevicePath, row.answer);
    open(row.pushed);
    const QString before = fixture.route();
    runTask(screen->refresh(row.silent));
    EXPECT_FALSE(screen->busy());
    EXPECT_EQ(fixture.state->toastText(), row.toast);
    EXPECT_EQ(fixture.route(), row.route ? QString::fromLatin1(row.route) : before);
    EXPECT_EQ(fixture.state->stack().size(), row.pushed && !row.route ? 2 : 1);
    EXPECT_EQ(catalog.account(xtream).has_value(), !row.resets);
}

const LoopbackResponse kBlocked = LoopbackResponse::json(R"({"error":{"message":"Device blocked"}})", 403);
LoopbackResponse record(int playlists)
{
    return LoopbackResponse::json(portalRecord(playlists));
}

INSTANTIATE_TEST_SUITE_P(Outcomes, ActivationRefresh,
    ::testing::Values(RefreshCase { "aloneWithPlaylistReRoots", false, false, record(1), {}, "home", true },
        RefreshCase { "aloneWithTwoPlaylistsPicks", false, true, record(2), {}, "playlistPicker", true },
        RefreshCase { "aloneWithoutPlaylists", false, false, record(0),
            u"Still no active playlist for this device"_qs, "activation", false },
        RefreshCase { "pushedWithPlaylists", true, false, record(1), u"Up to date"_qs, nullptr, false },
        RefreshCase { "pushedSilent", true, true, record(1), {}, nullptr, false },
        RefreshCase { "silentWithoutPlaylists", false, true, record(0), {}, "activation", false },
        RefreshCase {
            "portalError", false, false, kBlocked, u"Server: Device blocked"_qs, "activation", false },
        RefreshCase { "silentPortalError", false, true, kBlocked, {}, "activation", false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, FailureKeepsTheRecordAndMarksOffline)
{
    server.serve(kDevicePath, LoopbackResponse::withStatus(500));
    start(0);
    QSignalSpy offline(screen.get(), &ActivationScreen::offlineChanged);
    runTask(screen->refresh(false));
    EXPECT_TRUE(screen->offline());
    EXPECT_EQ(offline.count(), 1);
    EXPECT_EQ(screen->deviceKey(), u"483920"_qs);
    EXPECT_EQ(fixture.state->toastText(), ::tr(u"err_http_server"_qs, { qint64(500) }));
}

TEST_F(ActivationFixture, RefreshWhileBusyIsDropped)
{
    server.serve(kDevicePath, LoopbackResponse::json(portalRecord(0)).after(std::chrono::milliseconds(150)));
    start(-1);
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
