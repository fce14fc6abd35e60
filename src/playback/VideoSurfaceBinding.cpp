#include "VideoSurfaceBinding.h"

#include "PlayerEngine.h"

VideoSurfaceBinding::~VideoSurfaceBinding()
{
    detach();
}

int VideoSurfaceBinding::fillModeFor(PictureMode mode)
{
    switch (mode) {
    case PictureMode::fit:
        return Qt::KeepAspectRatio;
    case PictureMode::zoom:
        return Qt::KeepAspectRatioByExpanding;
    case PictureMode::stretch:
        break;
    }
    return Qt::IgnoreAspectRatio;
}

QRectF VideoSurfaceBinding::pictureRect(PictureMode mode, QSizeF area, QSize video)
{
    const QRectF whole(QPointF(), area);
    if (video.isEmpty() || area.isEmpty() || mode == PictureMode::stretch)
        return whole;
    const qreal across = area.width() / video.width();
    const qreal down = area.height() / video.height();
    const qreal scale = mode == PictureMode::fit ? std::min(across, down) : std::max(across, down);
    QRectF picture(QPointF(), QSizeF(video) * scale);
    picture.moveCenter(whole.center());
    return picture;
}

QRectF VideoSurfaceBinding::targetRect() const
{
    return pictureRect(m_aspectMode, m_size, m_videoSize);
}

QRectF VideoSurfaceBinding::platformRect() const
{
    const QRectF target = targetRect();
    if (m_modeProgress >= 1)
        return target;
    const auto between = [this](qreal from, qreal to) { return from + (to - from) * m_modeProgress; };
    return QRectF(QPointF(between(m_fromRect.left(), target.left()), between(m_fromRect.top(), target.top())),
        QPointF(between(m_fromRect.right(), target.right()), between(m_fromRect.bottom(), target.bottom())));
}

void VideoSurfaceBinding::takeVideoSize()
{
    const QSize size = m_platformSink ? m_platformSink->videoSize() : QSize();
    if (size == m_videoSize)
        return;
    m_videoSize = size;
    emit platformRectChanged();
}

void VideoSurfaceBinding::setModeProgress(qreal progress)
{
    progress = qBound(0.0, progress, 1.0);
    if (progress == m_modeProgress)
        return;
    m_modeProgress = progress;
    emit platformRectChanged();
}

void VideoSurfaceBinding::setEngine(PlayerEngine *engine)
{
    if (m_engine == engine)
        return;
    detach();
    m_engine = engine;
    attach();
    emit engineChanged();
}

void VideoSurfaceBinding::setPlatformSink(QVideoSink *sink)
{
    if (m_platformSink == sink)
        return;
    detach();
    if (m_platformSink)
        disconnect(m_platformSink, nullptr, this, nullptr);
    m_platformSink = sink;
    m_videoSize = sink ? sink->videoSize() : QSize();
    // Queued: the sink announces a new size while it still holds its frame lock.
    if (sink)
        connect(sink, &QVideoSink::videoSizeChanged, this, &VideoSurfaceBinding::takeVideoSize,
            Qt::QueuedConnection);
    attach();
    emit platformSinkChanged();
    emit platformRectChanged();
}

void VideoSurfaceBinding::setVlcSink(QVideoSink *sink)
{
    if (m_vlcSink == sink)
        return;
    detach();
    m_vlcSink = sink;
    attach();
    emit vlcSinkChanged();
}

void VideoSurfaceBinding::setHostsVLC(bool hosts)
{
    if (m_hostsVLC == hosts)
        return;
    m_hostsVLC = hosts;
    updateVlcHosting();
    emit showsVLCChanged();
}

void VideoSurfaceBinding::setUsesVLC(bool uses)
{
    if (m_usesVLC == uses)
        return;
    m_usesVLC = uses;
    updateVlcHosting();
    emit showsVLCChanged();
}

void VideoSurfaceBinding::setSize(QSizeF size)
{
    if (m_size == size)
        return;
    m_size = size;
    updateVlcHosting();
    emit sizeChanged();
    emit platformRectChanged();
}

void VideoSurfaceBinding::setAspectMode(int stored)
{
    const PictureMode mode = pictureModeFrom(stored);
    if (m_aspectMode == mode)
        return;
    // A shown picture moves from where it stands, even halfway through another change.
    const QRectF from = platformRect();
    m_aspectMode = mode;
    const bool moves = from != targetRect();
    if (moves) {
        m_fromRect = from;
        m_modeProgress = 0;
    }
    updateVlcHosting();
    emit aspectModeChanged();
    emit platformRectChanged();
    if (moves)
        emit modeTransitionStarted();
}

// Leaves the engine's outputs; the libVLC view goes with it.
void VideoSurfaceBinding::detach()
{
    if (!m_engine)
        return;
    if (m_platformSink)
        m_engine->platformOutput()->removeSink(m_platformSink);
    if (m_vlcSink)
        m_engine->vlcView()->release(m_vlcSink);
}

void VideoSurfaceBinding::attach()
{
    if (!m_engine)
        return;
    if (m_platformSink)
        m_engine->platformOutput()->addSink(m_platformSink);
    updateVlcHosting();
}

void VideoSurfaceBinding::updateVlcHosting()
{
    if (!m_engine || !m_vlcSink)
        return;
    VlcView *view = m_engine->vlcView();
    if (!showsVLC()) {
        view->release(m_vlcSink);
        return;
    }
    view->host(m_vlcSink, m_size);
    m_engine->applyVLCAspect();
}
