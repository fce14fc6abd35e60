#pragma once

#include "app/Key.h"

#include <optional>

// The arrow keys over a grid of `count` cells `columns` wide, as the poster, favourites and
// settings grids move their focus (-1: none). An arrow from none goes to the first cell; Up moves
// only when there is a row above; Down, Left and Right stay inside the cells. Nothing for
// any other key.
std::optional<int> gridFocusMove(int focus, Key::Kind kind, int columns, int count);
