#include "GridFocus.h"

#include <algorithm>

std::optional<int> gridFocusMove(int focus, Key::Kind kind, int columns, int count)
{
    const bool arrow = kind == Key::Kind::up || kind == Key::Kind::down || kind == Key::Kind::left
        || kind == Key::Kind::right;
    if (!arrow)
        return std::nullopt;
    if (focus < 0 && count > 0)
        return 0;
    const auto clamped = [count](int cell) { return std::max(0, std::min(cell, count - 1)); };
    switch (kind) {
    case Key::Kind::up:
        return focus - columns >= 0 ? focus - columns : focus;
    case Key::Kind::down:
        return clamped(focus + columns);
    case Key::Kind::left:
        return clamped(focus - 1);
    default:
        return clamped(focus + 1);
    }
}
