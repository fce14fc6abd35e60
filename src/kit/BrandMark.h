#pragma once

#include "PaintedItem.h"
#include <QtQml/qqmlregistration.h>

// The product mark: a gradient tile with a sheen, a play triangle and two ripples, drawn
// on a 100 by 100 grid scaled to `size`. Painted, so it draws with every renderer.
class BrandMark : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY sizeChanged)

public:
    explicit BrandMark(QQuickItem *parent = nullptr);

    qreal size() const { return width(); }
    void setSize(qreal size);

    void paint(QPainter *painter) override;

signals:
    void sizeChanged();
};
