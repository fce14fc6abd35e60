#pragma once

#include "PaintedItem.h"
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// A rounded rectangle, or only its inner border when `borderWidth` is above 0, painted
// with a gradient through `colors` (the accent by default): leading to trailing edge,
// top-leading to bottom-trailing corner when `diagonal`, or top to bottom when `vertical`.
// Painted, so it draws the same with every renderer.
class GradientShape : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY shapeChanged)
    Q_PROPERTY(qreal borderWidth READ borderWidth WRITE setBorderWidth NOTIFY shapeChanged)
    Q_PROPERTY(QVariantList colors READ colors WRITE setColors NOTIFY shapeChanged)
    Q_PROPERTY(bool diagonal READ diagonal WRITE setDiagonal NOTIFY shapeChanged)
    Q_PROPERTY(bool vertical READ vertical WRITE setVertical NOTIFY shapeChanged)

public:
    explicit GradientShape(QQuickItem *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal borderWidth() const { return m_borderWidth; }
    void setBorderWidth(qreal width);
    QVariantList colors() const { return m_colors; }
    void setColors(const QVariantList &colors);
    bool diagonal() const { return m_diagonal; }
    void setDiagonal(bool diagonal);
    bool vertical() const { return m_vertical; }
    void setVertical(bool vertical);

    void paint(QPainter *painter) override;

signals:
    void shapeChanged();

private:
    qreal m_radius = 0;
    qreal m_borderWidth = 0;
    QVariantList m_colors;
    bool m_diagonal = false;
    bool m_vertical = false;
};
