#pragma once

#include "ManualClock.h"
#include "TestHttp.h"
#include "app/AppState.h"
#include "app/Prefs.h"

#include <QTemporaryDir>

#include <memory>

// An isolated AppState over a temporary defaults file, its own Http and a virtual clock.
// Seed a cached device record before calling makeState().
class AppStateFixture {
public:
    explicit AppStateFixture(QString portal = QStringLiteral("http://127.0.0.1:9"))
        : portal(std::move(portal))
        , prefs(std::make_unique<Prefs>(dir.filePath(QStringLiteral("defaults.json")), this->portal))
    {
    }

    void cacheDevice(const DeviceResponse &device) { prefs->saveDeviceCache(device, deviceCacheKey(portal)); }

    AppState &makeState()
    {
        state = std::make_unique<AppState>(prefs.get(), &http.http(), portal, &clock);
        return *state;
    }

    static Playlist playlist(qint64 id, const QString &url = QStringLiteral("http://127.0.0.1:9/list.m3u"))
    {
        Playlist playlist;
        playlist.id = id;
        playlist.name = QStringLiteral("List %1").arg(id);
        playlist.url = url;
        return playlist;
    }

    static DeviceResponse device(const QList<qint64> &playlistIds)
    {
        DeviceResponse device;
        device.mac = QStringLiteral("00:1a:79:00:00:01");
        device.device_key = QStringLiteral("483920");
        for (qint64 id : playlistIds)
            device.playlists.append(playlist(id));
        return device;
    }

    QTemporaryDir dir;
    QString portal;
    std::unique_ptr<Prefs> prefs;
    TestHttp http;
    ManualClock clock;
    std::unique_ptr<AppState> state;
};
