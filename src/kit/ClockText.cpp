#include "ClockText.h"

#include "Theme.h"

#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>

namespace {

struct PlacedGlyph {
    int run;
    int index;
    qreal x;
};

// The glyphs of every run from left to right, as the line shows them.
QList<PlacedGlyph> glyphsLeftToRight(const QList<QList<QPointF>> &positions)
{
    QList<PlacedGlyph> glyphs;
    for (int run = 0; run < positions.size(); ++run) {
        for (int i = 0; i < positions[run].size(); ++i)
            glyphs.append({ run, i, positions[run][i].x() });
    }
    std::stable_sort(
        glyphs.begin(), glyphs.end(), [](const PlacedGlyph &a, const PlacedGlyph &b) { return a.x < b.x; });
    return glyphs;
}

// How much wider than its own advance each digit glyph of `font` is drawn: the widest
// digit's advance less its own.
QHash<quint32, qreal> digitPadding(const QRawFont &font)
{
    const QList<quint32> digits = font.glyphIndexesForString(QStringLiteral("0123456789"));
    const QList<QPointF> advances = font.advancesForGlyphIndexes(digits);
    const qreal cell = std::max_element(advances.begin(), advances.end(),
        [](const QPointF &a, const QPointF &b) {
        return a.x() < b.x();
    })->x();
    QHash<quint32, qreal> padding;
    for (int i = 0; i < digits.size(); ++i)
        padding.insert(digits[i], cell - advances[i].x());
    return padding;
}

// Widens each digit of `runs` to the cell of its face's widest digit, centred in it, and
// moves the glyphs after it along; returns how much wider the line became.
qreal spaceDigits(QList<QGlyphRun> &runs)
{
    QList<QList<QPointF>> positions;
    QList<QHash<quint32, qreal>> paddings;
    for (const QGlyphRun &run : std::as_const(runs)) {
        positions.append(run.positions());
        paddings.append(digitPadding(run.rawFont()));
    }
    qreal shift = 0;
    for (const PlacedGlyph &glyph : glyphsLeftToRight(positions)) {
        const qreal padding = paddings[glyph.run].value(runs[glyph.run].glyphIndexes().at(glyph.index));
        positions[glyph.run][glyph.index].rx() += shift + padding / 2;
        shift += padding;
    }
    for (int i = 0; i < runs.size(); ++i)
        runs[i].setPositions(positions[i]);
    return shift;
}

} // namespace

ClockText::ClockText(QQuickItem *parent)
    : PaintedItem(parent)
    , m_font(Theme::roundedFontFamily())
    , m_color(Theme::text())
{
}

void ClockText::setText(const QString &text)
{
    if (repaintWith(m_text, text))
        layOut();
}

void ClockText::setFont(const QFont &font)
{
    if (repaintWith(m_font, font))
        layOut();
}

void ClockText::setColor(const QColor &color)
{
    if (repaintWith(m_color, color))
        emit colorChanged();
}

void ClockText::layOut()
{
    QTextLayout layout(m_text, m_font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    m_runs = line.glyphRuns();
    const qreal width = line.naturalTextWidth() + spaceDigits(m_runs);
    setImplicitSize(std::ceil(width), std::ceil(line.height()));
    emit textChanged();
}

void ClockText::paint(QPainter *painter)
{
    painter->setPen(m_color);
    const QPointF origin(0, (height() - implicitHeight()) / 2);
    for (const QGlyphRun &run : std::as_const(m_runs))
        painter->drawGlyphRun(origin, run);
}
