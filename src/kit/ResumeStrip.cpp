#include "ResumeStrip.h"

#include "PaintedShapes.h"
#include "Theme.h"

#include <QPainter>

ResumeStrip::ResumeStrip(QQuickItem *parent)
    : PaintedItem(parent)
{
    followMirroring();
}

void ResumeStrip::setProgress(qreal progress)
{
    if (repaintWith(m_progress, std::clamp<qreal>(progress, 0, 1)))
        emit stripChanged();
}

void ResumeStrip::setRadius(qreal radius)
{
    if (repaintWith(m_radius, radius))
        emit stripChanged();
}

void ResumeStrip::setThickness(qreal thickness)
{
    if (repaintWith(m_thickness, thickness))
        emit stripChanged();
}

void ResumeStrip::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    painter->setClipPath(roundedShape(area, m_radius));
    const QRectF track(0, area.height() - m_thickness, area.width(), m_thickness);
    painter->fillRect(track, Theme::withOpacity(Qt::black, 0.5));
    QRectF fill = track;
    fill.setWidth(m_progress * track.width());
    if (mirrored())
        fill.moveRight(track.right());
    painter->fillRect(fill, Theme::cyan());
}
