#include "SharedTexts.h"

#include "M3uText.h"

#include <QHashFunctions>

SharedTexts::SharedTexts()
    : m_slots(std::size_t(kSlots))
{
}

QString &SharedTexts::slotOf(QStringView text)
{
    return m_slots[std::size_t(qHash(text) & std::size_t(kSlots - 1))];
}

QString SharedTexts::shared(QString text)
{
    // An empty text holds no storage; a null one must stay null.
    if (text.isEmpty())
        return text;
    QString &slot = slotOf(text);
    if (slot != text)
        slot = std::move(text);
    return slot;
}

QString SharedTexts::sharedDecoded(QByteArrayView bytes)
{
    // A leading byte-order mark is kept as a character, which the decoder would drop.
    if (bytes.isEmpty() || bytes.size() > kMaxBufferedBytes || bytes.startsWith("\xEF\xBB\xBF"))
        return shared(M3uText::decoded(bytes));
    // UTF-8 never takes fewer bytes than UTF-16 units.
    QChar units[kMaxBufferedBytes];
    const QStringView text(units, m_decoder.appendToBuffer(units, bytes) - units);
    QString &slot = slotOf(text);
    if (slot != text)
        slot = text.toString();
    return slot;
}
