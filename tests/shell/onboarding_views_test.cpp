#include "ProgramServices.h"
#include "../kit/KitTestSupport.h"
#include "LayerStandIn.h"
#include "LoopbackServer.h"
#include "ShownScreen.h"
#include "RunTask.h"
#include "app/ActivationScreenModel.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/PlaylistPickerScreenModel.h"
#include "app/Prefs.h"
#include "app/QrCode.h"

#include <QQmlEngine>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <algorithm>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

const QByteArray kRecord
    = R"({"mac":"00:1a:79:12:34:56","device_key":"905512","site_url":"http://127.0.0.1:9",
    "support":{"email":"help@example.test","whatsapp":"+212600000000"},
    "playlists":[{"id":3,"name":"Home TV","url":"http://127.0.0.1:9/a.m3u"},{"id":4,"name":"","type":"xtream",
    "host":"http://127.0.0.1:9","username":"u","password":"p"}]})";

// The loopback portal of the run: the shared state keeps the address it first saw.
LoopbackServer &portal()
{
    static LoopbackServer *server = [] {
        auto *made = new LoopbackServer;
        qputenv("ZELFOR_SERVER", made->baseUrl().toUtf8());
        return made;
    }();
    return *server;
}

// The shared state holds the record of a loopback portal, with the device screen pushed
// over home; the screens are made over it, as in the application.
class OnboardingViews : public ::testing::TestWithParam<const char *> {
protected:
    static void SetUpTestSuite()
    {
        portal().serve(QStringLiteral("/api/app/device"), LoopbackResponse::json(kRecord));
        const DeviceResult result = runTask(programServices().app()->refreshDevice());
        ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
        programServices().app()->replace(Routes::Home {});
        programServices().app()->push(Routes::Activation {});
    }
    void SetUp() override { setActiveLanguage(QString::fromLatin1(GetParam())); }
    void TearDown() override { setActiveLanguage(QStringLiteral("en")); }
};

// The screen of `route`, pushed over the shared state's stack as the program shows it.
ShownScreen showScreen(QQmlEngine &engine, Route route)
{
    programServices().app()->push(std::move(route));
    ShownScreen shown = showTopScreen(engine, { { "width", 1360 }, { "height", 840 } });
    programServices().app()->pop();
    return shown;
}

TEST_P(OnboardingViews, DeviceScreenAndPickerLoadOverTheSharedState)
{
    QQmlEngine engine;
    ShownScreen device = showTopScreen(engine, { { "width", 1360 }, { "height", 840 } });
    ShownScreen picker = showScreen(engine, Routes::PlaylistPicker {});
    EXPECT_TRUE(device.view.problems.isEmpty()) << qPrintable(device.view.problems.join('\n'));
    EXPECT_TRUE(picker.view.problems.isEmpty()) << qPrintable(picker.view.problems.join('\n'));
    ASSERT_TRUE(device.view.object && picker.view.object);
    auto *screen = device.as<ActivationScreenModel>();
    auto *qr = device.view.object->findChild<QrCodeItem *>();
    auto *pickerScreen = picker.as<PlaylistPickerScreenModel>();
    ASSERT_TRUE(screen && qr && pickerScreen);
    EXPECT_TRUE(screen->isActive());
    EXPECT_EQ(screen->deviceKey(), QStringLiteral("905512"));
    EXPECT_TRUE(screen->canGoBack());
    EXPECT_EQ(qr->text(), screen->manageAddress());
    EXPECT_TRUE(qr->hasCode());
    // One card per playlist, in the page's one grid.
    EXPECT_EQ(pickerScreen->cards().size(), 2);
    QList<int> gridCounts;
    for (QObject *child : picker.view.object->findChildren<QObject *>()) {
        if (child->inherits("QQuickGridView"))
            gridCounts.append(child->property("count").toInt());
    }
    EXPECT_EQ(gridCounts, QList<int> { 2 });
    // Once the picker is gone the arrows move the device screen's focus (one of them, in
    // either text direction), and once that is gone they reach nothing.
    const auto press = [](Key::Kind kind) { return programServices().router()->dispatch(Key { kind, {} }); };
    picker.close();
    QSignalSpy moved(screen, &ActivationScreenModel::focusChanged);
    EXPECT_TRUE(press(Key::Kind::right));
    EXPECT_TRUE(press(Key::Kind::left));
    EXPECT_GT(moved.count(), 0);
    device.close();
    EXPECT_FALSE(press(Key::Kind::right));
}

// A long key or e-mail keeps to its lines: the key shrinks, then is elided; the e-mail
// takes at most two lines.
TEST(DeviceValues, LongValuesKeepToTheirLines)
{
    const QString longText = QString(64 * 1024, u'7') + QStringLiteral("@example.test");
    // view, its properties
    const std::pair<const char *, QVariantMap> cases[] = {
        { "SelectableValue",
            { { "text", longText }, { "size", 38 }, { "tracking", 6 }, { "accent", true },
                { "width", 430 } } },
        { "SupportLine", { { "text", longText }, { "icon", "envelope.fill" }, { "width", 430 } } },
    };
    for (const auto &[view, properties] : cases) {
        SCOPED_TRACE(view);
        ShownPage page(QStringLiteral("qrc:/Zelfor/Shell/%1.qml").arg(QLatin1String(view)), properties);
        ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
        QQuickItem *text = page.child(QStringLiteral("valueText"));
        ASSERT_TRUE(text);
        EXPECT_LE(text->property("contentWidth").toReal(), 430);
        EXPECT_LE(text->property("lineCount").toInt(), 2);
        EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
    }
}

// A device with more playlists than the window shows at once, over the shared state.
class PickerView : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        QByteArrayList playlists;
        for (int id = 1; id <= count(); ++id)
            playlists.append(QByteArray(R"({"id":%1,"name":"List %1","url":"http://127.0.0.1:9/%1.m3u"})")
                                 .replace("%1", QByteArray::number(id)));
        portal().serve(QStringLiteral("/api/app/device"),
            LoopbackResponse::json(R"({"mac":"00:1a:79:12:34:56","device_key":"905512","playlists":[)"
                + playlists.join(',') + "]}"));
        const DeviceResult result = runTask(programServices().app()->refreshDevice());
        ASSERT_TRUE(std::holds_alternative<DeviceResponse>(result));
    }
    static int count() { return GetParam(); }
};

// The keys move the focus past the window's edge and back; the grid follows it, makes only
// the cards about the view, and the scroll bar stays shown while there is more to see.
TEST_P(PickerView, TheFocusedCardStaysInViewAndTheScrollBarShows)
{
    programServices().prefs()->setSelectedPlaylistId(count());
    programServices().app()->replace(Routes::PlaylistPicker {});
    const RouteEntry entry = programServices().app()->stack().last();
    const ScreenTable::Row row = ScreenTable::rowOf(entry.route);
    std::unique_ptr<RouteScreen> model(row.make(programServices().screenDeps(), entry));
    auto *picker = qobject_cast<PlaylistPickerScreenModel *>(model.get());
    ASSERT_TRUE(picker);
    showAsLayerWould(*model, *programServices().app());
    ShownPage page(row.view.toString(), { { "screen", QVariant::fromValue(model.get()) } });
    page.view().resize(1280, 800);
    ASSERT_TRUE(page.ready());
    QQuickItem *scroller = page.child(QStringLiteral("playlistScroller"));
    QQuickItem *bar = page.child(QStringLiteral("playlistScrollBar"));
    ASSERT_TRUE(scroller && bar);

    int made = 0;
    const auto focusedInView = [&] {
        const QList<QQuickItem *> below = itemsBelow(scroller);
        made = int(std::count_if(below.begin(), below.end(),
            [](QQuickItem *item) { return item->objectName() == QLatin1String("playlistCard"); }));
        for (QQuickItem *card : below) {
            if (card->objectName() != QLatin1String("playlistCard") || !card->property("focused").toBool())
                continue;
            const QRectF box = card->mapRectToItem(scroller, QRectF(0, 0, card->width(), card->height()));
            return box.top() >= -0.5 && box.bottom() <= scroller->height() + 0.5 && box.left() >= -0.5
                && box.right() <= scroller->width() + 0.5;
        }
        return false;
    };
    EXPECT_EQ(picker->focus(), count() - 1);
    // Once the window has its size, the grid has scrolled down to the saved card.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return focusedInView() && scroller->property("contentY").toReal() > 0;
    })) << "the saved card, last, is shown at start";
    // Four columns of about three rows in view, and a few rows about them.
    constexpr int kMadeAtMost = 48;
    EXPECT_LE(made, kMadeAtMost);
    const int steps = qMin(count() - 1, 30);
    for (const Key::Kind kind : { Key::Kind::up, Key::Kind::down }) {
        for (int step = 0; step < steps; ++step)
            EXPECT_TRUE(programServices().router()->dispatch(Key { kind, {} }));
        EXPECT_EQ(picker->focus(), kind == Key::Kind::up ? count() - 1 - steps : count() - 1);
        EXPECT_TRUE(QTest::qWaitFor(focusedInView)) << (kind == Key::Kind::up ? "up" : "down");
        EXPECT_LE(made, kMadeAtMost);
    }

    auto *thumb = bar->property("contentItem").value<QQuickItem *>();
    ASSERT_TRUE(thumb);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->property("policy").toInt(), 2) << "always on, not only while scrolling";
    EXPECT_TRUE(QTest::qWaitFor([&] { return thumb->opacity() > 0; }));
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
}

INSTANTIATE_TEST_SUITE_P(Counts, PickerView, ::testing::Values(20, 5000));

INSTANTIATE_TEST_SUITE_P(Languages, OnboardingViews, ::testing::Values("en", "ar"),
    [](const auto &info) { return std::string(info.param); });

} // namespace
