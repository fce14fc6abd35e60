#include "CornerKeeper.h"

#include "PaintedShapes.h"

#include <QPainter>
#include <QPixmap>
#include <QQuickWindow>
#include <QSGRenderNode>
#include <QSGRendererInterface>

// What lay under the shape's box, in device pixels, before the content drew.
struct KeptPixels {
    QImage pixels;
    QRect area;
};

namespace {

class KeeperNode : public QSGRenderNode {
public:
    explicit KeeperNode(QQuickWindow *window)
        : m_window(window)
    {
    }

    void set(std::shared_ptr<KeptPixels> kept, bool restores, const QRectF &box, qreal radius)
    {
        m_kept = std::move(kept);
        m_restores = restores;
        m_box = box;
        m_radius = radius;
    }

    StateFlags changedStates() const override { return {}; }
    RenderingFlags flags() const override { return BoundedRectRendering; }
    QRectF rect() const override { return m_box; }

    void render(const RenderState *) override
    {
        auto *painter = static_cast<QPainter *>(
            m_window->rendererInterface()->getResource(m_window, QSGRendererInterface::PainterResource));
        if (!painter || !painter->device())
            return;
        const QTransform toDevice = matrix()->toTransform();
        if (m_restores)
            restore(painter, toDevice);
        else
            save(painter->device(), toDevice);
    }

private:
    void save(QPaintDevice *device, const QTransform &toDevice)
    {
        const QRect area = toDevice.mapRect(m_box).toAlignedRect()
            & QRect(0, 0, device->width(), device->height());
        m_kept->area = area;
        if (device->devType() == QInternal::Image)
            m_kept->pixels = static_cast<QImage *>(device)->copy(area);
        else if (device->devType() == QInternal::Pixmap)
            m_kept->pixels = static_cast<QPixmap *>(device)->copy(area).toImage();
        else
            m_kept->pixels = QImage();
        m_kept->pixels.convertTo(QImage::Format_ARGB32_Premultiplied);
    }

    // Lays the kept pixels back over everything outside the shape; along the edge each
    // pixel takes the content and the kept pixel in the share the shape covers.
    void restore(QPainter *painter, const QTransform &toDevice)
    {
        if (m_kept->pixels.isNull())
            return;
        QImage outside = m_kept->pixels;
        {
            QPainter cut(&outside);
            cut.setRenderHint(QPainter::Antialiasing);
            cut.setCompositionMode(QPainter::CompositionMode_DestinationOut);
            cut.setTransform(toDevice * QTransform::fromTranslate(-m_kept->area.x(), -m_kept->area.y()));
            cut.fillPath(roundedShape(m_box, m_radius), Qt::black);
        }
        painter->save();
        painter->resetTransform();
        painter->setOpacity(1);
        painter->drawImage(m_kept->area.topLeft(), outside);
        painter->restore();
    }

    QQuickWindow *m_window;
    std::shared_ptr<KeptPixels> m_kept;
    bool m_restores = false;
    QRectF m_box;
    qreal m_radius = 0;
};

} // namespace

CornerKeeper::CornerKeeper(QQuickItem *parent)
    : QQuickItem(parent)
    , m_kept(std::make_shared<KeptPixels>())
{
    setFlag(ItemHasContents);
}

void CornerKeeper::setRadius(qreal radius)
{
    if (m_radius == radius)
        return;
    m_radius = radius;
    update();
    emit keeperChanged();
}

void CornerKeeper::setFrom(CornerKeeper *from)
{
    if (m_from == from)
        return;
    m_from = from;
    update();
    emit keeperChanged();
}

void CornerKeeper::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    update();
}

QSGNode *CornerKeeper::updatePaintNode(QSGNode *node, UpdatePaintNodeData *)
{
    const bool software = window()->rendererInterface()->graphicsApi() == QSGRendererInterface::Software;
    if (!software || width() <= 0 || height() <= 0) {
        delete node;
        return nullptr;
    }
    auto *keeper = static_cast<KeeperNode *>(node);
    if (!keeper)
        keeper = new KeeperNode(window());
    keeper->set(m_from ? m_from->m_kept : m_kept, m_from != nullptr, QRectF(0, 0, width(), height()),
        std::min({ m_radius, width() / 2, height() / 2 }));
    keeper->markDirty(QSGNode::DirtyMaterial);
    return keeper;
}
