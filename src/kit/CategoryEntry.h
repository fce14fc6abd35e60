#pragma once

#include <QString>

// One row of a category column: a pseudo category or one of the playlist's own.
struct CategoryEntry {
    QString id;
    QString nameKey; // message key of a pseudo category's name; empty for the playlist's own
    QString name;    // the playlist's own name
    qint64 count = 0;
    QString icon;
    bool operator==(const CategoryEntry &) const = default;
};
