#include "LibVlcPlayer.h"

#include <QImage>
#include <QMetaObject>
#include <QMutexLocker>

#include <vlc/vlc.h>

#include "VlcSourceError.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// A libVLC chroma (four characters) of pictures that stay on the graphics card.
bool isHardwareChroma(const char *chroma)
{
    const QByteArrayView fourcc(chroma, 4);
    return fourcc.startsWith("VAO") || fourcc.startsWith("VDV");
}

// The decoder's size may be padded; the media's track knows the picture's own size.
QSize visibleSize(libvlc_media_t *media, QSize decoded)
{
    libvlc_media_track_t **tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(media, &tracks);
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
    if (m_instance)
        libvlc_log_set(m_instance, &LibVlcPlayer::onLog, this);
}

LibVlcPlayer::~LibVlcPlayer()
{
    close();
    m_stopping.waitForDone();
    if (!m_instance)
        return;
    libvlc_log_unset(m_instance);
    libvlc_release(m_instance);
}

LibVlcPlayer::Session::Session(libvlc_media_player_t *player, libvlc_media_t *media, LibVlcPlayer *owner)
    : player(player)
    , media(media)
    , owner(owner)
{
    libvlc_video_set_callbacks(
        player, &LibVlcPlayer::onLock, &LibVlcPlayer::onUnlock, &LibVlcPlayer::onDisplay, this);
    libvlc_video_set_format_callbacks(player, &LibVlcPlayer::onFormat, &LibVlcPlayer::onCleanup);
    libvlc_media_player_set_media(player, media);
}

LibVlcPlayer::Session::~Session()
{
    libvlc_media_player_stop(player);
    libvlc_media_player_release(player);
    libvlc_media_release(media);
}

// A new media player on the current media, with the picture mode applied.
void LibVlcPlayer::open()
{
    libvlc_media_t *media
        = libvlc_media_new_location(m_instance, m_source->url.toString(QUrl::FullyEncoded).toUtf8());
    if (!media)
        return;
    for (const QString &option : m_source->options)
        libvlc_media_add_option(media, option.toUtf8().constData());
    libvlc_media_player_t *player = libvlc_media_player_new(m_instance);
    if (!player) {
        libvlc_media_release(media);
        return;
    }
    {
        QMutexLocker lock(&m_errorMutex);
        m_sourceError.reset();
    }
    m_session = std::make_unique<Session>(player, media, this);
    applyPictureMode();
    applySubtitleLift();
}

// Any libVLC thread. Errors of the objects reading an address tell why it failed; every error still
// reaches the standard error stream, as without this callback.
void LibVlcPlayer::onLog(void *self, int level, const vlc_log_t *context, const char *format, va_list args)
{
    if (level < LIBVLC_ERROR)
        return;
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    const char *module = nullptr;
    const char *file = nullptr;
    unsigned line = 0;
    libvlc_log_get_context(context, &module, &file, &line);
    std::fprintf(stderr, "%s error: %s\n", module ? module : "libvlc", text);
    const char *type = nullptr;
    const char *header = nullptr;
    uintptr_t id = 0;
    libvlc_log_get_object(context, &type, &header, &id);
    if (!type || std::strcmp(type, "stream") != 0)
        return;
    const std::optional<PlayError> error = vlcSourceError(text);
    auto *player = static_cast<LibVlcPlayer *>(self);
    QMutexLocker lock(&player->m_errorMutex);
    if (error && !player->m_sourceError)
        player->m_sourceError = error;
}

std::optional<PlayError> LibVlcPlayer::sourceError() const
{
    QMutexLocker lock(&m_errorMutex);
    return m_sourceError;
}

// Detaches the session: its threads deliver nothing more, and it is stopped and
// released on a thread of its own.
void LibVlcPlayer::close()
{
    if (!m_session)
        return;
    {
        QMutexLocker lock(&m_session->mutex);
        m_session->owner = nullptr;
    }
    // Deleted by the worker alone: a shared owner left here could end up deleting it on this thread.
    Session *detached = m_session.release();
    m_stopping.start([detached] { delete detached; });
}

// Decoder thread: answer with the picture's own size when libVLC knows it,
// else with the decoder's; RGB32 in one plane. The decoder first offers its
// hardware surfaces (VA-API, VDPAU), which cannot become frames in memory:
// they are refused at once, before libVLC searches for a converter.
unsigned LibVlcPlayer::onFormat(
    void **opaque, char *chroma, unsigned *width, unsigned *height, unsigned *pitches, unsigned *lines)
{
    if (isHardwareChroma(chroma))
        return 0;
    auto *session = static_cast<Session *>(*opaque);
    const QSize size = visibleSize(session->media, QSize(int(*width), int(*height)));
    QMutexLocker lock(&session->mutex);
    std::memcpy(chroma, "RV32", 4);
    *width = unsigned(size.width());
    *height = unsigned(size.height());
    pitches[0] = *width * 4;
    lines[0] = *height;
    for (std::vector<uchar> &buffer : session->buffers)
        buffer.assign(size_t(pitches[0]) * lines[0], 0);
    session->shownBuffer = -1;
    session->frameSize = size;
    return 1;
}

void LibVlcPlayer::onCleanup(void *opaque)
{
    auto *session = static_cast<Session *>(opaque);
    QMutexLocker lock(&session->mutex);
    for (std::vector<uchar> &buffer : session->buffers)
        buffer.clear();
    session->shownBuffer = -1;
    session->frameSize = {};
}

void *LibVlcPlayer::onLock(void *opaque, void **planes)
{
    auto *session = static_cast<Session *>(opaque);
    session->mutex.lock();
    const qintptr drawn = session->shownBuffer == 0 ? 1 : 0;
    planes[0] = session->buffers[drawn].data();
    return reinterpret_cast<void *>(drawn);
}

void LibVlcPlayer::onUnlock(void *opaque, void *, void *const *)
{
    static_cast<Session *>(opaque)->mutex.unlock();
}

// Vout thread. The format was answered before the picture's size may have
// been known (MPEG-TS), and libVLC scales the whole picture into the answered
// size; once the size is known, frames are scaled back to it. A picture equal to the
// shown one is not delivered again.
void LibVlcPlayer::onDisplay(void *opaque, void *bufferId)
{
    auto *session = static_cast<Session *>(opaque);
    QMutexLocker lock(&session->mutex);
    const QSize answered = session->frameSize;
    const auto drawn = int(reinterpret_cast<qintptr>(bufferId));
    if (!session->owner || answered.isEmpty() || drawn < 0 || drawn >= int(session->buffers.size()))
        return;
    const std::vector<uchar> &buffer = session->buffers[size_t(drawn)];
    if (session->shownBuffer >= 0 && buffer == session->buffers[size_t(session->shownBuffer)])
        return;
    session->shownBuffer = drawn;
    const QImage image(
        buffer.data(), answered.width(), answered.height(), answered.width() * 4, QImage::Format_RGB32);
    const QSize size = session->visibleSize.isEmpty() ? answered : session->visibleSize;
    const QImage picture
        = size == answered ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVideoFrame frame(QVideoFrameFormat(size, QVideoFrameFormat::Format_BGRX8888));
    if (!frame.map(QVideoFrame::WriteOnly))
        return;
    for (int row = 0; row < size.height(); ++row)
        std::memcpy(
            frame.bits(0) + row * frame.bytesPerLine(0), picture.constScanLine(row), size.width() * 4);
    frame.unmap();
    session->latestFrame = frame;
    if (!std::exchange(session->framePending, true))
        QMetaObject::invokeMethod(session->owner, &LibVlcPlayer::presentLatest, Qt::QueuedConnection);
}

// Takes the frame of the current session only: one posted by a detached session is dropped with it.
void LibVlcPlayer::presentLatest()
{
    if (!m_session)
        return;
    QVideoFrame frame;
    {
        QMutexLocker lock(&m_session->mutex);
        frame = std::exchange(m_session->latestFrame, QVideoFrame());
        m_session->framePending = false;
    }
    if (!frame.isValid())
        return;
    if (m_output)
        m_output->present(frame);
    updateVisibleSize();
}

// libVLC learns the size of some streams (MPEG-TS) only after decoding. A sink that
// took the frame may have stopped the player.
void LibVlcPlayer::updateVisibleSize()
{
    if (!m_session)
        return;
    const QSize reported = videoSize();
    {
        QMutexLocker lock(&m_session->mutex);
        if (std::exchange(m_session->visibleSize, reported) == reported)
            return;
    }
    applySubtitleLift();
}

// Without a picture on screen any more, the surfaces show black rather than
// the last frame.
void LibVlcPlayer::blank()
{
    if (m_output)
        m_output->present(QVideoFrame());
}
