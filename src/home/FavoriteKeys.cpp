#include "FavoriteKeys.h"

#include "model/ContentKeys.h"

QSet<QString> favoriteKeys(const QList<FavoriteEntry> &entries)
{
    QSet<QString> keys;
    for (const FavoriteEntry &entry : entries)
        keys.insert(itemKey(entry.type, entry.playlistId, entry.id));
    return keys;
}
