#pragma once

#include "PaintedItem.h"
#include <QtQml/qqmlregistration.h>

// The spinner's open ring: a circle traced from 8 % to 78 % of its outline, clockwise from
// three o'clock, with a round-capped line `lineWidth` wide that fades from transparent
// violet through violet to cyan. The circle is inset by half the line from the item's
// edges, so the whole line stays inside the item. Painted, so it draws with every renderer.
class SpinnerArc : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged)

public:
    explicit SpinnerArc(QQuickItem *parent = nullptr);

    qreal lineWidth() const { return m_lineWidth; }
    void setLineWidth(qreal width);

    void paint(QPainter *painter) override;

signals:
    void lineWidthChanged();

private:
    qreal m_lineWidth = 4;
};
