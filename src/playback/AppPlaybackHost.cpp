#include "AppPlaybackHost.h"

#include "PlayerEngine.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "playback/engines/GstPlatformPlayer.h"
#include "playback/engines/LibVlcPlayer.h"

QString AppPlaybackHost::userAgent() const
{
    return m_prefs->userAgent();
}

PictureMode AppPlaybackHost::aspectMode() const
{
    return m_prefs->aspectMode();
}

void AppPlaybackHost::addRecent(const PlayItem &item)
{
    m_prefs->addRecent(item);
}

void AppPlaybackHost::saveResume(const QString &key, double pos, double dur)
{
    m_prefs->saveResume(key, pos, dur);
}

QString AppPlaybackHost::message(const QString &key) const
{
    return ::tr(key);
}

PlayerEngine *PlayerEngine::shared()
{
    static PlayerEngine *engine = new PlayerEngine(Backends{
        std::make_unique<GstPlatformPlayer>(GstPlatformPlayer::Audio::device, [] { return localeFor(activeLanguage()); }),
        [] { return std::make_unique<LibVlcPlayer>(); },
        AppClock::system(), std::make_shared<AppPlaybackHost>(Prefs::shared()) });
    return engine;
}
