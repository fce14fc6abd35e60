#include "LiveScreenModel.h"

#include "app/AppState.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "model/ContentKeys.h"
#include "playback/PlayerEngine.h"
#include "sources/PlayItems.h"
#include "sources/PlaylistRows.h"

namespace {

// The player's queue over a snapshot of the listed channels.
PlayQueue queueOver(
    const ChannelIndex &index, const std::vector<qint32> &rows, const Playlist &playlist, int start)
{
    return PlayQueue { std::make_shared<const PlaylistRows>(playlist, index.items(), rows), start, true };
}

} // namespace

void LiveScreenModel::activate(int index)
{
    const std::optional<MediaItem> channel = m_lists.channelAt(index);
    if (!channel || !m_playlist)
        return;
    if (m_preview && m_preview->uid == channel->uid && !m_engine->hasError() && m_engine->hasItem()) {
        openFullScreen(index);
        return;
    }
    const MediaItem chosen = *channel;
    setPreview(chosen);
    playPreview();
    m_prefs->addRecentLive(keyOf(chosen));
}

void LiveScreenModel::openFullScreen(int index)
{
    const std::optional<MediaItem> channel = m_lists.channelAt(index);
    if (!channel || !m_playlist)
        return;
    // The queue is taken first: recording the channel as recent may reorder the list.
    PlayQueue queue = queueOver(*m_lists.index(), m_lists.rows(), *m_playlist, index);
    const MediaItem chosen = *channel;
    setPreview(chosen);
    m_prefs->addRecentLive(keyOf(chosen));
    app()->push(Routes::Player { std::move(queue) });
}

void LiveScreenModel::openPreviewFullScreen()
{
    if (!m_preview || !m_playlist)
        return;
    if (const int row = m_lists.rowOfUid(m_preview->uid); row >= 0) {
        openFullScreen(row);
        return;
    }
    const auto rows = std::make_shared<const PlaylistRows>(
        *m_playlist, std::make_shared<const MediaItems>(MediaItems { *m_preview }));
    app()->push(Routes::Player { PlayQueue { rows, 0, true } });
}

void LiveScreenModel::toggleFavoriteAt(int index)
{
    if (const std::optional<MediaItem> channel = m_lists.channelAt(index))
        toggleFavorite(MediaItem(*channel));
}

void LiveScreenModel::openCatchUpAt(int index)
{
    if (const std::optional<MediaItem> channel = m_lists.channelAt(index); channel && channel->catchup)
        openCatchUp(MediaItem(*channel));
}

void LiveScreenModel::previewCatchUp()
{
    if (!m_preview)
        app()->showToast(::tr(QStringLiteral("preview_hint")));
    else if (m_preview->catchup)
        openCatchUp(MediaItem(*m_preview));
    else
        app()->showToast(::tr(QStringLiteral("catchup_unavailable")));
}

void LiveScreenModel::previewToggleFavorite()
{
    if (!m_preview) {
        app()->showToast(::tr(QStringLiteral("preview_hint")));
        return;
    }
    toggleFavorite(MediaItem(*m_preview));
}

void LiveScreenModel::openCatchUp(const MediaItem &channel)
{
    m_engine->stop();
    app()->push(Routes::Catchup { channel });
}

void LiveScreenModel::setPreview(std::optional<MediaItem> channel)
{
    const bool sameChannel = channel.has_value() == m_preview.has_value()
        && (!channel || channel->uid == m_preview->uid);
    m_preview = std::move(channel);
    if (!sameChannel)
        m_guide.show(m_playlist, m_preview);
    emit previewChanged();
}

void LiveScreenModel::playPreview()
{
    if (m_preview && m_playlist && m_engine)
        m_engine->play(PlayItems::forItem(*m_preview, *m_playlist));
}

// Back on top: a live item the player left playing is taken over, so it plays on here.
void LiveScreenModel::becameTop()
{
    const std::optional<PlayItem> &playing = m_engine->item();
    if (playing && playing->live) {
        m_engine->hold(this);
        if (m_lists.hasSection())
            followPlaying(playing->key);
        return;
    }
    // The catch-up screen stopped the preview.
    if (m_preview && !playing)
        playPreview();
}

// The preview follows a channel zapped to in the player.
void LiveScreenModel::followPlaying(const QString &key)
{
    const QString prefix = itemKey(ContentType::live, m_lists.playlistId(), QString());
    if (!key.startsWith(prefix))
        return;
    const QStringView id = QStringView(key).mid(prefix.size());
    const MediaItems &all = m_lists.index()->all();
    qsizetype at = 0;
    while (at < all.size() && !all.textIs(at, MediaItems::Text::id, id))
        ++at;
    if (at == all.size())
        return;
    const MediaItem found = all.at(at);
    setPreview(found);
    if (const int row = m_lists.rowOfUid(found.uid); row >= 0) {
        m_lists.chanFocus = row;
        m_lists.scrollTarget = found.uid;
        sync();
    }
}

QString LiveScreenModel::previewName() const
{
    return m_preview ? m_preview->name : QString();
}

QString LiveScreenModel::previewLogo() const
{
    return m_preview ? m_preview->logo.value_or(QString()) : QString();
}

QString LiveScreenModel::previewNumber() const
{
    return m_preview && m_preview->num >= 1 ? ::tr(QStringLiteral("channel_n"), { m_preview->num })
                                            : QString();
}

QString LiveScreenModel::previewArchive() const
{
    return m_preview && m_preview->catchup
        ? ::tr(QStringLiteral("catchup_archive_days"), { m_preview->catchup->days })
        : QString();
}

bool LiveScreenModel::previewFavorite() const
{
    return m_preview && m_prefs->isFavorite(keyOf(*m_preview));
}
