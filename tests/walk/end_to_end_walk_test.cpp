#include "WalkRig.h"
#include "home/HomeScreen.h"
#include "home/SettingsScreen.h"
#include "live/CatchUpScreen.h"
#include "live/LiveScreen.h"
#include "playback/PlayerScreenModel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)

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
        const auto counted = [](ContentType type) { return QString::number(DemoCatalog::titles(type).size()); };
        ASSERT_TRUE(waitFor([&] {
            return textIn(QStringLiteral("tile_live"), QStringLiteral("count")).contains(counted(ContentType::live))
                && textIn(QStringLiteral("tile_movies"), QStringLiteral("sub")).contains(counted(ContentType::movie))
                && textIn(QStringLiteral("tile_series"), QStringLiteral("sub")).contains(counted(ContentType::series));
        })) << qPrintable(textIn(QStringLiteral("tile_live"), QStringLiteral("count")));
        shoot(QStringLiteral("home"));
    }

    // Live TV: the first channel plays in the preview, full screen takes it over without
    // starting it again, and back on the list it still plays; H makes it a favourite.
    void liveTv()
    {
        press({ K::tab, K::enter });
        ASSERT_EQ(route(), u"live");
        ASSERT_TRUE(waitFor([this] { return top<LiveScreenModel>() && top<LiveScreenModel>()->loaded(); }));
        press({ K::down, K::enter });
        LiveScreenModel *live = top<LiveScreenModel>();
        ASSERT_TRUE(live->hasPreview());
        EXPECT_TRUE(framesArrive()) << "the preview plays";
        ASSERT_TRUE(waitFor([live] { return !live->guide()->loading(); }));
        shoot(QStringLiteral("live"));

        PlayerEngine *player = PlayerEngine::shared();
        const QString channel = player->itemKey();
        press(K::enter);
        ASSERT_EQ(route(), u"player");
        EXPECT_TRUE(framesArrive()) << "full screen shows the same stream";
        EXPECT_EQ(player->itemKey(), channel);
        shoot(QStringLiteral("player-live"));
        press(K::esc);
        ASSERT_EQ(route(), u"live");
        EXPECT_EQ(player->itemKey(), channel);
        EXPECT_TRUE(framesArrive()) << "back on the list the channel still plays";

        press(QStringLiteral("h"));
        EXPECT_TRUE(toastSays(QStringLiteral("added_to_favorites")));
        EXPECT_TRUE(Prefs::shared()->isFavorite(channel));
    }

    // Catch-up of the previewed channel: its archive opens on today's programmes and the
    // focused one plays.
    void catchUp()
    {
        press(QStringLiteral("c"));
        ASSERT_EQ(route(), u"catchup");
        ASSERT_TRUE(waitFor([this] { return top<CatchUpScreenModel>() && top<CatchUpScreenModel>()->guideLoaded(); }));
        EXPECT_FALSE(top<CatchUpScreenModel>()->programmes().isEmpty());
        shoot(QStringLiteral("catchup"));
        press(K::enter);
        ASSERT_EQ(route(), u"player");
        PlayerEngine *player = PlayerEngine::shared();
        ASSERT_TRUE(player->item() && player->item()->catchup);
        EXPECT_TRUE(framesArrive()) << "the programme plays";
        EXPECT_FALSE(player->hasError()) << qPrintable(player->errorText());
        shoot(QStringLiteral("player-catchup"));
        press({ K::esc, K::esc, K::esc });
        ASSERT_EQ(route(), u"home");
        EXPECT_TRUE(waitFor([player] { return !player->hasItem(); })) << "leaving live TV stops playback";
    }

    // Settings: the language changes to the other one and back; the whole window is laid
    // out for each.
    void settings()
    {
        // Home keeps its focus on the live tile: down to the actions, then to settings.
        press({ K::right, K::right, K::right, K::down, K::down, K::down });
        ASSERT_EQ(top<HomeScreenModel>()->focus(), u"settings");
        press(K::enter);
        ASSERT_EQ(route(), u"settings");
        ASSERT_TRUE(waitFor([this] { return top<SettingsScreenModel>() && named(QStringLiteral("setting_lang")); }));
        shoot(QStringLiteral("settings"));
        const QString other = rightToLeft() ? QStringLiteral("en") : QStringLiteral("ar");
        chooseLanguage(other);
        ASSERT_NO_FATAL_FAILURE(expectLaidOutFor(other));
        shoot(QStringLiteral("settings-") + other);
        chooseLanguage(language());
        ASSERT_NO_FATAL_FAILURE(expectLaidOutFor(language()));
        press(K::esc);
        ASSERT_EQ(route(), u"home");
    }

    // Opens the language tile's dialog with the keys and picks `code`.
    void chooseLanguage(const QString &code)
    {
        static const QStringList codes { QStringLiteral("system"), QStringLiteral("en"), QStringLiteral("fr"),
            QStringLiteral("ar") };
        ASSERT_TRUE(waitFor([this] { return top<SettingsScreenModel>() != nullptr; }));
        SettingsScreenModel *settings = top<SettingsScreenModel>();
        const auto focusedTile = [settings] {
            return settings->tileValues().value(settings->focus()).toMap().value(QStringLiteral("id")).toString();
        };
        for (qsizetype step = 0; step <= settings->tileValues().size() && focusedTile() != u"lang"; ++step)
            press(K::right);
        ASSERT_EQ(focusedTile(), u"lang");
        press(K::enter);
        ASSERT_TRUE(app->dialog());
        const int from = std::max(0, app->dialog()->selected());
        const int to = int(codes.indexOf(code));
        for (int step = from; step != to; step += to > from ? 1 : -1)
            press(to > from ? K::down : K::up);
        press(K::enter);
        EXPECT_EQ(Prefs::shared()->language(), code);
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
            shoot(QStringLiteral("home-quit-hint"));
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

    using WalkRig::press;
    void press(const QString &letter) const { QTest::keyClick(window, letter.at(0).toLatin1()); }
};

TEST_P(EndToEndWalk, EveryScreenByKeys)
{
    QElapsedTimer took;
    took.start();
    ASSERT_NO_FATAL_FAILURE(splashToHome());
    ASSERT_NO_FATAL_FAILURE(liveTv());
    ASSERT_NO_FATAL_FAILURE(catchUp());
    ASSERT_NO_FATAL_FAILURE(settings());
    ASSERT_NO_FATAL_FAILURE(quit());
    RecordProperty("walk_ms", int(took.elapsed()));
}

INSTANTIATE_TEST_SUITE_P(Languages, EndToEndWalk, ::testing::Values(QStringLiteral("en"), QStringLiteral("ar")),
    [](const ::testing::TestParamInfo<QString> &info) { return info.param.toStdString(); });

} // namespace
