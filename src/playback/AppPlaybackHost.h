#pragma once

#include "PlaybackHost.h"

class Prefs;

// The engine's view of the settings store and the message table.
class AppPlaybackHost final : public PlaybackHost {
public:
    explicit AppPlaybackHost(Prefs *prefs)
        : m_prefs(prefs)
    {
    }

    QString userAgent() const override;
    PictureMode aspectMode() const override;
    void addRecent(const PlayItem &item) override;
    void saveResume(const QString &key, double pos, double dur) override;
    QString message(const QString &key) const override;

private:
    Prefs *m_prefs;
};
