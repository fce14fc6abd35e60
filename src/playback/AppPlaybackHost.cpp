#include "AppPlaybackHost.h"

#include "app/Localization.h"
#include "app/Prefs.h"

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
