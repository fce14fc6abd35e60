#include "LibVlcPlayer.h"

#include <QImage>
#include <QMetaObject>
#include <QMutexLocker>

#include <vlc/vlc.h>

#include <cstring>

namespace {

// A libVLC chroma (four characters) of pictures that stay on the graphics card.
bool isHardwareChroma(const char *chroma)
{
    const QByteArrayView fourcc(chroma, 4);
    return fourcc.startsWith("VAO") || fourcc.startsWith("VDV");
}

}

LibVlcPlayer::LibVlcPlayer(const QStringList &extraArgs)
{
    QList<QByteArray> args = { "--no-xlib", "--no-video-title-show", "--no-osd", "--no-snapshot-preview",
                               "--no-stats", "--avcodec-hw=none" };
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

// Decoder thread: answer with the picture's own size when libVLC knows it,
// else with the decoder's; RGB32 in one plane. The decoder first offers its
// hardware surfaces (VA-API, VDPAU), which cannot become frames in memory:
// they are refused at once, before libVLC searches for a converter.
unsigned LibVlcPlayer::onFormat(void **opaque, char *chroma, unsigned *width, unsigned *height, unsigned *pitches,
                                unsigned *lines)
{
    if (isHardwareChroma(chroma))
        return 0;
    auto *self = static_cast<LibVlcPlayer *>(*opaque);
    QMutexLocker lock(&self->m_mutex);
    const QSize size = self->visibleSize(QSize(int(*width), int(*height)));
    std::memcpy(chroma, "RV32", 4);
    *width = unsigned(size.width());
    *height = unsigned(size.height());
    pitches[0] = *width * 4;
    lines[0] = *height;
    for (std::vector<uchar> &buffer : self->m_buffers)
        buffer.assign(size_t(pitches[0]) * lines[0], 0);
    self->m_shownBuffer = -1;
    self->m_frameSize = size;
    return 1;
}

void LibVlcPlayer::onCleanup(void *opaque)
{
    auto *self = static_cast<LibVlcPlayer *>(opaque);
    QMutexLocker lock(&self->m_mutex);
    for (std::vector<uchar> &buffer : self->m_buffers)
        buffer.clear();
    self->m_shownBuffer = -1;
    self->m_frameSize = {};
}

void *LibVlcPlayer::onLock(void *opaque, void **planes)
{
    auto *self = static_cast<LibVlcPlayer *>(opaque);
    self->m_mutex.lock();
    const qintptr drawn = self->m_shownBuffer == 0 ? 1 : 0;
    planes[0] = self->m_buffers[drawn].data();
    return reinterpret_cast<void *>(drawn);
}

void LibVlcPlayer::onUnlock(void *opaque, void *, void *const *)
{
    static_cast<LibVlcPlayer *>(opaque)->m_mutex.unlock();
}

// Vout thread. The format was answered before the picture's size may have
// been known (MPEG-TS), and libVLC scales the whole picture into the answered
// size; once the size is known, frames are scaled back to it. A picture equal to the
// shown one is not delivered again.
void LibVlcPlayer::onDisplay(void *opaque, void *bufferId)
{
    auto *self = static_cast<LibVlcPlayer *>(opaque);
    QMutexLocker lock(&self->m_mutex);
    const QSize answered = self->m_frameSize;
    const auto drawn = int(reinterpret_cast<qintptr>(bufferId));
    if (answered.isEmpty() || drawn < 0 || drawn >= int(self->m_buffers.size()))
        return;
    const std::vector<uchar> &buffer = self->m_buffers[size_t(drawn)];
    if (self->m_shownBuffer >= 0 && buffer == self->m_buffers[size_t(self->m_shownBuffer)])
        return;
    self->m_shownBuffer = drawn;
    const QImage image(buffer.data(), answered.width(), answered.height(), answered.width() * 4,
                       QImage::Format_RGB32);
    const QSize size = self->m_visibleSize.isEmpty() ? answered : self->m_visibleSize;
    const QImage picture =
        size == answered ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVideoFrame frame(QVideoFrameFormat(size, QVideoFrameFormat::Format_BGRX8888));
    if (!frame.map(QVideoFrame::WriteOnly))
        return;
    for (int row = 0; row < size.height(); ++row)
        std::memcpy(frame.bits(0) + row * frame.bytesPerLine(0), picture.constScanLine(row), size.width() * 4);
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
    if (!frame.isValid())
        return;
    if (m_output)
        m_output->present(frame);
    updateVisibleSize();
}

// libVLC learns the size of some streams (MPEG-TS) only after decoding.
void LibVlcPlayer::updateVisibleSize()
{
    const QSize reported = videoSize();
    QMutexLocker lock(&m_mutex);
    m_visibleSize = reported;
}

// Without a picture on screen any more, the surfaces show black rather than
// the last frame.
void LibVlcPlayer::blank()
{
    {
        QMutexLocker lock(&m_mutex);
        m_latestFrame = QVideoFrame();
        m_visibleSize = {};
        m_shownBuffer = -1;
    }
    if (m_output)
        m_output->present(QVideoFrame());
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
