#include "../app/AppStateFixture.h"
#include "LayerStandIn.h"
#include "../playback/FakeBackends.h"
#include "NotifyAudit.h"
#include "QmlHarness.h"
#include "shell/ScreenTable.h"
#include "sources/Catalog.h"

#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>

namespace {

// Every case of Route, made with its default payload.
template <std::size_t... Index> QList<Route> everyRoute(std::index_sequence<Index...>)
{
    return { Route(std::variant_alternative_t<Index, Route> {})... };
}

// The view-model class each route's screen is made of; its view is the same name without "Model".
const QHash<QString, QString> kModels {
    { "splash", "SplashScreenModel" },
    { "activation", "ActivationScreenModel" },
    { "playlistPicker", "PlaylistPickerScreenModel" },
    { "home", "HomeScreenModel" },
    { "live", "LiveScreenModel" },
    { "catchup", "CatchUpScreenModel" },
    { "browse", "BrowseScreenModel" },
    { "movie", "MovieDetailsScreenModel" },
    { "series", "SeriesDetailsScreenModel" },
    { "player", "PlayerScreenModel" },
    { "settings", "SettingsScreenModel" },
    { "search", "SearchScreenModel" },
    { "favorites", "FavoritesScreenModel" },
};

class RouteTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        setActiveLanguage(u"en"_qs);
        fixture.makeState({ Routes::Home {} });
        deps = screenDeps();
    }

    // The fixture's, playing through the engine on its scripted backends.
    ScreenDeps screenDeps()
    {
        ScreenDeps made = fixture.screenDeps();
        made.playback = engine.engine.get();
        made.clock = &engine.clock;
        return made;
    }

    AppStateFixture fixture;
    EngineRig engine;
    ScreenDeps deps;
};

TEST_F(RouteTable, EveryRouteHasItsViewAndAModelMadeForItsEntry)
{
    const QList<Route> routes = everyRoute(std::make_index_sequence<std::variant_size_v<Route>> {});
    ASSERT_EQ(routes.size(), kModels.size());
    for (const Route &route : routes) {
        const QString name = routeName(route);
        SCOPED_TRACE(qPrintable(name));
        const ScreenTable::Row row = ScreenTable::rowOf(route);
        ASSERT_TRUE(kModels.contains(name));
        const QString model = kModels.value(name);
        EXPECT_TRUE(row.view.path().endsWith(QLatin1Char('/') + model.chopped(5) + QStringLiteral(".qml")))
            << qPrintable(row.view.toString());
        EXPECT_TRUE(QFile::exists(QLatin1Char(':') + row.view.path())) << qPrintable(row.view.toString());
        const RouteEntry entry = RouteEntry::fresh(route);
        const std::unique_ptr<RouteScreen> screen(row.make(deps, entry));
        ASSERT_TRUE(screen);
        EXPECT_EQ(QString::fromLatin1(screen->metaObject()->className()), model);
        EXPECT_EQ(screen->entry().id, entry.id);
        EXPECT_FALSE(screen->isActive()) << "its layer activates it";
    }
}

// Every screen's properties, its parts' included, announce what its opening changes, and
// none can change unannounced.
TEST_F(RouteTable, EveryScreenAnnouncesWhatItsOpeningChanges)
{
    for (const Route &route : everyRoute(std::make_index_sequence<std::variant_size_v<Route>> {})) {
        SCOPED_TRACE(qPrintable(routeName(route)));
        fixture.makeState({ Routes::Home {}, route });
        const ScreenDeps deps = screenDeps();
        const std::unique_ptr<RouteScreen> screen(ScreenTable::rowOf(route).make(deps, fixture.topEntry()));
        ASSERT_TRUE(screen);
        EXPECT_TRUE(notifiesEveryChange(screen.get(), [&] {
            showAsLayerWould(*screen, *fixture.state);
            QCoreApplication::processEvents();
        }));
    }
}

TEST_F(RouteTable, MakesTheScreenOfAStackEntryForItsOwnerAndNothingForAnUnknownOne)
{
    ScreenTable table(deps);
    QObject owner;
    const RouteEntry entry = fixture.topEntry();
    const MadeScreen made = table.make(entry.id.toString(), &owner);
    ASSERT_TRUE(made.model);
    EXPECT_EQ(made.model->parent(), &owner);
    EXPECT_EQ(made.model->entry().id, entry.id);
    EXPECT_EQ(made.view, ScreenTable::rowOf(entry.route).view);

    WarningCollector warnings;
    const MadeScreen unknown = table.make(QUuid::createUuid().toString(), &owner);
    EXPECT_FALSE(unknown.model);
    EXPECT_EQ(warnings.warnings().size(), 1);
    table.setRows([](const Route &) { return ScreenTable::Row {}; });
    EXPECT_FALSE(table.make(entry.id.toString(), &owner).model);
    EXPECT_EQ(warnings.warnings().size(), 2);
}

// The views of the screens home opens load ahead once, from the program's rows, and end
// ready to be made.
TEST_F(RouteTable, LoadsTheViewsHomeOpensAheadOnce)
{
    QQmlEngine engine;
    engine.addImportPath(u"qrc:/"_qs);
    ScreenTable table(deps);
    table.loadViewsAhead(&engine);
    table.loadViewsAhead(&engine);
    const QList<QQmlComponent *> views = engine.findChildren<QQmlComponent *>(Qt::FindDirectChildrenOnly);
    QList<QUrl> urls;
    for (const Route &route : { Route(Routes::Live {}), Route(Routes::Search {}), Route(Routes::Browse {}),
             Route(Routes::Favorites {}), Route(Routes::Settings {}), Route(Routes::Player {}) })
        urls.append(ScreenTable::rowOf(route).view);
    ASSERT_EQ(views.size(), urls.size());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
        return std::none_of(
            views.cbegin(), views.cend(), [](QQmlComponent *view) { return view->isLoading(); });
        },
        30000));
    for (qsizetype i = 0; i < views.size(); ++i) {
        EXPECT_EQ(views[i]->url(), urls[i]);
        EXPECT_TRUE(views[i]->isReady()) << qPrintable(views[i]->errorString());
    }
}

} // namespace
