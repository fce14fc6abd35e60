#pragma once

#include "LoopbackServer.h"
#include "ManualClock.h"
#include "RunTask.h"
#include "TestHttp.h"
#include "app/AppState.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/PictureCache.h"
#include "app/PlaybackControl.h"
#include "app/Prefs.h"
#include "app/ScreenDeps.h"
#include "sources/Catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

inline const QString kDevicePath = u"/api/app/device"_qs;

inline Key key(Key::Kind kind)
{
    return { kind, {} };
}

// Keys one sign each: U D L R arrows, E Enter, S Space, T Tab, X Esc, < Home, > End, [ Page Up,
// ] Page Down; any other sign is typed.
inline QList<Key> keys(const char *spelled)
{
    static const QHash<char, Key::Kind> kinds { { 'U', Key::Kind::up }, { 'D', Key::Kind::down },
        { 'L', Key::Kind::left }, { 'R', Key::Kind::right }, { 'E', Key::Kind::enter },
        { 'S', Key::Kind::space }, { 'T', Key::Kind::tab }, { 'X', Key::Kind::esc }, { '<', Key::Kind::home },
        { '>', Key::Kind::end }, { '[', Key::Kind::pageUp }, { ']', Key::Kind::pageDown } };
    QList<Key> result;
    for (const char *c = spelled; *c; ++c)
        result.append(kinds.contains(*c) ? key(kinds.value(*c)) : Key::character(QString(QLatin1Char(*c))));
    return result;
}

// Hands each key to `handler`; true when it took them all.
template <typename Handler> bool press(Handler &handler, const char *spelled)
{
    bool tookAll = true;
    for (const Key &key : keys(spelled))
        tookAll = handler.handleKey(key) && tookAll;
    return tookAll;
}

// A portal record with `playlistCount` playlists (ids 10, 11, ...).
inline QByteArray portalRecord(int playlistCount)
{
    QJsonArray playlists;
    for (int i = 0; i < playlistCount; ++i)
        playlists.append(QJsonObject {
            { u"id"_qs, 10 + i }, { u"name"_qs, u"P"_qs }, { u"url"_qs, u"http://127.0.0.1:9/p.m3u"_qs } });
    return QJsonDocument(QJsonObject { { u"mac"_qs, u"00:1a:79:00:00:02"_qs },
                             { u"device_key"_qs, u"777111"_qs }, { u"playlists"_qs, playlists } })
        .toJson();
}

// Our own playback interface's double: counts the stops it was asked for.
class RecordingPlayback final : public PlaybackControl {
public:
    void stop() override { ++stops; }
    int stops = 0;
};

// The picture store's double: counts the times it was emptied.
class RecordingPictures final : public PictureCache {
public:
    void clear() override { ++clears; }
    int clears = 0;
};

// An isolated AppState over a temporary defaults file, its own Http and a virtual clock.
// Seed a cached device record before calling makeState().
class AppStateFixture {
public:
    explicit AppStateFixture(QString portal = u"http://127.0.0.1:9"_qs)
        : portal(std::move(portal))
        , prefs(std::make_unique<Prefs>(dir.filePath(u"defaults.json"_qs), this->portal))
    {
    }

    void cacheDevice(const DeviceResponse &device) { prefs->saveDeviceCache(device, deviceCacheKey(portal)); }

    AppState &makeState()
    {
        state = std::make_unique<AppState>(prefs.get(), &http.http(), portal, &clock);
        router = std::make_unique<KeyRouter>(state.get());
        return *state;
    }

    // The state with these routes stacked bottom first, and a router over it.
    AppState &makeState(const QList<Route> &stack)
    {
        makeState().replace(stack.first());
        for (const Route &route : stack.mid(1))
            state->push(route);
        return *state;
    }

    QString route() const { return routeName(state->current()); }

    // What a screen over this state works with: the state, its router, Http, catalog and
    // clock, the recording playback and pictures, a browser and quit that record what they
    // were asked.
    ScreenDeps screenDeps()
    {
        return { .app = state.get(),
            .router = router.get(),
            .catalog = &catalog,
            .http = &http.http(),
            .clock = &clock,
            .playback = &playback,
            .pictures = &pictures,
            .openUrl =
                [this](const QUrl &url) {
            opened.append(url);
            return true;
            },
            .quit = [this] { ++quits; },
            .portalAddress = portal };
    }
    // The top entry of the stack, for a screen made over it.
    RouteEntry topEntry() const { return state->stack().last(); }

    static Playlist playlist(qint64 id, const QString &url = u"http://127.0.0.1:9/list.m3u"_qs)
    {
        return { .id = id, .name = u"List %1"_qs.arg(id), .url = url };
    }

    static DeviceResponse device(const QList<qint64> &playlistIds)
    {
        DeviceResponse device { .mac = u"00:1a:79:00:00:01"_qs, .device_key = u"483920"_qs };
        for (qint64 id : playlistIds)
            device.playlists.append(playlist(id));
        return device;
    }

    QTemporaryDir dir;
    QString portal;
    std::unique_ptr<Prefs> prefs;
    TestHttp http;
    ManualClock clock;
    Catalog catalog { &http.http(), &clock, [] { return u"Uncategorized"_qs; } };
    RecordingPlayback playback;
    RecordingPictures pictures;
    QList<QUrl> opened;
    int quits = 0;
    std::unique_ptr<AppState> state;
    std::unique_ptr<KeyRouter> router;
};
