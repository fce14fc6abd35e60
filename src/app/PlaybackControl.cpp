#include "PlaybackControl.h"

namespace {
PlaybackControl *g_shared = nullptr;
}

PlaybackControl *PlaybackControl::shared() { return g_shared; }

void PlaybackControl::setShared(PlaybackControl *control) { g_shared = control; }
