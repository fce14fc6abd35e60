#pragma once

#include "../app/AppStateFixture.h"
#include "LayerStandIn.h"
#include "../playback/FakeBackends.h"
#include "DevPortal.h"
#include "live/LiveScreenModel.h"
#include "sources/Catalog.h"

#include <QTest>

#include <functional>

// What a live screen over `app` works with, previewing through `engine`.
inline ScreenDeps liveDeps(AppStateFixture &app, Catalog &catalog, EngineRig &engine)
{
    ScreenDeps deps = app.screenDeps();
    deps.catalog = &catalog;
    deps.playback = engine.engine.get();
    deps.clock = &engine.clock;
    return deps;
}

// A live screen over the top entry of `app`, previewing through `engine`, shown on top and
// come on screen.
inline std::unique_ptr<LiveScreenModel> liveScreenOver(
    AppStateFixture &app, Catalog &catalog, EngineRig &engine)
{
    auto screen = std::make_unique<LiveScreenModel>(liveDeps(app, catalog, engine), app.topEntry());
    showAsLayerWould(*screen, *app.state);
    return screen;
}

// A live screen over the demo portal's Xtream-Codes account, on the scripted engine, in
// virtual time; the stack holds home and live.
struct LiveScreenRig {
    LiveScreenRig()
    {
        app.cacheDevice(portal.deviceRecord(u"00:1a:79:00:00:01"_qs));
        app.makeState({ Routes::Home {}, Routes::Live {} });
        catalog
            = std::make_unique<Catalog>(&app.http.http(), &engine.clock, [] { return u"Uncategorized"_qs; });
        screen = liveScreenOver(app, *catalog, engine);
    }

    bool loaded()
    {
        return QTest::qWaitFor([this] { return screen->loaded(); }, 5000);
    }
    const LiveLists &lists() const { return screen->lists(); }
    Playlist playlist() const { return *app.state->activePlaylist(); }
    QString keyAt(int row) const
    {
        return itemKey(ContentType::live, playlist().id, lists().channelAt(row)->id);
    }
    QString route() const { return app.route(); }
    PlayQueue topQueue() const { return std::get<Routes::Player>(app.state->current()).queue; }
    int loads() const { return int(engine.platform->loads.size()); }

    DevPortal portal { DevPortalOptions { .port = 0, .playlists = 1 }, DemoMedia {} };
    AppStateFixture app;
    EngineRig engine;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<LiveScreenModel> screen;
};
