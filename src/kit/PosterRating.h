#pragma once

#include "model/Records.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The text of a poster's rating badge.
class PosterRating : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // The rating with one decimal when it is a plain positive number written with a
    // point ("7.26" gives "7.3", "8" gives "8.0"); nothing otherwise, nor when it
    // rounds to "0.0".
    static std::optional<QString> badge(const OptText &rating);
    // The same for QML: an empty text when there is no badge.
    Q_INVOKABLE static QString badgeText(const QVariant &rating);
};
