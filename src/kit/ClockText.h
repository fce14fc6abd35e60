#pragma once

#include "PaintedItem.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QtQml/qqmlregistration.h>

// One line of plain text whose digits each take the width of the widest digit, so a running
// clock keeps its width in a face without tabular figures (the rounded face). Drawn at the
// left edge of the item, centred vertically; its implicit size is the text's.
class ClockText : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY textChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit ClockText(QQuickItem *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    void paint(QPainter *painter) override;

signals:
    void textChanged();
    void colorChanged();

private:
    void layOut();

    QString m_text;
    QFont m_font;
    QColor m_color;
    QList<QGlyphRun> m_runs;
};
