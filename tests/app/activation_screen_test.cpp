#include "ActivationFixture.h"
#include "TaskOutcome.h"

namespace {

TEST_F(ActivationFixture, ArrowsMoveOverTheShownButtonsAndOtherKeysFallThrough)
{
    // Playlists (-1: no record), keys, and the focus after each key.
    const std::tuple<int, const char *, QList<int>> rows[]
        = { { -1, "RL", { 2, 0 } }, { 0, "RRLL", { 2, 2, 0, 0 } }, { 1, "RRRLLL", { 1, 2, 2, 1, 0, 0 } } };
    for (const auto &[playlists, spelled, expected] : rows) {
        start(playlists);
        QList<int> focus;
        for (const Key &key : keys(spelled)) {
            EXPECT_TRUE(screen->handleKey(key)) << spelled;
            focus.append(screen->focus());
        }
        EXPECT_EQ(focus, expected) << spelled;
        for (const Key &other : keys("UXf"))
            EXPECT_FALSE(screen->handleKey(other));
        EXPECT_EQ(screen->focus(), 0);
    }
}

TEST_F(ActivationFixture, EnterRunsTheFocusedButton)
{
    const std::tuple<const char *, bool, QString, int> rows[] = { { "RE", false, u"home"_qs, 1 },
        { "RE", true, u"home"_qs, 1 }, { "RRE", false, u"settings"_qs, 2 } };
    for (const auto &[spelled, pushed, route, stackSize] : rows) {
        SCOPED_TRACE(testing::Message() << spelled << " pushed " << pushed);
        start(1, pushed);
        EXPECT_TRUE(press(*screen, spelled));
        EXPECT_EQ(fixture.route(), route);
        EXPECT_EQ(fixture.state->stack().size(), stackSize);
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

TEST_F(ActivationFixture, ShownTextsFollowTheDeviceRecord)
{
    const auto record
        = [](const QString &mac, OptText site, int playlists, std::optional<Support> support = {}) {
        DeviceResponse device = AppStateFixture::device(QList<qint64>(playlists, 7));
        device.mac = mac;
        device.site_url = site;
        device.support = support;
        return device;
    };
    const QString base = fixture.portal;
    const QString mac = fixture.prefs->deviceMac();
    const QString step = u"On your phone or computer, open %1 (or scan the QR code)"_qs;
    // Device address, key, manage page, first step, title, email and WhatsApp lines.
    const std::pair<std::optional<DeviceResponse>, QStringList> rows[]
        = { { std::nullopt,
                { mac, {}, base + u"/manage"_qs, step.arg(base.mid(7)), u"act_title_setup"_qs, {}, {} } },
              { record(u"00:1a:79:aa:bb:cc"_qs, u"https://tv.example.test"_qs, 2,
                    Support { u"+212600000000"_qs, u"help@example.test"_qs }),
                  { u"00:1a:79:aa:bb:cc"_qs, u"483920"_qs, u"https://tv.example.test/manage"_qs,
                      step.arg(u"tv.example.test"_qs), u"act_title_device"_qs, u"Email: help@example.test"_qs,
                      u"WhatsApp: +212600000000"_qs } },
              // The slash is kept and every scheme removed.
              { record(u"m"_qs, u"http://a.test/x/?next=https://b.test"_qs, 1),
                  { u"m"_qs, u"483920"_qs, u"http://a.test/x/?next=https://b.test/manage"_qs,
                      step.arg(u"a.test/x/?next=b.test"_qs), u"act_title_device"_qs, {}, {} } },
              // A site ending in slashes gives one slash before the page.
              { record(u"m"_qs, u"https://tv.example.test//"_qs, 1),
                  { u"m"_qs, u"483920"_qs, u"https://tv.example.test/manage"_qs,
                      step.arg(u"tv.example.test//"_qs), u"act_title_device"_qs, {}, {} } },
              // A site that is no web page never reaches the code or the steps.
              { record(u"m"_qs, u"javascript:alert(1)//tv.example.test"_qs, 1),
                  { u"m"_qs, u"483920"_qs, base + u"/manage"_qs, step.arg(base.mid(7)),
                      u"act_title_device"_qs, {}, {} } },
              // An empty site and address fall back; an email without an at sign is not shown.
              { record({}, u""_qs, 0, Support { u""_qs, u"no-at-sign"_qs }),
                  { mac, u"483920"_qs, base + u"/manage"_qs, step.arg(base.mid(7)),
                      u"act_title_no_playlist"_qs, {}, {} } } };
    for (const auto &[device, expected] : rows) {
        SCOPED_TRACE(expected.value(3).toStdString());
        if (device)
            fixture.cacheDevice(*device);
        open();
        EXPECT_EQ((QStringList { screen->deviceAddress(), screen->deviceKey(), screen->manageAddress(),
                      screen->stepOne(), screen->titleKey(), screen->emailLine(), screen->whatsappLine() }),
            expected);
        EXPECT_EQ(screen->canContinue(), device && !device->playlists.isEmpty());
    }
}

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
    QSignalSpy offline(screen.get(), &ActivationScreenModel::offlineChanged);
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
    QSignalSpy busy(screen.get(), &ActivationScreenModel::busyChanged);
    screen->startRefresh();
    screen->startRefresh();
    runTask(screen->refresh(false));
    EXPECT_TRUE(screen->busy());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !screen->busy(); }));
    EXPECT_EQ(server.requestCount(kDevicePath), 1);
    EXPECT_EQ(busy.count(), 2);
}

TEST_F(ActivationFixture, FocusLeavesContinueWhenItGoes)
{
    server.serve(kDevicePath, LoopbackResponse::json(portalRecord(0)));
    start(1, true);
    press(*screen, "R");
    ASSERT_EQ(screen->focus(), 1);
    runTask(screen->refresh(false));
    ASSERT_FALSE(screen->canContinue());
    EXPECT_EQ(screen->focus(), 0);
    press(*screen, "R");
    EXPECT_EQ(screen->focus(), 2) << "the arrows step over the gone button";
}

// The user's refresh outlives its screen (Esc while it runs); the periodic one does not.
TEST_F(ActivationFixture, StartedRefreshCompletesWhenItsScreenIsGone)
{
    for (const bool silent : { false, true }) {
        SCOPED_TRACE(silent ? "periodic" : "started");
        server.serve(
            kDevicePath, LoopbackResponse::json(portalRecord(1)).after(std::chrono::milliseconds(100)));
        start(0);
        const qsizetype asked = server.requestCount(kDevicePath);
        if (silent)
            fixture.clock.advance(ActivationScreenModel::kPeriodMs);
        else
            screen->startRefresh();
        ASSERT_TRUE(screen->busy());
        screen.reset();
        ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.state->device()->playlists.size() == 1; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(server.requestCount(kDevicePath), asked + 1);
        EXPECT_EQ(fixture.route(), silent ? u"activation"_qs : u"home"_qs);
    }
}

} // namespace
