#pragma once

#include "app/Key.h"

#include <QString>

#include <optional>

// The home screen's keyboard focus graph over its five tiles, five actions and the cards of
// the continue-watching row. Directions are logical: the key router has already swapped left
// and right for a right-to-left interface.
namespace HomeFocus {

// What can hold the focus: a tile, an action or a card.
enum class Target {
    none,
    live,
    movies,
    series,
    account,
    playlist,
    search,
    fav,
    reload,
    settings,
    exit,
    card
};

struct Spot {
    Target target = Target::none;
    int card = 0; // the card's index, for Target::card
    bool operator==(const Spot &) const = default;
};

inline constexpr Target kActions[]
    = { Target::search, Target::fav, Target::reload, Target::settings, Target::exit };

// The id the views know a spot by: "live", "movies", "series", "account", "playlist", the
// actions "search", "fav", "reload", "settings", "exit", the cards "r0", "r1", ...; empty for none.
QString idOf(Spot spot);
// The spot of an id; none for any other text ("rN" needs N in decimal digits).
Spot spotOf(const QString &id);

// Where an arrow key or Tab moves the focus with `recentCount` cards in the row; the same spot
// when the focus stays. Nothing when the key is not a move the graph uses (Tab while something
// is focused, any other key).
std::optional<Spot> move(Spot focus, Key::Kind kind, int recentCount);

} // namespace HomeFocus
