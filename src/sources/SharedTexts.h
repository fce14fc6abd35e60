#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringConverter>

#include <vector>

// Hands out one shared string for texts seen lately, so that a text repeated over a long
// list (a channel name in many groups, a common logo) is stored once, not once per use.
// A fixed number of slots, each holding the last text that hashed to it: lookups cost one
// hash and one comparison, and memory stays bounded however many texts differ.
class SharedTexts {
public:
    static constexpr qsizetype kSlots = qsizetype(1) << 15;
    // Longer texts are decoded straight into their own string.
    static constexpr qsizetype kMaxBufferedBytes = 1024;

    SharedTexts();

    // `text`, or an equal string handed out before.
    QString shared(QString text);
    // The text of UTF-8 bytes as M3uText::decoded reads it, or an equal string handed out
    // before; a repeated text costs no allocation.
    QString sharedDecoded(QByteArrayView bytes);

private:
    QString &slotOf(QStringView text);

    std::vector<QString> m_slots;
    QStringDecoder m_decoder { QStringDecoder::Utf8, QStringDecoder::Flag::Stateless };
};
