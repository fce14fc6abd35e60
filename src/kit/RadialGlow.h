#pragma once

#include <QColor>
#include "PaintedItem.h"
#include <QtQml/qqmlregistration.h>

// A round glow of `color` in the item's centre, fading to nothing at its edge. Painted, so
// it draws with every renderer.
class RadialGlow : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit RadialGlow(QQuickItem *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    void paint(QPainter *painter) override;

signals:
    void colorChanged();

private:
    QColor m_color;
};
