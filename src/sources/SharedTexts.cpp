#include "SharedTexts.h"

#include "M3uText.h"

#include <QHashFunctions>

namespace {

bool isAscii(QByteArrayView bytes)
{
    uchar high = 0;
    for (const char byte : bytes)
        high |= uchar(byte);
    return high < 0x80;
}

} // namespace

SharedTexts::SharedTexts()
    : m_slots(std::size_t(kSlots))
{
}

QStringView SharedTexts::decodedInto(QByteArrayView bytes, char16_t *units)
{
    QChar *const start = reinterpret_cast<QChar *>(units);
    return QStringView(start, m_decoder.appendToBuffer(start, bytes) - start);
}

QString SharedTexts::text(QByteArrayView bytes)
{
    // A leading byte-order mark is kept as a character, which the decoder would drop.
    if (bytes.isEmpty() || bytes.size() > kMaxSharedBytes || bytes.startsWith("\xEF\xBB\xBF"))
        return M3uText::decoded(bytes);
    const size_t hash = qHash(bytes);
    Slot &slot = m_slots[hash & size_t(kSlots - 1)];
    if (isAscii(bytes)) {
        if (slot.hash != hash || slot.text != QLatin1StringView(bytes))
            slot = { m_blocks.decoded(bytes), hash };
        return slot.text;
    }
    // UTF-8 never takes fewer bytes than UTF-16 units.
    char16_t units[kMaxSharedBytes]; // left uninitialised, unlike QChar
    const QStringView text = decodedInto(bytes, units);
    if (slot.hash != hash || slot.text != text)
        slot = { m_blocks.copy(text), hash };
    return slot.text;
}
