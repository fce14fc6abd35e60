#include "PlayQueue.h"

qint64 PlayQueue::count() const
{
    return rows ? rows->count() : 0;
}

std::optional<PlayItem> PlayQueue::get(qint64 at) const
{
    if (at < 0 || at >= count())
        return std::nullopt;
    return rows->item(at);
}

std::optional<MediaItem> PlayQueue::media(qint64 at) const
{
    return at >= 0 && at < count() ? rows->media(at) : std::nullopt;
}

ReadyRows::ReadyRows(QList<PlayItem> items)
    : m_items(std::move(items))
{
}

PlayQueue readyQueue(QList<PlayItem> items, qint64 start, bool resume)
{
    return { std::make_shared<const ReadyRows>(std::move(items)), start, resume };
}
