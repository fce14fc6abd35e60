#include "Services.h"

#include "FirstFrame.h"
#include "ScreenTable.h"
#include "WindowSize.h"
#include "app/AppState.h"
#include "app/Defaults.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "kit/ImageStore.h"
#include "playback/AppPlaybackHost.h"
#include "playback/PlayerEngine.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"
#include "sources/AppClock.h"
#include "sources/Catalog.h"
#include "sources/DeviceIdentity.h"
#include "sources/Http.h"
#include "sources/Registered.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace {

PlayerEngine::Backends realBackends(AppClock *clock, Prefs *prefs)
{
    return { std::make_unique<GstPlatformPlayer>(
                 GstPlatformPlayer::Audio::device, [] { return localeFor(activeLanguage()); }),
        [] { return std::make_unique<LibVlcPlayer>(); }, clock, std::make_shared<AppPlaybackHost>(prefs) };
}

} // namespace

ServicePlaces ServicePlaces::program()
{
    return { Defaults::standardFilePath(), Http::defaultCacheDir(), ImageStore::defaultCacheDir(),
        portalBaseAddress(), AppClock::system() };
}

Services::Services(const ServicePlaces &places)
    : m_clock(places.clock)
    , m_portalAddress(places.portalAddress)
{
    m_prefs = std::make_unique<Prefs>(places.settingsFile, m_portalAddress);
    Prefs *prefs = m_prefs.get();
    const auto userAgent = [prefs] { return prefs->userAgent(); };
    m_http = std::make_unique<Http>(
        HttpOptions { .cacheDir = places.httpCache, .userAgent = userAgent, .clock = m_clock });
    m_catalog = std::make_unique<Catalog>(
        m_http.get(), m_clock, [] { return tr(QStringLiteral("uncategorized")); });
    m_app = std::make_unique<AppState>(prefs, m_http.get(), m_portalAddress, m_clock);
    m_router = std::make_unique<KeyRouter>(m_app.get(), KeyRouterHooks {});
    m_images = std::make_unique<ImageStore>(places.imageCache, userAgent, nullptr, m_clock);
    m_engine = std::make_unique<PlayerEngine>(realBackends(m_clock, prefs));
    m_windowSize.reset(new WindowSize);
    m_firstFrame.reset(new FirstFrame);
    m_screens = std::make_unique<ScreenTable>(screenDeps());
}

Services::~Services() = default;

void Services::registerInstances()
{
    Registered<AppClock>::set(m_clock);
    Registered<Prefs>::set(m_prefs.get());
    Registered<AppState>::set(m_app.get());
    Registered<KeyRouter>::set(m_router.get());
    Registered<ImageStore>::set(m_images.get());
    Registered<PlayerEngine>::set(m_engine.get());
    Registered<WindowSize>::set(m_windowSize.get());
    Registered<FirstFrame>::set(m_firstFrame.get());
    Registered<ScreenTable>::set(m_screens.get());
}

ScreenDeps Services::screenDeps() const
{
    ScreenDeps deps;
    deps.app = m_app.get();
    deps.router = m_router.get();
    deps.catalog = m_catalog.get();
    deps.http = m_http.get();
    deps.clock = m_clock;
    deps.playback = m_engine.get();
    deps.pictures = m_images.get();
    deps.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    deps.quit = [] { QCoreApplication::quit(); };
    deps.portalAddress = m_portalAddress;
    return deps;
}
