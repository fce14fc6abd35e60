#pragma once

#include <QString>

#include <optional>

class QKeyEvent;

// A key as the screens see it.
struct Key {
    enum class Kind { character, up, down, left, right, enter, esc, space, tab, pageUp, pageDown, home, end };

    Kind kind = Kind::character;
    QString text; // the one user-perceived character of `character`; empty for the other kinds
    bool held = false; // a repeat sent while the key is held down

    static Key character(const QString &text) { return { Kind::character, text }; }
    bool operator==(const Key &) const = default;

    // The key of a key press, modifiers ignored: Return and keypad Enter give `enter`, Backtab
    // gives `tab`, any other key its first character lower-cased (Shift+F gives "f");
    // nothing for a key without text. An auto-repeated press is `held`.
    static std::optional<Key> fromEvent(const QKeyEvent &event);
};
