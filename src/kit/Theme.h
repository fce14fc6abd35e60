#pragma once

#include <QColor>
#include <QPalette>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The dark palette shared by every view. Gradients are lists of evenly spaced colours,
// drawn by the kit's gradient items (GradientShape, AccentText).
class Theme : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QColor bg READ bg CONSTANT)
    Q_PROPERTY(QColor surface READ surface CONSTANT)
    Q_PROPERTY(QColor raised READ raised CONSTANT)
    Q_PROPERTY(QColor raisedHover READ raisedHover CONSTANT)
    Q_PROPERTY(QColor violet READ violet CONSTANT)
    Q_PROPERTY(QColor violetLight READ violetLight CONSTANT)
    Q_PROPERTY(QColor cyan READ cyan CONSTANT)
    Q_PROPERTY(QColor cyanLight READ cyanLight CONSTANT)
    Q_PROPERTY(QColor text READ text CONSTANT)
    Q_PROPERTY(QColor textDim READ textDim CONSTANT)
    Q_PROPERTY(QColor green READ green CONSTANT)
    Q_PROPERTY(QColor amber READ amber CONSTANT)
    Q_PROPERTY(QColor red READ red CONSTANT)
    Q_PROPERTY(QColor pink READ pink CONSTANT)
    Q_PROPERTY(QColor stroke READ stroke CONSTANT)
    Q_PROPERTY(QColor surfaceDim READ surfaceDim CONSTANT)
    Q_PROPERTY(QColor selection READ selection CONSTANT)
    Q_PROPERTY(QVariantList accent READ accent CONSTANT)
    Q_PROPERTY(QVariantList accentLight READ accentLight CONSTANT)
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)
    Q_PROPERTY(QString roundedFontFamily READ roundedFontFamily CONSTANT)

public:
    using QObject::QObject;

    // An opaque sRGB colour from 8-bit components.
    Q_INVOKABLE static QColor rgb(int red, int green, int blue);
    // `color` with its alpha replaced by `opacity`.
    Q_INVOKABLE static QColor withOpacity(const QColor &color, qreal opacity);

    static QColor bg() { return rgb(11, 15, 26); }
    static QColor surface() { return rgb(19, 26, 43); }
    static QColor raised() { return rgb(27, 36, 64); }
    static QColor raisedHover() { return rgb(37, 48, 85); }
    static QColor violet() { return rgb(124, 58, 237); }
    static QColor violetLight() { return rgb(167, 139, 250); }
    static QColor cyan() { return rgb(6, 182, 212); }
    static QColor cyanLight() { return rgb(34, 211, 238); }
    static QColor text() { return rgb(232, 236, 246); }
    static QColor textDim() { return rgb(141, 151, 178); }
    static QColor green() { return rgb(34, 197, 94); }
    static QColor amber() { return rgb(245, 158, 11); }
    static QColor red() { return rgb(239, 68, 68); }
    static QColor pink() { return rgb(236, 72, 153); }
    // The lighter hues of the home actions' and settings tiles' accents.
    static QColor amberLight() { return rgb(251, 191, 36); }
    static QColor pinkLight() { return rgb(244, 114, 182); }
    static QColor greenLight() { return rgb(74, 222, 128); }
    static QColor emerald() { return rgb(52, 211, 153); }
    static QColor blue() { return rgb(96, 165, 250); }
    static QColor sky() { return rgb(56, 189, 248); }
    static QColor orange() { return rgb(251, 146, 60); }
    static QColor indigo() { return rgb(129, 140, 248); }
    static QColor indigoLight() { return rgb(165, 180, 252); }
    static QColor purple() { return rgb(192, 132, 252); }
    static QColor stroke() { return withOpacity(Qt::white, 0.08); }
    static QColor surfaceDim() { return withOpacity(surface(), 0.62); }
    // Behind selected text in every field.
    static QColor selection() { return withOpacity(violet(), 0.6); }
    // Violet to cyan: focus borders, primary buttons, selected rows, accent tiles.
    static QVariantList accent() { return { violet(), cyan() }; }
    // The light pair: accent text, initials of picture placeholders, check marks.
    static QVariantList accentLight() { return { violetLight(), cyanLight() }; }
    // What the platform draws in the app's look: dark window and text fields, tooltips on
    // the surface colour with white text, violet text selection. Set once on the
    // application, before the first view.
    static QPalette palette();
    // The interface font; its Arabic runs draw in Noto Sans Arabic (loadInterfaceFonts).
    static QString fontFamily() { return QStringLiteral("Noto Sans"); }
    // The rounded face of the brand name, titles, the player's clock and notices and picture
    // initials. Its heaviest face is Bold, which also draws its heavy (ExtraBold) text; its
    // Arabic runs draw in Noto Sans Arabic.
    static QString roundedFontFamily() { return QStringLiteral("Quicksand"); }
    // The point size that draws text `pixels` high: a font's pixel size is a whole number,
    // its point size is not, so fractional sizes (12.5) go through points.
    Q_INVOKABLE static qreal pointSize(qreal pixels);
};
