#pragma once

#include "XtreamProvider.h"
#include "LayerStandIn.h"
#include "../app/AppStateFixture.h"
#include "sources/Catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

// A titled stream of a provider list: a movie, or a series when `series` is set.
struct Title {
    QString id;
    QString name;
    QString categoryId = u"10"_qs;
};

// get_vod_streams or get_series bodies of these titles, in order.
inline QByteArray streamsBody(const QList<Title> &titles, bool series = false)
{
    QJsonArray list;
    for (const Title &title : titles) {
        list.append(QJsonObject { { series ? u"series_id"_qs : u"stream_id"_qs, title.id },
            { u"name"_qs, title.name }, { u"category_id"_qs, title.categoryId }, { u"rating"_qs, u"7.5"_qs },
            { u"container_extension"_qs, u"mp4"_qs } });
    }
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}

// The movie and series screens over an Xtream-Codes provider on the loopback server: the
// device has that one playlist, the stack holds home and the screen's route.
class VodFixture {
public:
    VodFixture()
    {
        // Texts are compared in English, whatever another test program stored meanwhile.
        setActiveLanguage(u"en"_qs);
        DeviceResponse device = AppStateFixture::device({});
        device.playlists = { provider.playlist() };
        fixture.cacheDevice(device);
        catalog = std::make_unique<Catalog>(&fixture.http.http(), &fixture.clock, [] { return u"Other"_qs; });
    }

    Playlist playlist() const { return provider.playlist(); }
    AppState &app() { return *fixture.state; }
    Prefs &prefs() { return *fixture.prefs; }

    // What the screens work with: the state, its router, Http, clock and this catalog.
    ScreenDeps screenDeps()
    {
        ScreenDeps deps = fixture.screenDeps();
        deps.catalog = catalog.get();
        return deps;
    }

    // The screen of `route`, pushed over home, made and shown.
    template <typename Screen> std::unique_ptr<Screen> open(const Route &route)
    {
        fixture.makeState({ Routes::Home {}, route });
        auto screen = std::make_unique<Screen>(screenDeps(), fixture.topEntry());
        showAsLayerWould(*screen, *fixture.state);
        return screen;
    }

    // Waits for a condition that loopback answers make true.
    static bool eventually(const std::function<bool()> &done) { return QTest::qWaitFor(done, 5000); }

    XtreamProvider provider;
    AppStateFixture fixture;
    std::unique_ptr<Catalog> catalog;
};
