#include "RecordHash.h"

namespace {

// An absent value hashes apart from every present one.
template <typename Optional> size_t hashOptional(const Optional &value, size_t seed)
{
    return value ? qHashMulti(seed, true, *value) : qHash(false, seed);
}

} // namespace

size_t qHash(const Playlist &value, size_t seed)
{
    seed = qHashMulti(seed, value.id, value.name, value.type);
    for (const OptText *text : { &value.url, &value.host, &value.username, &value.password, &value.epg_url })
        seed = hashOptional(*text, seed);
    return seed;
}

size_t qHash(const Catchup &value, size_t seed)
{
    return hashOptional(value.source, qHashMulti(seed, value.days, value.mode));
}

size_t qHash(const MediaItem &value, size_t seed)
{
    seed = qHashMulti(seed, value.uid, int(value.type), value.id, value.name, value.categoryId, value.num);
    for (const OptText *text : { &value.logo, &value.url, &value.epgId, &value.ext, &value.rating })
        seed = hashOptional(*text, seed);
    return hashOptional(value.catchup, seed);
}

size_t qHash(const Episode &value, size_t seed)
{
    seed = qHashMulti(seed, value.id, value.season, value.number, value.title);
    for (const OptText *text : { &value.url, &value.ext, &value.plot, &value.image })
        seed = hashOptional(*text, seed);
    return hashOptional(value.durationSecs, seed);
}

size_t qHash(const FavoriteEntry &value, size_t seed)
{
    seed = qHashMulti(seed, value.playlistId, int(value.type), value.id, value.name, value.categoryId);
    for (const OptText *text : { &value.logo, &value.url, &value.epgId, &value.ext, &value.rating })
        seed = hashOptional(*text, seed);
    return hashOptional(value.catchup, seed);
}

size_t qHash(const PlayItem &value, size_t seed)
{
    seed = qHashMulti(seed, value.key, value.title, value.url, value.live, value.number, value.catchup);
    for (const OptText *text :
        { &value.logo, &value.streamId, &value.subtitle, &value.fallbackUrl, &value.ext })
        seed = hashOptional(*text, seed);
    return hashOptional(value.favorite, seed);
}
