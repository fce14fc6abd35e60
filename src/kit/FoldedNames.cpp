#include "FoldedNames.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Between two folded names; a match running over it is refused by the name bounds anyway.
constexpr char16_t kSeparator = u'\0';

bool sameUnits(const char16_t *a, const char16_t *b, qsizetype count)
{
    return std::equal(a, a + count, b);
}

// The first position at or after `from` where `needle` (not empty) starts in `text`;
// -1 when there is none. Candidates are found eight units at a time by the first and the
// last unit of the needle, then checked whole.
qsizetype nextOccurrence(const char16_t *text, qsizetype length, QStringView needle, qsizetype from)
{
    const char16_t *units = needle.utf16();
    const qsizetype span = needle.size();
    const char16_t first = units[0];
    const char16_t last = units[span - 1];
    const qsizetype middle = std::max<qsizetype>(span - 2, 0);
    qsizetype at = from;
#if defined(__SSE2__)
    const __m128i firstLanes = _mm_set1_epi16(short(first));
    const __m128i lastLanes = _mm_set1_epi16(short(last));
    for (; at + span - 1 + 8 <= length; at += 8) {
        const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at));
        const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + span - 1));
        const __m128i both
            = _mm_and_si128(_mm_cmpeq_epi16(heads, firstLanes), _mm_cmpeq_epi16(tails, lastLanes));
        // Two mask bits per 16-bit lane.
        for (unsigned mask = unsigned(_mm_movemask_epi8(both)); mask != 0;
             mask &= ~(3u << std::countr_zero(mask))) {
            const qsizetype candidate = at + std::countr_zero(mask) / 2;
            if (sameUnits(text + candidate + 1, units + 1, middle))
                return candidate;
        }
    }
#endif
    for (; at + span <= length; ++at) {
        if (text[at] == first && text[at + span - 1] == last && sameUnits(text + at + 1, units + 1, middle))
            return at;
    }
    return -1;
}

} // namespace

FoldedNames::FoldedNames(const QList<MediaItem> &items)
{
    qsizetype total = 0;
    for (const MediaItem &item : items)
        total += item.name.size() + 1;
    m_text.reserve(total);
    m_starts.reserve(size_t(items.size()) + 1);
    for (const MediaItem &item : items) {
        m_text.append(fold(item.name));
        m_text.append(QChar(kSeparator));
        m_starts.push_back(m_text.size());
    }
}

QStringView FoldedNames::name(qint32 position) const
{
    const qsizetype start = m_starts[size_t(position)];
    return QStringView(m_text).sliced(start, m_starts[size_t(position) + 1] - 1 - start);
}

QString FoldedNames::fold(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(folded.data());
    const char16_t *in = text.utf16();
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t unit = in[i];
        if (unit < 0x80) {
            out[i] = unit >= u'A' && unit <= u'Z' ? char16_t(unit + (u'a' - u'A')) : unit;
        } else if (QChar::isHighSurrogate(unit) && i + 1 < length && QChar::isLowSurrogate(in[i + 1])) {
            const char32_t point = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, in[i + 1]));
            out[i] = QChar::highSurrogate(point);
            out[++i] = QChar::lowSurrogate(point);
        } else {
            out[i] = char16_t(QChar::toCaseFolded(char32_t(unit)));
        }
    }
    return folded;
}

qint32 FoldedNames::nameOfMatch(qsizetype at, qsizetype length, qint32 &name) const
{
    while (m_starts[size_t(name) + 1] <= at)
        ++name;
    const qsizetype nameEnd = m_starts[size_t(name) + 1] - 1;
    return at + length <= nameEnd ? name : -1;
}

std::vector<qint32> FoldedNames::findIn(
    QStringView foldedQuery, qsizetype limit, qint32 first, qint32 end) const
{
    std::vector<qint32> found;
    const char16_t *text = reinterpret_cast<const char16_t *>(m_text.utf16());
    const qsizetype length = m_starts[size_t(end)];
    qint32 name = first;
    for (qsizetype at = nextOccurrence(text, length, foldedQuery, m_starts[size_t(first)]); at >= 0;) {
        const qint32 hit = nameOfMatch(at, foldedQuery.size(), name);
        if (hit >= 0) {
            found.push_back(hit);
            if (qsizetype(found.size()) >= limit)
                break;
        }
        const qsizetype next = hit >= 0 ? m_starts[size_t(hit) + 1] : at + 1;
        at = nextOccurrence(text, length, foldedQuery, next);
    }
    return found;
}

std::vector<qint32> FoldedNames::find(QStringView foldedQuery, qsizetype limit) const
{
    if (foldedQuery.isEmpty() || limit <= 0)
        return {};
    const qint32 count = qint32(size());
    if (count <= kChunkNames)
        return findIn(foldedQuery, limit, 0, count);
    // Long lists are scanned in runs of names on worker threads; each run keeps its own
    // first matches, and the runs are joined in order up to the limit.
    struct Run {
        qint32 first;
        qint32 end;
        std::vector<qint32> found;
    };
    std::vector<Run> runs;
    for (qint32 first = 0; first < count; first += kChunkNames)
        runs.push_back({ first, std::min(count, first + kChunkNames), {} });
    QtConcurrent::blockingMap(
        runs, [&](Run &run) { run.found = findIn(foldedQuery, limit, run.first, run.end); });
    std::vector<qint32> found;
    for (const Run &run : runs) {
        for (qint32 hit : run.found) {
            if (qsizetype(found.size()) >= limit)
                return found;
            found.push_back(hit);
        }
    }
    return found;
}
