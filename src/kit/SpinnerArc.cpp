#include "SpinnerArc.h"

#include "Theme.h"

#include <QConicalGradient>
#include <QPainter>

SpinnerArc::SpinnerArc(QQuickItem *parent)
    : PaintedItem(parent)
{
}

void SpinnerArc::setLineWidth(qreal width)
{
    if (repaintWith(m_lineWidth, width))
        emit lineWidthChanged();
}

void SpinnerArc::paint(QPainter *painter)
{
    // The line's outer half fills the margin between the circle and the item's edges.
    const qreal margin = m_lineWidth / 2;
    const QRectF circle(margin, margin, width() - 2 * margin, height() - 2 * margin);
    // Qt's conical gradient and arc angles run anticlockwise from three o'clock.
    QConicalGradient fade(circle.center(), 0);
    fade.setColorAt(0, Theme::cyan());
    fade.setColorAt(0.5, Theme::violet());
    fade.setColorAt(1, Theme::withOpacity(Theme::violet(), 0.1));
    painter->setPen(QPen(QBrush(fade), m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    constexpr int kSixteenths = 16 * 360;
    painter->drawArc(circle, -qRound(0.08 * kSixteenths), -qRound(0.70 * kSixteenths));
}
