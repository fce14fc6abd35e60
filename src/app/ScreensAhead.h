#pragma once

#include "Routes.h"

// Screens made before their entry is pushed, so that they open at once.
class ScreensAhead {
public:
    virtual ~ScreensAhead() = default;

    // Makes the screen of `route`, a route without a payload, in place of any made before;
    // the next push of that route takes it.
    virtual void prepare(const Route &route) = 0;
    // Drops the screen made ahead: what it would show is out of date.
    virtual void dropPrepared() = 0;
};
