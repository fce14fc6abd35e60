#include "FocusFrame.h"

#include "PaintedShapes.h"
#include "Theme.h"

#include <QPainter>

FocusFrame::FocusFrame(QQuickItem *parent)
    : PaintedItem(parent)
    , m_hairline(Theme::stroke())
{
}

template <typename T> void FocusFrame::change(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    emit frameChanged();
    update();
}

void FocusFrame::setRadius(qreal radius) { change(m_radius, radius); }
void FocusFrame::setAmount(qreal amount) { change(m_amount, std::clamp<qreal>(amount, 0, 1)); }
void FocusFrame::setHairline(const QColor &color) { change(m_hairline, color); }
void FocusFrame::setFocusWidth(qreal width) { change(m_focusWidth, width); }

void FocusFrame::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    if (m_amount < 1 && m_hairline.alpha() > 0)
        painter->fillPath(roundedShape(area, m_radius, 1), Theme::withOpacity(m_hairline, m_hairline.alphaF() * (1 - m_amount)));
    if (m_amount > 0) {
        painter->setOpacity(m_amount);
        painter->fillPath(roundedShape(area, m_radius, m_focusWidth), gradientAcross(Theme::accent(), area));
    }
}
