#include "PlaylistRows.h"

#include "PlayItems.h"

PlaylistRows::PlaylistRows(Playlist playlist, SharedMediaItems entries)
    : m_playlist(std::move(playlist))
    , m_entries(std::move(entries))
{
}

PlaylistRows::PlaylistRows(Playlist playlist, SharedMediaItems entries, std::vector<qint32> picks)
    : m_playlist(std::move(playlist))
    , m_entries(std::move(entries))
    , m_picks(std::move(picks))
{
}

qint64 PlaylistRows::count() const
{
    return m_picks ? qint64(m_picks->size()) : m_entries->size();
}

PlayItem PlaylistRows::item(qint64 at) const
{
    return PlayItems::forItem(*media(at), m_playlist);
}

std::optional<MediaItem> PlaylistRows::media(qint64 at) const
{
    return m_entries->at(m_picks ? (*m_picks)[size_t(at)] : at);
}
