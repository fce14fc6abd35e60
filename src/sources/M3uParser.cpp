#include "M3uParser.h"

#include "M3uText.h"
#include "model/ContentKeys.h"
#include "model/TextBounds.h"

namespace M3uParser {
namespace {

using namespace M3uText;

enum class LineKind { info, group, comment, address };

// What the lines since the last address line said; views into the parsed bytes, where
// an empty view is an absent value.
struct Pending {
    QByteArrayView name;
    QByteArrayView tvgName;
    QByteArrayView logo;
    QByteArrayView groupTitle;
    QByteArrayView tvgId;
    QByteArrayView catchupMode;
    QByteArrayView catchupDays;
    QByteArrayView catchupSource;
    QByteArrayView extGroup;
};

struct AttributeKey {
    QByteArrayView key;
    QByteArrayView Pending::*field;
};

constexpr AttributeKey kAttributeKeys[] = {
    { "tvg-name", &Pending::tvgName },
    { "tvg-logo", &Pending::logo },
    { "group-title", &Pending::groupTitle },
    { "tvg-id", &Pending::tvgId },
    { "catchup", &Pending::catchupMode },
    { "catchup-type", &Pending::catchupMode },
    { "catchup-days", &Pending::catchupDays },
    { "timeshift", &Pending::catchupDays },
    { "catchup-source", &Pending::catchupSource },
};

// Entries of one group share one text.
class TextCache {
public:
    const QString &text(QByteArrayView bytes)
    {
        if (bytes != m_bytes) {
            m_bytes = bytes;
            m_text = decoded(bytes);
        }
        return m_text;
    }

private:
    QByteArrayView m_bytes;
    QString m_text;
};

LineKind lineKind(QByteArrayView line)
{
    if (line.front() != '#')
        return LineKind::address;
    if (upperCasedStartsWith(line, "#EXTINF"))
        return LineKind::info;
    if (upperCasedStartsWith(line, "#EXTGRP:"))
        return LineKind::group;
    // '#' with a mark joined to it is no '#' character.
    return isClusterBoundary(line, 1) ? LineKind::comment : LineKind::address;
}

qsizetype findCharacter(QByteArrayView line, char wanted, qsizetype from)
{
    for (qsizetype i = line.indexOf(wanted, from); i >= 0; i = line.indexOf(wanted, i + 1)) {
        if (isWholeCharacter(line, i))
            return i;
    }
    return -1;
}

// The first comma outside double quotes; when an unpaired quote hides every comma, the
// last comma of the line; -1 when there is none.
qsizetype titleComma(QByteArrayView line, qsizetype from)
{
    bool quoted = false;
    qsizetype lastComma = -1;
    for (qsizetype i = from; i < line.size(); ++i) {
        const char c = line[i];
        if ((c == '"' || c == ',') && isWholeCharacter(line, i)) {
            if (c == '"')
                quoted = !quoted;
            else if (!quoted)
                return i;
            else
                lastComma = i;
        }
    }
    return lastComma;
}

bool isKeyByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

qsizetype skipWhiteSpace(QByteArrayView text, qsizetype pos)
{
    for (qsizetype n = 0; pos < text.size() && (n = whiteSpaceAt(text, pos)) > 0;)
        pos += n;
    return pos;
}

// Every `key = "value"` of the attribute part, left to right, as a regular expression
// scan would find them.
template <typename OnAttribute> void forEachAttribute(QByteArrayView part, OnAttribute &&onAttribute)
{
    qsizetype pos = 0;
    while (pos < part.size()) {
        while (pos < part.size() && !isKeyByte(part[pos]))
            ++pos;
        const qsizetype keyStart = pos;
        while (pos < part.size() && isKeyByte(part[pos]))
            ++pos;
        if (keyStart == pos)
            return;
        qsizetype i = skipWhiteSpace(part, pos);
        if (i == part.size() || part[i] != '=')
            continue;
        i = skipWhiteSpace(part, i + 1);
        if (i == part.size() || part[i] != '"')
            continue;
        const qsizetype close = part.indexOf('"', i + 1);
        if (close < 0)
            return; // no quote left, so no later attribute either
        onAttribute(part.sliced(keyStart, pos - keyStart), part.sliced(i + 1, close - i - 1));
        pos = close + 1;
    }
}

// `known` is lower case letters and '-'; the key is made of [A-Za-z0-9_-].
bool isKey(QByteArrayView key, QByteArrayView known)
{
    if (key.size() != known.size())
        return false;
    for (qsizetype i = 0; i < key.size(); ++i) {
        if ((key[i] | 0x20) != known[i])
            return false;
    }
    return true;
}

void applyAttribute(Pending &pending, QByteArrayView key, QByteArrayView value)
{
    for (const AttributeKey &known : kAttributeKeys) {
        if (isKey(key, known.key)) {
            pending.*known.field = trimmedSpacesAndTabs(value);
            return;
        }
    }
}

void readInfoLine(QByteArrayView line, Pending &pending)
{
    const qsizetype colon = findCharacter(line, ':', 0);
    const qsizetype comma = titleComma(line, colon + 1);
    QByteArrayView attributes;
    if (colon >= 0)
        attributes = line.sliced(colon + 1, (comma < 0 ? line.size() : comma) - colon - 1);
    const QByteArrayView title = comma < 0 ? QByteArrayView() : trimmedSpacesAndTabs(line.sliced(comma + 1));

    pending = Pending { .extGroup = pending.extGroup };
    forEachAttribute(
        attributes, [&](QByteArrayView key, QByteArrayView value) { applyAttribute(pending, key, value); });
    pending.name = title.isEmpty() ? pending.tvgName : title;
}

QByteArrayView groupLineText(QByteArrayView line)
{
    return trimmedSpacesAndTabs(line.sliced(afterCharacters(line, 8)));
}

// The last non-empty path piece of the address, before its first '?'.
QByteArrayView nameFromAddress(QByteArrayView url)
{
    qsizetype end = url.size();
    while (end > 0 && url[end - 1] == '/')
        --end;
    const QByteArrayView head = url.first(end);
    const QByteArrayView piece = head.sliced(head.lastIndexOf('/') + 1);
    const qsizetype query = piece.indexOf('?');
    return query < 0 ? piece : piece.first(query);
}

OptText optionalText(QByteArrayView bytes)
{
    return bytes.isEmpty() ? OptText() : OptText(decoded(bytes));
}

Entry makeEntry(QByteArrayView url, const Pending &pending, TextCache &groups)
{
    Entry entry;
    const bool unnamed = trimmedSpacesAndTabs(pending.name).isEmpty();
    entry.name = decoded(TextBounds::cut(unnamed ? nameFromAddress(url) : pending.name, TextBounds::kName));
    entry.logo = optionalText(pending.logo);
    const QByteArrayView group = pending.groupTitle.isEmpty() ? pending.extGroup : pending.groupTitle;
    if (!group.isEmpty())
        entry.group = groups.text(TextBounds::cut(group, TextBounds::kName));
    entry.tvgId = optionalText(pending.tvgId);
    entry.url = decoded(url);
    if (!pending.catchupMode.isEmpty()) {
        entry.catchup = catchupFromAttributes(optionalText(pending.catchupMode),
            optionalText(pending.catchupDays), optionalText(pending.catchupSource));
    }
    return entry;
}

qsizetype lineEndFrom(QByteArrayView bytes, qsizetype pos)
{
    while (pos < bytes.size() && bytes[pos] != '\n' && bytes[pos] != '\r')
        ++pos;
    return pos;
}

// Just after the first whole address line that starts after `from`, or the end.
qsizetype cutAfterAddressLine(QByteArrayView bytes, qsizetype from)
{
    qsizetype pos = lineEndFrom(bytes, from);
    while (pos < bytes.size()) {
        const qsizetype start = pos + 1;
        pos = lineEndFrom(bytes, start);
        const QByteArrayView line = lineContent(bytes.sliced(start, pos - start));
        if (!line.isEmpty() && lineKind(line) == LineKind::address)
            return pos;
    }
    return bytes.size();
}

bool isMarkup(QByteArrayView bytes)
{
    static constexpr QByteArrayView kBom("\xEF\xBB\xBF");
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (bytes.sliced(at).startsWith(kBom))
            at += kBom.size();
        else if (const qsizetype space = whiteSpaceAt(bytes, at))
            at += space;
        else
            return bytes[at] == '<';
    }
    return false;
}

} // namespace

bool isPlainlyNoPlaylist(QByteArrayView bytes)
{
    // No text playlist holds a NUL byte.
    return isMarkup(bytes) || bytes.contains('\0');
}

void parse(QByteArrayView bytes, const std::function<void(Entry &&)> &onEntry)
{
    Pending pending;
    TextCache groups;
    forEachLine(bytes, [&](QByteArrayView line) {
        switch (lineKind(line)) {
        case LineKind::info:
            readInfoLine(line, pending);
            break;
        case LineKind::group:
            pending.extGroup = groupLineText(line);
            break;
        case LineKind::comment:
            break;
        case LineKind::address:
            onEntry(makeEntry(line, pending, groups));
            pending = Pending {};
            break;
        }
    });
}

QList<QByteArrayView> splitAtEntries(QByteArrayView bytes, int parts)
{
    QList<QByteArrayView> pieces;
    qsizetype start = 0;
    for (int k = 1; k < parts; ++k) {
        const qsizetype target = qMax(start, qsizetype(double(bytes.size()) * k / parts));
        const qsizetype cut = cutAfterAddressLine(bytes, target);
        if (cut >= bytes.size())
            break;
        pieces.append(bytes.sliced(start, cut - start));
        start = cut;
    }
    pieces.append(bytes.sliced(start));
    return pieces;
}

} // namespace M3uParser
