#pragma once

#include "TextBlocks.h"

#include <QByteArrayView>
#include <QString>
#include <QStringConverter>

#include <vector>

// Decodes UTF-8 texts, handing out one shared string for texts seen lately, so that a
// text repeated over a long list (a channel name in many groups) is stored once, not once
// per use. A fixed number of slots, each holding the last text whose bytes hashed to it:
// a lookup costs one hash and, for a repeated text, one comparison and no allocation;
// memory stays bounded however many texts differ.
class SharedTexts {
public:
    static constexpr qsizetype kSlots = qsizetype(1) << 13;
    // Longer texts are decoded on their own.
    static constexpr qsizetype kMaxSharedBytes = 1024;

    SharedTexts();

    // The text of UTF-8 bytes as M3uText::decoded reads it, or an equal string handed out
    // before.
    QString text(QByteArrayView bytes);
    // The text of UTF-8 bytes, not looked up (for texts that seldom repeat); stored packed
    // with the others.
    QString packed(QByteArrayView bytes) { return m_blocks.decoded(bytes); }

private:
    struct Slot {
        QString text;
        size_t hash = 0; // of the bytes it was decoded from
    };

    QStringView decodedInto(QByteArrayView bytes, char16_t *units);

    std::vector<Slot> m_slots;
    TextBlocks m_blocks;
    QStringDecoder m_decoder { QStringDecoder::Utf8, QStringDecoder::Flag::Stateless };
};
