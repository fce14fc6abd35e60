#include "M3uText.h"

#include <QTextBoundaryFinder>

namespace M3uText {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

uchar byteAt(QByteArrayView text, qsizetype pos)
{
    return uchar(text[pos]);
}

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// One code point at `pos`; an invalid sequence yields U+FFFD for its first byte, as Qt does.
char32_t decodeAt(QByteArrayView text, qsizetype pos, qsizetype *length)
{
    const uchar lead = byteAt(text, pos);
    *length = 1;
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || lead > 0xF4 || pos + extra >= text.size())
        return kReplacement;
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const uchar next = byteAt(text, pos + i);
        if (!isContinuation(next))
            return kReplacement;
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = { 0, 0x80, 0x800, 0x10000 };
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kReplacement;
    *length = extra + 1;
    return cp;
}

// The code point that ends just before `end`.
char32_t decodeBefore(QByteArrayView text, qsizetype end)
{
    qsizetype start = end - 1;
    while (start > 0 && end - start < 4 && isContinuation(byteAt(text, start)))
        --start;
    qsizetype length = 0;
    const char32_t cp = decodeAt(text, start, &length);
    return start + length == end ? cp : kReplacement;
}

bool inRange(char32_t cp, char32_t first, char32_t last)
{
    return cp >= first && cp <= last;
}

// A superset of the characters that join the one before them (extend, spacing mark, ZWJ).
bool mayExtend(char32_t cp)
{
    switch (QChar::category(cp)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return inRange(cp, 0x200C, 0x200D) || inRange(cp, 0xFF9E, 0xFF9F) || inRange(cp, 0x1F3FB, 0x1F3FF)
            || inRange(cp, 0xE0020, 0xE007F) || cp == 0x0E33 || cp == 0x0EB3;
    }
}

// A superset of the prepended concatenation marks, which join the character after them.
bool mayPrepend(char32_t cp)
{
    return inRange(cp, 0x0600, 0x0605) || cp == 0x06DD || cp == 0x070F || inRange(cp, 0x0890, 0x0891)
        || cp == 0x08E2 || cp == 0x0D4E || inRange(cp, 0x11000, 0x11FFF);
}

bool isHangul(char32_t cp)
{
    return inRange(cp, 0x1100, 0x11FF) || inRange(cp, 0xA960, 0xA97F) || inRange(cp, 0xAC00, 0xD7FF);
}

bool isRegionalIndicator(char32_t cp)
{
    return inRange(cp, 0x1F1E6, 0x1F1FF);
}

bool mayJoin(char32_t before, char32_t after)
{
    return mayExtend(after) || mayPrepend(before) || (isHangul(before) && isHangul(after))
        || (isRegionalIndicator(before) && isRegionalIndicator(after));
}

} // namespace

qsizetype whiteSpaceAt(QByteArrayView text, qsizetype pos)
{
    const qsizetype left = text.size() - pos;
    const uchar b0 = byteAt(text, pos);
    if (b0 < 0x80)
        return b0 == ' ' || (b0 >= '\t' && b0 <= '\r') ? 1 : 0;
    const uchar b1 = left > 1 ? byteAt(text, pos + 1) : 0;
    if (b0 == 0xC2)
        return b1 == 0x85 || b1 == 0xA0 ? 2 : 0;
    const uchar b2 = left > 2 ? byteAt(text, pos + 2) : 0;
    const char32_t cp = (char32_t(b0) << 16) | (char32_t(b1) << 8) | b2;
    const bool space = cp == 0xE19A80 || inRange(cp, 0xE28080, 0xE2808A) || inRange(cp, 0xE280A8, 0xE280A9)
        || cp == 0xE280AF || cp == 0xE2819F || cp == 0xE38080;
    return space ? 3 : 0;
}

qsizetype whiteSpaceBefore(QByteArrayView text, qsizetype end)
{
    const uchar last = byteAt(text, end - 1);
    if (last < 0x80)
        return whiteSpaceAt(text, end - 1);
    if (end >= 2 && byteAt(text, end - 2) == 0xC2)
        return whiteSpaceAt(text, end - 2) == 2 ? 2 : 0;
    return end >= 3 && whiteSpaceAt(text, end - 3) == 3 ? 3 : 0;
}

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    for (qsizetype n = 0; begin < end && (n = whiteSpaceAt(text, begin)) > 0;)
        begin += n;
    for (qsizetype n = 0; end > begin && (n = whiteSpaceBefore(text, end)) > 0;)
        end -= n;
    return text.sliced(begin, end - begin);
}

template <typename View> View withoutBlankEnds(View text)
{
    const auto blank = [](auto c) { return c == ' ' || c == '\t'; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QByteArrayView trimmedSpacesAndTabs(QByteArrayView text)
{
    return withoutBlankEnds(text);
}

QStringView trimmedSpacesAndTabs(QStringView text)
{
    return withoutBlankEnds(text);
}

bool isClusterBoundaryNearNonAscii(QByteArrayView text, qsizetype pos)
{
    const char32_t previous = decodeBefore(text, pos);
    qsizetype length = 0;
    const char32_t next = decodeAt(text, pos, &length);
    if (!mayJoin(previous, next))
        return true;
    const char32_t pair[] = { previous, next };
    const QString window = QString::fromUcs4(pair, 2);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window);
    finder.setPosition(window.size() - (next > 0xFFFF ? 2 : 1));
    return finder.isAtBoundary();
}

bool upperCasedStartsWith(QByteArrayView text, QByteArrayView tag)
{
    qsizetype i = 0;
    while (i < tag.size() && i < text.size() && byteAt(text, i) < 0x80
        && QChar::toUpper(char32_t(byteAt(text, i))) == char32_t(uchar(tag[i])))
        ++i;
    if (i == tag.size() && (i == text.size() || byteAt(text, i) < 0x80))
        return true;
    if (i == text.size() || byteAt(text, i) < 0x80)
        return false;
    // A non-ASCII character may upper-case into the tag or join its last character.
    const QString upper = decoded(text.first(qMin<qsizetype>(text.size(), 64))).toUpper();
    if (!upper.startsWith(QLatin1StringView(tag)))
        return false;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, upper);
    finder.setPosition(tag.size());
    return finder.isAtBoundary();
}

qsizetype afterCharacters(QByteArrayView text, int count)
{
    qsizetype pos = 0;
    for (int i = 0; i < count && pos < text.size(); ++i) {
        do {
            qsizetype length = 0;
            decodeAt(text, pos, &length);
            pos += length;
        } while (!isClusterBoundary(text, pos));
    }
    return pos;
}

QString decoded(QByteArrayView bytes)
{
    static constexpr QByteArrayView kBom("\xEF\xBB\xBF");
    if (!bytes.startsWith(kBom)) {
        const QString text = QString::fromUtf8(bytes);
        // Decoding reserves a unit per byte: multi-byte text moves to a string of its size.
        return text.size() < bytes.size() ? QString(text.constData(), text.size()) : text;
    }
    qsizetype marks = 0;
    while (bytes.startsWith(kBom)) {
        bytes = bytes.sliced(kBom.size());
        ++marks;
    }
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(bytes);
}

} // namespace M3uText
