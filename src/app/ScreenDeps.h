#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class AppClock;
class AppState;
class Catalog;
class Http;
class KeyRouter;
class PictureCache;
class PlaybackControl;
class ScreensAhead;

// What every screen view-model works with, every member set: the program fills it once with
// its services; tests hand in their own.
struct ScreenDeps {
    AppState *app = nullptr;
    KeyRouter *router = nullptr;
    Catalog *catalog = nullptr;
    Http *http = nullptr;
    // Monotonic and wall time, and timers.
    AppClock *clock = nullptr;
    // The one playback engine, which the live preview and the player play through; the
    // screens of playback and above reach all of it through PlayerEngine::of().
    PlaybackControl *playback = nullptr;
    PictureCache *pictures = nullptr;
    // Screens made before they are opened; the route table sets it for the screens it makes.
    ScreensAhead *ahead = nullptr;
    // Opens an address with the desktop (browser, mail program).
    std::function<bool(const QUrl &)> openUrl;
    // Ends the application the way Ctrl+Q does.
    std::function<void()> quit;
    // The portal base address.
    QString portalAddress;
};
