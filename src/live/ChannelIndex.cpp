#include "ChannelIndex.h"

QString foldForMatch(const QString &text)
{
    return text.toCaseFolded();
}

std::shared_ptr<const ChannelIndex> ChannelIndex::build(SectionPtr section)
{
    auto index = std::make_shared<ChannelIndex>();
    index->section = section ? std::move(section) : std::make_shared<const Section>();
    const QList<MediaItem> &all = index->section->all;
    index->foldedNames.reserve(size_t(all.size()));
    index->lastRowById.reserve(all.size());
    for (qint32 row = 0; row < qint32(all.size()); ++row) {
        const MediaItem &item = all[row];
        index->foldedNames.push_back(foldForMatch(item.name));
        index->rowsByCategory[item.categoryId].push_back(row);
        index->lastRowById.insert(item.id, row);
    }
    return index;
}
