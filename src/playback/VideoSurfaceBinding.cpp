#include "VideoSurfaceBinding.h"

#include "PlayerEngine.h"

VideoSurfaceBinding::~VideoSurfaceBinding()
{
    detach();
}

int VideoSurfaceBinding::fillModeFor(int aspectMode)
{
    switch (aspectMode) {
    case 1:
        return Qt::KeepAspectRatio;
    case 2:
        return Qt::KeepAspectRatioByExpanding;
    default:
        return Qt::IgnoreAspectRatio;
    }
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
    m_platformSink = sink;
    attach();
    emit platformSinkChanged();
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
}

void VideoSurfaceBinding::setAspectMode(int mode)
{
    if (m_aspectMode == mode)
        return;
    m_aspectMode = mode;
    updateVlcHosting();
    emit aspectModeChanged();
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
