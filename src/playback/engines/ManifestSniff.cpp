#include "ManifestSniff.h"

#include <QByteArray>

#include <algorithm>
#include <array>

namespace {

// Bytes that may come before the first character of an XML document: white space,
// byte-order marks and the zeros of UTF-16 and UTF-32.
constexpr QByteArrayView kLeadBytes(" \t\r\n\0\xEF\xBB\xBF\xFE\xFF", 10);

// An ISO media file (MP4, QuickTime) opens with a box: four bytes of size, then its type.
// A size byte can be '<' (a 60-byte ftyp, a moov of 15 KB), so such a start is no markup.
bool startsAsMediaBox(QByteArrayView head)
{
    static constexpr std::array<const char *, 12> kTypes { "ftyp", "styp", "moov", "mdat", "free", "skip",
        "wide", "pnot", "sidx", "moof", "uuid", "junk" };
    if (head.size() < 8 || head.front() == '<')
        return false;
    const QByteArrayView type = head.sliced(4, 4);
    return std::any_of(kTypes.begin(), kTypes.end(), [type](const char *known) { return type == known; });
}

bool startsAsMarkup(QByteArrayView head)
{
    for (const char byte : head) {
        if (!kLeadBytes.contains(byte))
            return byte == '<';
    }
    return false;
}

}

bool looksLikeXmlManifest(const char *contentType, QByteArrayView head)
{
    if (contentType && QByteArray(contentType).toLower().contains("dash"))
        return true;
    return !startsAsMediaBox(head) && startsAsMarkup(head);
}
