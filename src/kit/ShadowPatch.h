#pragma once

#include "PaintedItem.h"
#include <QColor>
#include <QtQml/qqmlregistration.h>

// The soft shadow of a rounded rectangle: the item spans the shape grown by `reach` on
// every side, the shape sitting `offsetY` below its centre. It paints one shared blurred
// picture as a nine-patch (corners as they are, the middle stretched), then cuts the
// shape itself out of it, so the shadow never tints what a translucent shape covers; with
// an `inset` it keeps that band inside the shape's edge, for a border drawn over it there.
// Painted, so it draws the same with every renderer.
class ShadowPatch : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY shadowChanged)
    Q_PROPERTY(qreal blur READ blur WRITE setBlur NOTIFY shadowChanged)
    Q_PROPERTY(qreal shapeRadius READ shapeRadius WRITE setShapeRadius NOTIFY shadowChanged)
    Q_PROPERTY(qreal offsetY READ offsetY WRITE setOffsetY NOTIFY shadowChanged)
    Q_PROPERTY(qreal inset READ inset WRITE setInset NOTIFY shadowChanged)
    Q_PROPERTY(int reach READ reach NOTIFY shadowChanged)

public:
    explicit ShadowPatch(QQuickItem *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    qreal blur() const { return m_blur; }
    void setBlur(qreal blur);
    qreal shapeRadius() const { return m_shapeRadius; }
    void setShapeRadius(qreal radius);
    qreal offsetY() const { return m_offsetY; }
    void setOffsetY(qreal offset);
    qreal inset() const { return m_inset; }
    void setInset(qreal inset);
    int reach() const;

    void paint(QPainter *painter) override;

signals:
    void shadowChanged();

private:
    void paintLook(QPainter *painter) const;

    QColor m_color = Qt::black;
    qreal m_blur = 10;
    qreal m_shapeRadius = 0;
    qreal m_offsetY = 0;
    qreal m_inset = 0;
};
