#include "CategoryEntry.h"

#include "model/ContentKeys.h"

CategoryEntry allCategoryRow(qint64 count)
{
    return { PseudoCategory::all, QStringLiteral("all"), {}, count, QStringLiteral("square.grid.2x2.fill") };
}

CategoryEntry favoritesCategoryRow(qint64 count)
{
    return { PseudoCategory::favorites, QStringLiteral("favorites"), {}, count,
        QStringLiteral("heart.fill") };
}

QList<CategoryEntry> withSectionCategories(QList<CategoryEntry> leading, const Section &section)
{
    leading.reserve(leading.size() + section.categories.size());
    for (const Category &category : section.categories)
        leading.append({ category.id, {}, category.name, category.count, {} });
    return leading;
}
