#pragma once

#include <QString>

#include <vector>

// Hands out one shared string for texts seen lately, so that a text repeated over a long
// list (a channel name in many groups, a common logo) is stored once, not once per use.
// A fixed number of slots, each holding the last text that hashed to it: lookups cost one
// hash and one comparison, and memory stays bounded however many texts differ.
class SharedTexts {
public:
    static constexpr qsizetype kSlots = qsizetype(1) << 15;

    SharedTexts();

    // `text`, or an equal string handed out before.
    QString shared(QString text);

private:
    std::vector<QString> m_slots;
};
