#include "ChannelIndex.h"

#include <QHash>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <numeric>

namespace {

// Channels hashed, and buckets of keys sorted, by one worker at a time.
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
template <typename Work>
void onWorkers(qsizetype count, const Work &work)
{
    std::vector<qsizetype> indexes(static_cast<size_t>(count));
    std::iota(indexes.begin(), indexes.end(), 0);
    QtConcurrent::blockingMap(indexes, [&](qsizetype i) { work(i); });
}

// The ascending keys of every channel: hashed in runs, spread into buckets by the top
// bits of their hash, and the buckets sorted side by side.
std::vector<quint64> sortedIdRows(const MediaItems &all)
{
    const qsizetype count = all.size();
    std::vector<quint64> keys(static_cast<size_t>(count));
    onWorkers((count + kRun - 1) / kRun, [&](qsizetype run) {
        for (qsizetype row = run * kRun; row < std::min(count, (run + 1) * kRun); ++row)
            keys[size_t(row)] = hashHalf(all.textHash(row, MediaItems::Text::id, qGlobalQHashSeed())) | quint32(row);
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

} // namespace

std::shared_ptr<const ChannelIndex> ChannelIndex::build(SectionPtr section)
{
    auto index = std::make_shared<ChannelIndex>();
    index->section = section ? std::move(section) : std::make_shared<const Section>();
    index->foldedNames = FoldedNames(index->section->all);
    index->idRows = sortedIdRows(index->section->all);
    return index;
}

qint32 ChannelIndex::lastRowOf(QStringView id) const
{
    const quint64 hash = hashHalf(MediaItems::hashOf(id, qGlobalQHashSeed()));
    const auto first = std::lower_bound(idRows.cbegin(), idRows.cend(), hash);
    const auto end = std::upper_bound(first, idRows.cend(), hash | 0xffffffffu);
    // Rows of one hash ascend: the last one whose id is this id is the answer.
    for (auto at = end; at != first;) {
        const qint32 row = qint32(quint32(*--at));
        if (all().textIs(row, MediaItems::Text::id, id))
            return row;
    }
    return -1;
}
