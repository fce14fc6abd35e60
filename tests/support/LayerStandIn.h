#pragma once

#include "app/AppState.h"
#include "app/RouteScreen.h"

// Tells `screen` what its layer in the root view would: its view is made, and it is shown on
// top while its entry is the top one; at once and again after every change of `app`'s stack.
inline void showAsLayerWould(RouteScreen &screen, AppState &app)
{
    const auto report = [&screen] { screen.layerChanged(true, screen.isTop()); };
    QObject::connect(&app, &AppState::stackChanged, &screen, report);
    report();
}

// What the layer reports as another screen comes over `screen` and leaves again.
inline void coverAndUncover(RouteScreen &screen)
{
    screen.layerChanged(true, false);
    screen.layerChanged(true, true);
}
