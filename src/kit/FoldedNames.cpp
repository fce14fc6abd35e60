#include "FoldedNames.h"

#include "sources/M3uText.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <bit>
#include <numeric>

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

// Folds `text` into `out`, which has room for as many units: simple case folding never
// changes the length in UTF-16 units.
void foldInto(QStringView text, char16_t *out)
{
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
}

} // namespace

FoldedNames::FoldedNames(const MediaItems &items)
{
    // Each name's length (with its separator) first, then where each starts, then the
    // folding of every run straight into its place.
    m_starts.resize(size_t(items.size()) + 1);
    inRuns(items.size(), [&](qint32 first, qint32 end) {
        for (qint32 i = first; i < end; ++i)
            m_starts[size_t(i) + 1] = items.textSize(i, MediaItems::Text::name) + 1;
    });
    std::inclusive_scan(m_starts.begin(), m_starts.end(), m_starts.begin());
    m_text = QString(m_starts.back(), Qt::Uninitialized);
    char16_t *text = reinterpret_cast<char16_t *>(m_text.data());
    inRuns(items.size(), [&](qint32 first, qint32 end) {
        QString name;
        for (qint32 i = first; i < end; ++i) {
            foldInto(items.textInto(i, MediaItems::Text::name, name), text + m_starts[size_t(i)]);
            text[m_starts[size_t(i) + 1] - 1] = kSeparator;
        }
    });
}

QString FoldedNames::fold(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    foldInto(text, reinterpret_cast<char16_t *>(folded.data()));
    return folded;
}

void FoldedNames::inRuns(qsizetype count, const std::function<void(qint32 first, qint32 end)> &work)
{
    if (count <= kChunkNames) {
        work(0, qint32(count));
        return;
    }
    std::vector<qint32> firsts;
    for (qsizetype first = 0; first < count; first += kChunkNames)
        firsts.push_back(qint32(first));
    QtConcurrent::blockingMap(
        firsts, [&](qint32 first) { work(first, qint32(std::min<qsizetype>(count, first + kChunkNames))); });
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
    // Each run keeps its own first matches; the runs are joined in order up to the limit.
    std::vector<std::vector<qint32>> runs(size_t(size() / kChunkNames) + 1);
    inRuns(size(), [&](qint32 first, qint32 end) {
        runs[size_t(first / kChunkNames)] = findIn(foldedQuery, limit, first, end);
    });
    std::vector<qint32> found;
    for (const std::vector<qint32> &run : runs) {
        for (qint32 hit : run) {
            if (qsizetype(found.size()) >= limit)
                return found;
            found.push_back(hit);
        }
    }
    return found;
}

std::vector<qint32> FoldedNames::filter(std::vector<qint32> positions, QStringView foldedQuery) const
{
    if (foldedQuery.isEmpty())
        return positions;
    const char16_t *text = reinterpret_cast<const char16_t *>(m_text.utf16());
    // Each run keeps its matching positions at its own front; the runs then close up in order.
    std::vector<qint32> keptInRun(positions.size() / kChunkNames + 1);
    inRuns(qsizetype(positions.size()), [&](qint32 first, qint32 end) {
        const auto begin = positions.begin() + first;
        const auto stop = positions.begin() + end;
        // A run of consecutive names (a whole category) is one scan of contiguous text.
        if (first < end
            && std::adjacent_find(begin, stop, [](qint32 a, qint32 b) { return b != a + 1; }) == stop) {
            const std::vector<qint32> found = findIn(foldedQuery, end - first, *begin, *(stop - 1) + 1);
            std::copy(found.begin(), found.end(), begin);
            keptInRun[size_t(first / kChunkNames)] = qint32(found.size());
            return;
        }
        qint32 kept = first;
        for (qint32 at = first; at < end; ++at) {
            const qint32 position = positions[size_t(at)];
            const qsizetype start = m_starts[size_t(position)];
            const qsizetype length = m_starts[size_t(position) + 1] - 1 - start;
            if (nextOccurrence(text + start, length, foldedQuery, 0) >= 0)
                positions[size_t(kept++)] = position;
        }
        keptInRun[size_t(first / kChunkNames)] = kept - first;
    });
    auto out = positions.begin();
    for (size_t run = 0; run < keptInRun.size(); ++run) {
        const auto first = positions.begin() + qsizetype(run) * kChunkNames;
        out = std::copy(first, first + keptInRun[run], out);
    }
    positions.erase(out, positions.end());
    return positions;
}

std::vector<qint32> FoldedNames::matching(std::vector<qint32> positions, QStringView query) const
{
    return filter(std::move(positions), fold(M3uText::trimmedSpacesAndTabs(query)));
}
