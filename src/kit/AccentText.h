#pragma once

#include <QFont>
#include "PaintedItem.h"
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// One line of plain text filled with a gradient through `colors` (the light accent by
// default), from its leading end to its trailing one, at the left edge of the item and
// centred vertically. Its implicit size is the text's.
class AccentText : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY textChanged)
    Q_PROPERTY(QVariantList colors READ colors WRITE setColors NOTIFY colorsChanged)

public:
    explicit AccentText(QQuickItem *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QVariantList colors() const { return m_colors; }
    void setColors(const QVariantList &colors);

    void paint(QPainter *painter) override;

signals:
    void textChanged();
    void colorsChanged();

private:
    void measure();

    QString m_text;
    QFont m_font;
    QVariantList m_colors;
};
