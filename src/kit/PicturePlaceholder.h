#pragma once

#include "CentredGlyphs.h"
#include "PaintedItem.h"

#include <QFont>
#include <QtQml/qqmlregistration.h>

// What a remote picture shows until it is there: a dark diagonal gradient with up to two
// initials of `title` in the light accent, at `strength` opacity. Painted, so it draws
// with every renderer: placeholders of one size show one gradient texture, and the
// initials over it one texture for every placeholder with the same initials.
class PicturePlaceholder : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY placeholderChanged)
    Q_PROPERTY(QString initials READ initials NOTIFY placeholderChanged)
    Q_PROPERTY(qreal fontSize READ fontSize WRITE setFontSize NOTIFY placeholderChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY placeholderChanged)
    Q_PROPERTY(qreal strength READ strength WRITE setStrength NOTIFY placeholderChanged)

public:
    explicit PicturePlaceholder(QQuickItem *parent = nullptr);

    // The font of the initials at `size` pixels; one per size and thread, so that its
    // fallback fonts are looked up once.
    static QFont initialsFont(qreal size);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString initials() const { return m_initials; }
    qreal fontSize() const { return m_fontSize; }
    void setFontSize(qreal size);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal strength() const { return m_strength; }
    void setStrength(qreal strength);

    void paint(QPainter *painter) override;

signals:
    void placeholderChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *data) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    void measureInitials();
    void placeInitials();
    void paintInitials(QPainter *painter) const;

    QString m_title;
    QString m_initials;
    qreal m_fontSize = 13;
    qreal m_radius = 0;
    qreal m_strength = 1;
    CentredGlyphs m_initialsGlyphs;
    // Where the initials sit, and the whole pixels around them inside the item.
    QRectF m_initialsArea;
    QRect m_initialsPixels;
};
