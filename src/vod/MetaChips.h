#pragma once

#include "model/Records.h"

#include <QVariantList>

// The chips under a movie's or series' title, in order, each only when it has something
// to say: year (the first four characters of a release date), rating (a positive number,
// one decimal), duration, genre. Each chip is a map of text, icon and color.
QVariantList metaChips(
    const OptText &year, const OptText &rating, const OptText &duration, const OptText &genre);
