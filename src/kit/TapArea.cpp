#include "TapArea.h"

#include <QMouseEvent>

TapArea::TapArea(QQuickItem *parent)
    : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptHoverEvents(true);
}

void TapArea::setAction(const QJSValue &action)
{
    if (action.strictlyEquals(m_action))
        return;
    m_action = action;
    emit actionChanged();
}

void TapArea::setDoubleAction(const QJSValue &action)
{
    if (action.strictlyEquals(m_doubleAction))
        return;
    m_doubleAction = action;
    if (m_rule)
        m_rule->setDoubleEnabled(m_doubleAction.isCallable());
    emit doubleActionChanged();
}

TapRule *TapArea::rule()
{
    if (!m_rule) {
        m_rule = new TapRule(this);
        m_rule->setDoubleEnabled(m_doubleAction.isCallable());
        connect(m_rule, &TapRule::singleTap, this, [this] { call(m_action); });
        connect(m_rule, &TapRule::doubleTap, this, [this] { call(m_doubleAction); });
    }
    return m_rule;
}

void TapArea::call(QJSValue function)
{
    if (function.isCallable())
        function.call();
}

void TapArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void TapArea::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (contains(event->position()))
        rule()->click();
}

void TapArea::hoverEnterEvent(QHoverEvent *)
{
    setHovered(true);
}

void TapArea::hoverLeaveEvent(QHoverEvent *)
{
    setHovered(false);
}

void TapArea::setHovered(bool hovered)
{
    if (std::exchange(m_hovered, hovered) != hovered)
        emit hoveredChanged();
}
