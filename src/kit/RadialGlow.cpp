#include "RadialGlow.h"

#include "PaintedShapes.h"

#include <QPainter>

RadialGlow::RadialGlow(QQuickItem *parent)
    : PaintedItem(parent)
{
    setSoft(2);
}

void RadialGlow::setColor(const QColor &color)
{
    if (repaintWith(m_color, color))
        emit colorChanged();
}

void RadialGlow::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    painter->fillRect(area, radialGlow(area.center(), std::min(area.width(), area.height()) / 2, m_color));
}
