#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

// One line of text shaped where it is made and drawn as QPainter::drawText centres it in an
// area. The glyphs keep their fonts, so a painter on another thread (the render thread)
// draws them without finding the fallback fonts of their scripts again in its own font cache.
class CentredGlyphs {
public:
    CentredGlyphs() = default;
    CentredGlyphs(const QString &text, const QFont &font);

    // The text's advance and its font's height, as QFontMetricsF measures them.
    QSizeF size() const { return m_size; }
    void draw(QPainter *painter, const QRectF &area) const;

private:
    QList<QGlyphRun> m_runs;
    QSizeF m_size;
    // The line's advance and unrounded height, which drawText centres.
    QSizeF m_line;
};
