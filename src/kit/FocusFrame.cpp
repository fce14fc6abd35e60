#include "FocusFrame.h"

#include "PaintedShapes.h"
#include "SharedPicture.h"
#include "Theme.h"

#include <QPainter>

FocusFrame::FocusFrame(QQuickItem *parent)
    : PaintedItem(parent)
    , m_hairline(Theme::stroke())
{
    followMirroring();
}

void FocusFrame::setRadius(qreal radius)
{
    if (repaintWith(m_radius, radius))
        emit frameChanged();
}

void FocusFrame::setAmount(qreal amount)
{
    if (repaintWith(m_amount, std::clamp<qreal>(amount, 0, 1)))
        emit frameChanged();
}

void FocusFrame::setHairline(const QColor &color)
{
    if (repaintWith(m_hairline, color))
        emit frameChanged();
}

void FocusFrame::setFocusWidth(qreal width)
{
    if (repaintWith(m_focusWidth, width))
        emit frameChanged();
}

QSGNode *FocusFrame::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    return sharedNode(old,
        lookOf(QByteArrayLiteral("FocusFrame"), width(), height(), mirrored(), m_radius, m_amount, m_hairline,
            m_focusWidth));
}

void FocusFrame::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    if (m_amount < 1 && m_hairline.alpha() > 0)
        painter->fillPath(roundedShape(area, m_radius, 1),
            Theme::withOpacity(m_hairline, m_hairline.alphaF() * (1 - m_amount)));
    if (m_amount > 0) {
        painter->setOpacity(m_amount);
        painter->fillPath(roundedShape(area, m_radius, m_focusWidth),
            gradientAcross(Theme::accent(), area, false, mirrored()));
    }
}
