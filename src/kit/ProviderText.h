#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// A provider's text as one line on screen: control characters are dropped (a line break
// or a tab becomes a blank), and a text with direction controls is isolated, so that an
// override inside it (U+202E) reverses nothing around it. The lists and the headers show
// names through this one rule.
QString shownLine(const QString &text);

// The same rule for the views.
class ProviderText : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE static QString line(const QString &text) { return shownLine(text); }
};
