#pragma once

#include "model/Records.h"

#include <QSet>
#include <QString>

// The item keys of stored favourites, to mark them in a content list.
QSet<QString> favoriteKeys(const QList<FavoriteEntry> &entries);
