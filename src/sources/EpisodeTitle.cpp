#include "EpisodeTitle.h"

#include "M3uText.h"

#include <QStringView>

namespace {

bool inRange(char32_t c, char32_t first, char32_t last)
{
    return c >= first && c <= last;
}

char32_t codePointAt(QStringView text, qsizetype i, qsizetype *length)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    *length = 1;
    return c.unicode();
}

bool isWhiteSpace(char32_t c)
{
    return inRange(c, 0x09, 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
        || inRange(c, 0x2000, 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F
        || c == 0x3000;
}

// Where '.' stops and '$' may stand.
bool isLineEnd(char32_t c)
{
    return inRange(c, 0x0A, 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isDigit(char32_t c)
{
    return QChar::category(c) == QChar::Number_DecimalDigit;
}

// Letters, marks, decimal digits, connector punctuation and the joiners.
bool isWordCharacter(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_Letter:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Punctuation_Connector:
        return true;
    default: // the circled and squared letters are alphabetic too
        return inRange(c, 0x200C, 0x200D) || inRange(c, 0x24B6, 0x24E9) || inRange(c, 0x1F130, 0x1F149)
            || inRange(c, 0x1F150, 0x1F169) || inRange(c, 0x1F170, 0x1F189);
    }
}

// A word boundary after a digit: the end, or a character that is neither a word
// character nor a format character (combining characters never start a boundary).
bool isBoundaryAfterDigit(QStringView text, qsizetype pos)
{
    if (pos == text.size())
        return true;
    qsizetype length = 0;
    const char32_t c = codePointAt(text, pos, &length);
    return !isWordCharacter(c) && QChar::category(c) != QChar::Other_Format;
}

// End of the run of decimal digits from `pos`; `count` gets their number.
qsizetype digitsEnd(QStringView text, qsizetype pos, int *count)
{
    *count = 0;
    qsizetype length = 0;
    while (pos < text.size() && isDigit(codePointAt(text, pos, &length))) {
        pos += length;
        ++*count;
    }
    return pos;
}

struct Marker {
    QStringView season;
    QStringView episode;
};

// The marker with its leading separators, tried at `from`; `separatorsEnd` gets where the
// separators stopped (every start up to there fails or succeeds alike).
std::optional<Marker> markerAt(
    QStringView text, qsizetype from, qsizetype lastStrayLineEnd, qsizetype *separatorsEnd)
{
    qsizetype i = from;
    qsizetype length = 0;
    for (; i < text.size(); i += length) {
        const char32_t c = codePointAt(text, i, &length);
        if (!isWhiteSpace(c) && c != '.' && c != '_' && c != '-' && c != '|' && c != ':')
            break;
    }
    *separatorsEnd = i;
    if (i == text.size() || (text[i] != u'S' && text[i] != u's'))
        return std::nullopt;
    const qsizetype seasonStart = i + 1;
    int digits = 0;
    i = digitsEnd(text, seasonStart, &digits);
    if (digits < 1 || digits > 3)
        return std::nullopt;
    const QStringView season = text.sliced(seasonStart, i - seasonStart);
    // white space with at most one of ". _ -" between season and episode
    for (int marks = 0; i < text.size(); i += length) {
        const char32_t c = codePointAt(text, i, &length);
        const bool mark = c == '.' || c == '_' || c == '-';
        if ((mark && ++marks > 1) || (!mark && !isWhiteSpace(c)))
            break;
    }
    if (i == text.size() || (text[i] != u'E' && text[i] != u'e'))
        return std::nullopt;
    const qsizetype episodeStart = i + 1;
    i = digitsEnd(text, episodeStart, &digits);
    if (digits < 1 || digits > 4 || !isBoundaryAfterDigit(text, i) || i <= lastStrayLineEnd)
        return std::nullopt;
    return Marker { season, text.sliced(episodeStart, i - episodeStart) };
}

std::optional<qint64> asciiNumber(QStringView digits)
{
    qint64 value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

EpisodeTitle parseEpisodeTitle(const QString &name)
{
    const QStringView text(name);
    // The show part cannot cross a line end; the tail after the marker may end in one.
    qsizetype firstLineEnd = text.size();
    qsizetype lastStrayLineEnd = -1;
    const bool endsInCrLf = text.endsWith(u"\r\n");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineEnd(text[i].unicode()))
            continue;
        firstLineEnd = qMin(firstLineEnd, i);
        if (i < text.size() - 1 && !(endsInCrLf && i == text.size() - 2))
            lastStrayLineEnd = i;
    }
    qsizetype from = 0;
    while (from <= firstLineEnd) {
        qsizetype separatorsEnd = 0;
        if (const std::optional<Marker> marker = markerAt(text, from, lastStrayLineEnd, &separatorsEnd)) {
            const QStringView show = M3uText::trimmedSpacesAndTabs(text.first(from));
            return EpisodeTitle { show.isEmpty() ? name : show.toString(),
                asciiNumber(marker->season).value_or(1), asciiNumber(marker->episode) };
        }
        if (separatorsEnd == text.size())
            break;
        qsizetype length = 0;
        codePointAt(text, separatorsEnd, &length);
        from = separatorsEnd + length;
    }
    return EpisodeTitle { name, 1, std::nullopt };
}
