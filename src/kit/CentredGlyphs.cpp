#include "CentredGlyphs.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace {

// Wide enough for a line never to wrap.
constexpr qreal kUnboundedWidth = 1 << 24;

} // namespace

CentredGlyphs::CentredGlyphs(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(kUnboundedWidth);
    layout.endLayout();
    m_runs = layout.glyphRuns();
    const QFontMetricsF metrics(font);
    m_size = QSizeF(metrics.horizontalAdvance(text), metrics.height());
    m_line = QSizeF(line.horizontalAdvance(), line.ascent() + line.descent());
}

void CentredGlyphs::draw(QPainter *painter, const QRectF &area) const
{
    const QPointF origin = area.topLeft()
        + QPointF((area.width() - m_line.width()) / 2, (area.height() - m_line.height()) / 2);
    for (const QGlyphRun &run : m_runs)
        painter->drawGlyphRun(origin, run);
}
