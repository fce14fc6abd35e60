#pragma once

#include "app/PictureMode.h"
#include "model/Records.h"

#include <QString>

// What the engine uses of the settings store and the message texts.
class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;
    virtual QString userAgent() const = 0;
    virtual PictureMode aspectMode() const = 0;
    virtual void addRecent(const PlayItem &item) = 0;
    virtual void saveResume(const QString &key, double pos, double dur) = 0;
    virtual QString message(const QString &key) const = 0;
};
