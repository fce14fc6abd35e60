#pragma once

#include "model/Records.h"

#include <QDateTime>

// A programme is on air from its start up to, not including, its end.
bool isOnAir(const EpgEntry &entry, const QDateTime &now);
// Share of an airing programme that has gone by, 0 to 1; a length under a second counts as one.
double airProgress(const EpgEntry &entry, const QDateTime &now);
