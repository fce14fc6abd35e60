#pragma once

#include "model/Records.h"

class AppState;

// Opens an item of a result or favourites list: a channel is recorded as recently watched
// and plays full screen in a queue over `items` from `index` (asking to resume); a movie or a
// series opens its details screen. Nothing happens for an index outside `items`.
void openContent(AppState &app, const Playlist &playlist, const SharedMediaItems &items, qsizetype index);
