#include "BrandMark.h"

#include "PaintedShapes.h"
#include "Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

BrandMark::BrandMark(QQuickItem *parent)
    : PaintedItem(parent)
{
    setSize(64);
}

void BrandMark::setSize(qreal size)
{
    if (size == width() && size == height())
        return;
    setWidth(size);
    setHeight(size);
    setImplicitSize(size, size);
    emit sizeChanged();
    update();
}

void BrandMark::paint(QPainter *painter)
{
    // Every coordinate below is on the 100 by 100 design grid.
    painter->scale(width() / 100, height() / 100);
    const QPainterPath tile = roundedShape(QRectF(0, 0, 100, 100), 24);
    painter->fillPath(tile, gradientAcross(Theme::accent(), QRectF(0, 0, 100, 100), true));
    QRadialGradient sheen(QPointF(24, 18), 62);
    sheen.setColorAt(0, QColor(255, 255, 255, qRound(0.22 * 255)));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter->fillPath(tile, sheen);

    QPainterPath triangle;
    triangle.moveTo(39, 21);
    triangle.lineTo(39, 53);
    triangle.lineTo(66, 37);
    triangle.closeSubpath();
    painter->fillPath(triangle, Qt::white);
    painter->setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter->drawPath(triangle);

    QPainterPath upper(QPointF(18, 66));
    upper.cubicTo(25, 59, 32, 59, 39, 66);
    upper.cubicTo(46, 73, 53, 73, 60, 66);
    upper.cubicTo(67, 59, 75, 59, 82, 66);
    painter->setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawPath(upper);

    QPainterPath lower(QPointF(32, 80));
    lower.cubicTo(38, 74, 44, 74, 50, 80);
    lower.cubicTo(56, 86, 62, 86, 68, 80);
    painter->setPen(
        QPen(QColor(255, 255, 255, qRound(0.6 * 255)), 6, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    painter->drawPath(lower);
}
