#include "SectionLookups.h"

#include <QCoroFuture>
#include <QFuture>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <numeric>

namespace {

// Items hashed, and buckets of keys sorted, by one worker at a time.
constexpr qsizetype kRun = 32768;
// Keys are spread over this many buckets by the top bits of their hash before sorting.
constexpr int kBucketBits = 8;

// A key's upper half: an id's hash, seeded per run so that no provider can choose ids
// that all share one hash.
quint64 hashHalf(size_t hash)
{
    return quint64(quint32(hash)) << 32;
}

// Runs `work(i)` for each i below `count` on the worker threads.
template <typename Work> void onWorkers(qsizetype count, const Work &work)
{
    std::vector<qsizetype> indexes(static_cast<size_t>(count));
    std::iota(indexes.begin(), indexes.end(), 0);
    QtConcurrent::blockingMap(indexes, [&](qsizetype i) { work(i); });
}

// The ascending keys of every item: hashed in runs, spread into buckets by the top bits
// of their hash, and the buckets sorted side by side.
std::vector<quint64> sortedIdRows(const MediaItems &items)
{
    const qsizetype count = items.size();
    std::vector<quint64> keys(static_cast<size_t>(count));
    onWorkers((count + kRun - 1) / kRun, [&](qsizetype run) {
        for (qsizetype row = run * kRun; row < std::min(count, (run + 1) * kRun); ++row)
            keys[size_t(row)] = hashHalf(items.textHash(row, MediaItems::Text::id, qGlobalQHashSeed()))
                | quint32(row);
    });
    constexpr int kBuckets = 1 << kBucketBits;
    std::vector<qsizetype> starts(kBuckets + 1, 0);
    for (quint64 key : keys)
        ++starts[size_t(key >> (64 - kBucketBits)) + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<quint64> sorted(keys.size());
    std::vector<qsizetype> next(starts.begin(), starts.end() - 1);
    for (quint64 key : keys)
        sorted[size_t(next[size_t(key >> (64 - kBucketBits))]++)] = key;
    onWorkers(kBuckets, [&](qsizetype bucket) {
        std::sort(sorted.begin() + starts[size_t(bucket)], sorted.begin() + starts[size_t(bucket) + 1]);
    });
    return sorted;
}

// A build, started or done, for a section that may still live. The lookups do not hold
// the section, so an entry never keeps its section alive.
struct Built {
    std::weak_ptr<const Section> section;
    QFuture<SectionLookupsPtr> lookups;
};

// The builds of the sections still alive; those of sections that are gone are dropped on
// the next use. Main thread only.
std::vector<Built> &builds()
{
    static std::vector<Built> list;
    return list;
}

QFuture<SectionLookupsPtr> buildOf(const SectionPtr &section)
{
    std::vector<Built> &list = builds();
    std::erase_if(list, [](const Built &built) { return built.section.expired(); });
    const auto found = std::find_if(list.cbegin(), list.cend(),
        [&section](const Built &built) { return built.section.lock() == section; });
    if (found != list.cend())
        return found->lookups;
    QFuture<SectionLookupsPtr> lookups
        = QtConcurrent::run([section] { return SectionLookups::build(section->all); });
    list.push_back({ section, lookups });
    return lookups;
}

} // namespace

SectionLookupsPtr SectionLookups::build(const MediaItems &items)
{
    auto lookups = std::make_shared<SectionLookups>();
    lookups->names = FoldedNames(items);
    lookups->idRows = sortedIdRows(items);
    return lookups;
}

QCoro::Task<SectionLookupsPtr> SectionLookups::of(SectionPtr section)
{
    if (!section)
        co_return build(MediaItems());
    QFuture<SectionLookupsPtr> lookups = buildOf(section);
    if (lookups.isFinished())
        co_return lookups.result();
    co_return co_await lookups;
}

void SectionLookups::prepare(const SectionPtr &section)
{
    if (section)
        buildOf(section);
}

qint32 SectionLookups::lastRowOf(const MediaItems &items, QStringView id) const
{
    const quint64 hash = hashHalf(MediaItems::hashOf(id, qGlobalQHashSeed()));
    const auto first = std::lower_bound(idRows.cbegin(), idRows.cend(), hash);
    const auto end = std::upper_bound(first, idRows.cend(), hash | 0xffffffffu);
    // Rows of one hash ascend: the last one whose id is this id is the answer.
    for (auto at = end; at != first;) {
        const qint32 row = qint32(quint32(*--at));
        if (items.textIs(row, MediaItems::Text::id, id))
            return row;
    }
    return -1;
}
