#pragma once

#include "model/Records.h"

#include <QString>

#include <optional>

// The text of a poster's rating badge.
namespace PosterRating {

// The rating with one decimal when it is a plain positive number written with a
// point ("7.26" gives "7.3", "8" gives "8.0"); nothing otherwise, nor when it
// rounds to "0.0".
std::optional<QString> badge(const OptText &rating);

} // namespace PosterRating
