#pragma once

#include "PaintedItem.h"
#include <QtQml/qqmlregistration.h>

// The resume strip of a rounded picture: along its bottom edge, `thickness` high, a track
// of black at 0.5 and a cyan fill from the leading edge across `progress` (0...1) of the
// width. The item covers the whole picture, so the strip keeps to its rounded corners of
// `radius`.
class ResumeStrip : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal progress READ progress WRITE setProgress NOTIFY stripChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY stripChanged)
    Q_PROPERTY(qreal thickness READ thickness WRITE setThickness NOTIFY stripChanged)

public:
    explicit ResumeStrip(QQuickItem *parent = nullptr);

    qreal progress() const { return m_progress; }
    void setProgress(qreal progress);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal thickness() const { return m_thickness; }
    void setThickness(qreal thickness);

    void paint(QPainter *painter) override;

signals:
    void stripChanged();

private:
    qreal m_progress = 0;
    qreal m_radius = 0;
    qreal m_thickness = 3;
};
