#pragma once

#include "model/PlayQueue.h"

#include <optional>
#include <vector>

// Play queue rows over list entries of one playlist; an entry becomes a playable item only
// when that row is played.
class PlaylistRows final : public PlayRows {
public:
    // Every entry, in list order.
    PlaylistRows(Playlist playlist, SharedMediaItems entries);
    // The entries at `picks` (positions in `entries`), in that order.
    PlaylistRows(Playlist playlist, SharedMediaItems entries, std::vector<qint32> picks);

    qint64 count() const override;
    PlayItem item(qint64 at) const override;
    std::optional<MediaItem> media(qint64 at) const override;

private:
    Playlist m_playlist;
    SharedMediaItems m_entries;
    std::optional<std::vector<qint32>> m_picks;
};
