#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// Maps the symbol names the screens use to glyphs of the Material Icons font.
class IconTable : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)

public:
    using QObject::QObject;

    // The glyph text of a symbol name; empty for an unknown name.
    Q_INVOKABLE static QString glyph(const QString &name);
    // How much larger than the font size a symbol's glyph is drawn, so that glyphs the
    // font draws small match the others; 1 for most.
    Q_INVOKABLE static qreal scale(const QString &name);
    static QString fontFamily() { return QStringLiteral("Material Icons"); }
    static const QHash<QString, char16_t> &table();
};
