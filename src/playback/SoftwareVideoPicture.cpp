#include "SoftwareVideoPicture.h"

#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGRendererInterface>
#include <QtConcurrent/QtConcurrentRun>

SoftwareVideoPicture::SoftwareVideoPicture(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    connect(&m_conversion, &QFutureWatcher<QImage>::finished, this, &SoftwareVideoPicture::takeImage);
}

void SoftwareVideoPicture::setVideoSink(QVideoSink *sink)
{
    if (m_sink == sink)
        return;
    if (m_sink)
        disconnect(m_sink, nullptr, this, nullptr);
    m_sink = sink;
    connectSink();
    emit videoSinkChanged();
}

void SoftwareVideoPicture::setFillMode(int mode)
{
    if (m_fillMode == mode)
        return;
    m_fillMode = mode;
    update();
    emit fillModeChanged();
}

void SoftwareVideoPicture::itemChange(ItemChange change, const ItemChangeData &data)
{
    if (change == ItemSceneChange) {
        QSGRendererInterface *renderer = data.window ? data.window->rendererInterface() : nullptr;
        m_drawsInSoftware = renderer && renderer->graphicsApi() == QSGRendererInterface::Software;
        connectSink();
    }
    QQuickItem::itemChange(change, data);
}

// Follows the sink only while drawing in software; a sink that goes away takes its picture along.
void SoftwareVideoPicture::connectSink()
{
    clear();
    if (!m_sink)
        return;
    disconnect(m_sink, nullptr, this, nullptr);
    connect(m_sink, &QObject::destroyed, this, &SoftwareVideoPicture::clear);
    if (!m_drawsInSoftware)
        return;
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &SoftwareVideoPicture::takeFrame);
    takeFrame(m_sink->videoFrame());
}

void SoftwareVideoPicture::takeFrame(const QVideoFrame &frame)
{
    if (!frame.isValid()) {
        clear();
        return;
    }
    m_pending = frame;
    if (!m_converting)
        convertPending();
}

void SoftwareVideoPicture::convertPending()
{
    m_converting = m_pending.isValid();
    if (!m_converting)
        return;
    m_convertingGeneration = m_generation;
    m_conversion.setFuture(QtConcurrent::run(&SoftwareVideoPicture::imageOf, std::exchange(m_pending, {})));
}

// Both engines hand over packed RGB frames, which copy straight into an image; a frame of
// another layout stays undrawn (QVideoFrame::toImage would try a GPU on every thread first).
QImage SoftwareVideoPicture::imageOf(QVideoFrame frame)
{
    const QImage::Format format = QVideoFrameFormat::imageFormatFromPixelFormat(frame.pixelFormat());
    if (format == QImage::Format_Invalid || !frame.map(QVideoFrame::ReadOnly))
        return {};
    QImage image = QImage(frame.bits(0), frame.width(), frame.height(), frame.bytesPerLine(0), format).copy();
    frame.unmap();
    return image;
}

void SoftwareVideoPicture::takeImage()
{
    if (m_convertingGeneration == m_generation) {
        m_image = m_conversion.result();
        m_imageChanged = true;
        update();
    }
    convertPending();
}

void SoftwareVideoPicture::clear()
{
    ++m_generation;
    m_pending = {};
    if (m_image.isNull())
        return;
    m_image = {};
    update();
}

SoftwareVideoPicture::Placement SoftwareVideoPicture::place(
    Qt::AspectRatioMode mode, QSizeF area, QSize picture)
{
    const QRectF whole { QPointF(), area };
    const QRectF source { QPointF(), QSizeF(picture) };
    if (mode == Qt::IgnoreAspectRatio || picture.isEmpty() || area.isEmpty())
        return { whole, source };
    QRectF scaled { QPointF(), QSizeF(picture).scaled(area, mode) };
    scaled.moveCenter(whole.center());
    if (mode == Qt::KeepAspectRatio)
        return { scaled, source };
    // Cropped: the part of the picture that falls inside the area.
    const qreal scale = scaled.width() / picture.width();
    const QRectF shown = scaled.intersected(whole);
    return { shown, QRectF((shown.topLeft() - scaled.topLeft()) / scale, shown.size() / scale) };
}

QSGNode *SoftwareVideoPicture::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    auto *node = static_cast<QSGImageNode *>(old);
    if (m_image.isNull() || width() <= 0 || height() <= 0) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
        m_imageChanged = true;
    }
    if (m_imageChanged) {
        node->setTexture(window()->createTextureFromImage(m_image));
        m_imageChanged = false;
    }
    const Placement placement = place(Qt::AspectRatioMode(m_fillMode), size(), m_image.size());
    node->setRect(placement.target);
    node->setSourceRect(placement.source);
    return node;
}
