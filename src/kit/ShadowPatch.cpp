#include "ShadowPatch.h"

#include "BlurredShape.h"
#include "PaintedShapes.h"
#include "SharedPicture.h"

#include <QPainter>
#include <cmath>

namespace {

// One piece of a nine-patch along one axis: where it is read in the picture, where it lands.
struct Span {
    int from;
    int length;
    qreal to;
    qreal drawn;
};

// The pieces along an axis: the picture as it is when it is as long as the item, else its
// two ends as they are and its middle line stretched between them.
QList<Span> spans(int pictureLength, qreal itemLength)
{
    if (pictureLength >= itemLength)
        return { { 0, pictureLength, 0, qreal(pictureLength) } };
    const int end = pictureLength / 2;
    return { { 0, end, 0, qreal(end) }, { end, 1, qreal(end), itemLength - 2 * end },
        { end + 1, end, itemLength - end, qreal(end) } };
}

} // namespace

ShadowPatch::ShadowPatch(QQuickItem *parent)
    : PaintedItem(parent)
{
}

void ShadowPatch::setColor(const QColor &color)
{
    if (repaintWith(m_color, color))
        emit shadowChanged();
}

void ShadowPatch::setBlur(qreal blur)
{
    if (repaintWith(m_blur, std::max<qreal>(0, blur)))
        emit shadowChanged();
}

void ShadowPatch::setShapeRadius(qreal radius)
{
    if (repaintWith(m_shapeRadius, std::max<qreal>(0, radius)))
        emit shadowChanged();
}

void ShadowPatch::setOffsetY(qreal offset)
{
    if (repaintWith(m_offsetY, offset))
        emit shadowChanged();
}

void ShadowPatch::setInset(qreal inset)
{
    if (repaintWith(m_inset, std::max<qreal>(0, inset)))
        emit shadowChanged();
}

int ShadowPatch::reach() const
{
    return shadowReach(m_blur);
}

void ShadowPatch::paint(QPainter *painter)
{
    paintShared(painter,
        lookOf(QByteArrayLiteral("ShadowPatch"), width(), height(), m_color, m_blur, m_shapeRadius, m_offsetY,
            m_inset),
        [this](QPainter *own) { paintLook(own); });
}

void ShadowPatch::paintLook(QPainter *painter) const
{
    const int grow = reach();
    const QSizeF shape(width() - 2 * grow, height() - 2 * grow);
    if (shape.width() <= 0 || shape.height() <= 0)
        return;
    const qreal radius = std::min({ m_shapeRadius, shape.width() / 2, shape.height() / 2 });
    // Wide enough that the middle line is a straight edge's blur, untouched by the corners.
    const int patch = 2 * int(std::ceil(radius) + grow) + 1;
    const QSize shown(
        std::min(patch, int(std::ceil(shape.width()))), std::min(patch, int(std::ceil(shape.height()))));
    const QImage picture = blurredShape(m_color, m_blur, radius, shown);
    // The stretched middle line repeats as it is, never blended with its neighbours.
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const Span &across : spans(picture.width(), width())) {
        for (const Span &down : spans(picture.height(), height()))
            painter->drawImage(QRectF(across.to, down.to, across.drawn, down.drawn), picture,
                QRectF(across.from, down.from, across.length, down.length));
    }
    painter->setCompositionMode(QPainter::CompositionMode_DestinationOut);
    const QRectF cut
        = QRectF(QPointF(grow, grow - m_offsetY), shape).adjusted(m_inset, m_inset, -m_inset, -m_inset);
    painter->fillPath(roundedShape(cut, std::max<qreal>(0, radius - m_inset)), Qt::black);
}
