#include "VideoOutput.h"

void VideoOutput::addSink(QVideoSink *sink)
{
    prune();
    if (!sink || hasSink(sink))
        return;
    m_sinks.append(sink);
    emit sinksChanged();
}

// A sink that leaves keeps no picture of this output.
void VideoOutput::removeSink(QVideoSink *sink)
{
    prune();
    if (m_sinks.removeAll(sink) == 0)
        return;
    sink->setVideoFrame(QVideoFrame());
    emit sinksChanged();
}

bool VideoOutput::hasSink(const QVideoSink *sink) const
{
    for (const auto &known : m_sinks)
        if (known == sink)
            return true;
    return false;
}

int VideoOutput::sinkCount() const
{
    int count = 0;
    for (const auto &known : m_sinks)
        count += known ? 1 : 0;
    return count;
}

void VideoOutput::present(const QVideoFrame &frame)
{
    for (const auto &sink : m_sinks)
        if (sink)
            sink->setVideoFrame(frame);
}

void VideoOutput::prune()
{
    m_sinks.removeIf([](const QPointer<QVideoSink> &sink) { return sink.isNull(); });
}

void VlcView::host(QVideoSink *sink, QSizeF bounds)
{
    if (m_host != sink) {
        if (m_host)
            m_output.removeSink(m_host);
        m_host = sink;
        m_output.addSink(sink);
    }
    setBounds(bounds);
}

void VlcView::release(QVideoSink *sink)
{
    if (!sink || m_host != sink)
        return;
    m_output.removeSink(sink);
    m_host = nullptr;
}

bool VlcView::isHostedBy(const QVideoSink *sink) const
{
    return sink && m_host == sink;
}

void VlcView::setBounds(QSizeF bounds)
{
    m_bounds = bounds;
}
