#include "PlayItems.h"

#include "M3uText.h"
#include "StreamAddresses.h"
#include "XtreamClient.h"
#include "model/ContentKeys.h"

#include <cstdio>

namespace {

// Items without a url come from Xtream-Codes requests; an M3U get.php playlist whose
// download failed was loaded through its Xtream-Codes form, so address them by that form.
Playlist addressPlaylist(const MediaItem &item, const Playlist &playlist)
{
    if (item.url || isXtreamPlaylist(playlist))
        return playlist;
    return xtreamCredentials(playlist).value_or(playlist);
}

// An address line without a scheme is relative to the playlist's own http(s) address;
// the stored entry keeps it as written.
QString resolvedAddress(const QString &address, const Playlist &playlist)
{
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.scheme().isEmpty() || !playlist.url)
        return address;
    const QUrl base(M3uText::trimmedSpacesAndTabs(*playlist.url).toString(), QUrl::TolerantMode);
    const QString scheme = base.scheme().toLower();
    if ((scheme != u"http" && scheme != u"https") || base.host().isEmpty())
        return address;
    return QString::fromUtf8(base.resolved(url).toEncoded());
}

// The address to play for an entry's address line: without its header suffix, resolved
// against the playlist.
QString playableAddress(const QString &address, const Playlist &playlist)
{
    return resolvedAddress(addressWithoutHeaders(address), playlist);
}

AddressPair itemAddresses(const MediaItem &item, const Playlist &playlist)
{
    const bool live = item.type == ContentType::live;
    if (item.url) {
        const QString url = playableAddress(*item.url, playlist);
        if (live) {
            if (OptText hls = liveM3u8Url(url))
                return { *hls, url };
        }
        return { url, std::nullopt };
    }
    if (live)
        return { XtreamClient::liveUrl(playlist, item.id, QStringLiteral("m3u8")),
            XtreamClient::liveUrl(playlist, item.id, QStringLiteral("ts")) };
    return { XtreamClient::movieUrl(playlist, item.id, item.ext), std::nullopt };
}

QString episodeSubtitle(const Episode &episode)
{
    char code[48];
    std::snprintf(code, sizeof code, "S%02lldE%02lld", static_cast<long long>(episode.season),
        static_cast<long long>(episode.number));
    return QString::fromLatin1(code) + QStringLiteral(" · ") + episode.title;
}

} // namespace

namespace PlayItems {

FavoriteEntry favoriteOf(const MediaItem &item, qint64 playlistId)
{
    return FavoriteEntry { playlistId, item.type, item.id, item.name, item.logo, item.url, item.categoryId,
        item.epgId, item.ext, item.rating, item.catchup };
}

PlayItem forItem(const MediaItem &item, const Playlist &playlist)
{
    const Playlist source = addressPlaylist(item, playlist);
    const bool live = item.type == ContentType::live;
    const auto [url, fallback] = itemAddresses(item, source);
    PlayItem play;
    play.key = itemKey(item.type, playlist.id, item.id);
    play.title = item.name;
    play.url = url;
    play.logo = item.logo;
    play.live = live;
    if (live && isXtreamPlaylist(source))
        play.streamId = item.id;
    play.number = item.num;
    play.favorite = favoriteOf(item, playlist.id);
    play.fallbackUrl = fallback;
    play.ext = item.ext;
    return play;
}

std::optional<PlayItem> forProgramme(const Playlist &playlist, const MediaItem &channel,
    const EpgEntry &programme, const QTimeZone &timeZone, const QDateTime &now)
{
    if (!channel.catchup)
        return std::nullopt;
    std::optional<AddressPair> addresses;
    if (isXtreamPlaylist(playlist)) {
        addresses = XtreamClient::timeshiftUrls(XtreamClient::serverBase(playlist),
            playlist.username.value_or(QString()), playlist.password.value_or(QString()), channel.id,
            programme.start, programme.end, timeZone);
    } else if (channel.url) {
        addresses = XtreamClient::m3uCatchupUrls(channel.catchup->mode, channel.catchup->source,
            playableAddress(*channel.url, playlist), programme.start, programme.end, timeZone, now);
    }
    if (!addresses)
        return std::nullopt;
    PlayItem play;
    play.key = catchupKey(playlist.id, channel.id, programme.start);
    play.title = programme.title;
    play.url = addresses->first;
    play.logo = channel.logo;
    play.subtitle = channel.name;
    play.fallbackUrl = addresses->second;
    play.catchup = true;
    return play;
}

PlayItem forEpisode(const Playlist &playlist, const MediaItem &series, const Episode &episode)
{
    PlayItem play;
    play.key = episodeKey(playlist.id, episode.id);
    play.title = series.name;
    play.url = episode.url ? playableAddress(*episode.url, playlist)
                           : XtreamClient::seriesUrl(playlist, episode.id, episode.ext);
    play.logo = episode.image ? episode.image : series.logo;
    play.subtitle = episodeSubtitle(episode);
    play.number = episode.number;
    play.ext = episode.ext;
    return play;
}

} // namespace PlayItems

QTimeZone catchupTimeZone(const OptText &accountZone)
{
    if (accountZone) {
        const QByteArray id = accountZone->toUtf8();
        if (QTimeZone::isTimeZoneIdAvailable(id))
            return QTimeZone(id);
    }
    return QTimeZone::systemTimeZone();
}
