#include "GradientShape.h"

#include "PaintedShapes.h"
#include "Theme.h"

#include <QPainter>

GradientShape::GradientShape(QQuickItem *parent)
    : PaintedItem(parent)
    , m_colors(Theme::accent())
{
}

void GradientShape::setRadius(qreal radius)
{
    if (std::exchange(m_radius, radius) != radius)
        changed();
}

void GradientShape::setBorderWidth(qreal width)
{
    if (std::exchange(m_borderWidth, width) != width)
        changed();
}

void GradientShape::setColors(const QVariantList &colors)
{
    if (colors != m_colors) {
        m_colors = colors;
        changed();
    }
}

void GradientShape::setDiagonal(bool diagonal)
{
    if (std::exchange(m_diagonal, diagonal) != diagonal)
        changed();
}

void GradientShape::setVertical(bool vertical)
{
    if (std::exchange(m_vertical, vertical) != vertical)
        changed();
}

void GradientShape::changed()
{
    emit shapeChanged();
    update();
}

void GradientShape::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    QLinearGradient gradient = gradientAcross(m_colors, area, m_diagonal);
    if (m_vertical)
        gradient.setFinalStop(area.bottomLeft());
    painter->fillPath(roundedShape(area, m_radius, m_borderWidth), gradient);
}
