#include "LibVlcPlayer.h"

#include <QMetaObject>
#include <QMutexLocker>

#include <vlc/vlc.h>

#include <cstring>

LibVlcPlayer::LibVlcPlayer(const QStringList &extraArgs)
{
    QList<QByteArray> args = { "--no-xlib", "--no-video-title-show", "--no-osd", "--no-snapshot-preview",
                               "--no-stats" };
    for (const QString &arg : extraArgs)
        args.append(arg.toUtf8());
    std::vector<const char *> argv;
    for (const QByteArray &arg : args)
        argv.push_back(arg.constData());
    m_instance = libvlc_new(static_cast<int>(argv.size()), argv.data());
    if (!m_instance)
        return;
    m_player = libvlc_media_player_new(m_instance);
    libvlc_video_set_callbacks(m_player, &LibVlcPlayer::onLock, &LibVlcPlayer::onUnlock, &LibVlcPlayer::onDisplay,
                               this);
    libvlc_video_set_format_callbacks(m_player, &LibVlcPlayer::onFormat, &LibVlcPlayer::onCleanup);
}

LibVlcPlayer::~LibVlcPlayer()
{
    if (m_player) {
        libvlc_media_player_stop(m_player);
        libvlc_media_player_release(m_player);
    }
    if (m_media)
        libvlc_media_release(m_media);
    if (m_instance)
        libvlc_release(m_instance);
}

// Decoder thread: answer with the visible size, RGB32 in one plane.
unsigned LibVlcPlayer::onFormat(void **opaque, char *chroma, unsigned *width, unsigned *height, unsigned *pitches,
                                unsigned *lines)
{
    auto *self = static_cast<LibVlcPlayer *>(*opaque);
    QMutexLocker lock(&self->m_mutex);
    const QSize size = self->visibleSize(QSize(int(*width), int(*height)));
    std::memcpy(chroma, "RV32", 4);
    *width = unsigned(size.width());
    *height = unsigned(size.height());
    pitches[0] = *width * 4;
    lines[0] = *height;
    self->m_buffer.assign(size_t(pitches[0]) * lines[0], 0);
    self->m_frameSize = size;
    return 1;
}

void LibVlcPlayer::onCleanup(void *opaque)
{
    auto *self = static_cast<LibVlcPlayer *>(opaque);
    QMutexLocker lock(&self->m_mutex);
    self->m_buffer.clear();
    self->m_frameSize = {};
}

void *LibVlcPlayer::onLock(void *opaque, void **planes)
{
    auto *self = static_cast<LibVlcPlayer *>(opaque);
    self->m_mutex.lock();
    planes[0] = self->m_buffer.data();
    return nullptr;
}

void LibVlcPlayer::onUnlock(void *opaque, void *, void *const *)
{
    static_cast<LibVlcPlayer *>(opaque)->m_mutex.unlock();
}

void LibVlcPlayer::onDisplay(void *opaque, void *)
{
    auto *self = static_cast<LibVlcPlayer *>(opaque);
    QMutexLocker lock(&self->m_mutex);
    QSize size = self->m_frameSize;
    if (!self->m_visibleSize.isEmpty())
        size = size.boundedTo(self->m_visibleSize);
    if (size.isEmpty())
        return;
    QVideoFrame frame(QVideoFrameFormat(size, QVideoFrameFormat::Format_BGRX8888));
    if (!frame.map(QVideoFrame::WriteOnly))
        return;
    const int stride = self->m_frameSize.width() * 4;
    for (int row = 0; row < size.height(); ++row)
        std::memcpy(frame.bits(0) + row * frame.bytesPerLine(0), self->m_buffer.data() + row * stride, size.width() * 4);
    frame.unmap();
    self->m_latestFrame = frame;
    if (!std::exchange(self->m_framePending, true))
        QMetaObject::invokeMethod(self, &LibVlcPlayer::presentLatest, Qt::QueuedConnection);
}

void LibVlcPlayer::presentLatest()
{
    QVideoFrame frame;
    {
        QMutexLocker lock(&m_mutex);
        frame = std::exchange(m_latestFrame, QVideoFrame());
        m_framePending = false;
    }
    if (m_output && frame.isValid())
        m_output->present(frame);
    updateVisibleSize();
}

// Some streams (MPEG-TS) report no picture size when the format is chosen, so
// the decoder's padded size is used; once libVLC knows the size, frames are cut to it.
void LibVlcPlayer::updateVisibleSize()
{
    QSize reported = videoSize();
    QMutexLocker lock(&m_mutex);
    if (reported.isEmpty())
        reported = visibleSize(m_frameSize);
    m_visibleSize = reported;
}

// The decoder's size may be padded; the media's track knows the picture's own size.
QSize LibVlcPlayer::visibleSize(QSize decoded) const
{
    libvlc_media_track_t **tracks = nullptr;
    const unsigned count = m_media ? libvlc_media_tracks_get(m_media, &tracks) : 0;
    QSize visible;
    for (unsigned index = 0; index < count && visible.isEmpty(); ++index)
        if (tracks[index]->i_type == libvlc_track_video && tracks[index]->video)
            visible = QSize(int(tracks[index]->video->i_width), int(tracks[index]->video->i_height));
    if (count)
        libvlc_media_tracks_release(tracks, count);
    if (visible.isEmpty() || visible.width() > decoded.width() || visible.height() > decoded.height())
        return decoded;
    return visible;
}
