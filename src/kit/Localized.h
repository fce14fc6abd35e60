#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The few localised texts and the language that the kit's views look up
// themselves. Views are rebuilt on a language change, so they read these once.
class Localized : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // The text of `key` in the active interface language.
    Q_INVOKABLE static QString text(const QString &key);
    // The text of `key`, a blank and `value` isolated, so a right-to-left label keeps it whole.
    Q_INVOKABLE static QString labelled(const QString &key, const QString &value);
    // The text of `key`, a line of items joined by " · ", each kept whole in a right-to-left
    // language.
    Q_INVOKABLE static QString items(const QString &key);
    // The active interface language: "en", "fr" or "ar".
    Q_INVOKABLE static QString language();
    // Whether the active language reads right to left.
    Q_INVOKABLE static bool rightToLeft();
};
