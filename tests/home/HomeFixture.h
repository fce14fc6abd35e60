#pragma once

#include "../app/AppStateFixture.h"
#include "XtreamProvider.h"
#include "kit/ImageStore.h"
#include "sources/Catalog.h"

#include <QUrl>

#include <memory>

// The shared state over a loopback portal and a loopback Xtream-Codes provider, with its own
// catalog, image store and virtual clock; the browser and quitting only record their calls.
class HomeFixture : public ::testing::Test {
protected:
    // The wall clock the screens see.
    static inline const QDateTime kNow = QDateTime(QDate(2030, 6, 1), QTime(9, 41), Qt::UTC);

    void SetUp() override
    {
        setActiveLanguage(u"en"_qs);
        fixture.clock.setNow(kNow);
    }

    // A device record holding the provider's playlist, or `playlistCount` of them (ids 21, 22...).
    DeviceResponse device(int playlistCount = 1) const
    {
        DeviceResponse record { .mac = u"00:1a:79:00:00:05"_qs, .device_key = u"246810"_qs };
        for (int i = 0; i < playlistCount; ++i) {
            Playlist playlist = provider.playlist();
            playlist.id += i;
            record.playlists.append(playlist);
        }
        return record;
    }

    // The state over `record` (none: no cached record) with these routes stacked.
    AppState &state(const std::optional<DeviceResponse> &record, const QList<Route> &stack)
    {
        if (record)
            fixture.cacheDevice(*record);
        fixture.prefs->setSelectedPlaylistId(provider.playlist().id);
        return fixture.makeState(stack);
    }

    // What the screens work with: the fixture's state, router, Http and clock, this catalog
    // and image store, the fixed wall clock, and the recording browser and quit.
    ScreenDeps screenDeps()
    {
        ScreenDeps deps = fixture.screenDeps();
        deps.catalog = &catalog;
        deps.pictures = &images;
        deps.openUrl = [this](const QUrl &url) {
            opened.append(url);
            return true;
        };
        deps.quit = [this] { ++quits; };
        deps.portalAddress = fixture.portal;
        return deps;
    }

    LoopbackServer portal;
    XtreamProvider provider;
    AppStateFixture fixture { portal.baseUrl() };
    // Sits before every expiry the tests use, so no account counts as expired.
    ManualClock catalogClock { QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC) };
    Catalog catalog { &fixture.http.http(), &catalogClock, [] { return u"Uncategorized"_qs; } };
    QTemporaryDir imageDir;
    ImageStore images { imageDir.filePath(u"images"_qs), [] { return u"test"_qs; } };
    QList<QUrl> opened;
    int quits = 0;
};
