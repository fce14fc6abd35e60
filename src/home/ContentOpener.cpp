#include "ContentOpener.h"

#include "app/AppState.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "sources/Catalog.h"

void openContent(AppState &app, const Playlist &playlist, const QList<MediaItem> &items, qsizetype index)
{
    if (index < 0 || index >= items.size())
        return;
    const MediaItem &item = items[index];
    switch (item.type) {
    case ContentType::live: {
        app.prefs()->addRecentLive(itemKey(ContentType::live, playlist.id, item.id));
        PlayQueue queue;
        queue.count = items.size();
        queue.get = [items, playlist](qint64 at) -> std::optional<PlayItem> {
            if (at < 0 || at >= items.size())
                return std::nullopt;
            return Catalog::playItem(items[at], playlist);
        };
        queue.start = index;
        queue.resume = true;
        app.push(Routes::Player { std::move(queue) });
        return;
    }
    case ContentType::movie:
        app.push(Routes::Movie { item });
        return;
    case ContentType::series:
        app.push(Routes::Series { item });
        return;
    }
}
