#include "HomeFixture.h"
#include "LayerStandIn.h"
#include "home/SettingsScreenModel.h"
#include "kit/Theme.h"

#include <QDir>
#include <QFile>
#include <QTextLayout>

namespace {

// `text` with "{" and "}" standing for the isolate around a value joined to a label.
QString isolates(const QString &text)
{
    return QString(text).replace(u'{', QChar(0x2068)).replace(u'}', QChar(0x2069));
}

class SettingsTest : public HomeFixture {
protected:
    SettingsScreenModel &open(const std::optional<DeviceResponse> &record,
        const QList<Route> &stack = { Routes::Home {}, Routes::Settings {} })
    {
        screen.reset();
        state(record, stack);
        screen = std::make_unique<SettingsScreenModel>(screenDeps(), fixture.topEntry());
        showAsLayerWould(*screen, *fixture.state);
        return *screen;
    }

    QStringList ids() const
    {
        QStringList list;
        for (const SettingTile &tile : screen->tiles())
            list.append(settingName(tile.id));
        return list;
    }

    SettingTile tile(const QString &id) const
    {
        for (const SettingTile &tile : screen->tiles()) {
            if (settingName(tile.id) == id)
                return tile;
        }
        return {};
    }

    DeviceResponse withSupport(const OptText &email, const OptText &whatsapp = std::nullopt) const
    {
        DeviceResponse record = device();
        record.support = Support { .whatsapp = whatsapp, .email = email };
        return record;
    }

    // Chooses option `index` of the open dialog.
    void choose(int index)
    {
        ChoiceDialogModel *dialog = fixture.state->dialog();
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->select(index));
        fixture.state->setDialog(nullptr);
    }

    static int fileCount(const QString &folder)
    {
        return int(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot).size());
    }

    std::unique_ptr<SettingsScreenModel> screen;
};

const QStringList kAlways { u"device"_qs, u"refresh"_qs, u"lang"_qs, u"time"_qs, u"aspect"_qs, u"ua"_qs,
    u"cache"_qs, u"keys"_qs, u"version"_qs };

TEST_F(SettingsTest, TilesFollowTheDeviceRecord)
{
    const std::pair<std::optional<DeviceResponse>, QStringList> cases[] = {
        { device(), kAlways },
        { withSupport(u""_qs), kAlways },
        { withSupport(std::nullopt, u"+212600"_qs), kAlways },
        { withSupport(u"help@zelfor.example"_qs), kAlways + QStringList { u"support"_qs } },
        { device(2), QStringList(kAlways).mid(0, 2) + QStringList { u"playlist"_qs } + kAlways.mid(2) },
        { std::nullopt, kAlways },
    };
    for (const auto &[record, expected] : cases) {
        fixture.prefs->defaults().remove(deviceCacheKey(fixture.portal));
        open(record);
        EXPECT_EQ(ids(), expected);
    }
    EXPECT_EQ(
        tile(u"device"_qs).subtitle, isolates(u"{%1}\nDevice key {—}"_qs.arg(fixture.prefs->deviceMac())))
        << "no record";
    open(withSupport(u"help@zelfor.example"_qs, u"+212600"_qs));
    EXPECT_EQ(tile(u"device"_qs).subtitle, isolates(u"{00:1a:79:00:00:05}\nDevice key {246810}"_qs));
    EXPECT_EQ(tile(u"support"_qs).subtitle, u"help@zelfor.example\n+212600"_qs);
}

TEST_F(SettingsTest, BackIsOfferedFromTheStartOnlyOverAnotherScreen)
{
    const std::pair<QList<Route>, bool> cases[] = {
        { { Routes::Home {}, Routes::Settings {} }, true },
        { { Routes::Settings {} }, false },
    };
    for (const auto &[stack, canGoBack] : cases) {
        open(device(), stack);
        EXPECT_TRUE(screen->isTop());
        EXPECT_EQ(screen->canGoBack(), canGoBack) << stack.size();
    }
    open(device());
    QSignalSpy changed(screen.get(), &SettingsScreenModel::stackChanged);
    screen->back();
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_FALSE(screen->isTop());
    EXPECT_FALSE(screen->canGoBack());
    EXPECT_EQ(fixture.route(), u"home"_qs);
}

TEST_F(SettingsTest, TilesShowTheStoredValues)
{
    open(device());
    Prefs &prefs = *fixture.prefs;
    using enum PictureMode;
    const std::tuple<QString, QString, PictureMode, QStringList> cases[] = {
        { u"system"_qs, u"system"_qs, stretch,
            { u"System language"_qs, u"System default"_qs, u"Stretch"_qs } },
        { u"fr"_qs, u"24"_qs, fit, { u"Français"_qs, u"24-hour"_qs, u"Fit"_qs } },
        { u"ar"_qs, u"12"_qs, zoom, { u"العربية"_qs, u"12-hour (AM/PM)"_qs, u"Zoom"_qs } },
        { u"xx"_qs, u"13"_qs, stretch, { u"System language"_qs, u"System default"_qs, u"Stretch"_qs } },
    };
    for (const auto &[language, timeFormat, mode, shown] : cases) {
        prefs.setLanguage(language);
        prefs.setTimeFormat(timeFormat);
        prefs.setAspectMode(mode);
        const QStringList trailing { tile(u"lang"_qs).trailing, tile(u"time"_qs).trailing,
            tile(u"aspect"_qs).trailing };
        EXPECT_EQ(trailing, shown) << qPrintable(language);
    }
}

TEST_F(SettingsTest, VersionTileOffersANewerVersion)
{
    DeviceResponse record = device();
    record.app = AppInfo { .latest_version = u"1.1.6"_qs };
    open(record);
    EXPECT_EQ(tile(u"version"_qs),
        (SettingTile { SettingId::version, Theme::rgb(0xC0, 0x84, 0xFC), u"info.circle.fill"_qs,
            u"Zelfor version 1.1.6"_qs, u"You have the latest version"_qs, QString(), Theme::textDim() }));
    record.app = AppInfo { .latest_version = u"1.2.0"_qs };
    open(record);
    EXPECT_EQ(tile(u"version"_qs),
        (SettingTile { SettingId::version, Theme::rgb(0xC0, 0x84, 0xFC), u"arrow.down.circle.fill"_qs,
            u"Zelfor version 1.1.6"_qs, u"Version 1.2.0 is available"_qs, u"Open website"_qs,
            Theme::cyan() }));
}

// In Arabic a key that starts with digits stays whole after its label, and the label, not
// the address above it, sets the direction of the tile's text, as the view reads it.
TEST_F(SettingsTest, DeviceTileKeepsKeysWholeInArabic)
{
    DeviceResponse record = device();
    record.device_key = u"0708A481"_qs;
    open(record);
    QSignalSpy changed(screen.get(), &SettingsScreenModel::tilesChanged);
    fixture.state->setLanguage(u"ar"_qs);
    ASSERT_FALSE(changed.isEmpty());
    const QString subtitle
        = screen->property("tiles").toList().first().toMap().value(u"subtitle"_qs).toString();
    EXPECT_EQ(subtitle, isolates(u"{00:1a:79:00:00:05}\nمفتاح الجهاز {0708A481}"_qs));
    EXPECT_TRUE(subtitle.isRightToLeft());
    EXPECT_EQ(tile(u"version"_qs).title, QChar(0x200F) + isolates(u"Zelfor الإصدار {1.1.6}"_qs));
    // Laid out, the shortcuts line keeps "رجوع" (back) beside "Esc", not beside "Enter".
    const QString keys = tile(u"keys"_qs).subtitle;
    QTextLayout layout(keys);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    // The middle of a word: its edges are ambiguous where the direction changes.
    const auto x
        = [&](const QString &word) { return line.cursorToX(int(keys.indexOf(word) + word.size() / 2)); };
    EXPECT_LT(std::abs(x(u"رجوع"_qs) - x(u"Esc"_qs)), std::abs(x(u"رجوع"_qs) - x(u"Enter"_qs)));
    fixture.state->setLanguage(u"en"_qs);
}

TEST_F(SettingsTest, LanguageDialogSwitchesOnlyToAnotherLanguage)
{
    open(device());
    fixture.prefs->setLanguage(u"en"_qs);
    screen->runTile(u"lang"_qs);
    ASSERT_TRUE(fixture.state->dialog());
    EXPECT_EQ(fixture.state->dialog()->options(),
        QStringList({ u"System language"_qs, u"English"_qs, u"Français"_qs, u"العربية"_qs }));
    EXPECT_EQ(fixture.state->dialog()->selected(), 1);
    const qint64 tick = fixture.state->langTick();
    const QList<RouteEntry> stack = fixture.state->stack();
    choose(1);
    EXPECT_EQ(fixture.state->langTick(), tick) << "the same language";
    screen->runTile(u"lang"_qs);
    choose(2);
    EXPECT_EQ(fixture.state->langTick(), tick + 1);
    EXPECT_EQ(fixture.prefs->language(), u"fr"_qs);
    EXPECT_EQ(fixture.state->stack().size(), stack.size());
    EXPECT_EQ(fixture.state->stack().last().id, stack.last().id) << "the stack is kept";
    setActiveLanguage(u"en"_qs);
}

TEST_F(SettingsTest, TimeFormatAndPictureModeAreStored)
{
    open(device());
    QSignalSpy tiles(screen.get(), &SettingsScreenModel::tilesChanged);
    screen->runTile(u"time"_qs);
    EXPECT_EQ(fixture.state->dialog()->selected(), 0);
    choose(1);
    EXPECT_EQ(fixture.prefs->defaults().text(u"time_format"_qs), u"24"_qs);
    EXPECT_EQ(tiles.count(), 1) << "the tiles and their clock redraw";
    screen->runTile(u"time"_qs);
    EXPECT_EQ(fixture.state->dialog()->selected(), 1);
    choose(2);
    EXPECT_EQ(fixture.prefs->timeFormat(), u"12"_qs);

    screen->runTile(u"aspect"_qs);
    EXPECT_EQ(fixture.state->dialog()->options(), QStringList({ u"Stretch"_qs, u"Fit"_qs, u"Zoom"_qs }));
    choose(2);
    EXPECT_EQ(fixture.prefs->defaults().integer(u"aspect_mode"_qs), 2);
    EXPECT_GE(tiles.count(), 3);
}

TEST_F(SettingsTest, UserAgentPresetsAndOwnText)
{
    open(device());
    fixture.prefs->setUserAgent(u"MyBox/2.0"_qs);
    screen->runTile(u"ua"_qs);
    const QStringList presets = SettingsScreenModel::userAgentPresets();
    EXPECT_EQ(fixture.state->dialog()->selected(), -1) << "a text of one's own marks nothing";
    EXPECT_EQ(fixture.state->dialog()->options(),
        QStringList({ presets[0], presets[1], presets[2], presets[3].left(48) + u"…"_qs }));
    choose(3);
    EXPECT_EQ(fixture.prefs->defaults().text(u"user_agent"_qs), presets[3]);
    screen->runTile(u"ua"_qs);
    EXPECT_EQ(fixture.state->dialog()->selected(), 3);
    fixture.state->setDialog(nullptr);

    // A stored user agent is never one that would break the request headers.
    for (const QString &text : { u"Box\r\nX-Evil: 1"_qs, u"Box\u200e1"_qs }) {
        fixture.prefs->setUserAgent(text);
        EXPECT_EQ(tile(u"ua"_qs).subtitle, presets[3]) << qPrintable(text);
    }
}

// The chosen user agent goes with the next request; Tab is not used on this screen.
TEST_F(SettingsTest, ChosenUserAgentIsSentWithTheNextRequest)
{
    TestHttp http { HttpOptions {
        .userAgent = [prefs = fixture.prefs.get()] { return prefs->userAgent(); } } };
    LoopbackServer server;
    server.serve(u"/ping"_qs, LoopbackResponse::text("pong"));
    open(device());
    EXPECT_FALSE(screen->handleKey(key(Key::Kind::tab)));
    screen->runTile(u"ua"_qs);
    choose(1);
    runTask(http->get(server.url(u"/ping"_qs), std::chrono::seconds(5)));
    EXPECT_EQ(server.requests().last().header("user-agent"), "VLC/3.0.20 LibVLC/3.0.20");
}

TEST_F(SettingsTest, ClearCacheEmptiesEveryCache)
{
    open(device());
    const QString httpDir = fixture.http.cacheDir();
    QFile cached(httpDir + u"/0123abcd"_qs);
    ASSERT_TRUE(QDir().mkpath(httpDir) && cached.open(QIODevice::WriteOnly));
    cached.write("old answer");
    cached.close();
    LoopbackServer pictures;
    pictures.serve(u"/missing.png"_qs, LoopbackResponse::withStatus(404));
    const QString missing = pictures.url(u"/missing.png"_qs);
    runTask(images.image(missing));
    ASSERT_TRUE(images.hasFailed(missing));
    runTask(catalog.load(provider.playlist(), ContentType::live, false));
    ASSERT_TRUE(catalog.account(provider.playlist()));

    screen->runTile(u"cache"_qs);
    EXPECT_EQ(fileCount(httpDir), 0);
    EXPECT_TRUE(QDir(httpDir).exists());
    EXPECT_FALSE(images.hasFailed(missing));
    EXPECT_FALSE(catalog.account(provider.playlist())) << "the catalog is reset";
    EXPECT_EQ(fixture.state->toastText(), u"Cache cleared"_qs);
    EXPECT_EQ(fixture.route(), u"settings"_qs);
}

struct RefreshCase {
    const char *name;
    int status; // the portal's answer
    int playlists;
    bool cleared;
    const char *route;
};

class SettingsRefresh : public SettingsTest, public ::testing::WithParamInterface<RefreshCase> { };

TEST_P(SettingsRefresh, PostsTheDeviceThenEmptiesTheHttpCache)
{
    const RefreshCase &c = GetParam();
    portal.serve(kDevicePath,
        c.status == 200 ? LoopbackResponse::json(portalRecord(c.playlists))
                        : LoopbackResponse::withStatus(c.status));
    open(device());
    QFile cached(fixture.http.cacheDir() + u"/feed"_qs);
    ASSERT_TRUE(QDir().mkpath(fixture.http.cacheDir()) && cached.open(QIODevice::WriteOnly));
    cached.close();
    runTask(screen->refreshPlaylists());
    EXPECT_EQ(fileCount(fixture.http.cacheDir()) == 0, c.cleared);
    EXPECT_EQ(fixture.route(), QLatin1String(c.route));
    if (c.cleared)
        EXPECT_EQ(fixture.state->toastText(), u"Up to date"_qs);
    else
        EXPECT_NE(fixture.state->toastText(), u"Refreshing…"_qs) << "the error replaced it";
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsRefresh,
    ::testing::Values(RefreshCase { "failure", 500, 0, false, "settings" },
        RefreshCase { "playlists", 200, 2, true, "settings" },
        RefreshCase { "none", 200, 0, true, "activation" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsTest, VersionAndSupportOpenOnlySafeAddresses)
{
    DeviceResponse record = withSupport(u"help@zelfor.example"_qs);
    record.app = AppInfo { .latest_version = u"2.0"_qs };
    record.site_url = u"https://zelfor.example/get"_qs;
    open(record);
    screen->runTile(u"version"_qs);
    EXPECT_EQ(opened, QList<QUrl> { QUrl(u"https://zelfor.example/get"_qs) });
    record.site_url = u"smb://host/share"_qs;
    open(record);
    portal.serve(kDevicePath, LoopbackResponse::withStatus(500));
    opened.clear();
    screen->runTile(u"version"_qs);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(fixture.state->toastText(), u"Refreshing…"_qs) << "a refresh runs instead";

    opened.clear();
    screen->runTile(u"support"_qs);
    EXPECT_EQ(opened, QList<QUrl> { QUrl(u"mailto:help@zelfor.example"_qs) });
}

// Each tile's id reads back as that tile; other text names none.
TEST(SettingIds, ReadBackAsTheirTiles)
{
    for (SettingId id : { SettingId::device, SettingId::refresh, SettingId::playlist, SettingId::language,
             SettingId::timeFormat, SettingId::pictureMode, SettingId::userAgent, SettingId::cache,
             SettingId::keys, SettingId::version, SettingId::support })
        EXPECT_EQ(settingOf(settingName(id)), id) << qPrintable(settingName(id));
    EXPECT_EQ(settingOf(u"Lang"_qs), std::nullopt);
}

TEST(SettingsColumns, FollowTheMeasuredWidth)
{
    const std::pair<qreal, int> widths[] = { { 722, 3 }, { 721, 2 }, { 100, 2 }, { 968, 4 }, { 1214, 5 } };
    for (const auto &[width, columns] : widths)
        EXPECT_EQ(SettingsScreenModel::columnsFor(width), columns) << width;
}

TEST_F(SettingsTest, KeysMoveOverTheMeasuredColumns)
{
    open(device());
    screen->measure(722);
    ASSERT_EQ(screen->columns(), 3);
    const std::pair<const char *, int> steps[] = { { "X", -1 }, { "D", 0 }, { "U", 0 }, { "L", 0 },
        { "D", 3 }, { "D", 6 }, { "D", 8 }, { "U", 5 }, { "R", 6 }, { "RRRR", 8 }, { "U", 5 } };
    for (const auto &[spelled, focus] : steps) {
        const bool used = press(*screen, spelled);
        EXPECT_EQ(used, QByteArray(spelled) != "X") << spelled;
        EXPECT_EQ(screen->focus(), focus) << spelled;
    }
    screen->measure(721);
    EXPECT_TRUE(press(*screen, "U"));
    EXPECT_EQ(screen->focus(), 3);
    EXPECT_TRUE(press(*screen, "LLLE"));
    EXPECT_EQ(fixture.route(), u"activation"_qs) << "Enter on the device tile";
}

} // namespace
