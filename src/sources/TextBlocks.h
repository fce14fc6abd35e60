#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringConverter>
#include <QStringView>

// Texts of a long list written one after another into shared blocks. Each string handed
// out points into its block and holds a reference to it, so a text costs its characters
// and no allocation of its own, and the block goes when its last text does. Strings stay
// ordinary QStrings: copies share, and a change detaches as usual.
class TextBlocks {
public:
    // Units of one block.
    static constexpr qsizetype kBlockUnits = 32 * 1024;
    // Longer texts get storage of their own.
    static constexpr qsizetype kMaxPackedUnits = 1024;

    // The text of UTF-8 bytes as M3uText::decoded reads it.
    QString decoded(QByteArrayView bytes);
    // A copy of these characters.
    QString copy(QStringView text);

private:
    // Room for `units` more characters and a terminator; null when they do not fit a block.
    char16_t *room(qsizetype units);
    // The `units` characters just written at the free position, as a string.
    QString handOut(qsizetype units);

    QString::DataPointer m_block;
    qsizetype m_used = 0;
    QStringDecoder m_decoder { QStringDecoder::Utf8, QStringDecoder::Flag::Stateless };
};
