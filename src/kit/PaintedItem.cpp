#include "PaintedItem.h"

#include "SharedTextureNode.h"

#include <QQmlContext>
#include <QtMath>

#include <algorithm>

PaintedItem::PaintedItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void PaintedItem::setSoft(int divisor)
{
    m_softDivisor = std::max(1, divisor);
    updateTextureSize();
}

QSGNode *PaintedItem::sharedNode(QSGNode *old, const QByteArray &look)
{
    const QRectF area(QPointF(0, 0), size().toSize());
    if (area.isEmpty()) {
        delete old;
        return nullptr;
    }
    auto *node = old ? static_cast<SharedTextureNode *>(old) : new SharedTextureNode;
    node->show(window(), look, area, [this](QPainter *painter) { paint(painter); });
    return node;
}

void PaintedItem::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    updateTextureSize();
}

void PaintedItem::updateTextureSize()
{
    const QSizeF size = this->size();
    if (size.width() <= 0 || size.height() <= 0) {
        setTextureSize(QSize());
        return;
    }
    // Never below a pixel: the default texture would round to nothing and every paint
    // would fail with warnings.
    const QSizeF scaled = size / m_softDivisor;
    if (m_softDivisor == 1 && scaled.width() >= 1 && scaled.height() >= 1)
        setTextureSize(QSize());
    else
        setTextureSize(QSize(std::max(1, qCeil(scaled.width())), std::max(1, qCeil(scaled.height()))));
}

void PaintedItem::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    if (!m_followsMirroring)
        return;
    m_mirroring = QQmlProperty(this, QStringLiteral("LayoutMirroring.enabled"), qmlContext(this));
    if (!m_mirroring.isValid())
        return;
    m_mirroring.connectNotifySignal(this, SLOT(readMirroring()));
    readMirroring();
}

void PaintedItem::readMirroring()
{
    repaintWith(m_mirrored, m_mirroring.read().toBool());
}
