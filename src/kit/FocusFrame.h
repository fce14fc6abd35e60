#pragma once

#include "PaintedItem.h"
#include <QColor>
#include <QtQml/qqmlregistration.h>

// The border of a focusable rounded shape: a one-pixel resting hairline in `hairline`,
// swapped for the accent border `focusWidth` wide as `amount` goes from 0 (resting) to 1
// (focused); a caller that animates `amount` fades one border into the other. Painted,
// so it draws with every renderer; frames that look alike show one texture.
class FocusFrame : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY frameChanged)
    Q_PROPERTY(qreal amount READ amount WRITE setAmount NOTIFY frameChanged)
    Q_PROPERTY(QColor hairline READ hairline WRITE setHairline NOTIFY frameChanged)
    Q_PROPERTY(qreal focusWidth READ focusWidth WRITE setFocusWidth NOTIFY frameChanged)

public:
    explicit FocusFrame(QQuickItem *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal amount() const { return m_amount; }
    void setAmount(qreal amount);
    QColor hairline() const { return m_hairline; }
    void setHairline(const QColor &color);
    qreal focusWidth() const { return m_focusWidth; }
    void setFocusWidth(qreal width);

    void paint(QPainter *painter) override;

signals:
    void frameChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *data) override;

private:
    qreal m_radius = 0;
    qreal m_amount = 0;
    QColor m_hairline;
    qreal m_focusWidth = 2;
};
