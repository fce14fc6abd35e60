#include "ContentOpener.h"

#include "app/AppState.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "sources/PlaylistRows.h"

void openContent(AppState &app, const Playlist &playlist, const SharedMediaItems &items, qsizetype index)
{
    if (!items || index < 0 || index >= items->size())
        return;
    const MediaItem item = items->at(index);
    if (item.type != ContentType::live) {
        app.push(detailsRoute(item.type, item));
        return;
    }
    app.prefs()->addRecentLive(itemKey(ContentType::live, playlist.id, item.id));
    app.push(
        Routes::Player { PlayQueue { std::make_shared<const PlaylistRows>(playlist, items), index, true } });
}
