#pragma once

#include "app/Key.h"

#include <QString>
#include <QStringList>

#include <optional>

// The home screen's keyboard focus graph over its five tiles, five actions and the cards of
// the continue-watching row ("r0", "r1", ...). Directions are logical: the key router has
// already swapped left and right for a right-to-left interface.
namespace HomeFocus {

inline const QStringList kActions = { QStringLiteral("search"), QStringLiteral("fav"),
    QStringLiteral("reload"), QStringLiteral("settings"), QStringLiteral("exit") };

// The id of card `index`.
QString recentId(int index);
// N of "rN" when the rest is a decimal number; nothing for any other id.
std::optional<int> recentIndex(const QString &id);

// Where an arrow key or Tab moves the focus (empty: nothing focused) with `recentCount` cards
// in the row; the same id when the focus stays. Nothing when the key is not a move the graph
// uses (Tab while something is focused, any other key).
std::optional<QString> move(const QString &focus, Key::Kind kind, int recentCount);

} // namespace HomeFocus
