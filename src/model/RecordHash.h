#pragma once

#include "Records.h"

#include <QHashFunctions>

// Hashes over every field, in step with the records' equality.
size_t qHash(const Playlist &value, size_t seed = 0);
size_t qHash(const Catchup &value, size_t seed = 0);
size_t qHash(const MediaItem &value, size_t seed = 0);
size_t qHash(const Episode &value, size_t seed = 0);
size_t qHash(const FavoriteEntry &value, size_t seed = 0);
size_t qHash(const PlayItem &value, size_t seed = 0);
