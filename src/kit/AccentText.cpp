#include "AccentText.h"

#include "PaintedShapes.h"
#include "Theme.h"

#include <QFontMetricsF>
#include <QPainter>

AccentText::AccentText(QQuickItem *parent)
    : PaintedItem(parent)
    , m_font(Theme::fontFamily())
    , m_colors(Theme::accentLight())
{
    followMirroring();
}

void AccentText::setText(const QString &text)
{
    if (repaintWith(m_text, text))
        measure();
}

void AccentText::setFont(const QFont &font)
{
    if (repaintWith(m_font, font))
        measure();
}

void AccentText::setColors(const QVariantList &colors)
{
    if (repaintWith(m_colors, colors))
        emit colorsChanged();
}

void AccentText::measure()
{
    const QFontMetricsF metrics(m_font);
    setImplicitSize(std::ceil(metrics.horizontalAdvance(m_text)), std::ceil(metrics.height()));
    emit textChanged();
}

void AccentText::paint(QPainter *painter)
{
    // The text sits at the left edge, centred vertically; the gradient spans the text from
    // its leading end.
    const QSizeF text(implicitWidth(), implicitHeight());
    const QRectF area(QPointF(0, (height() - text.height()) / 2), text);
    painter->setFont(m_font);
    painter->setPen(QPen(QBrush(gradientAcross(m_colors, area, false, mirrored())), 0));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}
