#pragma once

#include "TapRule.h"

#include <QJSValue>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// The pointer area of a row or card: tracks hover and turns left clicks into calls of
// `action` and `doubleAction` by the TapRule (a double click calls only the double
// action when there is one). Takes every click, so none falls through to what lies
// beneath. One light item instead of a mouse area, a rule and their handlers.
class TapArea : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QJSValue action READ action WRITE setAction NOTIFY actionChanged)
    Q_PROPERTY(QJSValue doubleAction READ doubleAction WRITE setDoubleAction NOTIFY doubleActionChanged)
    Q_PROPERTY(bool hovered READ hovered NOTIFY hoveredChanged)

public:
    explicit TapArea(QQuickItem *parent = nullptr);

    QJSValue action() const { return m_action; }
    void setAction(const QJSValue &action);
    QJSValue doubleAction() const { return m_doubleAction; }
    void setDoubleAction(const QJSValue &action);
    bool hovered() const { return m_hovered; }

    // The rule deciding between single and double taps; made at the first click.
    TapRule *rule();

signals:
    void actionChanged();
    void doubleActionChanged();
    void hoveredChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverEnterEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;

private:
    void setHovered(bool hovered);
    static void call(QJSValue function);

    QJSValue m_action;
    QJSValue m_doubleAction;
    bool m_hovered = false;
    TapRule *m_rule = nullptr;
};
