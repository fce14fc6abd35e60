#include "PaintedShapes.h"

QLinearGradient gradientAcross(const QVariantList &colors, const QRectF &area, bool diagonal, bool mirrored)
{
    const QPointF leading = mirrored ? area.topRight() : area.topLeft();
    const QPointF trailing = mirrored ? area.topLeft() : area.topRight();
    QLinearGradient gradient(leading, diagonal ? QPointF(trailing.x(), area.bottom()) : trailing);
    const qsizetype count = colors.size();
    for (qsizetype i = 0; i < count; ++i)
        gradient.setColorAt(count > 1 ? qreal(i) / qreal(count - 1) : 0, colors.at(i).value<QColor>());
    return gradient;
}

QPainterPath roundedShape(const QRectF &area, qreal radius, qreal band)
{
    const qreal half = std::min(area.width(), area.height()) / 2;
    radius = std::clamp<qreal>(radius, 0, half);
    QPainterPath shape;
    shape.addRoundedRect(area, radius, radius);
    if (band <= 0)
        return shape;
    band = std::min(band, half);
    const qreal innerRadius = std::max<qreal>(0, radius - band);
    QPainterPath inner;
    inner.addRoundedRect(area.adjusted(band, band, -band, -band), innerRadius, innerRadius);
    return shape.subtracted(inner);
}

QRadialGradient radialGlow(const QPointF &centre, qreal radius, const QColor &color)
{
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, color);
    QColor clear = color;
    clear.setAlpha(0);
    gradient.setColorAt(1, clear);
    return gradient;
}
