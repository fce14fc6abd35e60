#include "ChannelIndex.h"

std::shared_ptr<const ChannelIndex> ChannelIndex::build(SectionPtr section)
{
    auto index = std::make_shared<ChannelIndex>();
    index->section = section ? std::move(section) : std::make_shared<const Section>();
    const QList<MediaItem> &all = index->section->all;
    index->foldedNames = FoldedNames(all);
    index->lastRowById.reserve(all.size());
    for (qint32 row = 0; row < qint32(all.size()); ++row)
        index->lastRowById.insert(all[row].id, row);
    return index;
}
