#pragma once

#include "AppStateFixture.h"
#include "LayerStandIn.h"
#include "app/ActivationScreenModel.h"
#include "sources/Catalog.h"

#include <QUrl>

#include <memory>

// A device screen over a loopback portal, a virtual clock, its own catalog and a browser
// that only records what it was asked to open.
class ActivationFixture : public ::testing::Test {
protected:
    void SetUp() override { setActiveLanguage(u"en"_qs); }

    // The screen over the cached record as it stands, alone on the stack or pushed over home.
    ActivationScreenModel &open(bool pushed = false)
    {
        screen.reset();
        fixture.makeState(pushed ? QList<Route> { Routes::Home {}, Routes::Activation {} }
                                 : QList<Route> { Routes::Activation {} });
        ScreenDeps deps = fixture.screenDeps();
        deps.catalog = &catalog;
        deps.openUrl = [this](const QUrl &url) {
            opened.append(url);
            return true;
        };
        deps.portalAddress = fixture.portal;
        screen = std::make_unique<ActivationScreenModel>(deps, fixture.topEntry());
        showAsLayerWould(*screen, *fixture.state);
        return *screen;
    }

    // The same over a cached record with `playlists` playlists; -1: no record.
    ActivationScreenModel &start(int playlists, bool pushed = false)
    {
        if (playlists < 0)
            fixture.prefs->defaults().remove(deviceCacheKey(fixture.portal));
        else
            fixture.cacheDevice(AppStateFixture::device(QList<qint64>(playlists, 7)));
        return open(pushed);
    }

    LoopbackServer server;
    AppStateFixture fixture { server.baseUrl() };
    Catalog catalog { &fixture.http.http(), &fixture.clock, [] { return u"Uncategorized"_qs; } };
    QList<QUrl> opened;
    std::unique_ptr<ActivationScreenModel> screen;
};
