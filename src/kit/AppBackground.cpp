#include "AppBackground.h"

#include "PaintedShapes.h"
#include "Theme.h"

#include <QPainter>

AppBackground::AppBackground(QQuickItem *parent)
    : PaintedItem(parent)
{
    setSoft(4);
    setOpaquePainting(true);
    setFillColor(Theme::bg());
}

void AppBackground::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    const qreal extent = std::max(area.width(), area.height());
    painter->fillRect(area,
        radialGlow({ 0.18 * area.width(), 0.25 * area.height() }, 0.55 * extent,
            Theme::withOpacity(Theme::violet(), 0.2)));
    painter->fillRect(area,
        radialGlow({ 0.88 * area.width(), 0.85 * area.height() }, 0.45 * extent,
            Theme::withOpacity(Theme::cyan(), 0.12)));
}
