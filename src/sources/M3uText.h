#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstring>

// Byte-level helpers of the M3U reader: the text stays UTF-8 until a field is final.
namespace M3uText {

// Length of the Unicode white space (or line end) starting at `pos`, 0 when there is none.
qsizetype whiteSpaceAt(QByteArrayView text, qsizetype pos);
// Length of the white space ending just before `end`, 0 when there is none.
qsizetype whiteSpaceBefore(QByteArrayView text, qsizetype end);
// Without leading and trailing Unicode white space and line ends.
QByteArrayView trimmed(QByteArrayView text);
// Without leading and trailing spaces and tabs only.
QByteArrayView trimmedSpacesAndTabs(QByteArrayView text);
QStringView trimmedSpacesAndTabs(QStringView text);

// The same for a position next to a non-ASCII byte.
bool isClusterBoundaryNearNonAscii(QByteArrayView text, qsizetype pos);
// True when a grapheme cluster ends at byte `pos` (always at both ends of the text).
inline bool isClusterBoundary(QByteArrayView text, qsizetype pos)
{
    if (pos <= 0 || pos >= text.size())
        return true;
    const uchar before = uchar(text[pos - 1]);
    const uchar after = uchar(text[pos]);
    if (before < 0x80 && after < 0x80)
        return !(before == '\r' && after == '\n');
    return isClusterBoundaryNearNonAscii(text, pos);
}
// True when the ASCII byte at `pos` is a whole character (no mark joins it).
inline bool isWholeCharacter(QByteArrayView text, qsizetype pos)
{
    return isClusterBoundary(text, pos) && isClusterBoundary(text, pos + 1);
}
// True when the text, upper-cased, begins with the ASCII `tag` followed by a cluster boundary.
bool upperCasedStartsWith(QByteArrayView text, QByteArrayView tag);

// Byte offset just after the first `count` characters (grapheme clusters).
qsizetype afterCharacters(QByteArrayView text, int count);

// The text of UTF-8 bytes; a leading U+FEFF is kept (QString::fromUtf8 drops it).
QString decoded(QByteArrayView bytes);

// A raw line trimmed, without one leading byte-order mark.
inline QByteArrayView lineContent(QByteArrayView raw)
{
    const QByteArrayView line = trimmed(raw);
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

// Calls `onLine` with each line, split at LF, CR and CR LF, trimmed, without one leading
// byte-order mark; empty lines are skipped.
template <typename OnLine> void forEachLine(QByteArrayView text, OnLine &&onLine)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    // Found line ends are kept so a text with only one kind of them stays linear.
    const char *nextLf = nullptr;
    const char *nextCr = nullptr;
    while (p < end) {
        if (nextLf < p) {
            nextLf = static_cast<const char *>(std::memchr(p, '\n', end - p));
            nextLf = nextLf ? nextLf : end;
        }
        if (nextCr < p) {
            nextCr = static_cast<const char *>(std::memchr(p, '\r', end - p));
            nextCr = nextCr ? nextCr : end;
        }
        const char *lineEnd = nextLf < nextCr ? nextLf : nextCr;
        const QByteArrayView line = lineContent(QByteArrayView(p, lineEnd - p));
        if (!line.isEmpty())
            onLine(line);
        p = lineEnd + 1;
    }
}

} // namespace M3uText
