#include "Initials.h"

#include <QTextBoundaryFinder>
#include <QVarLengthArray>

#include <array>
#include <optional>

namespace {

// Code units segmented at a time; a cluster longer than this is cut.
constexpr qsizetype kWindow = 64;

bool separates(QChar c)
{
    return c == u' ' || c == u'|' || c == u'[' || c == u']';
}

qsizetype skipSeparators(QStringView title, qsizetype from)
{
    while (from < title.size() && separates(title[from]))
        ++from;
    return from;
}

qsizetype wordEnd(QStringView title, qsizetype from)
{
    while (from < title.size() && !separates(title[from]))
        ++from;
    return from;
}

char32_t firstPoint(QStringView character)
{
    if (character.size() > 1 && character[0].isHighSurrogate() && character[1].isLowSurrogate())
        return QChar::surrogateToUcs4(character[0], character[1]);
    return character.isEmpty() ? 0 : character[0].unicode();
}

// The user-perceived characters of the word starting at `start`, segmented one window at a time.
class WordCharacters {
public:
    WordCharacters(QStringView title, qsizetype start)
        : m_title(title)
        , m_start(start)
    {
    }

    // The next character; empty at the end of the word.
    QStringView next()
    {
        if (m_at == m_ends.size() && !segment())
            return {};
        const qsizetype end = m_ends[m_at++];
        const QStringView character = m_title.sliced(m_start, end - m_start);
        m_start = end;
        return character;
    }

private:
    bool segment()
    {
        qsizetype length = 0;
        while (length < kWindow && m_start + length < m_title.size() && !separates(m_title[m_start + length]))
            ++length;
        if (length == 0)
            return false;
        const qsizetype after = m_start + length;
        const bool goesOn = after < m_title.size() && !separates(m_title[after]);
        if (goesOn && m_title[m_start + length - 1].isHighSurrogate())
            --length;
        std::array<unsigned char, 4 * (kWindow + 1)> attributes;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, m_title.sliced(m_start, length),
            attributes.data(), attributes.size());
        m_ends.clear();
        m_at = 0;
        while (finder.toNextBoundary() != -1)
            m_ends.append(m_start + finder.position());
        // Where the word goes on, the window's edge is no boundary: its last cluster may continue.
        if (goesOn && m_ends.size() > 1)
            m_ends.removeLast();
        return true;
    }

    QStringView m_title;
    qsizetype m_start;
    QVarLengthArray<qsizetype, kWindow> m_ends;
    qsizetype m_at = 0;
};

// The first word at or after `from` that can give an initial: longer than one character,
// or one letter.
std::optional<qsizetype> nextWord(QStringView title, qsizetype from)
{
    for (from = skipSeparators(title, from); from < title.size();
         from = skipSeparators(title, wordEnd(title, from))) {
        WordCharacters characters(title, from);
        const QStringView first = characters.next();
        if (!characters.next().isEmpty() || QChar::isLetter(firstPoint(first)))
            return from;
    }
    return std::nullopt;
}

// A word of at most three characters, all upper case: FR, HD, 4K, 24, VIP.
bool isTag(QStringView title, qsizetype start)
{
    WordCharacters characters(title, start);
    qsizetype end = start;
    for (int count = 0; count < 4; ++count) {
        const QStringView character = characters.next();
        if (character.isEmpty())
            break;
        if (count == 3)
            return false;
        end = character.end() - title.begin();
    }
    const QString word = title.sliced(start, end - start).toString();
    return word == word.toUpper();
}

// A word's first letter or digit, so "(720p)" gives "7" and "(" nothing.
QStringView initialOf(QStringView title, qsizetype start)
{
    WordCharacters characters(title, start);
    for (QStringView character = characters.next(); !character.isEmpty(); character = characters.next()) {
        if (QChar::isLetterOrNumber(firstPoint(character)))
            return character;
    }
    return {};
}

} // namespace

QString titleInitials(QStringView title)
{
    std::optional<qsizetype> word = nextWord(title, 0);
    // A single word is never dropped as a tag.
    if (word && isTag(title, *word)) {
        if (const auto second = nextWord(title, wordEnd(title, *word)))
            word = second;
    }
    QString result;
    int taken = 0;
    while (word) {
        if (const QStringView initial = initialOf(title, *word); !initial.isEmpty()) {
            result += initial;
            if (++taken == 2)
                break;
        }
        word = nextWord(title, wordEnd(title, *word));
    }
    return result.isEmpty() ? QStringLiteral("TV") : result.toUpper();
}
