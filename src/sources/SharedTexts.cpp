#include "SharedTexts.h"

#include <QHashFunctions>

SharedTexts::SharedTexts()
    : m_slots(std::size_t(kSlots))
{
}

QString SharedTexts::shared(QString text)
{
    // An empty text holds no storage; a null one must stay null.
    if (text.isEmpty())
        return text;
    QString &slot = m_slots[std::size_t(qHash(QStringView(text)) & std::size_t(kSlots - 1))];
    if (slot != text)
        slot = std::move(text);
    return slot;
}
