#pragma once

#include "model/Records.h"

#include <QList>
#include <QString>

// One row of a category column: a pseudo category or one of the playlist's own.
struct CategoryEntry {
    QString id;
    QString nameKey; // message key of a pseudo category's name; empty for the playlist's own
    QString name; // the playlist's own name
    qint64 count = 0;
    QString icon;
    bool operator==(const CategoryEntry &) const = default;
};

// The pseudo rows of every category column: all the section's items, the favourites.
CategoryEntry allCategoryRow(qint64 count);
CategoryEntry favoritesCategoryRow(qint64 count);
// `leading` followed by the section's own categories, in the section's order.
QList<CategoryEntry> withSectionCategories(QList<CategoryEntry> leading, const Section &section);
