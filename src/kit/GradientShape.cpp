#include "GradientShape.h"

#include "PaintedShapes.h"
#include "Theme.h"

#include <QPainter>

GradientShape::GradientShape(QQuickItem *parent)
    : PaintedItem(parent)
    , m_colors(Theme::accent())
{
    followMirroring();
}

void GradientShape::setRadius(qreal radius)
{
    if (repaintWith(m_radius, radius))
        emit shapeChanged();
}

void GradientShape::setBorderWidth(qreal width)
{
    if (repaintWith(m_borderWidth, width))
        emit shapeChanged();
}

void GradientShape::setColors(const QVariantList &colors)
{
    if (repaintWith(m_colors, colors))
        emit shapeChanged();
}

void GradientShape::setDiagonal(bool diagonal)
{
    if (repaintWith(m_diagonal, diagonal))
        emit shapeChanged();
}

void GradientShape::setVertical(bool vertical)
{
    if (repaintWith(m_vertical, vertical))
        emit shapeChanged();
}

void GradientShape::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    QLinearGradient gradient = gradientAcross(m_colors, area, m_diagonal, mirrored());
    if (m_vertical) {
        gradient.setStart(area.topLeft());
        gradient.setFinalStop(area.bottomLeft());
    }
    painter->fillPath(roundedShape(area, m_radius, m_borderWidth), gradient);
}
