#include "PaintedItem.h"

PaintedItem::PaintedItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void PaintedItem::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    const QSizeF size = newGeometry.size();
    const bool slim = size.width() > 0 && size.height() > 0 && (size.width() < 1 || size.height() < 1);
    setTextureSize(slim ? QSize(1, 1) : QSize());
}
