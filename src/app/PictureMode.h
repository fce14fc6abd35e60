#pragma once

#include <QString>
#include <QtGlobal>

// How the player fits the picture to its area; stored as 0, 1, 2.
enum class PictureMode { stretch = 0, fit = 1, zoom = 2 };

// A stored value as a mode: anything but 1 or 2 is stretch.
PictureMode pictureModeFrom(qint64 stored);
// The mode after `mode`, back to stretch after zoom.
PictureMode nextPictureMode(PictureMode mode);
// The mode's name in the active language.
QString pictureModeLabel(PictureMode mode);
