#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class AppClock;
class AppState;
class Catalog;
class Http;
class ImageStore;
class KeyRouter;
class PlaybackControl;
class PlayerEngine;

// What every screen view-model works with. The program fills it once with the shared
// instances; tests hand in their own. Members a screen does not use may stay empty.
struct ScreenDeps {
    AppState *app = nullptr;
    KeyRouter *router = nullptr;
    Catalog *catalog = nullptr;
    Http *http = nullptr;
    // Monotonic and wall time, and timers.
    AppClock *clock = nullptr;
    // The engine the live preview and the player play through.
    PlayerEngine *engine = nullptr;
    // What the onboarding screens need of that engine.
    PlaybackControl *playback = nullptr;
    ImageStore *images = nullptr;
    // Opens an address with the desktop (browser, mail program).
    std::function<bool(const QUrl &)> openUrl;
    // Ends the application the way Ctrl+Q does.
    std::function<void()> quit;
    // The portal base address.
    QString portalAddress;
};
