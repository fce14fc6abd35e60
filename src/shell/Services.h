#pragma once

#include "app/ScreenDeps.h"

#include <QString>

#include <memory>

class AppClock;
class AppState;
class Catalog;
class FirstFrame;
class Http;
class ImageStore;
class KeyRouter;
class PlayerEngine;
class Prefs;
class ScreenTable;
class WindowSize;

// Where the services keep their files, which portal they talk to and the clock they run on:
// the program's own by default.
struct ServicePlaces {
    QString settingsFile;
    QString httpCache;
    QString imageCache;
    QString portalAddress;
    AppClock *clock = nullptr;

    static ServicePlaces program();
};

// The instances that exist once per run, made in dependency order and owned for the run.
// Code below the shell is handed them; registerInstances() gives them to QML and to the
// items QML makes.
class Services {
public:
    explicit Services(const ServicePlaces &places = ServicePlaces::program());
    ~Services();
    Services(const Services &) = delete;
    Services &operator=(const Services &) = delete;

    void registerInstances();

    Prefs *prefs() const { return m_prefs.get(); }
    Http *http() const { return m_http.get(); }
    Catalog *catalog() const { return m_catalog.get(); }
    AppState *app() const { return m_app.get(); }
    KeyRouter *router() const { return m_router.get(); }
    ImageStore *images() const { return m_images.get(); }
    PlayerEngine *engine() const { return m_engine.get(); }
    WindowSize *windowSize() const { return m_windowSize.get(); }
    FirstFrame *firstFrame() const { return m_firstFrame.get(); }
    ScreenTable *screens() const { return m_screens.get(); }
    // What every screen works with.
    ScreenDeps screenDeps() const;

private:
    AppClock *m_clock;
    QString m_portalAddress;
    std::unique_ptr<Prefs> m_prefs;
    std::unique_ptr<Http> m_http;
    std::unique_ptr<Catalog> m_catalog;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<KeyRouter> m_router;
    std::unique_ptr<ImageStore> m_images;
    std::unique_ptr<PlayerEngine> m_engine;
    std::unique_ptr<WindowSize> m_windowSize;
    std::unique_ptr<FirstFrame> m_firstFrame;
    std::unique_ptr<ScreenTable> m_screens;
};
