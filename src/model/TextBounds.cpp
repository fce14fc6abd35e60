#include "TextBounds.h"

namespace TextBounds {

QByteArrayView cut(QByteArrayView utf8, qsizetype limit)
{
    if (utf8.size() <= limit)
        return utf8;
    // A continuation byte just past the end means the last character would be split; a
    // sequence is at most four bytes, so a longer run of them is no character anyway.
    qsizetype end = limit;
    while (end > 0 && limit - end < 3 && (uchar(utf8[end]) & 0xC0) == 0x80)
        --end;
    if ((uchar(utf8[end]) & 0xC0) == 0x80)
        end = limit;
    return utf8.first(end);
}

QString cut(QString text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    const qsizetype end = limit > 0 && text.at(limit).isLowSurrogate() && text.at(limit - 1).isHighSurrogate()
        ? limit - 1
        : limit;
    text.truncate(end);
    text.squeeze();
    return text;
}

} // namespace TextBounds
