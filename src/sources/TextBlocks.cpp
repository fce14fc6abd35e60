#include "TextBlocks.h"

#include "M3uText.h"

#include <algorithm>

char16_t *TextBlocks::room(qsizetype units)
{
    if (units > kMaxPackedUnits)
        return nullptr;
    if (!m_block.d_ptr() || m_used + units + 1 > kBlockUnits) {
        m_block = QString::DataPointer(QTypedArrayData<char16_t>::allocate(kBlockUnits));
        m_used = 0;
    }
    return m_block.data() + m_used;
}

QString TextBlocks::handOut(qsizetype units)
{
    char16_t *const start = m_block.data() + m_used;
    start[units] = u'\0';
    m_used += units + 1;
    m_block.d_ptr()->ref();
    return QString(QString::DataPointer(m_block.d_ptr(), start, units));
}

QString TextBlocks::copy(QStringView text)
{
    if (text.isEmpty())
        return text.toString();
    char16_t *const units = room(text.size());
    if (!units)
        return text.toString();
    std::copy(text.utf16(), text.utf16() + text.size(), units);
    return handOut(text.size());
}

QString TextBlocks::decoded(QByteArrayView bytes)
{
    // A leading byte-order mark is kept as a character, which the decoder would drop.
    if (bytes.isEmpty() || bytes.startsWith("\xEF\xBB\xBF"))
        return M3uText::decoded(bytes);
    // UTF-8 never takes fewer bytes than UTF-16 units.
    char16_t *const units = room(bytes.size());
    if (!units)
        return M3uText::decoded(bytes);
    QChar *const start = reinterpret_cast<QChar *>(units);
    return handOut(m_decoder.appendToBuffer(start, bytes) - start);
}
