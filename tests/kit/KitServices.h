#pragma once

#include "app/AppState.h"
#include "app/Defaults.h"
#include "app/KeyRouter.h"
#include "app/Prefs.h"
#include "kit/ImageStore.h"
#include "sources/AppClock.h"
#include "sources/DeviceIdentity.h"
#include "sources/Http.h"
#include "sources/Registered.h"

#include <gtest/gtest.h>

#include <memory>

// The instances the kit's items and views reach without a constructor, on the test process's
// own folders and the system clock, registered as the program registers its own.
class KitServices {
public:
    KitServices()
        : m_prefs(Defaults::standardFilePath(), portalBaseAddress())
        , m_http(HttpOptions { .cacheDir = Http::defaultCacheDir() })
        , m_app(&m_prefs, &m_http, portalBaseAddress(), AppClock::system())
        , m_router(&m_app)
        , m_images(ImageStore::defaultCacheDir(), [] { return Prefs::kDefaultUserAgent; })
    {
    }

    void registerInstances()
    {
        Registered<Prefs>::set(&m_prefs);
        Registered<AppState>::set(&m_app);
        Registered<KeyRouter>::set(&m_router);
        Registered<ImageStore>::set(&m_images);
    }

    Prefs *prefs() { return &m_prefs; }
    AppState *app() { return &m_app; }
    KeyRouter *router() { return &m_router; }
    ImageStore *images() { return &m_images; }

private:
    Prefs m_prefs;
    Http m_http;
    AppState m_app;
    KeyRouter m_router;
    ImageStore m_images;
};

// Kit services for every test of a process that includes this: made before its first test and
// taken down after its last, while the application still stands.
class KitServicesRun : public ::testing::Environment {
public:
    void SetUp() override
    {
        s_services = std::make_unique<KitServices>();
        s_services->registerInstances();
    }
    void TearDown() override { s_services.reset(); }

    static inline std::unique_ptr<KitServices> s_services;
};

inline ::testing::Environment *const kKitServicesRun
    = ::testing::AddGlobalTestEnvironment(new KitServicesRun);

inline KitServices &kitServices()
{
    return *KitServicesRun::s_services;
}
